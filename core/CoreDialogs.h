#pragma once
// The core's dialogs as its COM methods show them: modal over the window
// active on the calling thread, from the core's own resources.
#include <windows.h>

#include "pindrel.h"

namespace vorlan {

// The component dialog over *node: S_OK after OK, ERROR_CANCELLED (1223)
// after Cancel with the node unchanged; E_POINTER for a missing node,
// E_FAIL when the dialog cannot be made.
HRESULT ShowComponentDialog(IInfoNode** node, VARIANT_BOOL isNew);
// The options dialog; S_OK however it was closed, E_FAIL when it cannot
// be made.
HRESULT ShowOptionsDialog();

}  // namespace vorlan
