#pragma once
// Yarrowin's window: one page of the connected device's facts (owner,
// name, platform and version, processor, memory and storage in bytes),
// filled once when the page has loaded, or a note that the device cannot
// be reached.
#include "CeDeviceInfo.h"
#include "HtmlDialog.h"

namespace vorlan::deviceview {

class CYarrowinDlg : public CHtmlDialog {
public:
    CYarrowinDlg();
    // The page of this module, shown modally.
    INT_PTR DoModal(HWND owner = nullptr);
    // The page made and left hidden (tests show it themselves).
    bool Create(HWND owner = nullptr);

protected:
    void OnPageLoaded() override;
    void OnElementClick(const std::string& id) override;

private:
    CCeDeviceInfo device_;  // holds Yarrowin's own device session
};

}  // namespace vorlan::deviceview
