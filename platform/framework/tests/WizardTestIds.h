#pragma once
// Resource ids of the wizard library's pages, and what its export takes.
#define IDS_WIZARD_CAPTION 300
#define IDD_WIZARD_NAME 301
#define IDD_WIZARD_COUNT 302
#define IDD_WIZARD_LAST 303
#define IDC_WIZARD_NAME 2001
#define IDC_WIZARD_KIND 2002
#define IDC_WIZARD_CHECK 2003
#define IDC_WIZARD_SLOW 2004
#define IDC_WIZARD_FAST 2005
#define IDC_WIZARD_COUNT 2010
#define IDC_WIZARD_REFUSE 2020

#ifndef RC_INVOKED
#include <windows.h>

// RunWizard(const WizardRun*): the three pages as a wizard (or as tabs),
// each notification and the values read back told to record as a line.
struct WizardRun {
    void (*record)(void* context, const char* line);
    void* context;
    int wizard;     // 1: wizard, 0: tabs
    int startPage;
};
using RunWizardFn = INT_PTR (*)(const WizardRun*);
#endif
