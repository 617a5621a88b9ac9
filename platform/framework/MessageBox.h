#pragma once
// Every message box of the system goes through ShowMessageBox, so that a run
// without a person in front of it is never held up by one, and so that what
// the user was asked can be read back.
//
// Who answers, in this order:
//  1. an answerer the process installed (tests do, with
//     ScopedMessageBoxAnswerer);
//  2. the environment variable VORLAN_MESSAGEBOX_ANSWER: "default" takes the
//     box's default button, a number is the answer itself (IDOK = 1, ...);
//  3. otherwise the user, through the real message box.
// When VORLAN_MESSAGEBOX_JOURNAL names a file, every box is journaled there
// (see SharedFile.h) as: "messagebox", caption, text, type in hex, answer.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace vorlan {

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT type = MB_OK;
};

using MessageBoxAnswerer = std::function<int(const MessageBoxRequest&)>;

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type);

// The button a box of this type answers with when the user just presses
// Enter: the default button (MB_DEFBUTTON1 to 4) among its buttons.
int DefaultMessageBoxAnswer(UINT type);

// Installs answerer for the life of the object (process-wide, all threads).
class ScopedMessageBoxAnswerer {
public:
    explicit ScopedMessageBoxAnswerer(MessageBoxAnswerer answerer);
    ~ScopedMessageBoxAnswerer();
    ScopedMessageBoxAnswerer(const ScopedMessageBoxAnswerer&) = delete;
    ScopedMessageBoxAnswerer& operator=(const ScopedMessageBoxAnswerer&) = delete;

private:
    MessageBoxAnswerer previous_;
};

}  // namespace vorlan
