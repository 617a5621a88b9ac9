#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <thread>
#include <vector>

#include "ComPtr.h"
#include "OleDataObject.h"
#include "OleDataSource.h"
#include "OleDropTarget.h"
#include "OleScope.h"
#include "TestSupport.h"

namespace vorlan {
namespace {

const std::wstring kText = L"first line\r\nzweite Zeile: \u00fcber\n\u65e5\u672c\u8a9e \u0416\u0438\u0437\u043d\u044c";
// The same in UTF-8, the programs' ANSI code page.
const std::string kUtf8Text =
    "first line\r\nzweite Zeile: \xc3\xbc" "ber\n\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e \xd0\x96\xd0\xb8\xd0\xb7\xd0\xbd\xd1\x8c";

// A target that takes text as a list of rows would: Ctrl copies, anything
// else moves, data without text is refused. It tells what it was asked.
// The key state it sees is the one handed to it, whatever the keyboard's.
class TextTarget : public COleDropTarget {
public:
    std::vector<std::string> heard;
    std::wstring dropped;
    CWnd* lastWindow = nullptr;

    DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keys, POINT point) override {
        heard.push_back("enter " + Where(window, point));
        return Choose(data, keys);
    }
    DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keys, POINT point) override {
        heard.push_back("over " + Where(window, point));
        return Choose(data, keys);
    }
    void OnDragLeave(CWnd*) override { heard.push_back("leave"); }
    DROPEFFECT OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, POINT point) override {
        heard.push_back("drop " + Where(window, point));
        return data->GetText(dropped) ? effect : DROPEFFECT_NONE;
    }

private:
    std::string Where(CWnd* window, POINT point) {
        lastWindow = window;
        return std::string(window && window->m_hWnd == GetWindow() ? "" : "elsewhere ") + std::to_string(point.x) +
               "," + std::to_string(point.y);
    }
    static DROPEFFECT Choose(COleDataObject* data, DWORD keys) {
        if (!data->IsDataAvailable(CF_UNICODETEXT) && !data->IsDataAvailable(CF_TEXT)) return DROPEFFECT_NONE;
        return keys & MK_CONTROL ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
};

// A window at a known place of the screen: client (0,0) is screen (x,y).
HWND MakeWindow(int x, int y) {
    return CreateWindowExA(0, "STATIC", "drop here", WS_POPUP | WS_VISIBLE, x, y, 200, 100, nullptr, nullptr,
                           nullptr, nullptr);
}

ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

std::vector<CLIPFORMAT> Offered(IDataObject* data) {
    std::vector<CLIPFORMAT> formats;
    com::ComPtr<IEnumFORMATETC> list;
    if (FAILED(data->EnumFormatEtc(DATADIR_GET, list.Put()))) return formats;
    FORMATETC format;
    while (list->Next(1, &format, nullptr) == S_OK) formats.push_back(format.cfFormat);
    return formats;
}

TEST(OleDragDropTest, TheSourcesDataObjectGivesItsTextBackInBothFormsAndNothingElse) {
    OleScope ole;
    ASSERT_TRUE(ole.Started());
    IDataObject* kept = nullptr;
    {
        COleDataSource source;
        source.CacheText(L"replaced");
        source.CacheText(kText);
        COleDataObject data(source.GetDataObject());
        EXPECT_TRUE(data.IsDataAvailable(CF_UNICODETEXT));
        EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
        EXPECT_FALSE(data.IsDataAvailable(CF_BITMAP));
        EXPECT_EQ(Offered(source.GetDataObject()), (std::vector<CLIPFORMAT>{CF_UNICODETEXT, CF_TEXT}));
        std::wstring wide;
        ASSERT_TRUE(data.GetText(wide));
        EXPECT_EQ(wide, kText);
        std::string ansi;
        ASSERT_TRUE(data.GetText(ansi));
        EXPECT_EQ(ansi, kUtf8Text);

        // A reader asking for another medium or aspect is told so.
        FORMATETC stream = {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
        FORMATETC icon = {CF_UNICODETEXT, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL};
        FORMATETC bitmap = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        EXPECT_EQ(source.GetDataObject()->GetData(&stream, &medium), DV_E_TYMED);
        EXPECT_EQ(source.GetDataObject()->QueryGetData(&icon), DV_E_DVASPECT);
        EXPECT_EQ(source.GetDataObject()->QueryGetData(&bitmap), DV_E_FORMATETC);

        // Each read is a copy of its own, freed by the reader.
        FORMATETC text = {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        ASSERT_EQ(source.GetDataObject()->GetData(&text, &medium), S_OK);
        EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
        EXPECT_EQ(GlobalSize(medium.hGlobal), ansi.size() + 1);
        ReleaseStgMedium(&medium);

        kept = source.GetDataObject();
        kept->AddRef();
        source.Empty();
        EXPECT_FALSE(data.GetText(wide)) << "an emptied source offers nothing";
        source.CacheText(std::string("after"));
    }
    // The data object outlives its source for whoever holds it.
    COleDataObject data(kept);
    kept->Release();
    std::string text;
    EXPECT_TRUE(data.GetText(text));
    EXPECT_EQ(text, "after");
}

TEST(OleDragDropTest, TheRegisteredTargetAnswersWithinTheAllowedEffectsByTheKeyStateItIsHanded) {
    OleScope ole;
    ASSERT_TRUE(ole.Started());
    HWND window = MakeWindow(300, 200);
    TextTarget target;
    ASSERT_EQ(target.Register(window), S_OK);
    EXPECT_EQ(RegisterDragDrop(window, target.GetDropTarget()), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(target.Register(window), E_INVALIDARG) << "one window per target";

    COleDataSource text;
    text.CacheText(kText);
    COleDataSource bare;  // offers no text
    struct Case {
        const char* note;
        IDataObject* data;
        DWORD keys;
        DWORD allowed;
        DWORD expected;
    };
    const DWORD both = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    const Case cases[] = {
        {"plain drag moves", text.GetDataObject(), MK_LBUTTON, both, DROPEFFECT_MOVE},
        {"Ctrl copies", text.GetDataObject(), MK_LBUTTON | MK_CONTROL, both, DROPEFFECT_COPY},
        {"Ctrl and Shift copy", text.GetDataObject(), MK_LBUTTON | MK_CONTROL | MK_SHIFT, both, DROPEFFECT_COPY},
        {"Shift moves", text.GetDataObject(), MK_LBUTTON | MK_SHIFT, both, DROPEFFECT_MOVE},
        {"a move the source does not allow", text.GetDataObject(), MK_LBUTTON, DROPEFFECT_COPY, DROPEFFECT_NONE},
        {"a copy the source allows", text.GetDataObject(), MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY,
         DROPEFFECT_COPY},
        {"data without text is refused", bare.GetDataObject(), MK_LBUTTON, both, DROPEFFECT_NONE},
        {"refused with Ctrl too", bare.GetDataObject(), MK_LBUTTON | MK_CONTROL, both, DROPEFFECT_NONE},
    };
    IDropTarget* system = target.GetDropTarget();
    for (const Case& c : cases) {
        target.heard.clear();
        target.dropped.clear();
        DWORD effect = c.allowed;
        EXPECT_EQ(system->DragEnter(c.data, c.keys, POINTL{310, 220}, &effect), S_OK) << c.note;
        EXPECT_EQ(effect, c.expected) << c.note;
        effect = c.allowed;
        EXPECT_EQ(system->DragOver(c.keys, POINTL{320, 230}, &effect), S_OK) << c.note;
        EXPECT_EQ(effect, c.expected) << c.note;
        effect = c.allowed;
        EXPECT_EQ(system->Drop(c.data, c.keys, POINTL{330, 240}, &effect), S_OK) << c.note;
        EXPECT_EQ(effect, c.expected) << c.note;
        const std::vector<std::string> dropped = {"enter 10,20", "over 20,30", "over 30,40", "drop 30,40"};
        const std::vector<std::string> refused = {"enter 10,20", "over 20,30", "over 30,40", "leave"};
        EXPECT_EQ(target.heard, c.expected == DROPEFFECT_NONE ? refused : dropped) << c.note;
        EXPECT_EQ(target.dropped, c.expected == DROPEFFECT_NONE ? L"" : kText) << c.note;
    }

    // A drag that leaves without a drop.
    target.heard.clear();
    DWORD effect = DROPEFFECT_COPY;
    system->DragEnter(text.GetDataObject(), MK_CONTROL, POINTL{300, 200}, &effect);
    system->DragLeave();
    EXPECT_EQ(target.heard, (std::vector<std::string>{"enter 0,0", "leave"}));

    target.Revoke();
    EXPECT_FALSE(target.IsRegistered());
    EXPECT_EQ(RegisterDragDrop(window, system), S_OK) << "revoked: the window is free again";
    RevokeDragDrop(window);
    DestroyWindow(window);
}

// A whole drag needs a mouse held over a window; without one the system
// ends it at once, dropping on what is under the cursor: here a window of
// our own, above the other programs' on the shared screen, with no target.
TEST(OleDragDropTest, ADragThatNoTargetTookAnswersNoEffect) {
    OleScope ole;
    ASSERT_TRUE(ole.Started());
    // Not a static control: the system looks through those.
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "BUTTON", "no target here", WS_POPUP | WS_VISIBLE, 400, 300, 200,
                                  100, nullptr, nullptr, nullptr, nullptr);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    bool under = false;
    for (int tries = 0; tries < 100 && !under; ++tries) {
        SetCursorPos(500, 350);
        testing::PumpMessages(50);
        under = WindowFromPoint(POINT{500, 350}) == window;
    }
    ASSERT_TRUE(under) << "the cursor is not over the test's window";
    COleDataSource source;
    source.CacheText(L"dragged");
    HRESULT result = E_FAIL;
    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &result), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(result, DRAGDROP_S_DROP);
    DestroyWindow(window);
}

TEST(OleDragDropTest, TheRegistrationEndsWithItsWindowOrItsObject) {
    OleScope ole;
    ASSERT_TRUE(ole.Started());
    HWND window = MakeWindow(0, 0);
    TextTarget target;
    const ULONG alone = References(target.GetDropTarget());
    ASSERT_EQ(target.Register(window), S_OK);
    EXPECT_GT(References(target.GetDropTarget()), alone) << "the system holds the target while registered";
    DestroyWindow(window);
    EXPECT_FALSE(target.IsRegistered());
    EXPECT_EQ(References(target.GetDropTarget()), alone) << "and lets it go with the window";

    // A window that a framework object owns (subclassed before or after the
    // registration): the virtuals get that object, and the window's end
    // still ends the registration.
    for (bool objectFirst : {true, false}) {
        window = MakeWindow(0, 0);
        CWnd object;
        if (objectFirst) {
            ASSERT_TRUE(object.SubclassWindow(window));
        }
        ASSERT_EQ(target.Register(window), S_OK);
        if (!objectFirst) {
            ASSERT_TRUE(object.SubclassWindow(window));
            // Revoked and registered again under the object's procedure,
            // which keeps getting the window's messages.
            target.Revoke();
            EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&CWnd::WindowProcedure));
            ASSERT_EQ(target.Register(window), S_OK);
        }
        COleDataSource text;
        text.CacheText(L"rows");
        DWORD effect = DROPEFFECT_COPY;
        target.GetDropTarget()->DragEnter(text.GetDataObject(), MK_CONTROL, POINTL{5, 5}, &effect);
        target.GetDropTarget()->DragLeave();
        EXPECT_EQ(target.lastWindow, &object) << objectFirst;
        DestroyWindow(window);
        EXPECT_FALSE(target.IsRegistered()) << objectFirst;
        EXPECT_EQ(object.m_hWnd, nullptr) << objectFirst;
        EXPECT_EQ(References(target.GetDropTarget()), alone) << objectFirst;
    }

    // A target that goes before its window: a call that still arrives refuses.
    window = MakeWindow(0, 0);
    IDropTarget* late = nullptr;
    {
        TextTarget early;
        ASSERT_EQ(early.Register(window), S_OK);
        late = early.GetDropTarget();
        late->AddRef();
    }
    EXPECT_EQ(RegisterDragDrop(window, late), S_OK) << "the object's going revoked its registration";
    RevokeDragDrop(window);
    COleDataSource text;
    text.CacheText(L"late");
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(late->Drop(text.GetDataObject(), 0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    late->Release();
    DestroyWindow(window);
}

TEST(OleDragDropTest, WithoutOleOnTheThreadNothingIsRegistered) {
    std::vector<HRESULT> results;
    std::thread worker([&] {
        // A thread of the multi-threaded apartment cannot start OLE.
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            OleScope ole;
            results.push_back(ole.Result());
            HWND window = MakeWindow(0, 0);
            TextTarget target;
            results.push_back(target.Register(window));
            results.push_back(target.IsRegistered() ? S_OK : S_FALSE);
            DestroyWindow(window);
        }
        CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(results, (std::vector<HRESULT>{RPC_E_CHANGED_MODE, CO_E_NOTINITIALIZED, S_FALSE}));
}

}  // namespace
}  // namespace vorlan
