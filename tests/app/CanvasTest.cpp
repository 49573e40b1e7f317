// SPDX-License-Identifier: MIT
// The pixel canvas: what a fresh, a drawn and a cleared surface hold, pixel
// by pixel and row by row, and drawing that falls outside it.
#include <gtest/gtest.h>

#include <string>

#include "patterns/Canvas.h"

namespace cluemill {
namespace {

// The canvas's pixels, read both ways, as rows of '.' (background), 'r'
// (red) and '#' (black).
std::string Picture(const PixelCanvas& canvas) {
    std::string picture;
    for (int y = 0; y < canvas.ScaleHeight(); ++y) {
        for (int x = 0; x < canvas.ScaleWidth(); ++x) {
            const Colour c = canvas.Pixel(x, y);
            EXPECT_EQ(canvas.Row(y)[x], c) << x << ", " << y;
            picture += c == kWindowBackground ? '.' : c == kRed ? 'r' : c == kBlack ? '#' : '?';
        }
        picture += '/';
    }
    return picture;
}

TEST(PixelCanvas, DrawsInsideItsEdgesAndClearsEveryRow) {
    PixelCanvas canvas(7, 5);
    EXPECT_EQ(Picture(canvas), "......./......./......./......./......./");
    canvas.Clear();                        // nothing drawn yet
    canvas.FillBox(-3, -3, -1, 10, kRed);  // wholly left of it
    canvas.FillBox(7, 0, 9, 4, kRed);      // wholly right of it
    canvas.FillBox(5, 3, 9, 9, kBlack);    // the bottom right corner
    canvas.DrawBox(3, 1, 0, 3, kRed);      // corners in any order
    canvas.DrawLine(6, 0, 4, 0, kBlack);
    canvas.DrawLine(0, 0, 6, 4, kBlack);  // slanted: nothing
    EXPECT_EQ(Picture(canvas), "....###/rrrr.../r..r.../rrrr.##/.....##/");
    EXPECT_EQ(canvas.Pixel(7, 3), kWindowBackground);
    EXPECT_EQ(canvas.Pixel(-1, 0), kWindowBackground);
    EXPECT_EQ(canvas.Version(), 9U);
    canvas.FillBox(0, 0, 6, 4, kRed);
    canvas.Clear();
    EXPECT_EQ(Picture(canvas), "......./......./......./......./......./");

    PixelCanvas empty(0, 4);
    empty.Clear();
    empty.FillBox(0, 0, 3, 3, kRed);
    EXPECT_EQ(empty.Pixel(0, 0), kWindowBackground);
}

}  // namespace
}  // namespace cluemill
