#include "pixel_bitmaps.h"

namespace sorv::tb97 {
namespace {

BITMAPINFO TopDown(int width, int height, WORD bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bits;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

std::uint32_t ToPixel(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

COLORREF ToColorRef(std::uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

PixelImage ReadPixels(HBITMAP bitmap) {
    BITMAP header{};
    if (!bitmap || !GetObjectW(bitmap, sizeof header, &header) || header.bmWidth <= 0 || header.bmHeight <= 0) {
        return {};
    }
    PixelImage image(header.bmWidth, header.bmHeight);
    BITMAPINFO info = TopDown(image.width, image.height, 32);
    const tk::WindowDc screen(nullptr);
    // A 32-bit DIB pixel read as a number is 0xAARRGGBB; the top byte is noise.
    if (GetDIBits(screen.get(), bitmap, 0, image.height, image.pixels.data(), &info, DIB_RGB_COLORS) == 0) return {};
    for (std::uint32_t& pixel : image.pixels) pixel &= 0xFFFFFF;
    return image;
}

Bitmask ReadMask(HBITMAP bitmap) {
    const PixelImage pixels = ReadPixels(bitmap);
    Bitmask mask(pixels.width, pixels.height);
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) mask.Set(x, y, pixels.At(x, y) == kWhite);
    }
    return mask;
}

tk::BitmapHandle MakeColourBitmap(const PixelImage& image) {
    BITMAPINFO info = TopDown(image.width, image.height, 24);
    void* bits = nullptr;
    tk::BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return bitmap;
    const int stride = (image.width * 3 + 3) / 4 * 4;
    auto* rows = static_cast<unsigned char*>(bits);
    for (int y = 0; y < image.height; ++y) {
        unsigned char* p = rows + std::size_t(y) * stride;
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t pixel = image.At(x, y);
            *p++ = pixel & 0xFF;
            *p++ = (pixel >> 8) & 0xFF;
            *p++ = (pixel >> 16) & 0xFF;
        }
    }
    GdiFlush();
    return bitmap;
}

tk::BitmapHandle MakeMaskBitmap(const Bitmask& mask) {
    // Monochrome rows of CreateBitmap are padded to 16 bits.
    const int stride = (mask.width + 15) / 16 * 2;
    std::vector<unsigned char> bits(std::size_t(stride) * mask.height, 0);
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (mask.At(x, y)) bits[std::size_t(y) * stride + x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        }
    }
    return tk::BitmapHandle(CreateBitmap(mask.width, mask.height, 1, 1, bits.data()));
}

}  // namespace sorv::tb97
