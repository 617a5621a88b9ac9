#pragma once
// The recording plug-in's item dialog, for the tests of hosts that show
// item dialogs (the editor). With VORLAN_RECORDER_DIALOG set it is a real
// modal dialog over the item's "Name" and "Value": OK with an empty Name
// says "Fields cannot be empty." and stays open, as the system's item
// dialogs do; OK writes both fields into the item and answers S_OK, Cancel
// leaves it and answers ERROR_CANCELLED. Without the variable nothing is
// shown and the answer is ERROR_CANCELLED, so unattended hosts never wait.
// Each call is journaled as "ConfigNodeDlg <the item's QvMy_URL>".
#include <windows.h>
#include <ole2.h>

#include "infonode.h"

namespace vorlan::recorder {

inline constexpr int kItemDialogId = 300;
inline constexpr int kNameEditId = 301;
inline constexpr int kValueEditId = 302;

HRESULT ShowItemDialog(IInfoNode** item, VARIANT_BOOL isNew);

}  // namespace vorlan::recorder
