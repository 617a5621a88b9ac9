#pragma once
// The page host's element dump, for tests: asked of a page window (of this
// process or another, started with VORLAN_HTML_DUMP naming the same file)
// and read back by element id.
#include <windows.h>

#include <map>
#include <string>

namespace vorlan::testing {

struct HtmlDumpLine {
    std::string tag, text, state;
    int left = 0, top = 0, width = 0, height = 0;
};

using HtmlDump = std::map<std::string, HtmlDumpLine>;

// The lines of a dump; a line that is not one fails the test.
HtmlDump ParseHtmlDump(const std::string& text);

// Sends the dump message to the page window and reads the file it wrote
// (path: the VORLAN_HTML_DUMP that window's process has); empty, with a
// failure, when the window did not write it.
HtmlDump DumpHtmlPage(HWND page, const std::string& path);

// The control a page window made for the element id, found by its
// "HtmlElementId" (in any process); nullptr when there is none.
HWND FindElementWindow(HWND page, const std::string& id);

}  // namespace vorlan::testing
