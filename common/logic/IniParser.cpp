// The reader of the ini store's text: a state machine over the characters
// that remembers where the current token started. There are no comments: a
// line whose first letter or digit follows other characters is a key line
// from that character on. Besides reading, it tells a text cut short in its
// last line (what an interrupted write leaves) from one broken before it,
// whose later records would otherwise read as missing.
#include "IniSet.h"

namespace vorlan {
namespace {

bool IsLineEnd(Char16 c) { return c == '\r' || c == '\n'; }
bool IsBlank(Char16 c) { return c == ' ' || c == '\t'; }
bool IsLetterOrDigit(Char16 c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A "]" ends a section name only when nothing but blanks follows it on its
// line, so names holding "]" (file names such as "Report [v2].doc") survive.
bool RestOfLineBlank(String16View text, size_t from) {
    for (size_t i = from; i < text.size(); ++i) {
        if (IsLineEnd(text[i])) return true;
        if (!IsBlank(text[i])) return false;
    }
    return true;
}

enum class State { BeforeSection, SectionName, BetweenLines, Key, AfterEquals, Value };

}  // namespace

IniText CIniSet::Parse(String16View text) {
    size_t zero = text.find(Char16(0));
    // The store never holds a zero character: one means the file is damaged.
    bool damaged = zero != String16View::npos;
    if (damaged) text = text.substr(0, zero);

    State state = State::BeforeSection;
    bool complete = false, sawSection = false, onlyBlank = true;
    // Names and keys never hold a line end; one that runs over a line means
    // that lines were lost or broken.
    bool tokenCrossesLine = false;
    size_t start = 0;
    CIniSection* section = nullptr;
    String16View key;
    for (size_t i = 0; i < text.size(); ++i) {
        Char16 c = text[i];
        switch (state) {
        case State::BeforeSection:
            if (c == '[')
                start = i + 1, tokenCrossesLine = false, state = State::SectionName;
            else if (!IsLineEnd(c) && !IsBlank(c))
                onlyBlank = false;
            break;
        case State::SectionName:
            if (c == ']' && RestOfLineBlank(text, i + 1)) {
                damaged |= tokenCrossesLine;
                section = &AddSection(text.substr(start, i - start));
                sawSection = true;
                state = State::BetweenLines;
            } else if (IsLineEnd(c)) {
                tokenCrossesLine = true;
            }
            break;
        case State::BetweenLines:
            if (c == '[')
                start = i + 1, tokenCrossesLine = false, complete = false, state = State::SectionName;
            else if (IsLetterOrDigit(c))
                start = i, tokenCrossesLine = false, complete = false, state = State::Key;
            break;
        case State::Key:
            if (c == '=') {
                damaged |= tokenCrossesLine;
                key = text.substr(start, i - start), state = State::AfterEquals;
            } else if (IsLineEnd(c)) {
                tokenCrossesLine = true;
            }
            break;
        case State::AfterEquals:
            if (IsLineEnd(c))
                section->SetValue(key, {}), complete = true, state = State::BetweenLines;
            else if (!IsBlank(c))
                start = i, state = State::Value;
            break;
        case State::Value:
            if (IsLineEnd(c)) {
                section->SetValue(key, text.substr(start, i - start));
                complete = true;
                state = State::BetweenLines;
            }
            break;
        }
    }
    if (state == State::Value) section->SetValue(key, text.substr(start)), complete = true;
    if ((state == State::SectionName || state == State::Key) && tokenCrossesLine) damaged = true;
    if (!sawSection && !onlyBlank) damaged = true;
    if (damaged) return IniText::kDamaged;
    return complete ? IniText::kComplete : IniText::kLastLineCut;
}

}  // namespace vorlan
