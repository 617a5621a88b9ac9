#include "VorlanTestDlg.h"

#include <objbase.h>

#include <algorithm>

#include "AboutDlg.h"
#include "Bstr.h"
#include "ComPtr.h"
#include "DeviceSession.h"
#include "MessageBox.h"
#include "Resource.h"
#include "Resources.h"
#include "RunnerCommandLine.h"
#include "corvath.h"

namespace vorlan::runner {

std::atomic<bool> g_runFinished{false};

namespace {

// How long the window waits for the worker before it serves its messages.
constexpr DWORD kPumpMs = 50;

// The background colours of bitmaps 135 and 136.
constexpr COLORREF kTopBandColour = RGB(0x1F, 0x3A, 0x5F);
constexpr COLORREF kBottomBandColour = RGB(0xE4, 0xEA, 0xF1);
// Room beside a column heading's text.
constexpr int kHeadingPadding = 16;

void ShowError(UINT textId) {
    ShowMessageBox(nullptr, LoadResourceString(textId), LoadResourceString(IDS_ERROR), MB_ICONERROR);
}

}  // namespace

BEGIN_MESSAGE_MAP(CVorlanTestDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_SYNC, OnSync)
    ON_BN_CLICKED(IDC_CONFIG, OnConfig)
END_MESSAGE_MAP()

CVorlanTestDlg::CVorlanTestDlg()
    : CDialog(IDD_VORLANTEST_DIALOG),
      m_hIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      topBand_(CreateSolidBrush(kTopBandColour)),
      bottomBand_(CreateSolidBrush(kBottomBandColour)) {}

CVorlanTestDlg::~CVorlanTestDlg() {
    // The window goes first: nothing paints with the brushes afterwards.
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    DeleteObject(topBand_);
    DeleteObject(bottomBand_);
}

void CVorlanTestDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_LIST, m_listCtrl);
}

BOOL CVorlanTestDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    const std::string about = LoadResourceString(IDS_ABOUTBOX);
    if (HMENU menu = GetSystemMenu(m_hWnd, FALSE); menu && !about.empty()) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // At least its width of 100, and as wide as its heading needs.
    const std::string type = LoadResourceString(IDS_COLUMN_TYPE);
    int typeWidth = static_cast<int>(
        m_listCtrl.SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(type.c_str())));
    m_listCtrl.InsertColumn(0, type, LVCFMT_LEFT, std::max(100, typeWidth + kHeadingPadding));
    m_listCtrl.InsertColumn(1, LoadResourceString(IDS_COLUMN_STATUS), LVCFMT_LEFT, 395);
    m_listCtrl.InsertItem(0, LoadResourceString(IDS_ROW_VORLAN));

    if (FAILED(ParseCommandLine())) {
        ShowMessageBox(m_hWnd, LoadResourceString(IDS_BAD_COMMAND_LINE), LoadResourceString(IDS_TITLE),
                       MB_ICONERROR);
        m_bCloseAfterRun = false;
        m_strURL.clear();
    }
    if (m_bCloseAfterRun) PostMessage(WM_COMMAND, MAKEWPARAM(IDC_SYNC, BN_CLICKED));
    return TRUE;
}

HRESULT CVorlanTestDlg::ParseCommandLine() {
    RunnerCommand command;
    bool valid = ParseRunnerCommandLine(m_strCmdLine, command);
    m_bCloseAfterRun = command.closeAfterRun;
    m_strURL = command.url;
    return valid ? S_OK : E_INVALIDARG;
}

void CVorlanTestDlg::EnableControls(BOOL enable) {
    for (int id : {IDC_SYNC, IDC_CONFIG, IDOK}) EnableWindow(GetDlgItem(id), enable);
    if (enable) EndWaitCursor();
    else BeginWaitCursor();
}

std::unique_ptr<CWinThread> CVorlanTestDlg::BeginSyncThread(const std::string* url) {
    return AfxBeginThread(SyncThreadProc, const_cast<std::string*>(url));
}

void CVorlanTestDlg::OnSync() {
    if (running_) {
        syncRequested_ = true;
        return;
    }
    running_ = true;
    do {
        syncRequested_ = false;
        RunOnce();
    } while (syncRequested_ && m_hWnd);
    running_ = false;
    if (m_hWnd && (m_bCloseAfterRun || closeRequested_)) PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
}

void CVorlanTestDlg::RunOnce() {
    ++runsStarted_;
    EnableControls(FALSE);
    g_runFinished = false;
    // The worker reads this copy; it does not change while the run lasts.
    const std::string url = m_strURL;
    std::unique_ptr<CWinThread> worker = BeginSyncThread(&url);
    if (!worker) {
        EnableControls(TRUE);
        m_listCtrl.SetItemText(0, 1, LoadResourceString(IDS_NOT_STARTED));
        ShowMessageBox(m_hWnd, LoadResourceString(IDS_NOT_STARTED), LoadResourceString(IDS_ERROR), MB_ICONERROR);
        return;
    }
    while (!g_runFinished) {
        DWORD woke = MsgWaitForMultipleObjects(1, &worker->m_hThread, FALSE, kPumpMs, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
        MSG message;
        while (PeekMessageA(&message, m_hWnd, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // The worker sends nothing after its flag: its end follows at once.
    WaitForSingleObject(worker->m_hThread, INFINITE);
    EnableControls(TRUE);
    m_listCtrl.SetItemText(0, 1, LoadResourceString(IDS_COMPLETE));
}

void CVorlanTestDlg::OnOK() {
    // Closing is for an idle window; during a run it waits for the end.
    if (running_) {
        closeRequested_ = true;
        return;
    }
    CDialog::OnOK();
}

void CVorlanTestDlg::OnCancel() {
    if (running_) {
        closeRequested_ = true;
        return;
    }
    CDialog::OnCancel();
}

void CVorlanTestDlg::OnConfig() {
    com::ComPtr<IVorlanMain> main;
    if (FAILED(com::CreateInstance(CLSID_VorlanMain, main))) return;
    main->ConfigurationDlgBox();
}

void CVorlanTestDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal(m_hWnd);
        return;
    }
    DefWindowProc(WM_SYSCOMMAND, id, lParam);
}

void CVorlanTestDlg::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    if (IsIconic(m_hWnd)) {
        // Minimised: the icon, centred.
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client;
        GetClientRect(m_hWnd, &client);
        int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        DrawIcon(dc, x, y, m_hIcon);
    }
    EndPaint(m_hWnd, &paint);
}

HCURSOR CVorlanTestDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

HBRUSH CVorlanTestDlg::OnCtlColor(HDC dc, HWND control, UINT kind) {
    if (kind != CTLCOLOR_STATIC) return nullptr;
    const int id = GetDlgCtrlID(control);
    if (id == IDC_TOP_BAND) {
        SetBkColor(dc, kTopBandColour);
        return topBand_;
    }
    if (id == IDC_BOTTOM_BAND) {
        SetBkColor(dc, kBottomBandColour);
        return bottomBand_;
    }
    return nullptr;
}

UINT __cdecl SyncThreadProc(LPVOID param) {
    const std::string& url = *static_cast<const std::string*>(param);
    const HRESULT com = CoInitialize(nullptr);
    bool opened = false;
    if (FAILED(ConnectDevice(kDeviceWaitMs, &opened))) {
        ShowError(IDS_NO_DEVICE);
    } else {
        com::ComPtr<IVorlanMain> main;
        if (FAILED(com::CreateInstance(CLSID_VorlanMain, main))) {
            ShowError(IDS_NO_CORE);
        } else {
            // The core reports its own failures (event log, balloons).
            main->Init();
            main->Sync(com::Bstr::FromAnsi(url).Get());
        }
    }
    // Also after a failed connect: the session that was started ends.
    if (opened) DisconnectDevice();
    if (SUCCEEDED(com)) CoUninitialize();
    g_runFinished = true;
    return 0;
}

HWND FindRunnerWindow() {
    const std::string title = LoadResourceString(IDS_TITLE);
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, nullptr, title.c_str()));) {
        char kind[32] = {};
        HWND list = GetDlgItem(window, IDC_LIST);
        if (list && GetClassNameA(list, kind, sizeof kind) && lstrcmpiA(kind, WC_LISTVIEWA) == 0) return window;
    }
    return nullptr;
}

}  // namespace vorlan::runner
