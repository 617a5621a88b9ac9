#include "HtmlDialog.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <tuple>

#include "Dialog.h"
#include "ShellOpen.h"

namespace vorlan {
namespace {

constexpr UINT kFirstControlId = 1000;
constexpr UINT kPageLoadedMessage = WM_APP + 0x2F1;
constexpr UINT kEndMessage = WM_APP + 0x2F2;
constexpr int kLineScroll = 20;
const char kElementIdProperty[] = "HtmlElementId";

bool IsRadio(const HtmlNode& node) { return node.tag == "input" && node.Attribute("type") == "radio"; }

void CollectRadios(HtmlNode& node, const std::string& name, std::vector<HtmlNode*>& radios) {
    if (IsRadio(node) && node.Attribute("name") == name) radios.push_back(&node);
    for (auto& child : node.children) CollectRadios(*child, name, radios);
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

}  // namespace

class CHtmlDialog::Measure : public HtmlMeasure {
public:
    // Measured on the window's own DC, so the widths are the ones painted.
    explicit Measure(CHtmlDialog& host) : host_(host), dc_(GetDC(host.m_hWnd)) {}
    ~Measure() override { ReleaseDC(host_.m_hWnd, dc_); }
    SIZE Text(const std::wstring& text, const HtmlStyle& style) override {
        SelectObject(dc_, host_.FontFor(style));
        SIZE size = {0, 0};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        if (text.empty()) {
            TEXTMETRICW metrics;
            GetTextMetricsW(dc_, &metrics);
            size.cy = metrics.tmHeight;
        }
        return size;
    }
    SIZE Image(const std::string& source) override {
        auto found = host_.images_.find(source);
        if (found == host_.images_.end()) {
            HtmlImage image;
            std::string error;
            if (!image.Load(host_.module_, source, error)) return {0, 0};  // an image that is not there is left out
            found = host_.images_.emplace(source, std::move(image)).first;
        }
        return found->second.Size();
    }

private:
    CHtmlDialog& host_;
    HDC dc_;
};

CHtmlDialog::~CHtmlDialog() {
    DestroyControls();
    if (m_hWnd) DestroyWindow();
    for (auto& [key, font] : fonts_) DeleteObject(font);
    if (backgroundBrush_) DeleteObject(backgroundBrush_);
}

UINT CHtmlDialog::DumpMessage() {
    static const UINT message = RegisterWindowMessageA("VorlanHtmlDump");
    return message;
}

HFONT CHtmlDialog::FontFor(const HtmlStyle& style) {
    auto key = std::make_tuple(style.fontSize, style.bold, style.italic, style.underline);
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    HFONT font = CreateFontW(-style.fontSize, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, style.italic,
                             style.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_.emplace(key, font);
    return font;
}

bool CHtmlDialog::Create(HMODULE module, const std::string& page, HWND owner, int width, int height) {
    module_ = module;
    std::string text;
    if (!LoadPageResource(module, page, text)) {
        error_ = "no page resource \"" + page + "\"";
        return false;
    }
    if (!ParseXhtml(text, document_, error_)) {
        error_ = "page \"" + page + "\": " + error_;
        return false;
    }
    root_ = document_.children.front().get();
    IndexElements();
    for (HtmlNode* head = FindByTag(*root_, "head"); head;) {
        for (auto& child : head->children) {
            if (child->tag == "style") sheet_.Parse(TextOf(*child));
            if (child->tag == "link" && child->Attribute("rel") == "stylesheet") {
                std::string css;
                if (!LoadPageResource(module, child->Attribute("href"), css)) {
                    error_ = "no style sheet resource \"" + child->Attribute("href") + "\"";
                    return false;
                }
                sheet_.Parse(css);
            }
        }
        break;
    }
    if (HtmlNode* body = FindByTag(*root_, "body")) pageStyle_ = sheet_.StyleOf(*body, HtmlStyle{});
    if (pageStyle_.hasBackground) backgroundBrush_ = CreateSolidBrush(pageStyle_.background);
    HICON icon = iconId_ ? LoadIconA(module, MAKEINTRESOURCEA(iconId_)) : nullptr;
    if (iconId_ && !icon) {
        error_ = "no icon resource " + std::to_string(iconId_);
        return false;
    }
    std::string caption;
    if (HtmlNode* title = FindByTag(*root_, "title")) caption = TextOf(*title);
    RECT rect = {0, 0, width, height};
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VSCROLL | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&rect, style, FALSE, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT);
    OffsetRect(&rect, 80 - rect.left, 60 - rect.top);
    if (!CreateEx(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, RegisterFrameworkClass(), caption.c_str(), style, rect,
                  owner, 0)) {
        error_ = "the window could not be made";
        return false;
    }
    if (icon) SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    if (aboutBox_) {
        HMENU menu = GetSystemMenu(m_hWnd, FALSE);
        if (!menu || !AppendMenuA(menu, MF_SEPARATOR, 0, nullptr) ||
            !AppendMenuA(menu, MF_STRING, kAboutCommand, aboutItem_.c_str())) {
            error_ = "the About item could not be added to the system menu";
            return false;
        }
    }
    return Relayout();
}

INT_PTR CHtmlDialog::DoModal(HMODULE module, const std::string& page, HWND owner, int width, int height) {
    if (!Create(module, page, owner, width, height)) return -1;
    bool ownerEnabled = owner && IsWindowEnabled(owner);
    if (ownerEnabled) ::EnableWindow(owner, FALSE);
    modal_ = true;
    ShowWindow(m_hWnd, SW_SHOW);
    MSG message;
    while (modal_ && GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (WalkPreTranslateTree(m_hWnd, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (ownerEnabled) ::EnableWindow(owner, TRUE);
    if (m_hWnd) DestroyWindow();
    return result_;
}

void CHtmlDialog::SetAboutBox(const std::string& itemText, int aboutBox) {
    aboutItem_ = itemText;
    aboutBox_ = aboutBox;
}

void CHtmlDialog::EndDialog(INT_PTR result) {
    result_ = result;
    if (modal_) {
        modal_ = false;
        PostMessage(WM_NULL);  // wakes the loop
    } else if (m_hWnd) {
        PostMessage(kEndMessage);  // not under the feet of the control that asked
    }
}

void CHtmlDialog::DestroyControls() {
    for (Control& control : controls_) {
        if (!control.window) continue;
        if (ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropA(control.window, kElementIdProperty))))
            GlobalDeleteAtom(atom);
        ::DestroyWindow(control.window);
    }
    controls_.clear();
    controlOf_.clear();
}

void CHtmlDialog::IndexElements() {
    elements_.clear();
    std::function<void(HtmlNode&)> walk = [&](HtmlNode& node) {
        if (!node.IsText()) {
            std::string id = node.Attribute("id");
            if (!id.empty()) elements_.emplace(std::move(id), &node);
        }
        for (auto& child : node.children) walk(*child);
    };
    if (root_) walk(*root_);
}

bool CHtmlDialog::MakeControl(Control& control) {
    if (control.window || control.failed) return control.window != nullptr;
    const HtmlControlPlace place = {control.node, control.kind, control.rect, control.text, control.style};
    HWND window = MakeControl(place, control.controlId);
    const std::string id = control.node->Attribute("id");
    if (!window) {
        control.failed = true;
        error_ = "the control of element \"" + id + "\" (" + control.node->tag + ") could not be made";
        return false;
    }
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control.style)), FALSE);
    if (!id.empty()) SetPropA(window, kElementIdProperty, reinterpret_cast<HANDLE>(GlobalAddAtomA(id.c_str())));
    if (control.kind == HtmlControlKind::Radio && control.node->checked)
        ::SendMessageA(window, BM_SETCHECK, BST_CHECKED, 0);
    if (control.node->disabled) ::EnableWindow(window, FALSE);
    control.window = window;
    return true;
}

bool CHtmlDialog::MakeControlsIn(int top, int bottom) {
    bool made = true;
    for (Control& control : controls_)
        if (!control.window && !control.failed && control.rect.bottom > top && control.rect.top < bottom)
            made = MakeControl(control) && made;
    return made;
}

void CHtmlDialog::MakeControlsInView() {
    // A page above and below the view too, so a short scroll finds its
    // controls made.
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (!MakeControlsIn(scroll_ - client.bottom, scroll_ + 2 * client.bottom)) OnControlNotMade();
}

void CHtmlDialog::OnControlNotMade() { MessageBox(error_, GetWindowText(), MB_ICONERROR); }

HWND CHtmlDialog::MakeControl(const HtmlControlPlace& place, UINT controlId) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY;
    std::string text = place.text;
    if (place.kind == HtmlControlKind::Radio) {
        style |= BS_RADIOBUTTON;
        text.clear();
    } else if (place.kind == HtmlControlKind::Link) {
        style |= BS_OWNERDRAW;
    }
    const RECT& r = place.rect;
    return CreateWindowExA(0, "BUTTON", text.c_str(), style, r.left, r.top - scroll_, r.right - r.left,
                           r.bottom - r.top, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)),
                           GetModuleHandleA(nullptr), nullptr);
}

bool CHtmlDialog::Relayout() {
    if (!m_hWnd || !root_) return false;
    HWND focus = GetFocus();
    const HtmlNode* focused = nullptr;
    for (const Control& control : controls_)
        if (control.window && control.window == focus) focused = control.node;
    // No painting while controls come and go (a hidden window paints
    // nothing anyway, and would be made visible by the switch).
    const bool shown = IsWindowVisible(m_hWnd) != FALSE;
    if (shown) ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    DestroyControls();
    RECT client;
    GetClientRect(m_hWnd, &client);
    Measure measure(*this);
    layout_ = LayoutPage(*root_, pageStyle_, sheet_, measure, client.right - client.left);
    scroll_ = std::clamp(scroll_, 0, std::max(0, layout_.height - static_cast<int>(client.bottom)));
    for (const HtmlControlPlace& place : layout_.controls) {
        controlOf_.emplace(place.node, controls_.size());
        const UINT controlId = kFirstControlId + static_cast<UINT>(controls_.size());
        controls_.push_back({nullptr, place.rect, place.node, place.kind, place.text, place.style, controlId});
    }
    // Thousands of controls cost seconds to make: only those near the view
    // now, the others as they come into view.
    bool made = MakeControlsIn(scroll_ - client.bottom, scroll_ + 2 * client.bottom);
    if (Control* control = ControlOf(focused)) {
        made = MakeControl(*control) && made;
        if (control->window) ::SetFocus(control->window);
    }
    if (shown) ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    UpdateScrollBar();
    // The scroll bar came or went and took or gave back width: lay out
    // again for it (once; a narrower page is only taller, a wider one
    // only shorter, so the bar stays as it now is).
    RECT after;
    GetClientRect(m_hWnd, &after);
    if (after.right != client.right && !relayingOut_) {
        relayingOut_ = true;
        made = Relayout();
        relayingOut_ = false;
        return made;
    }
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    return made;
}

void CHtmlDialog::UpdateScrollBar() {
    RECT client;
    GetClientRect(m_hWnd, &client);
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS};
    info.nMin = 0;
    info.nMax = std::max(0, layout_.height - 1);
    info.nPage = static_cast<UINT>(client.bottom);
    int limit = std::max(0, layout_.height - static_cast<int>(client.bottom));
    if (scroll_ > limit) {
        scroll_ = limit;
        MakeControlsInView();
        PlaceControls();
    }
    info.nPos = scroll_;
    SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

void CHtmlDialog::ScrollTo(int position) {
    RECT client;
    GetClientRect(m_hWnd, &client);
    int limit = std::max(0, layout_.height - static_cast<int>(client.bottom));
    position = std::clamp(position, 0, limit);
    if (position == scroll_) return;
    scroll_ = position;
    MakeControlsInView();
    PlaceControls();
    SetScrollPos(m_hWnd, SB_VERT, scroll_, TRUE);
}

void CHtmlDialog::PlaceControls() {
    // Moved one by one, not scrolled with the window: a hidden window does
    // not carry its children along.
    HDWP moves = BeginDeferWindowPos(static_cast<int>(controls_.size()));
    for (const Control& control : controls_) {
        if (!control.window) continue;
        const RECT& r = control.rect;
        if (moves)
            moves = DeferWindowPos(moves, control.window, nullptr, r.left, r.top - scroll_, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        else
            SetWindowPos(control.window, nullptr, r.left, r.top - scroll_, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves) EndDeferWindowPos(moves);
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

HWND CHtmlDialog::NextTabControl(HWND from, bool back) {
    std::vector<Control*> order;
    for (Control& control : controls_)
        if (!control.node->disabled && !control.failed) order.push_back(&control);
    if (order.empty()) return nullptr;
    auto at = std::find_if(order.begin(), order.end(), [from](const Control* c) { return c->window == from; });
    Control* next;
    if (at == order.end()) {
        next = back ? order.back() : order.front();
    } else {
        size_t index = static_cast<size_t>(at - order.begin());
        size_t count = order.size();
        next = order[back ? (index + count - 1) % count : (index + 1) % count];
    }
    if (!next->window) {
        ScrollToBox(next->node->box);  // makes it, with those around it
        MakeControl(*next);
    }
    return next->window;
}

void CHtmlDialog::ScrollToBox(const RECT& box) {
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (box.top < scroll_)
        ScrollTo(box.top);
    else if (box.bottom > scroll_ + client.bottom)
        ScrollTo(box.bottom - client.bottom);
}

void CHtmlDialog::ScrollIntoView(const std::string& id) {
    HtmlNode* node = GetElementById(id);
    if (!node || !m_hWnd) return;
    ScrollToBox(node->box);
}

HtmlNode* CHtmlDialog::GetElementById(const std::string& id) {
    auto found = elements_.find(id);
    return found == elements_.end() ? nullptr : found->second;
}

CHtmlDialog::Control* CHtmlDialog::ControlOf(const HtmlNode* node) {
    auto found = node ? controlOf_.find(node) : controlOf_.end();
    return found == controlOf_.end() ? nullptr : &controls_[found->second];
}

HWND CHtmlDialog::GetElementWindow(const std::string& id) {
    Control* control = ControlOf(GetElementById(id));
    return control ? control->window : nullptr;
}

bool CHtmlDialog::SetInnerHtml(const std::string& id, const std::string& fragment) {
    HtmlNode* node = GetElementById(id);
    if (!node) {
        error_ = "no element \"" + id + "\"";
        return false;
    }
    std::vector<std::unique_ptr<HtmlNode>> children;
    std::string why;
    if (!ParseFragment(fragment, node, children, why)) {
        error_ = "the HTML for \"" + id + "\" does not parse: " + why;
        return false;
    }
    node->children = std::move(children);
    IndexElements();
    return Relayout();
}

std::string CHtmlDialog::GetElementText(const std::string& id) {
    HtmlNode* node = GetElementById(id);
    return node ? TextOf(*node) : "";
}

bool CHtmlDialog::GetRadioChecked(const std::string& id) {
    HtmlNode* node = GetElementById(id);
    return node && IsRadio(*node) && node->checked;
}

void CHtmlDialog::ApplyRadio(HtmlNode& radio, bool checked) {
    std::vector<HtmlNode*> group;
    if (checked && root_) CollectRadios(*root_, radio.Attribute("name"), group);
    for (HtmlNode* other : group) {
        other->checked = false;
        if (Control* control = ControlOf(other)) ::SendMessageA(control->window, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    radio.checked = checked;
    if (Control* control = ControlOf(&radio))
        ::SendMessageA(control->window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CHtmlDialog::SetRadioChecked(const std::string& id, bool checked) {
    HtmlNode* node = GetElementById(id);
    if (!node || !IsRadio(*node)) return false;
    ApplyRadio(*node, checked);
    return true;
}

bool CHtmlDialog::EnableElement(const std::string& id, bool enable) {
    HtmlNode* node = GetElementById(id);
    if (!node) return false;
    node->disabled = !enable;
    if (Control* control = ControlOf(node)) ::EnableWindow(control->window, enable);
    return true;
}

bool CHtmlDialog::IsElementEnabled(const std::string& id) {
    HtmlNode* node = GetElementById(id);
    return node && !node->disabled;
}

bool CHtmlDialog::ClickElement(const std::string& id) {
    Control* control = ControlOf(GetElementById(id));
    if (!control || control->node->disabled) return false;
    if (!control->window) {
        // A user scrolls to it first.
        ScrollToBox(control->node->box);
        if (!MakeControl(*control)) return false;
    }
    if (!IsWindowEnabled(control->window)) return false;
    ::SendMessageA(control->window, BM_CLICK, 0, 0);
    return true;
}

void CHtmlDialog::Clicked(Control& control) {
    HtmlNode* node = control.node;
    std::string id = node->Attribute("id");
    if (control.kind == HtmlControlKind::Radio) ApplyRadio(*node, true);
    if (control.kind == HtmlControlKind::Link) {
        std::string address = node->Attribute("href");
        if (!address.empty() && address[0] != '#' && !ShellOpenLink(m_hWnd, address))
            error_ = "the link \"" + address + "\" could not be opened";
    }
    OnElementClick(id);
}

bool CHtmlDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (!control && (id == IDCANCEL || id == IDOK)) {
        EndDialog(id);
        return true;
    }
    for (Control& item : controls_) {
        if (item.window != control) continue;
        if (code == BN_CLICKED) {
            Clicked(item);  // may lay the page out again: item is not used after
        } else if (code == BN_SETFOCUS) {
            ScrollToBox(item.node->box);
        }
        return true;
    }
    return CWnd::OnCommand(id, code, control);
}

bool CHtmlDialog::PreTranslateMessage(MSG* message) {
    // Every control is a tab stop, radios too: the dialog manager would
    // stop only at the checked radio of a run, and ours group by name.
    if (message->message == WM_KEYDOWN && message->wParam == VK_TAB &&
        (message->hwnd == m_hWnd || ::GetParent(message->hwnd) == m_hWnd)) {
        if (HWND next = NextTabControl(message->hwnd, GetKeyState(VK_SHIFT) < 0)) ::SetFocus(next);
        return true;
    }
    if (message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST && IsDialogMessageA(m_hWnd, message))
        return true;
    return CWnd::PreTranslateMessage(message);
}

void CHtmlDialog::OnSize(UINT kind, int width, int height) {
    CWnd::OnSize(kind, width, height);
    if (kind != SIZE_MINIMIZED && root_ && !layout_.texts.empty()) UpdateScrollBar();
}

std::string CHtmlDialog::DumpElements() {
    std::string out;
    std::function<void(HtmlNode&)> walk = [&](HtmlNode& node) {
        std::string id = node.IsText() ? "" : node.Attribute("id");
        if (!id.empty()) {
            std::string state = "-";
            if (IsRadio(node)) state = node.checked ? "checked" : "unchecked";
            if (ControlOf(&node)) state += node.disabled ? ",disabled" : ",enabled";
            const RECT& b = node.box;
            char place[64];
            std::snprintf(place, sizeof place, "%ld,%ld,%ld,%ld", b.left, b.top, b.right - b.left, b.bottom - b.top);
            out += id + "\t" + node.tag + "\t" + OneLine(TextOf(node)) + "\t" + state + "\t" + place + "\n";
        }
        for (auto& child : node.children) walk(*child);
    };
    if (root_) walk(*root_);
    return out;
}

void CHtmlDialog::DrawLink(const DRAWITEMSTRUCT& item) {
    for (const Control& control : controls_) {
        if (control.window != item.hwndItem) continue;
        HtmlStyle look = control.style;
        FillRect(item.hDC, &item.rcItem, backgroundBrush_ ? backgroundBrush_ : GetSysColorBrush(COLOR_WINDOW));
        SelectObject(item.hDC, FontFor(look));
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : look.color);
        std::wstring text = WideFromUtf8(control.text);
        RECT rect = item.rcItem;
        DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
}

void CHtmlDialog::Paint(HDC dc, const RECT& dirty) {
    COLORREF background = pageStyle_.hasBackground ? pageStyle_.background : GetSysColor(COLOR_WINDOW);
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &dirty, brush);
    DeleteObject(brush);
    auto visible = [&](const RECT& rect, RECT& shown) {
        shown = rect;
        OffsetRect(&shown, 0, -scroll_);
        RECT overlap;
        return IntersectRect(&overlap, &shown, &dirty) != FALSE;
    };
    RECT shown;
    for (const HtmlPaintBox& box : layout_.boxes) {
        if (!visible(box.rect, shown)) continue;
        HBRUSH fill = CreateSolidBrush(box.color);
        if (box.frame)
            FrameRect(dc, &shown, fill);
        else
            FillRect(dc, &shown, fill);
        DeleteObject(fill);
    }
    for (const HtmlPaintImage& image : layout_.images) {
        auto found = images_.find(image.source);
        if (found != images_.end() && visible(image.rect, shown)) found->second.Draw(dc, shown);
    }
    SetBkMode(dc, TRANSPARENT);
    for (const HtmlPaintText& text : layout_.texts) {
        if (!visible(text.rect, shown)) continue;
        SelectObject(dc, FontFor(text.style));
        SetTextColor(dc, text.style.color);
        TextOutW(dc, shown.left, shown.top, text.text.c_str(), static_cast<int>(text.text.size()));
    }
}

INT_PTR CHtmlDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_hWnd, &paint);
        Paint(dc, paint.rcPaint);
        EndPaint(m_hWnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_DRAWITEM:
        DrawLink(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (!backgroundBrush_) break;
        SetBkColor(reinterpret_cast<HDC>(wParam), pageStyle_.background);
        return reinterpret_cast<INT_PTR>(backgroundBrush_);
    case WM_VSCROLL: {
        RECT client;
        GetClientRect(m_hWnd, &client);
        SCROLLINFO info = {sizeof info, SIF_TRACKPOS};
        GetScrollInfo(m_hWnd, SB_VERT, &info);
        switch (LOWORD(wParam)) {
        case SB_LINEUP: ScrollTo(scroll_ - kLineScroll); break;
        case SB_LINEDOWN: ScrollTo(scroll_ + kLineScroll); break;
        case SB_PAGEUP: ScrollTo(scroll_ - client.bottom); break;
        case SB_PAGEDOWN: ScrollTo(scroll_ + client.bottom); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(info.nTrackPos); break;
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(layout_.height); break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        ScrollTo(scroll_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3 * kLineScroll);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != kAboutCommand || !aboutBox_) break;
        if (CDialog(aboutBox_).DoModal(m_hWnd) < 0)
            MessageBox("The About box (dialog " + std::to_string(aboutBox_) + ") could not be shown.",
                       GetWindowText(), MB_ICONERROR);
        return 0;
    case WM_SHOWWINDOW:
        if (wParam && !loadedFired_) PostMessage(kPageLoadedMessage);
        break;
    case kPageLoadedMessage:
        if (!loadedFired_) {
            loadedFired_ = true;
            OnPageLoaded();
        }
        return 0;
    case WM_CLOSE:
        EndDialog(IDCANCEL);
        return 0;
    case kEndMessage:
        DestroyWindow();
        return 0;
    default:
        if (message == DumpMessage()) {
            char path[MAX_PATH];
            DWORD length = GetEnvironmentVariableA("VORLAN_HTML_DUMP", path, MAX_PATH);
            if (length == 0 || length >= MAX_PATH) return 0;
            FILE* file = std::fopen(path, "wb");
            if (!file) return 0;
            std::string dump = DumpElements();
            bool written = std::fwrite(dump.data(), 1, dump.size(), file) == dump.size();
            return std::fclose(file) == 0 && written;
        }
        break;
    }
    handled = false;
    return 0;
}

}  // namespace vorlan
