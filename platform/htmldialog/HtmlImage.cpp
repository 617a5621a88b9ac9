#include "HtmlImage.h"

#include <wincodec.h>

#include <utility>

#include "ComPtr.h"

namespace vorlan {

namespace {
constexpr WORD kPageResourceType = 23;
}

bool LoadPageResource(HMODULE module, const std::string& name, std::string& bytes) {
    HRSRC found = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(kPageResourceType));
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    bytes.assign(static_cast<const char*>(data), SizeofResource(module, found));
    return true;
}

HtmlImage::~HtmlImage() {
    if (bitmap_) DeleteObject(bitmap_);
}

HtmlImage::HtmlImage(HtmlImage&& other) noexcept
    : bitmap_(std::exchange(other.bitmap_, nullptr)), size_(other.size_) {}

HtmlImage& HtmlImage::operator=(HtmlImage&& other) noexcept {
    std::swap(bitmap_, other.bitmap_);
    std::swap(size_, other.size_);
    return *this;
}

bool HtmlImage::Load(HMODULE module, const std::string& name, std::string& error) {
    std::string bytes;
    if (!LoadPageResource(module, name, bytes)) {
        error = "no image resource \"" + name + "\"";
        return false;
    }
    com::ComPtr<IWICImagingFactory> factory;
    com::ComPtr<IWICStream> stream;
    com::ComPtr<IWICBitmapDecoder> decoder;
    com::ComPtr<IWICBitmapFrameDecode> frame;
    com::ComPtr<IWICFormatConverter> converter;
    HRESULT hr = com::CreateInstance(CLSID_WICImagingFactory, factory);
    if (SUCCEEDED(hr)) hr = factory->CreateStream(stream.Put());
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromMemory(reinterpret_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    if (SUCCEEDED(hr))
        hr = factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Put());
    if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, frame.Put());
    if (SUCCEEDED(hr)) hr = factory->CreateFormatConverter(converter.Put());
    if (SUCCEEDED(hr))
        hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom);
    UINT width = 0, height = 0;
    if (SUCCEEDED(hr)) hr = converter->GetSize(&width, &height);
    if (FAILED(hr) || width == 0 || height == 0) {
        error = "image \"" + name + "\" does not decode";
        return false;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        error = "no memory for image \"" + name + "\"";
        return false;
    }
    hr = converter->CopyPixels(nullptr, width * 4, width * height * 4, static_cast<BYTE*>(bits));
    if (FAILED(hr)) {
        DeleteObject(bitmap);
        error = "image \"" + name + "\" does not decode";
        return false;
    }
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = bitmap;
    size_ = {static_cast<LONG>(width), static_cast<LONG>(height)};
    return true;
}

void HtmlImage::Draw(HDC target, const RECT& rect) const {
    if (!bitmap_) return;
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(source, bitmap_);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0, size_.cx,
               size_.cy, blend);
    SelectObject(source, old);
    DeleteDC(source);
}

}  // namespace vorlan
