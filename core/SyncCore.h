#pragma once
// CSyncCore: what the entry object runs. It holds the top-level engine for
// the entry object's whole life.
#include <string>

#include "PackageSync.h"

namespace vorlan {

class CSyncCore {
public:
    HRESULT Init() { return engine_.Init(); }
    // Runs the project at url, or at the PluginConfig setting when url is
    // empty, with environment variables expanded. A text that does not fit
    // 259 characters, before or after expansion, and a PluginConfig that
    // exists but cannot be read, are reported (the text, or the setting's
    // name, as insertion string) and give E_INVALIDARG.
    HRESULT Sync(const std::string& url);

private:
    CPackageSync engine_;
};

}  // namespace vorlan
