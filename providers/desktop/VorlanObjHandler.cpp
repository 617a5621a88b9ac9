#include "VorlanObjHandler.h"

#include <new>
#include <string_view>

#include "SharedFile.h"
#include "VorlanFolder.h"
#include "VorlanModule.h"
#include "VorlanStore.h"

namespace vorlan::provider {

HRESULT CVorlanObjHandler::Create(CVorlanFolder* folder, IUnknown** out) {
    *out = nullptr;
    auto* handler = new (std::nothrow) CVorlanObjHandler(folder);
    if (!handler) return E_OUTOFMEMORY;
    const HRESULT hr = handler->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(out));
    handler->Release();
    return hr;
}

CVorlanObjHandler::CVorlanObjHandler(CVorlanFolder* folder) : folder_(folder) {
    g_module.ObjectCreated();
    folder_->Store()->AddRef();
}

CVorlanObjHandler::~CVorlanObjHandler() {
    folder_->Store()->Release();
    g_module.ObjectDestroyed();
}

HRESULT CVorlanObjHandler::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown)) return E_NOINTERFACE;
    *out = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
}

ULONG CVorlanObjHandler::AddRef() { return InterlockedIncrement(&references_); }

ULONG CVorlanObjHandler::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
}

HRESULT CVorlanObjHandler::Setup(REPLSETUP* pSetup) {
    if (!pSetup) return E_INVALIDARG;
    if (!pSetup->fRead) {
        writeSetup_ = pSetup;
        return S_OK;
    }
    if (!readBuffer_) {
        readBuffer_.reset(new (std::nothrow) BYTE[kPacketSize]);
        if (!readBuffer_) return E_OUTOFMEMORY;
    }
    readSetup_ = pSetup;
    return S_OK;
}

HRESULT CVorlanObjHandler::Reset(REPLSETUP* pSetup) {
    if (!pSetup) return E_INVALIDARG;
    // Only the read's end frees the read's buffer: a write may end while a
    // read is still going on.
    if (pSetup->fRead) {
        readBuffer_.reset();
        readSetup_ = nullptr;
    } else if (pSetup == writeSetup_) {
        writeSetup_ = nullptr;
    }
    return S_OK;
}

HRESULT CVorlanObjHandler::GetPacket(LPBYTE* lppbData, DWORD* pcbData, DWORD) {
    if (!lppbData || !pcbData) return E_INVALIDARG;
    *lppbData = nullptr;
    *pcbData = 0;
    const CReplItem* item = readSetup_ ? CReplItem::FromHandle(readSetup_->hItem) : nullptr;
    if (!item || !readBuffer_) return activesync::kCannotReadObject;
    HANDLE file = CreateFileA(item->Name(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return activesync::kCannotReadObject;
    DWORD read = 0;
    const BOOL ok = ReadFile(file, readBuffer_.get(), kPacketSize, &read, nullptr);
    CloseHandle(file);
    if (!ok) return activesync::kCannotReadObject;
    *lppbData = readBuffer_.get();
    *pcbData = read;
    return activesync::kLastPacket;
}

HRESULT CVorlanObjHandler::SetPacket(LPBYTE lpbData, DWORD cbData) {
    if (!lpbData) return E_INVALIDARG;
    if (!writeSetup_) return activesync::kCannotWriteObject;
    if (writeSetup_->dwFlags & RSF_NEW_OBJECT) {
        char path[kNameSize];
        auto* item = CVorlanFolder::GetMarkerPath(path) ? new (std::nothrow) CReplItem : nullptr;
        if (!item) return activesync::kCannotWriteObject;
        item->SetName(path);
        writeSetup_->hItem = item->Handle();
    }
    const CReplItem* item = CReplItem::FromHandle(writeSetup_->hItem);
    if (!item) return activesync::kCannotWriteObject;
    // Replaced, never half written.
    const std::string_view bytes(reinterpret_cast<const char*>(lpbData), cbData);
    return ReplaceFileContent(item->Name(), bytes) ? S_OK : activesync::kCannotWriteObject;
}

HRESULT CVorlanObjHandler::DeleteObj(REPLSETUP* pSetup) {
    if (!pSetup) return E_INVALIDARG;
    const CReplItem* item = CReplItem::FromHandle(pSetup->hItem);
    if (!item) return E_INVALIDARG;
    return folder_->DeleteObj(*item);
}

}  // namespace vorlan::provider
