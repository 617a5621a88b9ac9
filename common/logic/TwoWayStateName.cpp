#include "TwoWayStateName.h"

namespace vorlan {
namespace {

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name) {
        if (c < 0x20) return false;
        switch (c) {
            case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
                return false;
            default:
                break;
        }
    }
    return true;
}

}  // namespace

bool TwoWayStateFileName(std::string_view deviceName, std::string& out) {
    out.clear();
    if (!IsPlainFileName(deviceName)) return false;
    out = "TwoWaySyncData-";
    out += deviceName;
    out += ".ini";
    return true;
}

}  // namespace vorlan
