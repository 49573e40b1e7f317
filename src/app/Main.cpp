// SPDX-License-Identifier: MIT
// Start-up and shutdown, the output inventory and the statistics display,
// and the writing of an accepted puzzle.
#include "app/Main.h"

#include "output/Inventory.h"
#include "output/Performance.h"
#include "output/PuzzleFormats.h"

namespace cluemill {

namespace {

// Writes the three blocks of statistics into Label6(2..7), Label6(9..14)
// and Label6(16..21).
void ShowPerformance(Form& form, const PatternRecord& record, bool zeroTexts, char separator,
                     bool zeroComma = false) {
    const std::array<const std::array<std::int32_t, 6>*, 3> blocks = {
        &record.NotExpanded, &record.Expanded, &record.Minimal};
    const std::array<int, 3> firstLabel = {2, 9, 16};
    for (int b = 0; b < 3; ++b) {
        const auto lines = PerformanceLines(*blocks[b], zeroTexts, separator, zeroComma);
        for (int c = 0; c < 6; ++c) form.Label6[firstLabel[b] + c].Caption = lines[c];
    }
}

}  // namespace

Main::Main(cluemill::Platform& platform) : Platform(platform) {}

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
    CreateOutputFolders(AppFolder);

    Library.Count();
    Form.PreviousPattern.Enabled = false;
    Form.NextPattern.Enabled = Library.PatternCount != 0;
    Form.PickPattern.Enabled = Library.PatternCount != 0;
    Form.NewPattern.Enabled = true;

    ExpandLevel = 0;
    ShowPatternInfo();
    DisplayPerformance();
    Form.Combo1.ListIndex = 0;
    RenewAfter = std::stoi(Form.Combo1.Text());
    Form.Combo2.ListIndex = 0;
    Combo2_Click();
    CountSudokus();
}

Choices Main::CurrentChoices() const {
    Choices choices;
    choices.OutputFormat = Form.Combo2.ListIndex;
    choices.RenewAfter = Form.Combo1.ListIndex;
    choices.DrawSymmetry = Form.DrawSymmetry.ListIndex;
    for (int i = 0; i < static_cast<int>(Form.Option1.size()); ++i) {
        if (Form.Option1[i].Value) choices.Expansion = i;
    }
    choices.Minimal = Form.CheckMinimal.Value == 1;
    choices.Limit = Form.CheckLimit.Value == 1;
    choices.RandomPatterns = Form.CheckRandomPattern.Value == 1;
    choices.TestMinimal = Form.TestMinimal.Value == 1;
    return choices;
}

void Main::RestoreChoices(const Choices& choices) {
    const auto holds = [](int index, std::size_t size) {
        return index >= 0 && index < static_cast<int>(size);
    };
    if (holds(choices.OutputFormat, Form.Combo2.List.size())) {
        Form.Combo2.ListIndex = choices.OutputFormat;
        Combo2_Click();
    }
    if (holds(choices.RenewAfter, Form.Combo1.List.size())) {
        Form.Combo1.ListIndex = choices.RenewAfter;
        Combo1_Click();
    }
    // A click on the grid reads the symmetry when it comes: no handler.
    if (holds(choices.DrawSymmetry, Form.DrawSymmetry.List.size())) {
        Form.DrawSymmetry.ListIndex = choices.DrawSymmetry;
    }
    if (holds(choices.Expansion, Form.Option1.size())) {
        for (int i = 0; i < static_cast<int>(Form.Option1.size()); ++i) {
            Form.Option1[i].Value = i == choices.Expansion;
        }
        Option1_Click(choices.Expansion);
    }
    Form.CheckMinimal.Value = choices.Minimal ? 1 : 0;
    Form.CheckLimit.Value = choices.Limit ? 1 : 0;
    Form.TestMinimal.Value = choices.TestMinimal ? 1 : 0;
    const int random = choices.RandomPatterns ? 1 : 0;
    if (Form.CheckRandomPattern.Value != random) {
        Form.CheckRandomPattern.Value = random;
        CheckRandomPattern_Click();
    }
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

void Main::CountSudokus() {
    const int index = Form.Combo2.ListIndex;
    if (index >= 0 && index < kFormatCount) {
        StoredCount = CountStored(AppFolder, static_cast<OutputFormat>(index));
    }
    for (int k = 0; k < 6; ++k) {
        Form.StatusBar.Panels[k] = kPanelLabels[k] + std::to_string(StoredCount[k]);
    }
}

void Main::Combo2_Click() {
    CountSudokus();
}

void Main::DisplayPerformance() {
    ShowPerformance(Form, Library.PatternRec, Library.CurrentPattern == 0,
                    Platform.DecimalSeparator());
}

void Main::DisplayPickPerformance() {
    // A record the file does not hold reads blank: all counters 0.
    const PatternRecord record =
        Library.ReadPatternRecord(static_cast<std::int32_t>(Picker.Highlighted() + 1));
    ShowPerformance(Form, record, false, Platform.DecimalSeparator(), true);
}

void Main::SaveModSud(const AcceptedPuzzle& puzzle) {
    // Errors are not reported: the puzzle or the record is simply not
    // written, and the run counts on.
    Library.MergePatternRecord(Library.CurrentPattern, Library.PatternRec);
    DisplayPerformance();
    const int index = Form.Combo2.ListIndex;
    if (index < 0 || index >= kFormatCount) return;
    const auto format = static_cast<OutputFormat>(index);
    const int difficulty = puzzle.Difficulty;
    SaveStoredPuzzle(AppFolder, format, difficulty,
                     BuildRecord(format, puzzle.Givens, puzzle.Solution, Form.Text2.Text),
                     StoredCount[difficulty - 1]);
}

}  // namespace cluemill
