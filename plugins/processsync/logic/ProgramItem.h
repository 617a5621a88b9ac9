#pragma once
// The program plug-in's decisions without platform calls: which action a
// Flag text names, how a device command splits into program and
// arguments, and the record that carries a message box or a notification
// to the device library.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan::processsync {

enum ActionCode : uint32_t {
    kLocalShellExec = 0,     // a workstation command, through the shell
    kCloseWindow = 1,        // closes the device window of that title
    kCreateWaitProcess = 2,  // starts a device program and waits for it
    kCreateProcess = 3,      // starts a device program
};

// The keywords in the order of the codes, as the item dialog lists them.
inline constexpr const char* kActionKeywords[] = {"QV_LOCAL_SHELL_EXEC", "QV_WM_CLOSE_PROCESS",
                                                  "QV_CREATE_WAIT_PROCESS", "QV_CREATE_PROCESS"};
inline constexpr int kActionCount = 4;

// An empty text starts a device program; the first keyword among the
// text's words ("|" or blank between them, any letter case) decides; a
// text with none runs on the workstation.
uint32_t GetActionCode(std::string_view flag);

// Splits a device command: a command that begins with a quote names its
// program in those quotes; otherwise the program is the text before the
// first quote (all of it when there is none). The arguments are the rest,
// quotes kept; both are trimmed of blanks. false (and both empty) for an
// empty command or one of more than 1023 characters.
bool SplitCommandLine(std::string_view command, std::string& program, std::string& arguments);

// The message record: UTF-16 text at 0 (4096 units), caption at 8192 (510
// units), type at 9212, duration at 9216, the rest zeros.
inline constexpr size_t kMessageRecordSize = 9220;
inline constexpr size_t kMessageTextUnits = 4096;
inline constexpr size_t kMessageCaptionOffset = 8192;
inline constexpr size_t kMessageCaptionUnits = 510;
inline constexpr size_t kMessageTypeOffset = 9212;
inline constexpr size_t kMessageDurationOffset = 9216;

// false (record left empty) when the text holds more than 4095 units or
// the caption more than 509: the device would read a cut message.
bool BuildMessageRecord(std::u16string_view text, std::u16string_view caption, uint32_t type, uint32_t duration,
                        std::vector<uint8_t>& record);

}  // namespace vorlan::processsync
