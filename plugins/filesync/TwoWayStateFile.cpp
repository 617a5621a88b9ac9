#include "TwoWayStateFile.h"

#include "Bstr.h"
#include "TwoWaySyncData.h"
#include "WholeFile.h"

namespace vorlan::filesync {

HRESULT TwoWayStateFile::Load() {
    loaded_ = false;
    std::string path;
    const HRESULT hr = GetTwoWaySyncDataPath(path);
    if (FAILED(hr)) return hr;
    return Load(path);
}

HRESULT TwoWayStateFile::Load(const std::string& path) {
    loaded_ = false;
    std::string bytes;
    HRESULT hr = devicefs::ReadWholeFile(com::WideFromAnsi(path).c_str(), bytes);
    if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) {
        bytes.clear();
    } else if (FAILED(hr)) {
        return hr;
    }
    state_.Parse(bytes);
    path_ = path;
    loaded_ = true;
    return S_OK;
}

HRESULT TwoWayStateFile::Save() {
    if (!loaded_) return E_UNEXPECTED;
    if (!state_.Changed()) return S_OK;
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceCounter(&start);
    const HRESULT hr = devicefs::ReplaceWholeFile(com::WideFromAnsi(path_).c_str(), state_.Format());
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    writeMs_ += 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    if (SUCCEEDED(hr)) state_.MarkSaved();
    return hr;
}

}  // namespace vorlan::filesync
