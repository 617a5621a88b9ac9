#pragma once
// One object type of the device provider, as the exports see it.
#include "ReplDevice.h"

namespace vorlan::zephrin {

class CBaseFolder {
public:
    virtual ~CBaseFolder() = default;
    virtual const wchar_t* GetName() const = 0;
    // A partner connection starts: a new object handler into *ppHandler.
    virtual BOOL Init(ce::IReplObjHandler** ppHandler, UINT uPartnerBit) = 0;
    // The connection ends.
    virtual BOOL Close() = 0;
    virtual BOOL ObjectNotify(ce::OBJNOTIFY* pNotify) = 0;
    virtual BOOL GetObjTypeInfo(ce::OBJTYPEINFO* pInfo) = 0;
};

}  // namespace vorlan::zephrin
