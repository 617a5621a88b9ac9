#pragma once
// The window that shows one of our own XHTML pages (a resource of type 23
// of a module) as a dialog: text, tables and images are painted, radios,
// buttons and links are real controls, a tall page scrolls and Tab walks
// the controls. A program derives from it and answers OnPageLoaded and
// OnElementClick; it changes the page through the element calls.
//
// For tests every control carries the window property "HtmlElementId" (a
// global atom of the element's id), and the registered message
// "VorlanHtmlDump" writes a line per element with an id (id, tag, text,
// state, place) to the file VORLAN_HTML_DUMP names.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "HtmlImage.h"
#include "HtmlLayout.h"
#include "HtmlStyle.h"
#include "HtmlTree.h"
#include "Wnd.h"

namespace vorlan {

class CHtmlDialog : public CWnd {
public:
    CHtmlDialog() = default;
    ~CHtmlDialog() override;

    // Makes the window, hidden, with a client area of width by height, and
    // lays out page (a resource of module); its caption is the page's
    // title. False with LastError when the page is missing or not well
    // formed, or a control cannot be made.
    bool Create(HMODULE module, const std::string& page, HWND owner, int width, int height);
    // Create, then show it and run until EndDialog while owner is disabled;
    // -1 when it could not be made.
    INT_PTR DoModal(HMODULE module, const std::string& page, HWND owner, int width, int height);
    void EndDialog(INT_PTR result);
    const std::string& LastError() const { return error_; }

    // Before Create: the system menu gets a separator and an item of this
    // text (command kAboutCommand) that shows the dialog template aboutBox
    // of the program's resources, modal to the page.
    void SetAboutBox(const std::string& itemText, int aboutBox);
    // Before Create: the window's icon, a resource of the page's module.
    void SetIcon(int iconId) { iconId_ = iconId; }
    static constexpr UINT kAboutCommand = 0x0010;

    HtmlNode* GetElementById(const std::string& id);
    // Replaces what the element holds by a fragment; a fragment that does
    // not parse leaves the element as it was and answers false.
    bool SetInnerHtml(const std::string& id, const std::string& fragment);
    // The element's characters, "" when there is no such element.
    std::string GetElementText(const std::string& id);
    bool GetRadioChecked(const std::string& id);
    // Checking a radio unchecks the others of its name across the page.
    bool SetRadioChecked(const std::string& id, bool checked);
    bool EnableElement(const std::string& id, bool enable);
    bool IsElementEnabled(const std::string& id);
    // Clicks the element's control as a user would; false when there is no
    // such control or it is disabled.
    bool ClickElement(const std::string& id);
    // The element's control; nullptr when it has none, or none yet: a
    // control is made when its place first comes near the view (a long page
    // makes only the controls it shows), with the element's state.
    HWND GetElementWindow(const std::string& id);
    // Scrolls the page so the element is in view.
    void ScrollIntoView(const std::string& id);
    int ScrollPosition() const { return scroll_; }
    int PageHeight() const { return layout_.height; }
    // What the dump message writes.
    std::string DumpElements();
    static UINT DumpMessage();

protected:
    // Once, after the window was first shown.
    virtual void OnPageLoaded() {}
    // A radio, button or link was clicked (after the radio changed state
    // and the link was opened).
    virtual void OnElementClick(const std::string& id) { (void)id; }
    // Makes one control of the page; nullptr when it cannot be made.
    virtual HWND MakeControl(const HtmlControlPlace& place, UINT controlId);
    // A control that could not be made when its place came into view
    // (LastError names it): a message box with the page's caption.
    virtual void OnControlNotMade();

    bool PreTranslateMessage(MSG* message) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnSize(UINT kind, int width, int height) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    class Measure;
    struct Control {
        HWND window;  // nullptr until made
        RECT rect;  // in page coordinates
        HtmlNode* node;
        HtmlControlKind kind;
        std::string text;
        HtmlStyle style;
        UINT controlId;
        bool failed = false;  // tried once and not made
    };

    bool Relayout();
    // Finds elements by id without walking the page: built whenever the
    // page's elements change.
    void IndexElements();
    // Makes the controls not made yet whose places reach into page rows
    // top to bottom; false (LastError) when one could not be made.
    bool MakeControlsIn(int top, int bottom);
    bool MakeControl(Control& control);
    // Makes those near the view, reporting a failure.
    void MakeControlsInView();
    void DestroyControls();
    void Paint(HDC dc, const RECT& dirty);
    void DrawLink(const DRAWITEMSTRUCT& item);
    void ScrollTo(int position);
    // Scrolls the least that brings a box of the page into view.
    void ScrollToBox(const RECT& box);
    void PlaceControls();
    // The control Tab moves to from the one with the focus.
    HWND NextTabControl(HWND from, bool back);
    void UpdateScrollBar();
    void Clicked(Control& control);
    void ApplyRadio(HtmlNode& radio, bool checked);
    Control* ControlOf(const HtmlNode* node);
    HFONT FontFor(const HtmlStyle& style);

    HMODULE module_ = nullptr;
    HtmlNode document_;
    HtmlNode* root_ = nullptr;
    HtmlStyleSheet sheet_;
    HtmlStyle pageStyle_;
    HtmlLayoutResult layout_;
    std::vector<Control> controls_;
    std::unordered_map<const HtmlNode*, size_t> controlOf_;  // into controls_
    std::unordered_map<std::string, HtmlNode*> elements_;    // by id, the first in page order
    std::map<std::string, HtmlImage> images_;
    std::map<std::tuple<int, bool, bool, bool>, HFONT> fonts_;
    HBRUSH backgroundBrush_ = nullptr;
    std::string error_;
    std::string aboutItem_;
    int aboutBox_ = 0;
    int iconId_ = 0;
    bool relayingOut_ = false;
    int scroll_ = 0;
    bool loadedFired_ = false;
    bool modal_ = false;
    INT_PTR result_ = 0;
};

}  // namespace vorlan
