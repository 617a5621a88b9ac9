// A library that runs a three-page wizard of its own from its export, as
// a plug-in's item dialog does: it enters its module first, so pages and
// caption come from its resources, and the sheet is owned by the calling
// thread's active window.
#include <windows.h>

#include <string>

#include "MessageBox.h"
#include "ModuleState.h"
#include "PropertySheet.h"
#include "WizardTestIds.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

using vorlan::CDataExchange;

// A page that tells the test each notification it gets.
class RecordingPage : public vorlan::CPropertyPage {
public:
    RecordingPage(int templateId, const char* name, DWORD buttons, const WizardRun& run)
        : CPropertyPage(templateId), name_(name), buttons_(buttons), run_(run) {}

protected:
    void Record(const std::string& what) const { run_.record(run_.context, (what + " " + name_).c_str()); }
    BOOL OnSetActive() override {
        Record("setactive");
        if (GetSheet()->IsWizard()) GetSheet()->SetWizardButtons(buttons_);
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override {
        const BOOL leave = CPropertyPage::OnKillActive();
        Record(leave ? "killactive" : "killactive refused");
        return leave;
    }
    LRESULT OnWizardNext() override {
        Record("next");
        return 0;
    }
    LRESULT OnWizardBack() override {
        Record("back");
        return 0;
    }
    BOOL OnQueryCancel() override {
        Record("querycancel");
        return TRUE;
    }
    void OnCancel() override { Record("cancel"); }

private:
    std::string name_;
    DWORD buttons_;
    const WizardRun& run_;
};

class NamePage : public RecordingPage {
public:
    explicit NamePage(const WizardRun& run) : RecordingPage(IDD_WIZARD_NAME, "name", PSWIZB_NEXT, run) {}
    std::string name = "first";
    int kind = 1;
    int checked = BST_CHECKED;
    int speed = 1;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        if (!dx->m_bSaveAndValidate && SendDlgItemMessageA(m_hWnd, IDC_WIZARD_KIND, CB_GETCOUNT, 0, 0) == 0) {
            for (const char* text : {"file", "folder", "link"})
                SendDlgItemMessageA(m_hWnd, IDC_WIZARD_KIND, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        DDX_Text(dx, IDC_WIZARD_NAME, name);
        DDX_CBIndex(dx, IDC_WIZARD_KIND, kind);
        DDX_Check(dx, IDC_WIZARD_CHECK, checked);
        DDX_Radio(dx, IDC_WIZARD_SLOW, speed);
    }
    // An empty name keeps the page; "jump" goes straight to the last page.
    LRESULT OnWizardNext() override {
        RecordingPage::OnWizardNext();
        if (name.empty()) {
            vorlan::ShowMessageBox(m_hWnd, "A name is needed.", GetSheet()->GetTitle(), MB_OK | MB_ICONERROR);
            return -1;
        }
        return name == "jump" ? IDD_WIZARD_LAST : 0;
    }
    // Choosing "link" jumps to the last page.
    void OnKindChange() {
        const LRESULT kind = SendDlgItemMessageA(m_hWnd, IDC_WIZARD_KIND, CB_GETCURSEL, 0, 0);
        Record("kind " + std::to_string(kind));
        if (kind != 2) return;
        const bool jumped = GetSheet()->SetActivePage(2);
        Record(std::string(jumped ? "jumped" : "stayed") + " to " + std::to_string(GetSheet()->GetActiveIndex()));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NamePage, RecordingPage)
    ON_CBN_SELCHANGE(IDC_WIZARD_KIND, OnKindChange)
END_MESSAGE_MAP()

// Skipped when the name is "skip".
class CountPage : public RecordingPage {
public:
    CountPage(const WizardRun& run, const std::string& name)
        : RecordingPage(IDD_WIZARD_COUNT, "count", PSWIZB_BACK | PSWIZB_NEXT, run), name_(name) {}
    int count = 5;

protected:
    BOOL OnSetActive() override {
        if (name_ != "skip") return RecordingPage::OnSetActive();
        Record("skipped");
        return FALSE;
    }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, IDC_WIZARD_COUNT, count);
        vorlan::DDV_MinMaxInt(dx, count, 0, 99);
    }

    // Next only while the count holds text.
    void OnCountChange() {
        const bool typed = GetWindowTextLengthA(GetDlgItem(IDC_WIZARD_COUNT)) > 0;
        GetSheet()->SetWizardButtons(PSWIZB_BACK | (typed ? PSWIZB_NEXT : 0));
    }
    DECLARE_MESSAGE_MAP()

private:
    const std::string& name_;
};
BEGIN_MESSAGE_MAP(CountPage, RecordingPage)
    ON_EN_CHANGE(IDC_WIZARD_COUNT, OnCountChange)
END_MESSAGE_MAP()

class LastPage : public RecordingPage {
public:
    explicit LastPage(const WizardRun& run) : RecordingPage(IDD_WIZARD_LAST, "last", PSWIZB_BACK | PSWIZB_FINISH, run) {}
    int refuse = BST_UNCHECKED;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Check(dx, IDC_WIZARD_REFUSE, refuse); }
    BOOL OnWizardFinish() override {
        Record("finish");
        return refuse != BST_CHECKED;
    }
};

}  // namespace

extern "C" __declspec(dllexport) INT_PTR RunWizard(const WizardRun* run) {
    vorlan::ModuleStateGuard module(reinterpret_cast<HINSTANCE>(&__ImageBase));
    NamePage name(*run);
    CountPage count(*run, name.name);
    LastPage last(*run);
    vorlan::CPropertySheet sheet(IDS_WIZARD_CAPTION, nullptr, static_cast<UINT>(run->startPage));
    sheet.AddPage(&name);
    sheet.AddPage(&count);
    sheet.AddPage(&last);
    if (run->wizard) sheet.SetWizardMode();
    const INT_PTR result = sheet.DoModal();
    const std::string values = "values name=" + name.name + " kind=" + std::to_string(name.kind) +
                               " checked=" + std::to_string(name.checked) + " speed=" + std::to_string(name.speed) +
                               " count=" + std::to_string(count.count) + " refuse=" + std::to_string(last.refuse);
    run->record(run->context, values.c_str());
    return result;
}
