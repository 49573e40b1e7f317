// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "patterns/Canvas.h"
#include "patterns/PatternLibrary.h"
#include "solver/Geometry.h"

namespace cluemill {

// The pattern picker: the library as pages of 41 x 41 thumbnails on its
// canvas, one per place of a grid of 48-pixel places, and a cursor frame
// around the highlighted place. It keeps the page shown and the place
// highlighted and knows the navigation rules; what the window shows around
// it (page number, paging buttons, statistics) is the window's.
class Picker {
  public:
    // Navigation keys as the keyboard reports them.
    enum Key {
        kReturn = 13,
        kEscape = 27,
        kPageUp = 33,
        kPageDown = 34,
        kEnd = 35,
        kHome = 36,
        kLeft = 37,
        kUp = 38,
        kRight = 39,
        kDown = 40
    };
    // The cursor's palette colours.
    static constexpr int kPaletteWhite = 15;
    static constexpr int kPaletteBlack = 0;

    // A canvas of the designed drawing area, 541 x 429 pixels.
    Picker() : canvas_(541, 429) {}

    PixelCanvas& Canvas() { return canvas_; }
    const PixelCanvas& Canvas() const { return canvas_; }

    // Places per row and column, per page, the pages for `count` patterns;
    // the first page, its first place. False when not one place fits.
    bool Layout(std::int32_t count);
    // The page's grid and thumbnails (records read from the library).
    void PaintPage(const PatternLibrary& library);
    void PaintGrid();
    void PaintPattern(const Pattern& clues, int xOffset, int yOffset);
    // The frame of the highlighted place in a palette colour.
    void DrawFrame(int paletteColour);
    // The rule of a navigation key or paging button over `count` patterns.
    void Move(int key, std::int32_t count);
    // The place (on the page) under pixel (x, y), when a pattern is shown there.
    std::optional<int> PlaceAt(double x, double y, std::int32_t count) const;
    // Which of Home, Page Up, Page Down and End can act.
    std::array<bool, 4> PageButtons() const;
    // The library index (from 0) of the highlighted pattern.
    std::int64_t Highlighted() const {
        return static_cast<std::int64_t>(PickPage) * PickPerPage + PickSel;
    }

    // Places per row and per column, places per page, pages, the page shown,
    // and the highlighted place on it (while open; the chosen index, or -1,
    // once closed), the key waiting for the timer, 1 after the timer moved
    // the cursor, and the cursor's palette colour.
    int PickCols = 0;
    int PickRows = 0;
    int PickPerPage = 0;
    int PickPages = 0;
    int PickPage = 0;
    int PickSel = 0;
    int PickKey = 0;
    int PickRepeat = 0;
    int PickCursorColor = 0;

  private:
    PixelCanvas canvas_;
};

}  // namespace cluemill
