// SPDX-License-Identifier: MIT
// The picker's pages of thumbnails, its cursor frame and its navigation.
#include "patterns/Picker.h"

#include <algorithm>
#include <vector>

namespace cluemill {

namespace {

constexpr int kCellPitch = 48;  // a thumbnail's place is at least this wide and high
constexpr int kThumbnailSpan = 40;

Colour PaletteColour(int index) {
    return index == Picker::kPaletteWhite ? kWhite : kBlack;
}

// Whole-number part of a non-negative quotient as the layout computes it:
// in double precision, a / b.
int Whole(double value) {
    return static_cast<int>(value);
}

}  // namespace

bool Picker::Layout(std::int32_t count) {
    PickRows = canvas_.ScaleHeight() / kCellPitch;
    PickCols = canvas_.ScaleWidth() / kCellPitch;
    PickPerPage = PickRows * PickCols;
    if (PickPerPage == 0) return false;
    PickPages = count / PickPerPage + (count % PickPerPage != 0 ? 1 : 0);
    PickPage = 0;
    PickSel = 0;
    return true;
}

void Picker::PaintPage(const PatternLibrary& library) {
    PaintGrid();  // clears the surface first
    if (library.PatternCount == 0) return;
    const double width = canvas_.ScaleWidth();
    const double height = canvas_.ScaleHeight();
    const std::int64_t first = static_cast<std::int64_t>(PickPage) * PickPerPage;
    const auto shown = static_cast<std::int32_t>(
        std::min<std::int64_t>(PickPerPage, library.PatternCount - first));
    // The page's records in one read: paging through a large library opens
    // the file once a page, not once a thumbnail.
    const std::vector<PatternRecord> records =
        library.ReadPatternRecords(static_cast<std::int32_t>(first + 1), shown);
    for (int k = 0; k < static_cast<int>(records.size()); ++k) {
        const int x = Whole((k % PickCols) * (width / PickCols)) + 5;
        const int y = Whole((k / PickCols) * (height / PickRows)) + 5;
        PaintPattern(DecodePattern(records[static_cast<std::size_t>(k)].PatternCode), x, y);
    }
}

void Picker::PaintGrid() {
    const int width = canvas_.ScaleWidth();
    const int height = canvas_.ScaleHeight();
    canvas_.Clear();
    canvas_.DrawBox(0, 0, width - 1, height - 1, kBlack);
    for (int i = 1; i < PickRows; ++i) {
        const int y = Whole(static_cast<double>(i * height) / PickRows);
        canvas_.DrawLine(0, y, width - 1, y, kBlack);
    }
    for (int i = 1; i < PickCols; ++i) {
        const int x = Whole(static_cast<double>(i * width) / PickCols);
        canvas_.DrawLine(x, 0, x, height - 1, kBlack);
    }
}

// A 41 x 41 thumbnail: each box has its own outline inside the grid lines,
// so box borders show as double lines, and each cell keeps a 3 x 3 interior
// that is filled red for a clue.
//
//   X  X+1   X+5  X+9  X+13 X+14
//   |  |     |    |    |    |
//   +--+-----+----+----+----+--  Y
//   |  +-----+----+----+    +--  Y+1
//   |  | ### |    |    |    |
//   |  +-----+----+----+    ...  Y+5
void Picker::PaintPattern(const Pattern& clues, int xOffset, int yOffset) {
    canvas_.DrawBox(xOffset, yOffset, xOffset + kThumbnailSpan, yOffset + kThumbnailSpan, kBlack);
    for (int i = 0; i < 3; ++i) {
        for (int offset : {5 + 13 * i, 9 + 13 * i}) {
            canvas_.DrawLine(xOffset + offset, yOffset, xOffset + offset, yOffset + kThumbnailSpan,
                             kBlack);
            canvas_.DrawLine(xOffset, yOffset + offset, xOffset + kThumbnailSpan, yOffset + offset,
                             kBlack);
        }
        for (int j = 0; j < 3; ++j) {
            canvas_.DrawBox(xOffset + 1 + 13 * i, yOffset + 1 + 13 * j, xOffset + 13 + 13 * i,
                            yOffset + 13 + 13 * j, kBlack);
        }
    }
    for (int cell = 0; cell < kCells; ++cell) {
        if (!clues[cell]) continue;
        const int row = cell / 9;
        const int column = cell % 9;
        const int x1 = xOffset + 4 * column + column / 3 + 2;
        const int y1 = yOffset + 4 * row + row / 3 + 2;
        canvas_.FillBox(x1, y1, x1 + 2, y1 + 2, kRed);
    }
}

void Picker::DrawFrame(int paletteColour) {
    const int width = canvas_.ScaleWidth();
    const int height = canvas_.ScaleHeight();
    const int c = PickSel % PickCols;
    const int r = PickSel / PickCols;
    const auto edge = [](int i, int count, int size) {
        return Whole(static_cast<double>(i * size) / count);
    };
    const int left = c == 0 ? 0 : edge(c, PickCols, width);
    const int top = r == 0 ? 0 : edge(r, PickRows, height);
    const int right = c == 0              ? Whole(static_cast<double>(width) / PickCols)
                      : c == PickCols - 1 ? width - 1
                                          : edge(c + 1, PickCols, width);
    const int bottom = r == 0              ? Whole(static_cast<double>(height) / PickRows)
                       : r == PickRows - 1 ? height - 1
                                           : edge(r + 1, PickRows, height);
    canvas_.DrawBox(left, top, right, bottom, PaletteColour(paletteColour));
}

std::array<bool, 4> Picker::PageButtons() const {
    const bool first = PickPage == 0;
    const bool last = PickPage == PickPages - 1;
    const bool several = PickPages >= 2;
    return {several && !first, several && !first, several && (first || !last),
            several && (first || !last)};
}

void Picker::Move(int key, std::int32_t count) {
    const std::int64_t index = Highlighted();
    switch (key) {
        case kPageUp:
            if (PickPage != 0) --PickPage;
            break;
        case kPageDown:
            if (PickPage < PickPages - 1) {
                ++PickPage;
                const std::int64_t first = static_cast<std::int64_t>(PickPage) * PickPerPage;
                if (first + PickSel > count - 1) PickSel = static_cast<int>(count - 1 - first);
            }
            break;
        case kEnd:
            PickPage = PickPages - 1;
            PickSel =
                static_cast<int>(count - 1 - static_cast<std::int64_t>(PickPage) * PickPerPage);
            break;
        case kHome:
            PickPage = 0;
            PickSel = 0;
            break;
        case kLeft:
            if (PickSel != 0) {
                --PickSel;
            } else if (PickPage != 0) {
                --PickPage;
                PickSel = PickPerPage - 1;
            }
            break;
        case kUp:
            if (PickSel >= PickCols) {
                PickSel -= PickCols;
            } else if (PickPage != 0) {
                --PickPage;
                PickSel = PickSel - PickCols + PickPerPage;
            }
            break;
        case kRight:
            if (index < count - 1) {
                if (PickSel >= PickPerPage - 1) {
                    PickSel = 0;
                    ++PickPage;
                } else {
                    ++PickSel;
                }
            }
            break;
        case kDown:
            if (index + PickCols <= count - 1) {
                if (PickCols + PickSel > PickPerPage - 1) {
                    ++PickPage;
                    PickSel = PickCols + PickSel - PickPerPage;
                } else {
                    PickSel += PickCols;
                }
            }
            break;
        default:
            break;
    }
}

std::optional<int> Picker::PlaceAt(double x, double y, std::int32_t count) const {
    const int r = Whole(y / (static_cast<double>(canvas_.ScaleHeight()) / PickRows));
    const int c = Whole(x / (static_cast<double>(canvas_.ScaleWidth()) / PickCols));
    // A button released outside the drawing area (it was pressed inside)
    // is no click on a thumbnail.
    if (x < 0 || y < 0 || r >= PickRows || c >= PickCols) return std::nullopt;
    const int k = PickCols * r + c;
    if (static_cast<std::int64_t>(k) + static_cast<std::int64_t>(PickPage) * PickPerPage >
        count - 1) {
        return std::nullopt;
    }
    return k;
}

}  // namespace cluemill
