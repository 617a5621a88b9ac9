#pragma once
// Moves the data file's bytes between the device and the desktop, in one
// packet of at most 4000 bytes each way. A read and a write may be
// outstanding together; each Reset ends the transfer its setup names.
#include "ReplDevice.h"

namespace vorlan::zephrin {

class CVorlanFolder;

class CVorlanObjHandler : public ce::IReplObjHandler {
public:
    explicit CVorlanObjHandler(CVorlanFolder& folder) : folder_(folder) {}
    virtual ~CVorlanObjHandler();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Setup(ce::REPLSETUP* pSetup) override;
    HRESULT STDMETHODCALLTYPE Reset(ce::REPLSETUP* pSetup) override;
    HRESULT STDMETHODCALLTYPE GetPacket(LPBYTE* lppbData, DWORD* pcbData, DWORD cbRecommend) override;
    HRESULT STDMETHODCALLTYPE SetPacket(LPBYTE lpbData, DWORD cbData) override;
    HRESULT STDMETHODCALLTYPE DeleteObj(ce::REPLSETUP* pSetup) override;

    static constexpr DWORD kPacketSize = 4000;

private:
    LONG references_ = 1;
    ce::REPLSETUP* write_ = nullptr;
    ce::REPLSETUP* read_ = nullptr;
    CVorlanFolder& folder_;
    BYTE* buffer_ = nullptr;  // between a read's Setup and its Reset
    bool written_ = false;    // the write's packet reached the data file
};

}  // namespace vorlan::zephrin
