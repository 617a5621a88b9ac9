#include "Wnd.h"

#include <atomic>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "MessageBox.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace vorlan {
namespace {

std::mutex& MapLock() {
    static std::mutex lock;
    return lock;
}

std::unordered_map<HWND, CWnd*>& HandleMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

thread_local CWnd* t_creating = nullptr;
std::atomic<int> g_waitCursors{0};

const MessageMapEntry kNoEntries[] = {{0, 0, 0, 0, MessageSignature::End, nullptr}};

bool IsIdMessage(UINT message) { return message == WM_COMMAND || message == WM_NOTIFY; }

}  // namespace

CWnd::~CWnd() {
    if (!m_hWnd || FromHandlePermanent(m_hWnd) != this) return;
    if (created_) ::DestroyWindow(m_hWnd);
    if (!m_hWnd) return;
    if (superProc_) UnsubclassWindow();
    else Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
    if (!window) return nullptr;
    std::lock_guard<std::mutex> guard(MapLock());
    auto it = HandleMap().find(window);
    return it == HandleMap().end() ? nullptr : it->second;
}

bool CWnd::Attach(HWND window) {
    if (!window || m_hWnd) return false;
    {
        std::lock_guard<std::mutex> guard(MapLock());
        if (!HandleMap().emplace(window, this).second) return false;
    }
    m_hWnd = window;
    return true;
}

HWND CWnd::Detach() {
    HWND window = std::exchange(m_hWnd, nullptr);
    if (window) {
        std::lock_guard<std::mutex> guard(MapLock());
        auto it = HandleMap().find(window);
        if (it != HandleMap().end() && it->second == this) HandleMap().erase(it);
    }
    return window;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                    HWND parent, UINT id) {
    if (m_hWnd) return false;
    SetCreating(this);
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    HWND window = CreateWindowExA(exStyle, className, windowName, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, menu,
                                  reinterpret_cast<HINSTANCE>(&__ImageBase), nullptr);
    SetCreating(nullptr);
    if (!window) {
        // A window of the framework's class that failed during creation
        // was claimed and is gone again.
        Detach();
        return false;
    }
    if (m_hWnd == window || SubclassWindow(window)) {
        created_ = true;
        return true;
    }
    ::DestroyWindow(window);
    return false;
}

bool CWnd::SubclassWindow(HWND window) {
    if (!Attach(window)) return false;
    superProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WindowProcedure)));
    if (!superProc_) {
        Detach();
        return false;
    }
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    HWND control = parent ? parent->GetDlgItem(static_cast<int>(id)) : nullptr;
    return control && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd || !superProc_) return nullptr;
    SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
    superProc_ = nullptr;
    return Detach();
}

bool CWnd::DestroyWindow() { return m_hWnd && ::DestroyWindow(m_hWnd); }

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = ::GetWindowTextA(m_hWnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

int CWnd::MessageBox(const std::string& text, const std::string& caption, UINT type) const {
    return ShowMessageBox(m_hWnd, text, caption, type);
}

void CWnd::BeginWaitCursor() {
    ++g_waitCursors;
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
}

void CWnd::EndWaitCursor() {
    int count = g_waitCursors.load();
    while (count > 0 && !g_waitCursors.compare_exchange_weak(count, count - 1)) {
    }
    if (!WaitCursorShown()) SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

bool CWnd::WaitCursorShown() { return g_waitCursors.load() > 0; }

bool CWnd::PreTranslateMessage(MSG*) { return false; }

LRESULT CALLBACK CWnd::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandlePermanent(window);
    if (!self) self = ClaimCreating(window);
    if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = self->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        if (self->superProc_) {
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->superProc_));
            self->superProc_ = nullptr;
        }
        self->created_ = false;
        self->Detach();
        self->PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) return result;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (superProc_) return CallWindowProcA(superProc_, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
        case WM_SETCURSOR:
            if (!WaitCursorShown()) break;
            SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
            *result = TRUE;
            return true;
        case WM_COMMAND:
            *result = 0;
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        case WM_NOTIFY:
            *result = OnNotify(reinterpret_cast<NMHDR*>(lParam));
            return true;
        case WM_DRAWITEM: {
            // An owner-drawn control that knows how draws itself.
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            CWnd* child = item && item->CtlType != ODT_MENU ? FromHandlePermanent(item->hwndItem) : nullptr;
            if (child && child != this && child->OnChildNotify(WM_DRAWITEM, 0, lParam, result) && *result)
                return true;
            break;
        }
        case WM_SIZE:
            // A notification: the window's own handling still follows.
            OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            // One entry for all of them, told apart by their kind; a null
            // brush leaves the colours to the default handling.
            if (DispatchMapEntry(kCtlColorEntry, message - WM_CTLCOLORMSGBOX, 0, wParam, lParam, result) && *result)
                return true;
            return false;
        default:
            break;
    }
    if (DispatchMapEntry(message, 0, 0, wParam, lParam, result)) return true;
    bool handled = false;
    INT_PTR answer = OnMessage(message, wParam, lParam, handled);
    if (handled) *result = answer;
    return handled;
}

bool CWnd::OnCommand(WORD id, WORD code, HWND control) {
    WPARAM wParam = MAKEWPARAM(id, code);
    LPARAM lParam = reinterpret_cast<LPARAM>(control);
    LRESULT result = 0;
    if (control) {
        CWnd* child = FromHandlePermanent(control);
        if (child && child != this && child->OnChildNotify(WM_COMMAND, wParam, lParam, &result)) return true;
    }
    // Menus and accelerators both reach ON_COMMAND entries.
    return DispatchMapEntry(WM_COMMAND, control ? code : 0, id, wParam, lParam, &result);
}

LRESULT CWnd::OnNotify(NMHDR* header) {
    LRESULT result = 0;
    if (!header) return 0;
    LPARAM lParam = reinterpret_cast<LPARAM>(header);
    CWnd* child = FromHandlePermanent(header->hwndFrom);
    if (child && child != this && child->OnChildNotify(WM_NOTIFY, header->idFrom, lParam, &result)) return result;
    DispatchMapEntry(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom), header->idFrom, lParam, &result);
    return result;
}

void CWnd::OnSize(UINT, int, int) {}

INT_PTR CWnd::OnMessage(UINT, WPARAM, LPARAM, bool&) { return 0; }

bool CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    UINT code = message == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lParam)->code : HIWORD(wParam);
    return DispatchMapEntry(kReflectBase + message, code, 0, wParam, lParam, result);
}

const MessageMap* CWnd::GetThisMessageMap() {
    static const MessageMap map = {nullptr, kNoEntries};
    return &map;
}

const MessageMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

bool CWnd::DispatchMapEntry(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    bool reflected = message >= kReflectBase;
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* entry = map->entries; entry->signature != MessageSignature::End; ++entry) {
            if (entry->message != message) continue;
            if (IsIdMessage(message) || reflected) {
                if (entry->code != code) continue;
                if (!reflected && (id < entry->firstId || id > entry->lastId)) continue;
            }
            MessageHandler handler = entry->handler;
            *result = 0;
            switch (entry->signature) {
                case MessageSignature::Void:
                    (this->*handler)();
                    break;
                case MessageSignature::Notify:
                    (this->*reinterpret_cast<void (CWnd::*)(NMHDR*, LRESULT*)>(handler))(
                        reinterpret_cast<NMHDR*>(lParam), result);
                    break;
                case MessageSignature::WParamLParam:
                    *result = (this->*reinterpret_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(handler))(wParam, lParam);
                    break;
                case MessageSignature::SysCommand:
                    (this->*reinterpret_cast<void (CWnd::*)(UINT, LPARAM)>(handler))(static_cast<UINT>(wParam),
                                                                                     lParam);
                    break;
                case MessageSignature::QueryDragIcon:
                    *result = reinterpret_cast<LRESULT>((this->*reinterpret_cast<HCURSOR (CWnd::*)()>(handler))());
                    break;
                case MessageSignature::CtlColor:
                    *result = reinterpret_cast<LRESULT>(
                        (this->*reinterpret_cast<HBRUSH (CWnd::*)(HDC, HWND, UINT)>(handler))(
                            reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), code));
                    break;
                case MessageSignature::Timer:
                    (this->*reinterpret_cast<void (CWnd::*)(UINT_PTR)>(handler))(wParam);
                    break;
                case MessageSignature::End:
                    break;
            }
            return true;
        }
    }
    return false;
}

void CWnd::SetCreating(CWnd* window) { t_creating = window; }

CWnd* CWnd::ClaimCreating(HWND window) {
    CWnd* creating = std::exchange(t_creating, nullptr);
    return creating && creating->Attach(window) ? creating : nullptr;
}

const char* RegisterFrameworkClass(UINT style, HBRUSH background) {
    static std::mutex lock;
    static std::map<std::pair<UINT, HBRUSH>, std::string> names;
    std::lock_guard<std::mutex> guard(lock);
    auto [it, added] = names.try_emplace({style, background});
    if (!added) return it->second.c_str();
    it->second = "VorlanWnd:" + std::to_string(style) + ":" + std::to_string(reinterpret_cast<UINT_PTR>(background));
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &CWnd::WindowProcedure;
    wc.hInstance = reinterpret_cast<HINSTANCE>(&__ImageBase);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = it->second.c_str();
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        names.erase(it);
        return nullptr;
    }
    return it->second.c_str();
}

bool WalkPreTranslateTree(HWND stop, MSG* message) {
    for (HWND window = message->hwnd; window; window = GetParent(window)) {
        CWnd* object = CWnd::FromHandlePermanent(window);
        if (object && object->PreTranslateMessage(message)) return true;
        if (window == stop) break;
    }
    return false;
}

}  // namespace vorlan
