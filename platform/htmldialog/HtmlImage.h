#pragma once
// An image a page names by src: a resource of the page's module (type 23,
// like the pages), decoded by the imaging component (GIF, PNG, BMP, ...)
// into a 32-bit premultiplied bitmap the host blends onto the page.
#include <windows.h>

#include <string>

namespace vorlan {

class HtmlImage {
public:
    HtmlImage() = default;
    ~HtmlImage();
    HtmlImage(const HtmlImage&) = delete;
    HtmlImage& operator=(const HtmlImage&) = delete;
    HtmlImage(HtmlImage&& other) noexcept;
    HtmlImage& operator=(HtmlImage&& other) noexcept;

    // False (with the reason in error) when the resource is missing or does
    // not decode.
    bool Load(HMODULE module, const std::string& name, std::string& error);
    SIZE Size() const { return size_; }
    void Draw(HDC target, const RECT& rect) const;

private:
    HBITMAP bitmap_ = nullptr;
    SIZE size_ = {0, 0};
};

// The bytes of a page resource (type 23) of module; false when not there.
bool LoadPageResource(HMODULE module, const std::string& name, std::string& bytes);

}  // namespace vorlan
