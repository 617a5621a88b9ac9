#include "RecorderEngine.h"

#include <windows.h>

#include <cstdio>

#include "Bstr.h"
#include "VorlanMessages.h"
#include "recorder.h"

namespace vorlan::recorder {
namespace {

std::string Environment(const char* name) {
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

std::string Field(IInfoNode* item, const wchar_t* name) {
    com::Bstr value;
    if (FAILED(item->GetProperty(com::Bstr(name).Get(), value.Put()))) return "<error>";
    return value.Ansi();
}

}  // namespace

void Journal(const std::string& line) {
    const std::string path = Environment("VORLAN_RECORDER_JOURNAL");
    if (path.empty()) return;
    if (FILE* file = std::fopen(path.c_str(), "ab")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

CRecorderEngine::CRecorderEngine() { Journal("Create"); }

CRecorderEngine::~CRecorderEngine() { Journal("Release"); }

HRESULT CRecorderEngine::Init() {
    Journal("Init");
    ErrorReport().Init(CLSID_Vorlan, nullptr, "Vorlan", 1033, nullptr);
    if (!Environment("VORLAN_RECORDER_FAIL_INIT").empty()) {
        ErrorReport().ReportError(EVT_DEVICE_NOT_CONNECTED, EVENTLOG_ERROR_TYPE, 0, {});
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CRecorderEngine::put_RegInfoKey(BSTR newVal) {
    Journal("RegInfoKey " + com::AnsiFromBstr(newVal));
    return IMySync::put_RegInfoKey(newVal);
}

HRESULT CRecorderEngine::put_ParentUrl(BSTR newVal) {
    Journal("ParentUrl " + com::AnsiFromBstr(newVal));
    return IMySync::put_ParentUrl(newVal);
}

HRESULT CRecorderEngine::PerformTransfer(IInfoNode* item) {
    if (!item) {
        Journal("PerformTransfer <null>");
        return E_INVALIDARG;
    }
    const std::string fail = Field(item, L"Fail");
    Journal("PerformTransfer Name=" + Field(item, L"Name") + " Value=" + Field(item, L"Value") +
            (fail.empty() ? "" : " Fail=" + fail));
    if (fail.empty()) return S_OK;
    if (fail == "S_FALSE") return S_FALSE;
    ErrorReport().ReportErrorWithArg(EVT_ITEM_UNUSABLE, EVENTLOG_ERROR_TYPE, 0, fail);
    return E_FAIL;
}

}  // namespace vorlan::recorder
