#pragma once
// The title bar's colour gradient: NumColors bands of equal share from the
// left colour to the right one, and when the gradient is drawn at all.
#include <cstdint>
#include <vector>

namespace sorv::caption {

// When the gradient is used instead of the solid caption colour.
enum class TGradEnabled : std::uint8_t { geAlways, geNever, geWhenActive, geSmart };

// number * numerator / denominator through 64 bits, rounded to the nearest
// (halves away from zero), as the platform's MulDiv; -1 when the denominator
// is 0 or the result does not fit.
int MulDiv(int number, int numerator, int denominator);

// Colours are 0x00BBGGRR, as the platform's COLORREF.
struct Band {
    int left = 0;
    int right = 0;
    std::uint32_t color = 0;
    friend bool operator==(const Band&, const Band&) = default;
};

// The bands covering [left, right); a band may be zero pixels wide when the
// area is narrower than the number of bands. The last band has exactly the
// end colour, and with one band the start colour fills everything.
std::vector<Band> GradientBands(int left, int right, int numColors, std::uint32_t from, std::uint32_t to);

// geSmart: only where the colours can show it (more than 8 bits per pixel,
// or exactly 8 while active).
bool GradientOn(TGradEnabled enabled, bool active, int bitsPerPixel);

}  // namespace sorv::caption
