#include "HtmlDump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "HtmlDialog.h"

namespace vorlan::testing {

HtmlDump ParseHtmlDump(const std::string& text) {
    HtmlDump lines;
    std::stringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        std::string field;
        while (std::getline(split, field, '\t')) fields.push_back(field);
        if (fields.size() != 5) {
            ADD_FAILURE() << "dump line: " << line;
            continue;
        }
        HtmlDumpLine entry{fields[1], fields[2], fields[3]};
        std::sscanf(fields[4].c_str(), "%d,%d,%d,%d", &entry.left, &entry.top, &entry.width, &entry.height);
        lines[fields[0]] = entry;
    }
    return lines;
}

HtmlDump DumpHtmlPage(HWND page, const std::string& path) {
    DeleteFileA(path.c_str());
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(page, CHtmlDialog::DumpMessage(), 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) ||
        answer != 1) {
        ADD_FAILURE() << "the page wrote no dump to " << path;
        return {};
    }
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return ParseHtmlDump(text.str());
}

HWND FindElementWindow(HWND page, const std::string& id) {
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(child, "HtmlElementId")));
        char name[256] = "";
        if (atom && GlobalGetAtomNameA(atom, name, sizeof name) && id == name) return child;
    }
    return nullptr;
}

}  // namespace vorlan::testing
