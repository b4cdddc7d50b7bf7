#include "dib_section.h"

#include <stdexcept>

namespace sorv::tk {
namespace {

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// COLORREF is 0x00BBGGRR, a 32-bit DIB pixel 0x00RRGGBB.
std::uint32_t SwapRedBlue(std::uint32_t value) {
    return ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
}

}  // namespace

DibSection::DibSection(int width, int height)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    const BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !dc_) {
        bitmap_.reset();
        return;
    }
    bits_ = static_cast<std::uint32_t*>(bits);
    previous_ = SelectObject(dc_.get(), bitmap_.get());
}

DibSection::~DibSection() {
    if (previous_) SelectObject(dc_.get(), previous_);
}

COLORREF DibSection::Pixel(int x, int y) const {
    GdiFlush();
    return SwapRedBlue(bits_[y * width_ + x] & 0xFFFFFFu);
}

void DibSection::SetPixel(int x, int y, COLORREF color) {
    GdiFlush();
    bits_[y * width_ + x] = SwapRedBlue(color & 0xFFFFFFu);
}

BitmapHandle DibSection::TakeBitmap() {
    if (previous_) SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
    bits_ = nullptr;
    return std::move(bitmap_);
}

Pixels ReadPixels(HBITMAP bitmap) {
    Pixels pixels;
    BITMAP description{};
    if (!bitmap || !GetObjectW(bitmap, sizeof description, &description)) return pixels;
    pixels.width = description.bmWidth;
    pixels.height = description.bmHeight;
    std::vector<std::uint32_t> raw(static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height));
    BITMAPINFO info = TopDown32(pixels.width, pixels.height);
    WindowDc screen(nullptr);
    if (!GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(pixels.height), raw.data(), &info, DIB_RGB_COLORS))
        throw std::runtime_error("GetDIBits failed");
    pixels.values.reserve(raw.size());
    for (std::uint32_t value : raw) pixels.values.push_back(SwapRedBlue(value & 0xFFFFFFu));
    return pixels;
}

BitmapHandle MonochromeBitmap(int width, int height, const std::vector<std::uint8_t>& rows) {
    // In: rows padded to 4 bytes; a monochrome device bitmap takes them
    // padded to 2.
    const std::size_t inStride = static_cast<std::size_t>((width + 31) / 32) * 4;
    const std::size_t outStride = static_cast<std::size_t>((width + 15) / 16) * 2;
    if (rows.size() < inStride * static_cast<std::size_t>(height)) throw std::invalid_argument("bitmap rows too short");
    std::vector<std::uint8_t> words(outStride * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (std::size_t i = 0; i < outStride; ++i) words[y * outStride + i] = rows[y * inStride + i];
    return BitmapHandle(CreateBitmap(width, height, 1, 1, words.data()));
}

}  // namespace sorv::tk
