#pragma once
// The file item wizard as the editor opens it: "Feldane.VorlanProperties"
// made by ProgID, ConfigNodeDlg over an InfoNode on the test's thread, and
// the steps of a user run against the sheet from a thread of their own,
// by messages. Boxes are answered and journaled.
#include <functional>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "FileSyncFixture.h"
#include "WizardSteps.h"
#include "vorlan.h"

namespace vorlan::filesync::testing {

// An item's texts, and the table's URL the editor adds.
struct WizardItem {
    std::string originUrl, dest, fileAttributes, downloadAttributes, tableUrl;
    bool operator==(const WizardItem&) const = default;
};

class FileWizardTest : public FileSyncSuite {
protected:
    void SetUp() override;
    void TearDown() override;

    com::ComPtr<IInfoNode> Node(const WizardItem& item) const;
    // The node's texts; missing keys read as "".
    static WizardItem Stored(IInfoNode* node);
    // ConfigNodeDlg over node while steps run against the sheet; the
    // sheet is cancelled when the steps leave it open.
    HRESULT RunWizard(IInfoNode* node, const std::function<void(HWND sheet)>& steps);
    // The boxes shown so far, as "caption: text".
    std::vector<std::string> Boxes() const;

    std::string TableUrl() const { return ParentUrl(); }

private:
    std::string boxes_;
    com::ComPtr<IVorlanProperties> properties_;
};

}  // namespace vorlan::filesync::testing
