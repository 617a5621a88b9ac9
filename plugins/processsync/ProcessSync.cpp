#include "ProcessSync.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "Bstr.h"
#include "CeFolders.h"
#include "CeRapi.h"
#include "DeviceInvoke.h"
#include "NodeFields.h"
#include "ProgramItem.h"
#include "VorlanMessages.h"
#include "wendric.h"

namespace vorlan::processsync {
namespace {

constexpr DWORD kPathBytes = 260;
constexpr DWORD kNewConsole = 0x10;

// The text with the device's folders in place of the symbolic names; false
// when a folder cannot be looked up or the result does not fit.
bool TranslateFolders(const std::string& text, std::string& out) {
    char buffer[kPathBytes] = {};
    const int needed = ExpandCeFolderVariables(text.c_str(), buffer, sizeof buffer);
    if (needed <= 0 || needed > static_cast<int>(sizeof buffer)) return false;
    out = buffer;
    return !out.empty();
}

DWORD FirstWord(const std::vector<BYTE>& block, DWORD otherwise) {
    DWORD word = otherwise;
    if (block.size() >= sizeof word) std::memcpy(&word, block.data(), sizeof word);
    return word;
}

}  // namespace

HRESULT CProcessSync::Init() {
    InitErrorReport(CLSID_Vorlan);
    const HRESULT hr = session_.Open(kDeviceWaitMs);
    if (FAILED(hr)) return Fail(EVT_DEVICE_NOT_CONNECTED, {}, hr);
    return S_OK;
}

HRESULT CProcessSync::PerformTransfer(IInfoNode* item) {
    if (!item) return Fail(EVT_ITEM_UNUSABLE, {}, E_INVALIDARG);
    return ApplyProcessItem(GetNodeField(item, "ProcessIdentifier"), GetNodeField(item, "Flag"));
}

HRESULT CProcessSync::ApplyProcessItem(const std::string& identifier, const std::string& flag) {
    if (identifier.empty()) return Fail(EVT_PROGRAM_NOT_STARTED, {}, E_INVALIDARG);
    const uint32_t code = GetActionCode(flag);
    if (code == kCreateProcess) return StartDeviceProgram(identifier);

    std::string translated;
    if (!TranslateFolders(identifier, translated)) return Fail(EVT_PROGRAM_NOT_STARTED, identifier, E_INVALIDARG);
    switch (code) {
        case kCloseWindow: return CallWithTitle(L"CloseApp", translated, false);
        case kCreateWaitProcess: return CallWithTitle(L"WaitCreateProcess", translated, true);
        default: return RunLocalCommand(translated);
    }
}

HRESULT CProcessSync::RunLocalCommand(const std::string& command) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, nullptr, command.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) return Fail(EVT_PROGRAM_NOT_STARTED, command, E_FAIL);
    return S_OK;
}

HRESULT CProcessSync::StartDeviceProgram(const std::string& identifier) {
    std::string program, arguments, translated;
    if (!SplitCommandLine(identifier, program, arguments) || program.empty() ||
        !TranslateFolders(program, translated))
        return Fail(EVT_PROGRAM_NOT_STARTED, identifier, E_INVALIDARG);
    const std::wstring application = com::WideFromAnsi(translated), commandLine = com::WideFromAnsi(arguments);
    PROCESS_INFORMATION started = {};
    if (!CeCreateProcess(application.c_str(), commandLine.c_str(), nullptr, nullptr, FALSE, kNewConsole, nullptr,
                         nullptr, nullptr, &started))
        return Fail(EVT_PROGRAM_NOT_STARTED, identifier, E_FAIL);
    CeCloseHandle(started.hThread);
    CeCloseHandle(started.hProcess);
    return S_OK;
}

HRESULT CProcessSync::CallWithTitle(const wchar_t* function, const std::string& text, bool waits) {
    const std::wstring wide = com::WideFromAnsi(text);
    std::vector<BYTE> answer;
    const HRESULT hr = InvokeDeviceLibrary(function, wide.c_str(), static_cast<DWORD>((wide.size() + 1) * 2), &answer);
    if (FAILED(hr)) return Fail(EVT_DEVICE_CALL_FAILED, text, hr);
    if (!waits) return S_OK;  // no such window is no failure: it is closed
    // The device library answers 0 when the program ran, else why it did not start.
    const DWORD error = FirstWord(answer, ERROR_INVALID_DATA);
    if (error != 0) return Fail(EVT_PROGRAM_NOT_STARTED, text, HRESULT_FROM_WIN32(error));
    return S_OK;
}

HRESULT CProcessSync::SendMessageRecord(const wchar_t* function, const std::wstring& message,
                                        const std::wstring& title, DWORD flags, DWORD duration, DWORD* result) {
    std::vector<uint8_t> record;
    const std::u16string text(message.begin(), message.end()), caption(title.begin(), title.end());
    if (!BuildMessageRecord(text, caption, flags, duration, record)) return E_INVALIDARG;
    std::vector<BYTE> answer;
    const HRESULT hr = InvokeDeviceLibrary(function, record.data(), static_cast<DWORD>(record.size()), &answer);
    *result = FirstWord(answer, 0);
    return hr;
}

HRESULT CProcessSync::SendDeviceNotification(const std::wstring& message, const std::wstring& title, DWORD flags,
                                             DWORD duration) {
    DWORD shown = 0;
    const HRESULT hr = SendMessageRecord(L"Notification", message, title, flags, duration, &shown);
    if (FAILED(hr)) return hr;
    return FAILED(static_cast<HRESULT>(shown)) ? static_cast<HRESULT>(shown) : S_OK;
}

HRESULT CProcessSync::ShowDeviceMessageBox(const std::wstring& message, const std::wstring& title, DWORD flags) {
    DWORD answer = 0;
    return SendMessageRecord(L"MsgBox", message, title, flags, 0, &answer);
}

}  // namespace vorlan::processsync
