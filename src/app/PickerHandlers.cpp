// SPDX-License-Identifier: MIT
// The pattern picker in the window: its panel, page number, paging buttons,
// cursor timer and statistics around the picker's drawing, and its keys,
// mouse and buttons. PickPattern_Click waits while the panel is open.
#include "app/Main.h"

namespace cluemill {

void Main::PickPattern_Click() {
    Form.ButtonSolve.Enabled = false;
    Form.CommandGenerate.Caption = "Generate Sudokus";
    if (Library.PatternCount == 0) return;
    Form.Picture3.Visible = true;
    if (!Picker.Layout(Library.PatternCount)) {  // a drawing area too small for one thumbnail
        Form.Picture3.Visible = false;
        return;
    }
    PaintPickPage();
    EnablePageButtons();
    PickerOpen = true;
    Platform.SetFocus(Form.Picture4);
    while (Form.Picture3.Visible && Form.Picture4.Visible) Platform.WaitEvents();
    PickerOpen = false;
    if (Picker.PickSel == -1) {
        DisplayPerformance();
        return;
    }
    Library.CurrentPattern = Picker.PickSel + 1;
    Form.PreviousPattern.Enabled = Library.CurrentPattern != 1;
    Form.NextPattern.Enabled = Library.CurrentPattern != Library.PatternCount;
    DisplayPattern();
}

void Main::PaintPickPage() {
    Picker.PaintPage(Library);
    if (Library.PatternCount == 0) return;
    Form.LabelPage.Caption = std::to_string(Picker.PickPage + 1);
    ShowPickCursor();
}

void Main::ShowPickCursor() {
    Picker.PickCursorColor = Picker::kPaletteWhite;
    Picker.DrawFrame(Picker.PickCursorColor);
    DisplayPickPerformance();
    Form.Timer1.SetEnabled(true);
}

void Main::HidePickCursor() {
    Picker.DrawFrame(Picker::kPaletteBlack);
}

void Main::EnablePageButtons() {
    const auto enabled = Picker.PageButtons();
    Form.KnopHome.Enabled = enabled[0];
    Form.KnopPageUp.Enabled = enabled[1];
    Form.KnopPageDown.Enabled = enabled[2];
    Form.KnopEnd.Enabled = enabled[3];
}

// Events of the picker's panel that arrive after it has closed (the button
// release of a double click that chose a pattern, a timer tick queued
// before) belong to no picker any more and change nothing.
bool Main::PickerShown() const {
    return Form.Picture3.Visible;
}

void Main::PageButton_Click(int key) {
    if (!PickerShown()) return;
    Form.Timer1.SetEnabled(false);
    Picker.Move(key, Library.PatternCount);
    PaintPickPage();
    EnablePageButtons();
    Platform.SetFocus(Form.Picture4);
}

void Main::KnopHome_Click() {
    PageButton_Click(Picker::kHome);
}
void Main::KnopPageUp_Click() {
    PageButton_Click(Picker::kPageUp);
}
void Main::KnopPageDown_Click() {
    PageButton_Click(Picker::kPageDown);
}
void Main::KnopEnd_Click() {
    PageButton_Click(Picker::kEnd);
}

void Main::ClosePicker(int result) {
    Form.Timer1.SetEnabled(false);
    Picker.PickSel = result;
    Form.Picture3.Visible = false;
}

void Main::Picture4_KeyDown(int keyCode, int shift) {
    if (!PickerShown()) return;
    if (shift != 0) {
        Picker.PickKey = 0;
        return;
    }
    if (keyCode == Picker::kEscape) {
        ClosePicker(-1);
    } else if (keyCode == Picker::kReturn) {
        ClosePicker(static_cast<int>(Picker.Highlighted()));
    } else if (keyCode >= Picker::kPageUp && keyCode <= Picker::kDown) {
        Picker.PickKey = keyCode;
        if (Picker.PickRepeat == 0) Timer1_Timer();
    } else {
        Picker.PickKey = 0;
    }
}

void Main::Picture4_KeyUp() {
    Picker.PickKey = 0;
}

void Main::Timer1_Timer() {
    if (Library.PatternCount == 0 || !PickerShown()) return;
    if (Picker.PickKey != 0) {
        Picker.PickRepeat = 1;
        Form.Timer1.SetEnabled(false);
        Picker.Move(Picker.PickKey, Library.PatternCount);
        PaintPickPage();
        EnablePageButtons();
        Platform.SetFocus(Form.Picture4);
        return;
    }
    Picker.PickRepeat = 0;
    Picker.PickCursorColor =
        Picker.PickCursorColor > 0 ? Picker::kPaletteBlack : Picker::kPaletteWhite;
    Picker.DrawFrame(Picker.PickCursorColor);
}

void Main::Picture4_MouseUp(int button, int shift, double x, double y) {
    (void)shift;
    if (Library.PatternCount == 0 || !PickerShown()) return;
    const std::optional<int> place = Picker.PlaceAt(x, y, Library.PatternCount);
    if (!place) return;
    HidePickCursor();
    Picker.PickSel = *place;
    ShowPickCursor();
    if (button == 2) ClosePicker(-1);
}

void Main::Picture4_DblClick() {
    if (!PickerShown()) return;
    ClosePicker(static_cast<int>(Picker.Highlighted()));
}

}  // namespace cluemill
