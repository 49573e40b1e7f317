// SPDX-License-Identifier: MIT
// The pixel canvas: what a fresh, a drawn and a cleared surface hold, pixel
// by pixel and row by row, and drawing that falls outside it.
#include <gtest/gtest.h>

#include "patterns/Canvas.h"

namespace cluemill {
namespace {

// Every pixel of the canvas, read both ways, is colour.
void ExpectAll(const PixelCanvas& canvas, Colour colour) {
    for (int y = 0; y < canvas.ScaleHeight(); ++y) {
        const Colour* row = canvas.Row(y);
        for (int x = 0; x < canvas.ScaleWidth(); ++x) {
            ASSERT_EQ(canvas.Pixel(x, y), colour) << x << ", " << y;
            ASSERT_EQ(row[x], colour) << x << ", " << y;
        }
    }
}

TEST(PixelCanvas, NeverDrawnIsBackground) {
    const PixelCanvas canvas(7, 5);
    EXPECT_EQ(canvas.Pixel(0, 0), kWindowBackground);
    EXPECT_EQ(canvas.Pixel(6, 4), kWindowBackground);
    ExpectAll(canvas, kWindowBackground);
    EXPECT_EQ(canvas.Version(), 0U);
}

TEST(PixelCanvas, ClearEmptiesEveryRow) {
    PixelCanvas canvas(7, 5);
    canvas.Clear();  // nothing drawn yet
    ExpectAll(canvas, kWindowBackground);
    canvas.FillBox(0, 0, 6, 4, kRed);
    ExpectAll(canvas, kRed);
    canvas.Clear();
    ExpectAll(canvas, kWindowBackground);
    EXPECT_EQ(canvas.Version(), 3U);
}

TEST(PixelCanvas, FillBoxIsClippedToTheSurface) {
    PixelCanvas canvas(7, 5);
    canvas.FillBox(-3, -3, -1, 10, kRed);  // wholly left of it
    canvas.FillBox(7, 0, 9, 4, kRed);      // wholly right of it
    ExpectAll(canvas, kWindowBackground);
    canvas.FillBox(5, 3, 9, 9, kBlack);  // the bottom right corner
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(canvas.Pixel(x, y), x >= 5 && y >= 3 ? kBlack : kWindowBackground)
                << x << ", " << y;
        }
    }
    EXPECT_EQ(canvas.Pixel(7, 3), kWindowBackground);
    EXPECT_EQ(canvas.Version(), 3U);
}

TEST(PixelCanvas, AnEmptySurfaceDrawsNothing) {
    PixelCanvas canvas(0, 4);
    canvas.Clear();
    canvas.FillBox(0, 0, 3, 3, kRed);
    EXPECT_EQ(canvas.Pixel(0, 0), kWindowBackground);
    EXPECT_EQ(canvas.ScaleWidth(), 0);
}

}  // namespace
}  // namespace cluemill
