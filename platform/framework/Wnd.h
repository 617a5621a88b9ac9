#pragma once
// The window base of the application framework. A window is its HWND, kept
// public; an object is tied to its handle in a process-wide map while it
// owns the window (CreateEx, Attach, SubclassWindow, or a dialog's
// creation), so messages and notifications find their object.
//
// Messages reach an object through WindowProc: first its message map (see
// MessageMap.h), then the virtual handlers below, then the window's previous
// procedure. WM_COMMAND and WM_NOTIFY from a control are offered to the
// control's own object first (reflection).
#include <windows.h>

#include <string>

#include "MessageMap.h"

namespace vorlan {

class CWnd {
public:
    CWnd() = default;
    // Wraps a handle without taking it into the map (a plain view of it).
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object that owns window, or nullptr when none does.
    static CWnd* FromHandlePermanent(HWND window);

    // Creates a window of a class; a class whose procedure is not the
    // framework's (a system control) is subclassed, so the object gets its
    // messages all the same. False when the window could not be made.
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                  HWND parent, UINT id);
    // Ties an existing window to this object (no messages are rerouted).
    bool Attach(HWND window);
    HWND Detach();
    // Routes an existing window's messages through this object; its old
    // procedure answers what the object leaves.
    bool SubclassWindow(HWND window);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    bool DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The child control id, or nullptr when there is none (or no window).
    HWND GetDlgItem(int id) const { return m_hWnd ? ::GetDlgItem(m_hWnd, id) : nullptr; }
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text) const { ::SetWindowTextA(m_hWnd, text.c_str()); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    // The plain calls under the same names, so code inside a window class
    // can mix them with the members above without qualifying them.
    static HWND GetDlgItem(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }
    static BOOL SetWindowText(HWND window, const char* text) { return ::SetWindowTextA(window, text); }
    static int GetWindowText(HWND window, char* text, int size) { return ::GetWindowTextA(window, text, size); }
    static BOOL EnableWindow(HWND window, BOOL enable) { return ::EnableWindow(window, enable); }
    static LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return ::SendMessageA(window, message, wParam, lParam);
    }
    static BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return ::PostMessageA(window, message, wParam, lParam);
    }
    // Through the one message box helper (MessageBox.h), owned by this window.
    int MessageBox(const std::string& text, const std::string& caption, UINT type = MB_OK) const;

    // The wait cursor shows over every window of the process while at least
    // one BeginWaitCursor is not yet ended.
    static void BeginWaitCursor();
    static void EndWaitCursor();
    static bool WaitCursorShown();

    // Called for every message the loops of CWinApp and CDialog take from
    // the queue, on the target window and each of its parents in turn
    // until one answers true (the message is then not dispatched).
    virtual bool PreTranslateMessage(MSG* message);

    // The procedure of every window the framework owns.
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message map, then the virtual handlers; true when answered.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The previous procedure of a subclassed window, else DefWindowProc.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // WM_COMMAND: reflected to the control, then the message map.
    virtual bool OnCommand(WORD id, WORD code, HWND control);
    // WM_NOTIFY: reflected to the control, then the message map.
    virtual LRESULT OnNotify(NMHDR* header);
    virtual void OnSize(UINT kind, int width, int height);
    // Any other message no map entry took; set handled to answer it.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // A notification this window sent its parent, offered back to it: its
    // map's reflected entries. True when taken.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // After the last message of the window (WM_NCDESTROY).
    virtual void PostNcDestroy() {}

    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;
    // Calls the entry of map (and its bases) for message; true when found.
    bool DispatchMapEntry(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // The window a CreateEx on this thread is making, claimed by its first
    // message.
    static void SetCreating(CWnd* window);
    static CWnd* ClaimCreating(HWND window);

    WNDPROC superProc_ = nullptr;
    bool created_ = false;  // made by CreateEx: destroyed with the object
};

// A window class whose procedure is the framework's, registered once per
// process for the module; its name.
const char* RegisterFrameworkClass(UINT style = CS_DBLCLKS, HBRUSH background = nullptr);

// Offers message to the target window's object and its parents' objects
// (up to and including stop), innermost first; true when one took it.
bool WalkPreTranslateTree(HWND stop, MSG* message);

}  // namespace vorlan
