#pragma once
// CVorlanPropWrapper: a plug-in's description object for the component
// dialog, created by its ProgID ("Feldane.VorlanProperties"). When that
// cannot be created, the core's own description of the component table
// takes its place; when neither can, the wrapper holds nothing.
#include <windows.h>

#include <string>

#include "ComPtr.h"
#include "vorlan.h"

namespace vorlan {

class CVorlanPropWrapper {
public:
    explicit CVorlanPropWrapper(const std::string& progId);

    IVorlanProperties* Get() const { return properties_.Get(); }
    explicit operator bool() const { return properties_.Get() != nullptr; }

    // The description's texts, "" when it has none.
    std::string ProgId() const;
    std::string ReadableName() const;
    std::string Description() const;
    std::string TableName() const;

private:
    com::ComPtr<IVorlanProperties> properties_;
};

}  // namespace vorlan
