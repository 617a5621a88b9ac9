#include "ProviderSession.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "Bstr.h"
#include "CallText.h"
#include "ItemEnumerator.h"

namespace vorlan::activesync {
namespace {

std::string Handle(const void* handle) { return handle ? "handle" : "NULL"; }

}  // namespace

ProviderSession::ProviderSession(const Journal& journal, ReplNotify& notify, std::string objectType,
                                 std::string progId, const ProviderState& saved, bool propagateDeletions)
    : journal_(journal), notify_(notify), objectType_(std::move(objectType)), progId_(std::move(progId)),
      storeId_(saved.storeId), propagateDeletions_(propagateDeletions), partner_(journal, objectType_) {
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

HRESULT ProviderSession::Open(bool deviceConnected) {
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
    partnerReady_ = deviceConnected && partner_.Open();
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
    bool desktopChanged = false;
    for (Seen& seen : items_) {
        if (!seen.send) continue;
        desktopChanged = true;
        std::vector<BYTE> bytes;
        HRESULT sent = ReadItem(seen.item, bytes);
        if (SUCCEEDED(sent) && partnerReady_) sent = partner_.Write(partner_.Oid(), bytes);
        if (SUCCEEDED(sent)) seen.send = false;
        else if (SUCCEEDED(result)) result = sent;
        store_->UpdateItem(folder_, seen.item, nullptr);
        Call("IReplStore::UpdateItem", "-");
    }
    if (partnerReady_) {
        const HRESULT carried = CarryDeviceChanges(desktopChanged);
        if (FAILED(carried) && SUCCEEDED(result)) result = carried;
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

HRESULT ProviderSession::CarryDeviceChanges(bool desktopChanged) {
    HRESULT result = S_OK;
    for (uint32_t oid : partner_.Changed()) {
        if (desktopChanged) {
            journal_.Write({"partner", "conflict", objectType_, std::to_string(oid), "desktop wins"});
            continue;
        }
        std::vector<BYTE> bytes;
        HRESULT hr = partner_.Read(oid, bytes);
        if (SUCCEEDED(hr)) hr = WriteItem(bytes);
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    // The device reports an object it did not change as deleted; passed on
    // only when asked for, since the store would lose its one item.
    for (uint32_t oid : partner_.Deleted()) {
        journal_.Write({"partner", "deleted", objectType_, std::to_string(oid),
                        propagateDeletions_ ? "propagated" : "kept"});
        if (!propagateDeletions_) continue;
        for (Seen& seen : items_) {
            const HRESULT hr = DeleteItem(seen.item);
            if (FAILED(hr) && SUCCEEDED(result)) result = hr;
        }
    }
    partner_.TakeChanges();
    return result;
}

REPLSETUP ProviderSession::WriteSetup(HREPLITEM item, DWORD flags) {
    REPLSETUP setup = {};
    setup.cbStruct = sizeof setup;
    setup.fRead = FALSE;
    setup.dwFlags = flags;
    std::snprintf(setup.szObjType, sizeof setup.szObjType, "%s", objectType_.c_str());
    setup.pNotify = &notify_;
    setup.oid = partner_.Oid();
    setup.pStore = store_;
    setup.hFolder = folder_;
    setup.hItem = item;
    return setup;
}

HRESULT ProviderSession::WriteItem(const std::vector<BYTE>& bytes) {
    HREPLITEM known = items_.empty() ? nullptr : items_.front().item;
    REPLSETUP setup = WriteSetup(known, known ? 0 : RSF_NEW_OBJECT);
    HRESULT hr = handler_->Setup(&setup);
    Call("IReplObjHandler::Setup", Hex(hr), {"write"});
    if (FAILED(hr)) return hr;
    std::vector<BYTE> data = bytes;
    if (data.empty()) data.push_back(0);  // no bytes are still a packet, not a null one
    hr = handler_->SetPacket(data.data(), static_cast<DWORD>(bytes.size()));
    Call("IReplObjHandler::SetPacket", Hex(hr), {std::to_string(bytes.size())});
    Call("IReplObjHandler::Reset", Hex(handler_->Reset(&setup)));
    if (!known && setup.hItem) items_.push_back({setup.hItem, {}, false});  // the store's new item is ours now
    if (FAILED(hr)) return hr;
    if (setup.hItem) {
        store_->UpdateItem(folder_, setup.hItem, nullptr);
        Call("IReplStore::UpdateItem", "-");
    }
    journal_.Write({"received", objectType_, std::to_string(bytes.size())});
    return S_OK;
}

HRESULT ProviderSession::DeleteItem(HREPLITEM item) {
    REPLSETUP setup = WriteSetup(item, 0);
    HRESULT hr = handler_->Setup(&setup);
    Call("IReplObjHandler::Setup", Hex(hr), {"write"});
    if (SUCCEEDED(hr)) {
        hr = handler_->DeleteObj(&setup);
        Call("IReplObjHandler::DeleteObj", Hex(hr));
        Call("IReplObjHandler::Reset", Hex(handler_->Reset(&setup)));
    }
    return hr;
}

HRESULT ProviderSession::ReadItem(HREPLITEM item, std::vector<BYTE>& bytes) {
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
    bytes.clear();
    do {
        LPBYTE data = nullptr;
        DWORD size = 0;
        hr = handler_->GetPacket(&data, &size, 4000);
        Call("IReplObjHandler::GetPacket", Hex(hr), {std::to_string(size)});
        if (SUCCEEDED(hr) && data) bytes.insert(bytes.end(), data, data + size);
    } while (hr == S_OK);
    Call("IReplObjHandler::Reset", Hex(handler_->Reset(&setup)));
    journal_.Write({"sent", objectType_, std::to_string(bytes.size())});
    return FAILED(hr) ? hr : S_OK;
}

void ProviderSession::Close() {
    partner_.Close();
    partnerReady_ = false;
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
