#pragma once
// The runner's window (dialog 102): runs one synchronisation through the
// core's VorlanMain on a worker thread while it keeps serving its messages,
// because the core writes its progress into row "Vorlan" of the list by
// sent messages from that thread.
//
// One run at a time: a Sync command that arrives during a run (a forwarded
// "/SyncNow", a posted click) is remembered once and runs when the current
// run has ended; closing waits for the run as well.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "Controls.h"
#include "Dialog.h"
#include "StatusList.h"
#include "WinThread.h"

namespace vorlan::runner {

// Set by the worker when its run is over; the window polls it.
extern std::atomic<bool> g_runFinished;

class CVorlanTestDlg : public CDialog {
public:
    CVorlanTestDlg();
    ~CVorlanTestDlg() override;

    void SetCommandLine(const std::string& commandLine) { m_strCmdLine = commandLine; }
    // The project of the run, "" for the core's default one.
    const std::string& Url() const { return m_strURL; }
    bool CloseAfterRun() const { return m_bCloseAfterRun; }
    bool Running() const { return running_; }
    // Runs started so far (the remembered one included).
    int RunsStarted() const { return runsStarted_; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    // The bands around the bitmaps take the bitmaps' own colour.
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind);
    void OnSync();
    void OnConfig();

    // Buttons Sync, Config and Close, and the wait cursor.
    void EnableControls(BOOL enable);
    // Parses the command line into the close flag and the URL; E_INVALIDARG
    // when it is malformed (both are then cleared).
    HRESULT ParseCommandLine();
    // Starts the worker; nullptr when it cannot be started.
    virtual std::unique_ptr<CWinThread> BeginSyncThread(const std::string* url);

    DECLARE_MESSAGE_MAP()

private:
    // One run: worker started, messages served until it ended, row updated.
    void RunOnce();

    HICON m_hIcon;
    bool m_bCloseAfterRun = false;
    CStatusList m_listCtrl;
    std::string m_strURL;
    std::string m_strCmdLine;

    bool running_ = false;
    bool syncRequested_ = false;
    bool closeRequested_ = false;
    int runsStarted_ = 0;
    HBRUSH topBand_, bottomBand_;
};

// The worker: connect, create the core, Init and Sync, disconnect.
UINT __cdecl SyncThreadProc(LPVOID url);

// The first instance's window: a top-level window titled string 103 that
// holds the runner's list (a message box of that title does not count).
HWND FindRunnerWindow();

}  // namespace vorlan::runner
