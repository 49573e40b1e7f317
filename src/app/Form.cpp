// SPDX-License-Identifier: MIT
#include "app/Form.h"

namespace cluemill {

const char* const kDropInstructions =
    "Drag and Drop any sudoku text-file (*.txt) in this \r\n"
    "rectangle. The sudoku text must contain a \r\n"
    "contigious string of 81 digits whereof the unsolved \r\n"
    "values must be [.] or [0]\r\n"
    "\r\n"
    "OR\r\n"
    "\r\n"
    "type or paste the string in the textbox at the bottom \r\n"
    "of this window\r\n"
    "\r\n"
    "then... press the [Check...] button.\r\n";

namespace {

constexpr std::array<const char*, 6> kClassLines = {"Very Easy : 00.00 %", "Easy : 00.00 %",
                                                    "Medium : 00.00 %",    "Hard : 00.00 %",
                                                    "Very Hard : 00.00 %", "Others : 00.00 %"};

}  // namespace

Form::Form() {
    Main.Caption = "Cluemill";

    static constexpr const char* kRows = "ABCDEFGHJ";
    for (int i = 0; i < 9; ++i) {
        LabelRow[i].Caption = std::string(1, kRows[i]);
        LabelColumn[i].Caption = std::string(1, static_cast<char>('1' + i));
    }

    PatternName.Caption = "Pattern name:";
    DrawSymmetry.List = {"none", "half turn", "quarter turn", "mirror", "diagonal"};
    DrawSymmetry.ListIndex = 0;
    CommandForecast.Caption = "Forecast";
    NewPattern.Caption = "New";
    PreviousPattern.Caption = "Prev";
    NextPattern.Caption = "Next";
    ImportPattern.Caption = "Import";
    PickPattern.Caption = "Pick";

    CommandGenerate.Caption = "Generate Sudokus";
    CommandHalt.Caption = "Halt Generator";
    CommandHalt.Visible = false;
    Frame1.Caption = "Generator Modifications";
    CheckRandomPattern.Caption = "Random patterns";
    CheckMinimal.Caption = "Check Minimal";
    Label3[0].Caption = "Renew base givens after";
    Label3[1].Caption = "invalid grids";
    Combo1.List = {"250", "500", "1000", "2500", "5000", "10000", "25000", "50000"};
    Frame2.Caption = "To gain uniqueness, expand pattern with...";
    Option1[0].Caption = "Don't expand, seek sequential";
    Option1[0].Value = true;
    Option1[1].Caption = "1 Cell (don't take long)";
    Option1[2].Caption = "2 Cells (can take long)";
    Option1[3].Caption = "3 Cells (will take very long)";
    CheckLimit.Caption = "Limited to \"Very Hard\"";

    Label4.Caption = "Select output file-type =>";
    Combo2.List = {"Tavix Sudoku",     "Simple Sudoku", "Sudocue",      "Into Sudoku",
                   "Sudoku Explainer", "81 char $ (.)", "81 char $ (0)"};
    File2.Visible = false;

    Frame3.Caption = "Pattern Performance";
    Label6[0].Caption = "Non-Minimal";
    Label6[1].Caption = "Not Expanded";
    Label6[8].Caption = "Expanded";
    Label6[15].Caption = "Minimal";
    for (int block : {2, 9, 16}) {
        for (int c = 0; c < 6; ++c) Label6[block + c].Caption = kClassLines[c];
    }

    Text1.Text = kDropInstructions;
    Text1.Locked = true;
    ButtonSolve.Caption = "Check  Uniqueness";
    ButtonSolve.Enabled = false;
    TestMinimal.Caption = "Check Minimal";

    Picture1.Visible = false;
    Label1.Caption = "QUESTION";
    Label2.Caption = "Import this pattern ?";
    CommandYes.Caption = "Yes";
    CommandNo.Caption = "No";
    CommandCancel.Caption = "Cancel";

    Picture3.Visible = false;
    KnopHome.Caption = "|<";
    KnopPageUp.Caption = "<";
    KnopPageDown.Caption = ">";
    KnopEnd.Caption = ">|";
    Label7.Caption = "Page";
    LabelPage.Caption = "1";
    Label5.Caption =
        "You can navigate with cursor keys, press [Return] or DoubleClick to select pattern, "
        "[Escape] or RightClick to cancel";
    Timer1.SetInterval(180);

    ButtonExit.Caption = "Exit";
}

}  // namespace cluemill
