#pragma once
// The application object: one per program, made as a global, and driven by
// AfxWinMain from the program's WinMain:
//
//   CMyApp theApp;
//   int WINAPI WinMain(HINSTANCE i, HINSTANCE, LPSTR cmd, int show) { return AfxWinMain(i, cmd, show); }
//
// AfxWinMain calls InitInstance; when it answers TRUE the message loop
// runs (Run) until WM_QUIT, else the program ends at once (a dialog program
// runs its dialog modally inside InitInstance and answers FALSE). Either
// way ExitInstance gives the exit code.
#include <windows.h>

#include <string>

#include "Wnd.h"

namespace vorlan {

class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    // The exit code of the program (WM_QUIT's, 0 when none came).
    virtual int ExitInstance() { return exitCode_; }
    // The message loop, with idle processing while the queue is empty.
    virtual int Run();
    // Idle work, called with 0, 1, 2 ... while no message waits; FALSE when
    // there is nothing more to do until the next message.
    virtual BOOL OnIdle(LONG count);
    // Offers a message to the target window and its parents (see
    // CWnd::PreTranslateMessage); true when one took it.
    virtual bool PreTranslateMessage(MSG* message);
    // Takes one message and dispatches it; false on WM_QUIT.
    bool PumpMessage();

    HINSTANCE m_hInstance = nullptr;
    const char* m_lpCmdLine = "";  // the command line after the program's name
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    std::string m_pszAppName;

private:
    friend int AfxWinMain(HINSTANCE, LPSTR, int);
    friend BOOL AfxOleInit();
    int exitCode_ = 0;
    bool oleInitialized_ = false;
};

CWinApp* AfxGetApp();
// The application's PreTranslateMessage, or the walk through the target's
// parents when the program has no application object.
bool AfxPreTranslateMessage(MSG* message);
// OLE for the application's thread, ended after ExitInstance; FALSE when
// it cannot be initialised.
BOOL AfxOleInit();
int AfxWinMain(HINSTANCE instance, LPSTR commandLine, int show);

}  // namespace vorlan
