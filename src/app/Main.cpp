// SPDX-License-Identifier: MIT
#include "app/Main.h"

namespace cluemill {

Main::Main(cluemill::Platform& platform) : Platform(platform) {}

namespace {

constexpr std::array<const char*, 7> kOutputFolders = {
    "Tavix Sudoku",     "Simple Sudoku",  "Sudocue",         "Into Sudoku",
    "Sudoku Explainer", "Sudoku_81_Char", "Sudoku_81_Char_0"};

}  // namespace

void Main::Form_Load() {
    Library.CurrentPattern = 0;
    HaltRequested = true;
    Generating = false;
    TextInputEnabled = true;
    PickerOpen = false;

    Form.Main.Height = 7440;
    Form.Main.Left = (Platform.ScreenWidth() - Form.Main.Width) / 2;
    Form.Main.Top = (Platform.ScreenHeight() - Form.Main.Height) / 2;

    AppFolder = Platform.ProgramFolder();
    Library.File = AppFolder / "Patterns.rec";
    for (const char* folder : kOutputFolders) {
        std::error_code ignored;  // above all: the folder exists already
        std::filesystem::create_directory(AppFolder / folder, ignored);
    }

    Library.Count();
    Form.PreviousPattern.Enabled = false;
    Form.NextPattern.Enabled = Library.PatternCount != 0;
    Form.PickPattern.Enabled = Library.PatternCount != 0;
    Form.NewPattern.Enabled = true;

    ExpandLevel = 0;
    DisplayPerformance();
    Form.Combo1.ListIndex = 0;
    RenewAfter = std::stoi(Form.Combo1.Text());
    Form.Combo2.ListIndex = 0;
    Combo2_Click();
    CountSudokus();
}

bool Main::Form_QueryUnload() {
    return !Generating && !PickerOpen && !Testing;
}

void Main::ButtonExit_Click() {
    Platform.EndProgram();
}

void Main::SetText2(const std::string& text) {
    Form.Text2.Text = text;
    Text2_Change();
}

}  // namespace cluemill
