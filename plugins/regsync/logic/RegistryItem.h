#pragma once
// What one registry item asks for, decided from its texts alone: the
// operation its type keyword names, where it runs, and the bytes its value
// text stands for. The engine only carries the decision out.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Utf16.h"

namespace vorlan::regsync {

// Operation codes of the type keywords. The device's codes 1 to 4 and 7
// are the registry's own value types.
enum OperationCode : uint32_t {
    kNoKeyword = 0,
    kSetString = 1,
    kSetExpandString = 2,
    kSetBinary = 3,
    kSetDword = 4,
    kSetMultiString = 7,
    kDeleteKey = 50,
    kDeleteValue = 51,
    kLocalSetString = 52,
    kLocalSetDword = 53,
    kLocalSetBinary = 55,
    kLocalSetExpandString = 56,
    kLocalDeleteKey = 57,
    kLocalDeleteValue = 58,
    kLocalSetMultiString = 59,
};

// The code of a type text: the first word (split at "|" and blank, any
// letter case) that is a keyword decides; an empty text is kSetString and a
// text without any keyword kNoKeyword.
uint32_t GetOperationCode(std::string_view type);

enum class Action { SetValue, DeleteKey, DeleteValue };

struct Operation {
    Action action;
    uint32_t valueType;  // REG_SZ (1), REG_EXPAND_SZ (2), ... for SetValue
    bool onDevice;
};

// A text without a keyword is taken as an empty one (a string on the
// device, as the item dialog shows it): a typo never reaches the
// workstation's registry.
Operation DescribeOperation(uint32_t code);

// A signed decimal number (leading blanks, an optional sign, the digits up
// to the first other character; none gives 0), kept to its low 32 bits
// however long it is: "4294967295" and "-1" both give 0xFFFFFFFF.
uint32_t ParseDwordText(std::string_view text);

// The most bytes a binary value may hold.
inline constexpr size_t kMaxBinaryBytes = 5120;

// The bytes of a binary text: one per token (split at blanks and commas),
// each the low 8 bits of the hexadecimal number its leading hex digits
// form ("zz" and "0x1F" give 00). False, out untouched, when the text has
// more than kMaxBinaryBytes tokens.
bool ParseBinaryText(std::string_view text, std::string& out);

// A string value's data: the UTF-16LE text and its terminator.
std::string StringValueData(String16View text);
// A multi-string value's data from a text whose strings are separated by
// "|": each non-empty string with its terminator, then the list's closing
// terminator ("" gives the terminator alone).
std::string MultiStringValueData(String16View text);
// The separator of the strings of a multi-string value text.
inline constexpr char kMultiStringSeparator = '|';

// The key a delete-key item removes below its root: the key path and the
// last part together, one trailing backslash left out ("Software\A\" as
// well as "Software\A"); nullopt when nothing but the root is left.
std::optional<String16> KeyToDelete(String16View subKey, String16View valueName);

// Whether the names fit the registry of the side: every part of the key
// path at most 255 characters, the value name at most 255 on the device and
// 16383 on the workstation. Checked first, so a name that cannot be written
// leaves no key behind.
bool NamesFit(String16View subKey, String16View valueName, bool onDevice);

// The item dialog's list of operations, in its order, and how an item's
// code shows in it.
inline constexpr const char* kDialogTypes[] = {"REG_BINARY",        "REG_DWORD",           "REG_SZ",
                                               "REG_EXPAND_SZ",     "QV_REG_DELETE_KEY",   "QV_REG_DELETE_VALUE",
                                               "REG_MULTI_SZ"};
inline constexpr int kDialogTypeCount = 7;
inline constexpr int kDialogDeleteKey = 4;
inline constexpr int kDialogDeleteValue = 5;
int DialogIndexOf(uint32_t code);
// The code runs on the workstation (the dialog's local box).
bool IsLocal(uint32_t code);
// The type text the dialog stores for a chosen list text: with local,
// "LOCAL_" before a "REG..." text and "QV_LOCAL" in place of the "QV" of
// the delete keywords.
std::string DialogTypeText(std::string_view chosen, bool local);

}  // namespace vorlan::regsync
