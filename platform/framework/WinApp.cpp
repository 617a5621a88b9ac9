#include "WinApp.h"

#include <ole2.h>

namespace vorlan {
namespace {

CWinApp* g_app = nullptr;

constexpr UINT kSystemTimer = 0x0118;

// Messages after which idle processing starts again.
bool IsIdleMessage(const MSG& message) { return message.message != WM_PAINT && message.message != kSystemTimer; }

}  // namespace

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName ? appName : "") {
    if (!g_app) g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

int CWinApp::Run() {
    MSG message;
    bool idle = true;
    LONG count = 0;
    for (;;) {
        while (idle && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(count++)) idle = false;
        }
        do {
            if (!PumpMessage()) return ExitInstance();
            if (IsIdleMessage(message)) {
                idle = true;
                count = 0;
            }
        } while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::OnIdle(LONG) { return FALSE; }

bool CWinApp::PreTranslateMessage(MSG* message) {
    return WalkPreTranslateTree(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, message);
}

bool CWinApp::PumpMessage() {
    MSG message;
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
        exitCode_ = static_cast<int>(message.wParam);
        return false;
    }
    if (got == -1) {
        exitCode_ = -1;
        return false;
    }
    if (!PreTranslateMessage(&message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

bool AfxPreTranslateMessage(MSG* message) {
    return g_app ? g_app->PreTranslateMessage(message) : WalkPreTranslateTree(nullptr, message);
}

BOOL AfxOleInit() {
    if (g_app && g_app->oleInitialized_) return TRUE;
    if (FAILED(OleInitialize(nullptr))) return FALSE;
    if (g_app) g_app->oleInitialized_ = true;
    return TRUE;
}

int AfxWinMain(HINSTANCE instance, LPSTR commandLine, int show) {
    CWinApp* app = g_app;
    if (!app) return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine ? commandLine : "";
    app->m_nCmdShow = show;
    int code = app->InitInstance() ? app->Run() : app->ExitInstance();
    if (app->oleInitialized_) {
        OleUninitialize();
        app->oleInitialized_ = false;
    }
    return code;
}

}  // namespace vorlan
