// SPDX-License-Identifier: MIT
// The pattern picker: the library as pages of thumbnails on Picture4, a
// blinking frame around the highlighted one, chosen with keys, the paging
// buttons or the mouse. PickPattern_Click waits while the panel is open.
#include "app/Main.h"
#include "output/Performance.h"

namespace cluemill {

namespace {

constexpr int kCellPitch = 48;  // a thumbnail's place is at least this wide and high
constexpr int kThumbnailSpan = 40;

// Palette colours of the cursor frame.
constexpr int kPaletteWhite = 15;
Colour PaletteColour(int index) {
    return index == kPaletteWhite ? kWhite : kBlack;
}

// Whole-number part of a non-negative quotient as the layout computes it:
// in double precision, a / b.
int Whole(double value) {
    return static_cast<int>(value);
}

enum Key {
    kEscape = 27,
    kReturn = 13,
    kPageUp = 33,
    kPageDown = 34,
    kEnd = 35,
    kHome = 36,
    kLeft = 37,
    kUp = 38,
    kRight = 39,
    kDown = 40
};

}  // namespace

void Main::PickPattern_Click() {
    Form.ButtonSolve.Enabled = false;
    Form.CommandGenerate.Caption = "Generate Sudokus";
    if (Library.PatternCount == 0) return;
    Form.Picture3.Visible = true;
    const Canvas& canvas = Form.Picture4.Surface;
    PickRows = canvas.ScaleHeight() / kCellPitch;
    PickCols = canvas.ScaleWidth() / kCellPitch;
    PickPerPage = PickRows * PickCols;
    if (PickPerPage == 0) {  // a drawing area too small for one thumbnail
        Form.Picture3.Visible = false;
        return;
    }
    PickPages =
        Library.PatternCount / PickPerPage + (Library.PatternCount % PickPerPage != 0 ? 1 : 0);
    PickPage = 0;
    PickSel = 0;
    PaintPickPage();
    EnablePageButtons();
    PickerOpen = true;
    Platform.SetFocus(Form.Picture4);
    while (Form.Picture3.Visible && Form.Picture4.Visible) Platform.WaitEvents();
    PickerOpen = false;
    if (PickSel == -1) {
        DisplayPerformance();
        return;
    }
    Library.CurrentPattern = PickSel + 1;
    Form.PreviousPattern.Enabled = Library.CurrentPattern != 1;
    Form.NextPattern.Enabled = Library.CurrentPattern != Library.PatternCount;
    DisplayPattern();
}

void Main::PaintPickPage() {
    const Canvas& canvas = Form.Picture4.Surface;
    PaintPickGrid();  // clears the surface first
    if (Library.PatternCount == 0) return;
    const double width = canvas.ScaleWidth();
    const double height = canvas.ScaleHeight();
    const std::int64_t first = static_cast<std::int64_t>(PickPage) * PickPerPage;
    const auto shown = static_cast<std::int32_t>(
        std::min<std::int64_t>(PickPerPage, Library.PatternCount - first));
    // The page's records in one read: paging through a large library opens
    // the file once a page, not once a thumbnail.
    const std::vector<PatternRecord> records =
        Library.ReadPatternRecords(static_cast<std::int32_t>(first + 1), shown);
    for (int k = 0; k < static_cast<int>(records.size()); ++k) {
        const int x = Whole((k % PickCols) * (width / PickCols)) + 5;
        const int y = Whole((k / PickCols) * (height / PickRows)) + 5;
        PaintPattern(DecodePattern(records[static_cast<std::size_t>(k)].PatternCode), x, y);
    }
    Form.LabelPage.Caption = std::to_string(PickPage + 1);
    ShowPickCursor();
}

void Main::PaintPickGrid() {
    Canvas& canvas = Form.Picture4.Surface;
    const int width = canvas.ScaleWidth();
    const int height = canvas.ScaleHeight();
    canvas.Clear();
    canvas.DrawBox(0, 0, width - 1, height - 1, kBlack);
    for (int i = 1; i < PickRows; ++i) {
        const int y = Whole(static_cast<double>(i * height) / PickRows);
        canvas.DrawLine(0, y, width - 1, y, kBlack);
    }
    for (int i = 1; i < PickCols; ++i) {
        const int x = Whole(static_cast<double>(i * width) / PickCols);
        canvas.DrawLine(x, 0, x, height - 1, kBlack);
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
void Main::PaintPattern(std::int32_t n, int xOffset, int yOffset) {
    PaintPattern(DecodePattern(Library.ReadPatternRecord(n + 1).PatternCode), xOffset, yOffset);
}

void Main::PaintPattern(const Pattern& clues, int xOffset, int yOffset) {
    Canvas& canvas = Form.Picture4.Surface;
    canvas.DrawBox(xOffset, yOffset, xOffset + kThumbnailSpan, yOffset + kThumbnailSpan, kBlack);
    for (int i = 0; i < 3; ++i) {
        for (int offset : {5 + 13 * i, 9 + 13 * i}) {
            canvas.DrawLine(xOffset + offset, yOffset, xOffset + offset, yOffset + kThumbnailSpan,
                            kBlack);
            canvas.DrawLine(xOffset, yOffset + offset, xOffset + kThumbnailSpan, yOffset + offset,
                            kBlack);
        }
        for (int j = 0; j < 3; ++j) {
            canvas.DrawBox(xOffset + 1 + 13 * i, yOffset + 1 + 13 * j, xOffset + 13 + 13 * i,
                           yOffset + 13 + 13 * j, kBlack);
        }
    }
    for (int cell = 0; cell < kCells; ++cell) {
        if (!clues[cell]) continue;
        const int row = cell / 9;
        const int column = cell % 9;
        const int x1 = xOffset + 4 * column + column / 3 + 2;
        const int y1 = yOffset + 4 * row + row / 3 + 2;
        canvas.FillBox(x1, y1, x1 + 2, y1 + 2, kRed);
    }
}

void Main::DrawPickFrame(int paletteColour) {
    Canvas& canvas = Form.Picture4.Surface;
    const int width = canvas.ScaleWidth();
    const int height = canvas.ScaleHeight();
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
    canvas.DrawBox(left, top, right, bottom, PaletteColour(paletteColour));
}

void Main::ShowPickCursor() {
    PickCursorColor = kPaletteWhite;
    DrawPickFrame(PickCursorColor);
    DisplayPickPerformance();
    Form.Timer1.SetEnabled(true);
}

void Main::HidePickCursor() {
    DrawPickFrame(0);
}

void Main::EnablePageButtons() {
    const bool first = PickPage == 0;
    const bool last = PickPage == PickPages - 1;
    const bool several = PickPages >= 2;
    Form.KnopHome.Enabled = several && !first;
    Form.KnopPageUp.Enabled = several && !first;
    Form.KnopPageDown.Enabled = several && (first || !last);
    Form.KnopEnd.Enabled = several && (first || !last);
}

void Main::MovePickCursor(int key) {
    const std::int64_t count = Library.PatternCount;
    const std::int64_t index = static_cast<std::int64_t>(PickPage) * PickPerPage + PickSel;
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

void Main::PageButton_Click(int key) {
    if (!PickerShown()) return;
    Form.Timer1.SetEnabled(false);
    MovePickCursor(key);
    PaintPickPage();
    EnablePageButtons();
    Platform.SetFocus(Form.Picture4);
}

void Main::KnopHome_Click() {
    PageButton_Click(kHome);
}
void Main::KnopPageUp_Click() {
    PageButton_Click(kPageUp);
}
void Main::KnopPageDown_Click() {
    PageButton_Click(kPageDown);
}
void Main::KnopEnd_Click() {
    PageButton_Click(kEnd);
}

// Events of the picker's panel that arrive after it has closed (the button
// release of a double click that chose a pattern, a timer tick queued
// before) belong to no picker any more and change nothing.
bool Main::PickerShown() const {
    return Form.Picture3.Visible;
}

void Main::ClosePicker(int result) {
    Form.Timer1.SetEnabled(false);
    PickSel = result;
    Form.Picture3.Visible = false;
}

void Main::Picture4_KeyDown(int keyCode, int shift) {
    if (!PickerShown()) return;
    if (shift != 0) {
        PickKey = 0;
        return;
    }
    if (keyCode == kEscape) {
        ClosePicker(-1);
        return;
    }
    if (keyCode == kReturn) {
        ClosePicker(PickPage * PickPerPage + PickSel);
        return;
    }
    if (keyCode >= kPageUp && keyCode <= kDown) {
        PickKey = keyCode;
        if (PickRepeat == 0) Timer1_Timer();
    } else {
        PickKey = 0;
    }
}

void Main::Picture4_KeyUp() {
    PickKey = 0;
}

void Main::Timer1_Timer() {
    if (Library.PatternCount == 0 || !PickerShown()) return;
    if (PickKey != 0) {
        PickRepeat = 1;
        Form.Timer1.SetEnabled(false);
        MovePickCursor(PickKey);
        PaintPickPage();
        EnablePageButtons();
        Platform.SetFocus(Form.Picture4);
        return;
    }
    PickRepeat = 0;
    PickCursorColor = PickCursorColor > 0 ? 0 : kPaletteWhite;
    DrawPickFrame(PickCursorColor);
}

void Main::Picture4_MouseUp(int button, int shift, double x, double y) {
    (void)shift;
    if (Library.PatternCount == 0 || !PickerShown()) return;
    const Canvas& canvas = Form.Picture4.Surface;
    const int r = Whole(y / (static_cast<double>(canvas.ScaleHeight()) / PickRows));
    const int c = Whole(x / (static_cast<double>(canvas.ScaleWidth()) / PickCols));
    // A button released outside the drawing area (it was pressed inside)
    // is no click on a thumbnail.
    if (x < 0 || y < 0 || r >= PickRows || c >= PickCols) return;
    const int k = PickCols * r + c;
    if (static_cast<std::int64_t>(k) + static_cast<std::int64_t>(PickPage) * PickPerPage >
        Library.PatternCount - 1) {
        return;
    }
    HidePickCursor();
    PickSel = k;
    ShowPickCursor();
    if (button == 2) ClosePicker(-1);
}

void Main::Picture4_DblClick() {
    if (!PickerShown()) return;
    ClosePicker(PickPage * PickPerPage + PickSel);
}

void Main::DisplayPickPerformance() {
    // A record the file does not hold reads blank: all counters 0.
    const PatternRecord record = Library.ReadPatternRecord(
        static_cast<std::int32_t>(static_cast<std::int64_t>(PickPage) * PickPerPage + PickSel + 1));
    ShowPerformance(Form, record.NotExpanded, record.Expanded, record.Minimal, false,
                    Platform.DecimalSeparator(), true);
}

}  // namespace cluemill
