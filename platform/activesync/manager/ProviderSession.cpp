#include "ProviderSession.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "Bstr.h"
#include "ItemEnumerator.h"

namespace vorlan::activesync {
namespace {

std::string Hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

std::string Bool(BOOL value) { return value ? "TRUE" : "FALSE"; }
std::string Handle(const void* handle) { return handle ? "handle" : "NULL"; }

}  // namespace

ProviderSession::ProviderSession(const Journal& journal, ReplNotify& notify, std::string objectType,
                                 std::string progId, const ProviderState& saved)
    : journal_(journal), notify_(notify), objectType_(std::move(objectType)), progId_(std::move(progId)),
      storeId_(saved.storeId) {
    for (const auto& bytes : saved.items) items_.push_back({nullptr, bytes, false});  // sent when they were seen
}

ProviderState ProviderSession::Saved() const {
    ProviderState state{storeId_, {}};
    for (const Seen& seen : items_)
        if (!seen.bytes.empty()) state.items.push_back(seen.bytes);
    return state;
}

ProviderSession::~ProviderSession() { Close(); }

void ProviderSession::Call(const char* method, const std::string& result, std::vector<std::string> details) const {
    std::vector<std::string> fields = {"call", method, result};
    fields.insert(fields.end(), details.begin(), details.end());
    journal_.Write(fields);
}

HRESULT ProviderSession::Open() {
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(com::WideFromAnsi(progId_).c_str(), &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IReplStore, reinterpret_cast<void**>(&store_));
    journal_.Write({"provider", objectType_, progId_, SUCCEEDED(hr) ? "created" : "not created", Hex(hr)});
    if (FAILED(hr)) return hr;

    hr = store_->Initialize(&notify_, 0);
    Call("IReplStore::Initialize", Hex(hr));
    if (FAILED(hr)) return Close(), hr;

    // First for the identifier's size, then for the identifier.
    STOREINFO info = {};
    info.cbStruct = sizeof info;
    hr = store_->GetStoreInfo(&info);
    Call("IReplStore::GetStoreInfo", Hex(hr), {std::to_string(info.cbStoreId), info.szProgId, info.szStoreDesc});
    std::vector<BYTE> id(info.cbStoreId);
    info.cbMaxStoreId = static_cast<UINT>(id.size());
    info.lpbStoreId = id.data();
    hr = store_->GetStoreInfo(&info);
    Call("IReplStore::GetStoreInfo", Hex(hr), {std::to_string(info.cbStoreId), info.szProgId, info.szStoreDesc});
    if (FAILED(hr) || progId_ != info.szProgId) {
        journal_.Write({"provider", objectType_, progId_, "store does not match", info.szProgId});
        Close();
        return FAILED(hr) ? hr : E_UNEXPECTED;
    }
    if (!storeId_.empty()) {
        const int order = store_->CompareStoreIDs(storeId_.data(), static_cast<UINT>(storeId_.size()), id.data(),
                                                  info.cbStoreId);
        Call("IReplStore::CompareStoreIDs", std::to_string(order));
        if (order != 0) items_.clear();  // another store: what it saw is not ours
    }
    storeId_ = id;

    IUnknown* handler = nullptr;
    hr = store_->GetFolderInfo(objectType_.data(), &folder_, &handler);
    Call("IReplStore::GetFolderInfo", Hex(hr), {Handle(folder_)});
    if (FAILED(hr) || !handler) return Close(), FAILED(hr) ? hr : E_POINTER;
    // The handler answers QueryInterface for IUnknown only; what it hands
    // out is the handler itself.
    handler_ = static_cast<IReplObjHandler*>(handler);

    OBJUIDATA ui = {};
    ui.cbStruct = sizeof ui;
    hr = store_->GetObjTypeUIData(folder_, &ui);
    Call("IReplStore::GetObjTypeUIData", Hex(hr), {ui.szName, ui.szTypeText, ui.szPlTypeText});
    if (ui.hIconLarge) DestroyIcon(ui.hIconLarge);
    if (ui.hIconSmall) DestroyIcon(ui.hIconSmall);

    // What the previous connection saw, made again from its bytes; what is
    // no longer valid counts as deleted on the desktop.
    for (Seen& seen : items_) {
        seen.item = store_->BytesToObject(seen.bytes.data(), static_cast<UINT>(seen.bytes.size()));
        Call("IReplStore::BytesToObject", Handle(seen.item));
        if (!seen.item) continue;
        const HRESULT valid = store_->IsValidObject(folder_, seen.item, 0);
        Call("IReplStore::IsValidObject", Hex(valid));
        if (valid != S_OK) {
            store_->FreeObject(seen.item);
            Call("IReplStore::FreeObject", "-");
            seen.item = nullptr;
        }
    }
    std::erase_if(items_, [](const Seen& seen) { return !seen.item; });
    return S_OK;
}

HRESULT ProviderSession::ShowOptions(HWND owner) {
    if (!store_) return E_UNEXPECTED;
    std::vector<HREPLITEM> items;
    for (const Seen& seen : items_) items.push_back(seen.item);
    ItemEnumerator* enumerator = ItemEnumerator::Create(folder_, std::move(items));
    if (!enumerator) return E_OUTOFMEMORY;
    const HRESULT hr = store_->ActivateDialog(0, owner, folder_, enumerator);
    enumerator->Release();
    Call("IReplStore::ActivateDialog", Hex(hr), {"0"});
    return hr;
}

HRESULT ProviderSession::Synchronize() {
    if (!store_) return E_UNEXPECTED;
    Call("IReplStore::ReportStatus", Hex(store_->ReportStatus(nullptr, nullptr, RSC_BEGIN_SYNC, 0)), {"BEGIN_SYNC"});
    BOOL changed = FALSE;
    const HRESULT folderChanged = store_->IsFolderChanged(folder_, &changed);
    Call("IReplStore::IsFolderChanged", Hex(folderChanged), {Bool(changed)});
    Call("IReplStore::ReportStatus", Hex(store_->ReportStatus(folder_, nullptr, RSC_BEGIN_CHECK, 0)),
         {"BEGIN_CHECK"});

    HREPLITEM item = nullptr;
    BOOL exist = FALSE;
    HRESULT hr = store_->FindFirstItem(folder_, &item, &exist);
    Call("IReplStore::FindFirstItem", Hex(hr), {Bool(exist), Handle(item)});
    while (SUCCEEDED(hr) && exist) {
        if (item) {
            Seen* known = nullptr;
            for (Seen& seen : items_) {
                const int order = store_->CompareItem(seen.item, item);
                Call("IReplStore::CompareItem", std::to_string(order));
                if (order == 0) {
                    known = &seen;
                    break;
                }
            }
            if (known) {
                const BOOL itemChanged = store_->IsItemChanged(folder_, known->item, item);
                Call("IReplStore::IsItemChanged", Bool(itemChanged));
                if (itemChanged) {
                    Call("IReplStore::CopyObject", Bool(store_->CopyObject(item, known->item)));
                    known->send = true;
                }
                store_->FreeObject(item);
                Call("IReplStore::FreeObject", "-");
                item = known->item;
            } else {
                items_.push_back({item, {}, true});
            }
            Call("IReplStore::IsItemReplicated", Bool(store_->IsItemReplicated(folder_, item)));
        }
        item = nullptr;
        hr = store_->FindNextItem(folder_, &item, &exist);
        Call("IReplStore::FindNextItem", Hex(hr), {Bool(exist), Handle(item)});
    }
    Call("IReplStore::FindItemClose", Hex(store_->FindItemClose(folder_)));
    Call("IReplStore::ReportStatus", Hex(store_->ReportStatus(folder_, nullptr, RSC_END_CHECK, 0)), {"END_CHECK"});

    HRESULT result = hr;
    for (Seen& seen : items_) {
        if (!seen.send) continue;
        const HRESULT read = ReadItem(seen.item);
        if (SUCCEEDED(read)) seen.send = false;
        else if (SUCCEEDED(result)) result = read;
        store_->UpdateItem(folder_, seen.item, nullptr);
        Call("IReplStore::UpdateItem", "-");
    }
    Call("IReplStore::ReportStatus", Hex(store_->ReportStatus(nullptr, nullptr, RSC_END_SYNC, 0)), {"END_SYNC"});
    for (Seen& seen : items_) {
        const UINT size = store_->ObjectToBytes(seen.item, nullptr);
        Call("IReplStore::ObjectToBytes", std::to_string(size));
        seen.bytes.assign(size, 0);
        Call("IReplStore::ObjectToBytes", std::to_string(store_->ObjectToBytes(seen.item, seen.bytes.data())));
    }
    return result;
}

HRESULT ProviderSession::ReadItem(HREPLITEM item) {
    REPLSETUP setup = {};
    setup.cbStruct = sizeof setup;
    setup.fRead = TRUE;
    std::snprintf(setup.szObjType, sizeof setup.szObjType, "%s", objectType_.c_str());
    setup.pNotify = &notify_;
    setup.pStore = store_;
    setup.hFolder = folder_;
    setup.hItem = item;
    HRESULT hr = handler_->Setup(&setup);
    Call("IReplObjHandler::Setup", Hex(hr), {"read"});
    if (FAILED(hr)) return hr;
    // No device partner takes the bytes yet: they are counted.
    DWORD total = 0;
    do {
        LPBYTE data = nullptr;
        DWORD size = 0;
        hr = handler_->GetPacket(&data, &size, 4000);
        Call("IReplObjHandler::GetPacket", Hex(hr), {std::to_string(size)});
        if (SUCCEEDED(hr)) total += size;
    } while (hr == S_OK);
    Call("IReplObjHandler::Reset", Hex(handler_->Reset(&setup)));
    journal_.Write({"sent", objectType_, std::to_string(total)});
    return FAILED(hr) ? hr : S_OK;
}

void ProviderSession::Close() {
    if (!store_) return;
    Call("IReplStore::ReportStatus", Hex(store_->ReportStatus(nullptr, nullptr, RSC_RELEASE, 0)), {"RELEASE"});
    for (Seen& seen : items_) {
        store_->FreeObject(std::exchange(seen.item, nullptr));
        Call("IReplStore::FreeObject", "-");
    }
    if (folder_) {
        store_->FreeObject(std::exchange(folder_, nullptr));
        Call("IReplStore::FreeObject", "-");
    }
    if (handler_) {
        Call("IReplObjHandler::Release", std::to_string(std::exchange(handler_, nullptr)->Release()));
    }
    Call("IReplStore::Release", std::to_string(std::exchange(store_, nullptr)->Release()));
    CoFreeUnusedLibraries();
}

}  // namespace vorlan::activesync
