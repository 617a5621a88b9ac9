#pragma once
// The dialog that asks for a new folder's name.
#include <string>

#include "Dialog.h"

namespace vorlan {

class CNewFolder : public CDialog {
public:
    CNewFolder();
    std::string m_name;  // as typed; the caller decides what it may create

protected:
    void DoDataExchange(CDataExchange* dx) override;
};

}  // namespace vorlan
