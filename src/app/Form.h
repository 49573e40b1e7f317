// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "patterns/Canvas.h"

namespace cluemill {

// The window's controls as plain data. The engine reads and writes these; the
// window face keeps each widget in step with its control. A control's
// properties are the ones the program uses, named as the program names them.
struct Control {
    bool Enabled = true;
    bool Visible = true;
};

struct Label : Control {
    std::string Caption;
    Colour BackColor = kWindowBackground;
    Colour ForeColor = kBlack;
};

struct CommandButton : Control {
    std::string Caption;
};

// Value 0 = not ticked, 1 = ticked.
struct CheckBox : Control {
    std::string Caption;
    int Value = 0;
};

struct OptionButton : Control {
    std::string Caption;
    bool Value = false;
};

struct ComboBox : Control {
    std::vector<std::string> List;
    int ListIndex = -1;  // -1 = nothing selected
    bool Locked = false;
    // The selected entry, or "" when none is.
    std::string Text() const {
        return ListIndex >= 0 && ListIndex < static_cast<int>(List.size()) ? List[ListIndex]
                                                                           : std::string();
    }
};

// SelStart is the caret position (characters before it), SelLength the
// length of the selection.
struct TextBox : Control {
    std::string Text;
    std::int64_t SelStart = 0;
    std::int64_t SelLength = 0;
    bool Locked = false;
};

struct Frame : Control {
    std::string Caption;
};

struct Line : Control {};

struct PictureBox : Control {};

// A periodic timer. Switching it on, or giving it another interval, starts
// its period afresh, also when a handler switches it off and on again before
// the window looks: Starts counts those restarts.
class Timer {
  public:
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on) {
        if (on && !enabled_) ++starts_;
        enabled_ = on;
    }
    // Milliseconds.
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds) {
        if (milliseconds != interval_ && enabled_) ++starts_;
        interval_ = milliseconds;
    }
    std::uint64_t Starts() const { return starts_; }

  private:
    bool enabled_ = false;
    int interval_ = 0;
    std::uint64_t starts_ = 0;
};

struct PanelBar : Control {
    std::array<std::string, 6> Panels;
};

// Lists the files of Path whose names match Pattern ("?" = any one character).
struct FileList : Control {
    std::string Path;
    std::string Pattern;
};

// The main window itself. Lengths in twips (15 per pixel).
struct Window {
    std::string Caption;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// Every control of the main window, with its design-time captions and states.
struct Form {
    Form();

    Window Main;

    std::array<Label, 81> Grid;
    std::array<Label, 9> LabelRow;
    std::array<Label, 9> LabelColumn;
    std::array<Line, 2> Line1;
    std::array<Line, 2> Line2;
    Line Line3;

    Label PatternName;
    // The drawn pattern's clue count and symmetry, beside its name.
    Label PatternInfo;
    // The symmetry a click on the grid keeps: "none", "half turn", "quarter
    // turn", "mirror", "diagonal".
    ComboBox DrawSymmetry;
    // What the drawn pattern will give: a short sample run.
    CommandButton CommandForecast;
    CommandButton NewPattern;
    CommandButton PreviousPattern;
    CommandButton NextPattern;
    CommandButton ImportPattern;
    CommandButton PickPattern;

    CommandButton CommandGenerate;
    CommandButton CommandHalt;
    Frame Frame1;
    CheckBox CheckRandomPattern;
    CheckBox CheckMinimal;
    std::array<Label, 2> Label3;
    ComboBox Combo1;
    Frame Frame2;
    std::array<OptionButton, 4> Option1;
    CheckBox CheckLimit;

    Label Label4;
    ComboBox Combo2;
    FileList File2;
    PanelBar StatusBar;

    Frame Frame3;
    std::array<Label, 22> Label6;

    TextBox Text2;
    TextBox Text1;
    CommandButton ButtonSolve;
    CheckBox TestMinimal;

    // The question panel of the pattern import.
    PictureBox Picture1;
    PictureBox Picture2;
    Label Label1;
    Label Label2;
    CommandButton CommandYes;
    CommandButton CommandNo;
    CommandButton CommandCancel;

    // The pattern picker panel.
    PictureBox Picture3;
    // The picker's drawing area (its pixels are the picker's canvas).
    PictureBox Picture4;
    CommandButton KnopHome;
    CommandButton KnopPageUp;
    CommandButton KnopPageDown;
    CommandButton KnopEnd;
    Label Label7;
    Label LabelPage;
    Label Label5;
    Timer Timer1;

    CommandButton ButtonExit;
};

// The instruction text of Text1: eleven lines, each ended by CR LF.
extern const char* const kDropInstructions;

}  // namespace cluemill
