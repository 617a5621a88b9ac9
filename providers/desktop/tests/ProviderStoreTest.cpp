// The store, its handles and its object handler, called as ActiveSync
// calls them, in the test's own process. The core's entry object is made
// but never run here.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "ProviderLibrary.h"

namespace vorlan::testing {
namespace {

using activesync::kCannotReadObject;
using activesync::kLastPacket;
using activesync::kObjectDeleted;

BYTE* Data(std::string& bytes) { return reinterpret_cast<BYTE*>(bytes.data()); }
UINT Size(const std::string& bytes) { return static_cast<UINT>(bytes.size()); }

FILETIME Time(DWORD low, DWORD high = 0) { return FILETIME{low, high}; }

FILETIME LastWrite(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

class ProviderStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(com_.Result()); }

    ComScope com_;
    ProviderLibrary library_;
    StoreSession session_{library_.NewStore()};
    IReplStore* store_ = session_.Store();
};

TEST_F(ProviderStoreTest, TheStoreWritesItsMarkerAndAnswersForOneObjectType) {
    ASSERT_NE(store_, nullptr);
    ASSERT_NE(session_.Folder(), nullptr);
    ASSERT_NE(session_.Handler(), nullptr);
    char value[16] = "";
    GetPrivateProfileStringA("Vorlan", "Sync", "", value, sizeof value, library_.MarkerPath().c_str());
    EXPECT_STREQ(value, "True");

    HREPLFLD other = nullptr;
    IUnknown* handler = nullptr;
    EXPECT_EQ(store_->GetFolderInfo(const_cast<char*>("Contacts"), &other, &handler), E_INVALIDARG);
    EXPECT_EQ(store_->RemoveDuplicates(const_cast<char*>("Vorlan"), 0), S_OK);
    EXPECT_EQ(store_->RemoveDuplicates(const_cast<char*>("Contacts"), 0), E_INVALIDARG);
    EXPECT_EQ(store_->GetConflictInfo(nullptr), activesync::kNoConflictInfo);
    BOOL changed = FALSE;
    EXPECT_EQ(store_->IsFolderChanged(session_.Folder(), &changed), S_OK);
    EXPECT_TRUE(changed);

    // The handler answers IUnknown only.
    void* asked = nullptr;
    EXPECT_EQ(session_.Handler()->QueryInterface(IID_IClassFactory, &asked), E_NOINTERFACE);
    EXPECT_EQ(asked, nullptr);

    OBJUIDATA ui = {sizeof ui};
    ASSERT_EQ(store_->GetObjTypeUIData(session_.Folder(), &ui), S_OK);
    EXPECT_NE(ui.hIconLarge, nullptr);
    EXPECT_NE(ui.hIconSmall, nullptr);
    EXPECT_STREQ(ui.szName, "Vorlan");
    EXPECT_STREQ(ui.szTypeText, "Vorlan Item");
    EXPECT_STREQ(ui.szPlTypeText, "Vorlan Items");
    EXPECT_EQ(ui.szSyncText, library_.MarkerPath());
    DestroyIcon(ui.hIconLarge);
    DestroyIcon(ui.hIconSmall);
}

TEST_F(ProviderStoreTest, StoreInfoAndIdentifiers) {
    STOREINFO info = {sizeof info};
    info.cbStoreId = 77;
    ASSERT_EQ(store_->GetStoreInfo(&info), S_OK);  // before Initialize: no identifier yet
    EXPECT_EQ(info.cbStoreId, 77u);
    EXPECT_EQ(info.uFlags, SCF_SINGLE_THREAD);
    EXPECT_STREQ(info.szProgId, "Dravenhall.Vorlan");
    EXPECT_STREQ(info.szStoreDesc, "Dravenhall Sync");
    EXPECT_EQ(info.uTimerRes, 0xFFFFFFFFu);

    EXPECT_EQ(store_->Initialize(nullptr, 0), E_INVALIDARG);
    struct Notify : IReplNotify {
        LONG references = 1;
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
        ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
        ULONG STDMETHODCALLTYPE Release() override { return --references; }
        HRESULT STDMETHODCALLTYPE SetStatusText(LPSTR) override { return S_OK; }
        HWND STDMETHODCALLTYPE GetWindow(UINT) override { return nullptr; }
        HRESULT STDMETHODCALLTYPE OnItemNotify(UINT, LPSTR, LPSTR, HREPLITEM, ULONG) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE QueryDevice(UINT, LPVOID*) override { return E_NOTIMPL; }
    } notify, second;
    ASSERT_EQ(store_->Initialize(&notify, 0), S_OK);
    EXPECT_EQ(notify.references, 2);
    ASSERT_EQ(store_->Initialize(&second, 0), S_OK);  // the new one replaces the old
    EXPECT_EQ(notify.references, 1);
    EXPECT_EQ(second.references, 2);

    info.cbMaxStoreId = 3;
    info.cbStoreId = 0;
    EXPECT_EQ(store_->GetStoreInfo(&info), E_OUTOFMEMORY);
    EXPECT_EQ(info.cbStoreId, 4u);
    info.cbMaxStoreId = 4;
    EXPECT_EQ(store_->GetStoreInfo(&info), E_POINTER);
    BYTE id[4] = {};
    info.lpbStoreId = id;
    ASSERT_EQ(store_->GetStoreInfo(&info), S_OK);
    EXPECT_EQ(std::memcmp(id, "\x39\x30\x00\x00", 4), 0);

    EXPECT_EQ(store_->ReportStatus(nullptr, nullptr, RSC_BEGIN_SYNC, 0), S_OK);
    EXPECT_EQ(second.references, 2);
    EXPECT_EQ(store_->ReportStatus(nullptr, nullptr, RSC_RELEASE, 0), S_OK);
    EXPECT_EQ(second.references, 1);

    struct Case { std::string a, b; int order; };
    const Case cases[] = {
        {"\x01\x02\x03", std::string("\x00\x00\x00\x00", 4), -1},  // shorter first, whatever the bytes
        {std::string("\x39\x30\x00\x00", 4), "\x39\x30\x01", 1},
        {std::string("\x39\x30\x00\x00", 4), std::string("\x39\x30\x00\x00", 4), 0},
        {"\x80", "\x7F", 1},  // bytes compare unsigned
        {"\x7F", "\x80", -1},
    };
    for (Case c : cases)
        EXPECT_EQ(store_->CompareStoreIDs(Data(c.a), Size(c.a), Data(c.b), Size(c.b)), c.order)
            << ::testing::PrintToString(c.a) << " " << ::testing::PrintToString(c.b);
    EXPECT_EQ(store_->CompareStoreIDs(nullptr, 0, id, 4), E_INVALIDARG);
}

TEST_F(ProviderStoreTest, HandlesTravelAsBytesAndMalformedBytesMakeNothing) {
    const FILETIME time = Time(0x11223344, 0x55667788);
    HREPLITEM item = session_.Item("C:\\some\\file.txt", time);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(store_->ObjectToBytes(item, nullptr), 272u);
    EXPECT_EQ(store_->ObjectToBytes(session_.Folder(), nullptr), 264u);
    EXPECT_EQ(store_->ObjectToBytes(nullptr, nullptr), static_cast<UINT>(E_INVALIDARG));

    std::string bytes(272, '\x55');
    ASSERT_EQ(store_->ObjectToBytes(item, Data(bytes)), 272u);
    EXPECT_EQ(bytes, ItemBytes("C:\\some\\file.txt", time));
    std::string folder(264, '\x55');
    ASSERT_EQ(store_->ObjectToBytes(session_.Folder(), Data(folder)), 264u);
    EXPECT_EQ(folder, FolderBytes("Vorlan"));

    HREPLOBJ again = store_->BytesToObject(Data(folder), Size(folder));
    ASSERT_NE(again, nullptr);
    BOOL changed = FALSE;
    EXPECT_EQ(store_->IsFolderChanged(again, &changed), S_OK);  // a folder of the store again
    store_->FreeObject(again);

    std::string other(4, '\0');
    other[0] = 7;
    HREPLOBJ odd = store_->BytesToObject(Data(other), 4);
    EXPECT_EQ(odd, nullptr);

    std::string unterminated = ItemBytes(std::string(260, 'a'), time);
    struct Case { const char* note; std::string bytes; UINT size; };
    const Case cases[] = {
        {"no bytes", "", 0},
        {"shorter than a tag", std::string("\x02\x00\x00", 3), 3},
        {"folder cut short", FolderBytes("Vorlan"), 263},
        {"item cut short", ItemBytes("C:\\a", time), 271},
        {"name without terminator", FolderBytes(std::string(260, 'V')), 264},
        {"path without terminator", unterminated, 272},
        {"folder of another type", FolderBytes("Contacts"), 264},
        {"unknown tag", other, 4},
    };
    for (Case c : cases) {
        HREPLOBJ made = store_->BytesToObject(c.bytes.empty() ? nullptr : Data(c.bytes), c.size);
        EXPECT_EQ(made, nullptr) << c.note;
        if (made) store_->FreeObject(made);
    }
}

TEST_F(ProviderStoreTest, ItemsAreComparedCheckedAndUpdatedByTheirFile) {
    const std::string path = library_.MarkerPath();
    const FILETIME now = LastWrite(path);
    HREPLITEM current = session_.Item(path, now);
    HREPLITEM stale = session_.Item(path, Time(1));
    HREPLITEM gone = session_.Item(library_.Temp() / "gone.txt", Time(1));
    HREPLITEM other = session_.Item(library_.Temp() / "other.txt", now);
    HREPLFLD folder = session_.Folder();
    ASSERT_TRUE(current && stale && gone && other);

    EXPECT_FALSE(store_->IsItemChanged(folder, current, nullptr));
    EXPECT_TRUE(store_->IsItemChanged(folder, stale, nullptr));
    EXPECT_FALSE(store_->IsItemChanged(folder, gone, nullptr));  // unreadable file: not changed
    EXPECT_TRUE(store_->IsItemChanged(folder, current, stale));
    EXPECT_FALSE(store_->IsItemChanged(folder, current, other));
    EXPECT_FALSE(store_->IsItemChanged(nullptr, current, nullptr));
    EXPECT_FALSE(store_->IsItemChanged(folder, nullptr, nullptr));
    EXPECT_FALSE(store_->IsItemChanged(current, current, nullptr));  // an item is no folder

    EXPECT_EQ(store_->CompareItem(current, stale), 0);
    EXPECT_LT(store_->CompareItem(gone, other), 0);
    EXPECT_GT(store_->CompareItem(other, gone), 0);
    EXPECT_EQ(store_->CompareItem(current, nullptr), E_INVALIDARG);

    EXPECT_TRUE(store_->IsItemReplicated(folder, current));
    EXPECT_TRUE(store_->IsItemReplicated(folder, nullptr));
    EXPECT_FALSE(store_->IsItemReplicated(nullptr, current));

    struct Case { const char* note; HREPLFLD folder; HREPLITEM item; HRESULT hr; };
    const Case cases[] = {
        {"file there", folder, current, S_OK},
        {"no item", folder, nullptr, S_OK},
        {"file gone", folder, gone, kObjectDeleted},
        {"folder handle is an item", current, current, E_HANDLE},
        {"item handle is a folder", folder, folder, E_HANDLE},
        {"no folder", nullptr, current, E_INVALIDARG},
    };
    for (const Case& c : cases) EXPECT_EQ(store_->IsValidObject(c.folder, c.item, 0), c.hr) << c.note;

    store_->UpdateItem(folder, stale, nullptr);  // takes the file's time
    EXPECT_FALSE(store_->IsItemChanged(folder, stale, nullptr));
    store_->UpdateItem(folder, stale, gone);  // takes the source's time
    EXPECT_TRUE(store_->IsItemChanged(folder, stale, nullptr));
    EXPECT_FALSE(store_->IsItemChanged(folder, stale, gone));

    EXPECT_TRUE(store_->CopyObject(current, gone));
    EXPECT_EQ(store_->CompareItem(gone, current), 0);
    EXPECT_FALSE(store_->CopyObject(current, folder));
    EXPECT_FALSE(store_->CopyObject(nullptr, current));
}

TEST_F(ProviderStoreTest, TheMarkerTravelsInOnePacketBothWays) {
    IReplObjHandler* handler = session_.Handler();
    const std::string path = library_.MarkerPath();
    std::string big(5000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    WriteFileBytes(path, big);

    REPLSETUP read = {sizeof read};
    read.fRead = TRUE;
    read.hItem = session_.Item(path);
    ASSERT_EQ(handler->Setup(&read), S_OK);
    LPBYTE data = nullptr;
    DWORD size = 0;
    ASSERT_EQ(handler->GetPacket(&data, &size, 4000), kLastPacket);
    ASSERT_EQ(size, 4000u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), big.substr(0, 4000));

    // A write that ends while the read goes on leaves the read's buffer.
    REPLSETUP write = {sizeof write};
    write.dwFlags = RSF_NEW_OBJECT;
    ASSERT_EQ(handler->Setup(&write), S_OK);
    std::string sent = "[Vorlan]\r\nFrom=device\r\n";
    ASSERT_EQ(handler->SetPacket(Data(sent), Size(sent)), S_OK);
    ASSERT_NE(write.hItem, nullptr);  // a new item on the marker, the caller's now
    EXPECT_EQ(store_->CompareItem(write.hItem, read.hItem), 0);
    EXPECT_EQ(ReadFileBytes(path), sent);  // exactly the bytes sent
    ASSERT_EQ(handler->Reset(&write), S_OK);
    ASSERT_EQ(handler->GetPacket(&data, &size, 4000), kLastPacket);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), sent);
    ASSERT_EQ(handler->Reset(&read), S_OK);
    EXPECT_EQ(handler->GetPacket(&data, &size, 4000), kCannotReadObject);  // the read ended
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);

    // Writing over an item the caller names.
    write.dwFlags = 0;
    ASSERT_EQ(handler->Setup(&write), S_OK);
    std::string shorter = "x";
    ASSERT_EQ(handler->SetPacket(Data(shorter), 1), S_OK);
    EXPECT_EQ(ReadFileBytes(path), "x");
    ASSERT_EQ(handler->Reset(&write), S_OK);

    REPLSETUP missing = {sizeof missing};
    missing.fRead = TRUE;
    missing.hItem = session_.Item(library_.Temp() / "absent.txt");
    ASSERT_EQ(handler->Setup(&missing), S_OK);
    EXPECT_EQ(handler->GetPacket(&data, &size, 4000), kCannotReadObject);
    EXPECT_EQ(handler->Reset(&missing), S_OK);

    EXPECT_EQ(handler->Setup(nullptr), E_INVALIDARG);
    EXPECT_EQ(handler->Reset(nullptr), E_INVALIDARG);
    EXPECT_EQ(handler->GetPacket(nullptr, &size, 4000), E_INVALIDARG);
    EXPECT_EQ(handler->SetPacket(nullptr, 0), E_INVALIDARG);

    REPLSETUP remove = {sizeof remove};
    remove.hItem = write.hItem;
    EXPECT_EQ(handler->DeleteObj(&remove), S_OK);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(handler->DeleteObj(&remove), S_OK);  // already gone
    store_->FreeObject(write.hItem);
}

TEST_F(ProviderStoreTest, WithoutTheMarkerThereIsNoItem) {
    ASSERT_TRUE(DeleteFileA(library_.MarkerPath().c_str()));
    HREPLITEM item = reinterpret_cast<HREPLITEM>(1);
    BOOL exist = TRUE;
    ASSERT_EQ(store_->FindFirstItem(session_.Folder(), &item, &exist), S_OK);
    EXPECT_EQ(item, nullptr);
    EXPECT_FALSE(exist);
    EXPECT_EQ(store_->FindFirstItem(nullptr, &item, &exist), E_INVALIDARG);
    EXPECT_EQ(store_->FindNextItem(session_.Folder(), nullptr, &exist), E_INVALIDARG);
    EXPECT_EQ(store_->FindItemClose(session_.Folder()), S_OK);
}

TEST(ProviderModuleTest, AnyClassGivesTheFactoryWhichMakesStoresAndKeepsTheLibrary) {
    ComScope com;
    ProviderLibrary library;
    const CLSID any = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    IClassFactory* factory = nullptr;
    ASSERT_EQ(library.GetClassObject(any, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    void* notFactory = reinterpret_cast<void*>(1);
    EXPECT_EQ(library.GetClassObject(any, IID_IReplStore, &notFactory), E_NOINTERFACE);
    EXPECT_EQ(notFactory, nullptr);
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE);

    IUnknown* outer = factory;
    void* made = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &made), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IReplStore, nullptr), E_INVALIDARG);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &made), E_NOINTERFACE);
    IReplStore* store = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IReplStore, reinterpret_cast<void**>(&store)), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE);
    EXPECT_EQ(store->Release(), 0u);
    EXPECT_EQ(library.CanUnloadNow(), S_FALSE);  // still locked

    IClassFactory* again = nullptr;
    ASSERT_EQ(library.GetClassObject(any, IID_IClassFactory, reinterpret_cast<void**>(&again)), S_OK);
    EXPECT_EQ(again->LockServer(FALSE), S_OK);
    again->Release();
    EXPECT_EQ(library.CanUnloadNow(), S_OK);
}

// A store made on a thread of the multithreaded apartment cannot join it
// to an apartment of its own, and must not end that thread's COM.
TEST(ProviderModuleTest, TheStoreLeavesTheComOfItsThreadAsItFoundIt) {
    ProviderLibrary library;
    HRESULT again = E_FAIL;
    std::thread([&] {
        if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return;
        if (IReplStore* store = library.NewStore()) store->Release();
        again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // S_FALSE: still initialised
        if (SUCCEEDED(again)) CoUninitialize();
        CoUninitialize();
    }).join();
    EXPECT_EQ(again, S_FALSE);

    ComScope com;  // and on an apartment thread, the store's own start is undone
    if (IReplStore* store = library.NewStore()) store->Release();
    const HRESULT stillThere = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(stillThere, S_FALSE);
    if (SUCCEEDED(stillThere)) CoUninitialize();
}

}  // namespace
}  // namespace vorlan::testing
