// SPDX-License-Identifier: MIT
#include "patterns/Canvas.h"

#include <algorithm>
#include <utility>

namespace cluemill {

PixelCanvas::PixelCanvas(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
              kWindowBackground) {}

void PixelCanvas::Clear() {
    // One row is filled and copied to the others: a sanitizer build checks a
    // fill pixel by pixel, a copy once.
    if (!pixels_.empty()) {
        const auto first = pixels_.begin();
        const auto second = first + width_;
        std::fill(first, second, kWindowBackground);
        for (auto row = second; row != pixels_.end(); row += width_) std::copy(first, second, row);
    }
    ++version_;
}

void PixelCanvas::DrawLine(int x1, int y1, int x2, int y2, Colour colour) {
    if (x1 == x2 || y1 == y2) FillBox(x1, y1, x2, y2, colour);
}

void PixelCanvas::DrawBox(int x1, int y1, int x2, int y2, Colour colour) {
    FillBox(x1, y1, x2, y1, colour);
    FillBox(x1, y2, x2, y2, colour);
    FillBox(x1, y1, x1, y2, colour);
    FillBox(x2, y1, x2, y2, colour);
}

void PixelCanvas::FillBox(int x1, int y1, int x2, int y2, Colour colour) {
    ++version_;
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width_ - 1);
    y2 = std::min(y2, height_ - 1);
    if (x1 > x2 || y1 > y2) return;
    Colour* pixels = pixels_.data();
    for (int y = y1; y <= y2; ++y) {
        Colour* row = pixels + static_cast<std::size_t>(y) * width_;
        std::fill(row + x1, row + x2 + 1, colour);
    }
}

Colour PixelCanvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kWindowBackground;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

}  // namespace cluemill
