#pragma once
// Moves the marker's bytes to and from ActiveSync: the whole file in one
// packet of at most 4000 bytes. It keeps its store alive, so its folder
// outlives it.
#include <windows.h>

#include <memory>

#include "ReplStore.h"

namespace vorlan::provider {

class CVorlanFolder;

class CVorlanObjHandler final : public IReplObjHandler {
public:
    static constexpr DWORD kPacketSize = 4000;

    // A new handler, as IUnknown with one reference, into out.
    static HRESULT Create(CVorlanFolder* folder, IUnknown** out);

    // IUnknown: the handler answers IUnknown only.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Setup(REPLSETUP* pSetup) override;
    HRESULT STDMETHODCALLTYPE Reset(REPLSETUP* pSetup) override;
    HRESULT STDMETHODCALLTYPE GetPacket(LPBYTE* lppbData, DWORD* pcbData, DWORD cbRecommend) override;
    HRESULT STDMETHODCALLTYPE SetPacket(LPBYTE lpbData, DWORD cbData) override;
    HRESULT STDMETHODCALLTYPE DeleteObj(REPLSETUP* pSetup) override;

private:
    explicit CVorlanObjHandler(CVorlanFolder* folder);
    ~CVorlanObjHandler();

    volatile LONG references_ = 1;
    CVorlanFolder* folder_;
    REPLSETUP* writeSetup_ = nullptr;
    REPLSETUP* readSetup_ = nullptr;
    // Present between a read Setup and the Reset that ends it.
    std::unique_ptr<BYTE[]> readBuffer_;
};

}  // namespace vorlan::provider
