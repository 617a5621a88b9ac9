#include "AutoComplete.h"

#include <shlwapi.h>

namespace vorlan {

HRESULT EnableShellAutoComplete(HWND edit) {
    if (!edit) return E_INVALIDARG;
    return SHAutoComplete(edit, SHACF_DEFAULT);
}

}  // namespace vorlan
