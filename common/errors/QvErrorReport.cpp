#include "QvErrorReport.h"

#include "ComCall.h"
#include "ComPtr.h"
#include "EventSources.h"
#include "MessageBox.h"
#include "MessageText.h"
#include "ModuleState.h"
#include "RegistryReaders.h"

namespace vorlan {
namespace {

// The path with its environment variables expanded; as written when the
// expansion fails or does not fit.
std::string ExpandPath(const std::string& path) {
    char expanded[MAX_PATH];
    DWORD n = ExpandEnvironmentStringsA(path.c_str(), expanded, MAX_PATH);
    return n > 0 && n <= MAX_PATH ? std::string(expanded) : path;
}

com::Bstr OptionalBstr(const char* text) { return text ? com::Bstr::FromAnsi(text) : com::Bstr(); }

}  // namespace

std::string ApplicationSourceKey(const std::string& source) {
    return std::string(eventlog::kEventLogKey) + "\\" + eventlog::kApplicationLog + "\\" + source;
}

CQvErrorReport::~CQvErrorReport() { Release(); }

void CQvErrorReport::Release() {
    if (messages_) FreeLibrary(messages_);
    messages_ = nullptr;
}

HRESULT CQvErrorReport::Init(const GUID& errorGuid, const char* source, const char* eventSourceName,
                             LANGID language, const char* helpFile) {
    Release();
    helpFile_ = OptionalBstr(helpFile);
    source_ = OptionalBstr(source);
    errorGuid_ = errorGuid;
    language_ = language;
    if (!eventSourceName) return S_OK;

    std::string path;
    RegReadExpandString("HKEY_LOCAL_MACHINE\\" + ApplicationSourceKey(eventSourceName) + "\\EventMessageFile", path);
    eventLog_.SetSourceName(eventSourceName);
    path = ExpandPath(path);
    // Loaded as data: only its message table is used, none of its code runs.
    messages_ = path.empty() ? nullptr : LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (messages_) return S_OK;
    DWORD error = path.empty() ? ERROR_FILE_NOT_FOUND : GetLastError();
    ShowMessageBox(nullptr, "Cannot find/load file: \"" + path + "\"\nPlease verify that this file exist.",
                   "LoadLibrary Error", MB_OK | MB_ICONERROR);
    return HRESULT_FROM_WIN32(error);
}

HRESULT CQvErrorReport::FormatMessageText(DWORD id, std::string& text) const {
    text.clear();
    if (!messages_) return S_FALSE;
    char* buffer = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  messages_, id, language_, reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (length == 0 || !buffer) return E_FAIL;
    text.assign(buffer, length);
    LocalFree(buffer);
    return S_OK;
}

HRESULT CQvErrorReport::SetErrorText(DWORD id, DWORD helpContext, const std::vector<std::string>& strings) {
    std::string text;
    if (FormatMessageText(id, text) != S_OK) {
        char resource[1024];
        int n = LoadStringA(CurrentResourceModule(), LOWORD(id), resource, sizeof resource);
        text.assign(resource, n > 0 ? static_cast<size_t>(n) : 0);
    }
    text = TrimLineEnds(std::move(text));
    text = text.empty() ? FallbackDescription(id, strings) : ReplaceInsertsInOrder(std::move(text), strings);
    return SetComErrorInfo(text, helpContext);
}

HRESULT CQvErrorReport::SetComErrorInfo(const std::string& description, DWORD helpContext) {
    com::ComPtr<ICreateErrorInfo> create;
    VORLAN_RETURN_IF_FAILED(CreateErrorInfo(create.Put()));
    com::Bstr text = com::Bstr::FromAnsi(description);
    create->SetHelpFile(helpFile_.Get());
    create->SetGUID(errorGuid_);
    create->SetSource(source_.Get());
    create->SetHelpContext(helpContext);
    create->SetDescription(text.Get());
    com::ComPtr<IErrorInfo> info;
    HRESULT hr = create.As(info);
    if (SUCCEEDED(hr)) SetErrorInfo(0, info.Get());
    return hr;
}

HRESULT CQvErrorReport::ReportError(DWORD id, WORD type, DWORD helpContext, const std::vector<std::string>& strings) {
    // Whether the event was written changes nothing for the caller: the
    // failure itself is what it returns.
    eventLog_.Report(id, type, strings);
    HRESULT hr = SetErrorText(id, helpContext, strings);
    return messages_ ? hr : E_INVALIDARG;
}

HRESULT CQvErrorReport::ReportErrorWithArg(DWORD id, WORD type, DWORD helpContext, const std::string& arg) {
    return ReportError(id, type, helpContext, {arg});
}

}  // namespace vorlan
