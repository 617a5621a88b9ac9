#include "MessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "SharedFile.h"

namespace vorlan {
namespace {

std::mutex& AnswererLock() {
    static std::mutex lock;
    return lock;
}

MessageBoxAnswerer& Answerer() {
    static MessageBoxAnswerer answerer;
    return answerer;
}

std::optional<std::string> Environment(const char* name) {
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) return std::nullopt;
    std::string value(size, '\0');
    DWORD length = GetEnvironmentVariableA(name, value.data(), size);
    if (length == 0 || length >= size) return std::nullopt;
    value.resize(length);
    return value;
}

std::optional<int> AnswerFromEnvironment(UINT type) {
    std::optional<std::string> setting = Environment("VORLAN_MESSAGEBOX_ANSWER");
    if (!setting || setting->empty()) return std::nullopt;
    if (*setting == "default") return DefaultMessageBoxAnswer(type);
    char* end = nullptr;
    long answer = std::strtol(setting->c_str(), &end, 10);
    if (*end != '\0' || answer <= 0) return DefaultMessageBoxAnswer(type);
    return static_cast<int>(answer);
}

}  // namespace

int DefaultMessageBoxAnswer(UINT type) {
    static const std::vector<int> buttons[] = {
        {IDOK},
        {IDOK, IDCANCEL},
        {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL},
        {IDYES, IDNO},
        {IDRETRY, IDCANCEL},
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE},
    };
    UINT kind = type & MB_TYPEMASK;
    const std::vector<int>& set = kind < std::size(buttons) ? buttons[kind] : buttons[0];
    size_t index = (type & MB_DEFMASK) >> 8;
    return index < set.size() ? set[index] : set[0];
}

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type) {
    MessageBoxRequest request{owner, std::string(text), std::string(caption), type};
    MessageBoxAnswerer answerer;
    {
        std::lock_guard<std::mutex> guard(AnswererLock());
        answerer = Answerer();
    }
    int answer;
    if (answerer) {
        answer = answerer(request);
    } else if (std::optional<int> automatic = AnswerFromEnvironment(type)) {
        answer = *automatic;
    } else {
        answer = MessageBoxA(owner, request.text.c_str(), request.caption.c_str(), type);
    }
    if (std::optional<std::string> journal = Environment("VORLAN_MESSAGEBOX_JOURNAL")) {
        char typeText[16];
        std::snprintf(typeText, sizeof typeText, "0x%X", type);
        // A journal that cannot be written does not change the answer.
        AppendJournalLine(*journal, {"messagebox", request.caption, request.text, typeText,
                                     std::to_string(answer)});
    }
    return answer;
}

ScopedMessageBoxAnswerer::ScopedMessageBoxAnswerer(MessageBoxAnswerer answerer) {
    std::lock_guard<std::mutex> guard(AnswererLock());
    previous_ = std::exchange(Answerer(), std::move(answerer));
}

ScopedMessageBoxAnswerer::~ScopedMessageBoxAnswerer() {
    std::lock_guard<std::mutex> guard(AnswererLock());
    Answerer() = std::move(previous_);
}

}  // namespace vorlan
