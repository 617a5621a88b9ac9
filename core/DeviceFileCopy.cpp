#include "DeviceFileCopy.h"

#include <vector>

#include "Bstr.h"
#include "CeRapiWrapper.h"
#include "DeviceSession.h"

namespace vorlan {
namespace {

HRESULT LastError(CQvCERapiWrapper& side) {
    const DWORD error = side.GetLastError();
    return HRESULT_FROM_WIN32(error ? error : ERROR_GEN_FAILURE);
}

HRESULT ReadWhole(CQvCERapiWrapper& side, const std::wstring& path, std::vector<char>& bytes) {
    HANDLE file = side.CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError(side);
    HRESULT hr = S_OK;
    DWORD high = 0;
    const DWORD size = side.GetFileSize(file, &high);
    if (high != 0 || size == INVALID_FILE_SIZE) {
        hr = high != 0 ? HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE) : LastError(side);
    } else {
        bytes.resize(size);
        for (DWORD done = 0; done < size && SUCCEEDED(hr);) {
            DWORD read = 0;
            if (!side.ReadFile(file, bytes.data() + done, size - done, &read, nullptr))
                hr = LastError(side);
            else if (read == 0)
                hr = HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);  // the file shrank while read
            done += read;
        }
    }
    side.CloseHandle(file);
    return hr;
}

HRESULT WriteWhole(CQvCERapiWrapper& side, const std::wstring& path, const std::vector<char>& bytes) {
    HANDLE file = side.CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastError(side);
    HRESULT hr = S_OK;
    const DWORD size = static_cast<DWORD>(bytes.size());
    for (DWORD done = 0; done < size && SUCCEEDED(hr);) {
        DWORD written = 0;
        if (!side.WriteFile(file, bytes.data() + done, size - done, &written, nullptr) || written == 0)
            hr = LastError(side);
        done += written;
    }
    if (!side.CloseHandle(file) && SUCCEEDED(hr)) hr = LastError(side);
    return hr;
}

std::wstring SetAside(const std::wstring& target) { return target + L".old"; }

bool Exists(CQvCERapiWrapper& side, const std::wstring& path) {
    return side.GetFileAttributes(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A replacement cut off between its two moves leaves the target missing and
// its old content set aside: that content is put back before the target is
// read or replaced, and is never deleted while the target is missing.
HRESULT RestoreSetAside(CQvCERapiWrapper& side, const std::wstring& target) {
    const std::wstring aside = SetAside(target);
    if (Exists(side, target) || !Exists(side, aside)) return S_OK;
    return side.MoveFile(aside.c_str(), target.c_str()) ? S_OK : LastError(side);
}

// Puts the written copy in place of the target. The device cannot move a
// file over another, so the old target steps aside first and comes back
// when the copy cannot take its place.
HRESULT Replace(CQvCERapiWrapper& side, const std::wstring& written, const std::wstring& target) {
    const HRESULT restored = RestoreSetAside(side, target);
    if (FAILED(restored)) return restored;
    const std::wstring aside = SetAside(target);
    side.DeleteFile(aside.c_str());
    const bool hadTarget = Exists(side, target);
    if (hadTarget && !side.MoveFile(target.c_str(), aside.c_str())) return LastError(side);
    if (!side.MoveFile(written.c_str(), target.c_str())) {
        const HRESULT hr = LastError(side);
        if (hadTarget) side.MoveFile(aside.c_str(), target.c_str());
        return hr;
    }
    if (hadTarget) side.DeleteFile(aside.c_str());
    return S_OK;
}

}  // namespace

HRESULT CopyDeviceFile(const std::string& source, const std::string& destination, bool toDevice) {
    DeviceSession session;
    session.Open(kDeviceWaitMs);
    CQvCERapiWrapper device(TRUE), desktop(FALSE);
    CQvCERapiWrapper& from = toDevice ? desktop : device;
    CQvCERapiWrapper& to = toDevice ? device : desktop;

    const std::wstring origin = com::WideFromAnsi(source);
    HRESULT hr = RestoreSetAside(from, origin);
    if (FAILED(hr)) return hr;
    std::vector<char> bytes;
    hr = ReadWhole(from, origin, bytes);
    if (FAILED(hr)) return hr;
    const std::wstring target = com::WideFromAnsi(destination);
    const std::wstring written = target + L".tmp";
    hr = WriteWhole(to, written, bytes);
    if (SUCCEEDED(hr)) hr = Replace(to, written, target);
    if (FAILED(hr)) to.DeleteFile(written.c_str());
    return hr;
}

bool IsNotFound(HRESULT hr) {
    return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

}  // namespace vorlan
