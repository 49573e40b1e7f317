// SPDX-License-Identifier: MIT
// "Generate Sudokus" in the window: the drawn pattern checked and registered,
// the window locked, and the generator run with the window as its observer,
// which shows, counts and writes every accepted puzzle.
#include <algorithm>
#include <thread>

#include "app/Main.h"
#include "generator/Forecast.h"
#include "output/Inventory.h"

namespace cluemill {

namespace {

constexpr std::array<const char*, 4> kSeeking = {"Cluemill - Seeking", "Cluemill - Seeking >",
                                                 "Cluemill - Seeking > >",
                                                 "Cluemill - Seeking > > >"};

constexpr std::array<const char*, 5> kStageCaptions = {
    "Cluemill - Minimal check busy", "Cluemill - Modification level 1 busy",
    "Cluemill - Modification level 2 busy", "Cluemill - Modification level 3 busy",
    "Cluemill - Modification failed"};

}  // namespace

// The window as the generator's observer: events run at every poll, the
// caption tells the progress, and random patterns are shown as they are
// drawn.
class WindowRun final : public RunObserver {
  public:
    explicit WindowRun(Main& main) : main_(main) {}

    // A time limit's clock is read once in a few thousand polls: a poll
    // comes before every digit placed.
    bool Poll() override {
        main_.Platform.DoEvents();
        if ((++polls_ & 4095) == 0 && main_.keeper_->TimeUp()) main_.HaltRequested = true;
        return main_.HaltRequested;
    }
    void Accepted(const AcceptedPuzzle& puzzle) override { main_.RecordAccepted(puzzle); }
    void Rejected(std::int32_t invalidCount) override {
        main_.Form.Main.Caption = kSeeking[static_cast<std::size_t>(invalidCount % 4)];
    }
    void Working(RunStage stage) override {
        main_.Form.Main.Caption = kStageCaptions[static_cast<std::size_t>(stage)];
    }
    Pattern PatternOf(std::int32_t record) override {
        main_.Library.CurrentPattern = record;
        main_.DisplayPattern();
        main_.DisplayPerformance();
        return main_.GridPattern();
    }

  private:
    Main& main_;
    std::uint32_t polls_ = 0;
};

void Main::ShowCounts() {
    for (int k = 0; k < 6; ++k) {
        Form.StatusBar.Panels[k] = kPanelLabels[k] + std::to_string(StoredCount[k]) + " +" +
                                   std::to_string(Generator.NewCount[k]);
    }
}

void Main::CommandGenerate_Click() {
    if (!StartRun()) return;
    const RunSettings settings = Settings();
    keeper_.emplace(Batch, AppFolder);
    WindowRun observer(*this);
    const RunEnd end = Generator.Run(settings, observer);
    EndRun(end);
    // With distinct puzzles the setter is told how many were passed over.
    if (Batch.Distinct) {
        Platform.MessageBox(std::to_string(keeper_->Duplicates()) + " duplicates skipped",
                            "Cluemill");
    }
    keeper_.reset();
}

RunSettings Main::Settings() const {
    RunSettings settings;
    settings.Clues = GridPattern();
    settings.RandomPatterns = Form.CheckRandomPattern.Value == 1;
    settings.PatternCount = Library.PatternCount;
    settings.Minimal = Form.CheckMinimal.Value == 1;
    settings.Limit = Form.CheckLimit.Value == 1;
    settings.ExpandLevel = Form.Option1[0].Value ? 0 : ExpandLevel;
    settings.RenewAfter = RenewAfter;
    return settings;
}

bool Main::StartRun() {
    for (auto& cell : Form.Grid) {
        cell.Caption.clear();
        Platform.Refresh(cell);
    }
    Form.Main.Caption = "Cluemill";
    Generator.NewCount.fill(0);
    ShowCounts();

    if (Form.CheckRandomPattern.Value == 0) {
        for (auto& cell : Form.Grid) cell.ForeColor = kBlack;
        const Pattern clues = GridPattern();
        if (const PatternProblem problem = CheckPattern(clues); problem != PatternProblem::None) {
            Platform.MessageBox(PatternProblemText(problem), "Cluemill");
            return false;
        }
        const std::string code = EncodePattern(clues);
        Form.PatternName.Caption = "Pattern name: " + code;
        Library.PatternRec = PatternRecord{};
        Library.PatternRec.PatternCode = code;
        if (const std::int32_t k = Library.FindPattern(code); k > 0) {
            Library.PatternRec = Library.ReadPatternRecord(k);
            Library.CurrentPattern = k;
        } else {
            const std::int32_t added = Library.AppendPattern(Library.PatternRec);
            Library.CurrentPattern = added > 0 ? added : Library.PatternCount;
        }
        DisplayPerformance();
        Form.PreviousPattern.Enabled = Library.CurrentPattern > 1;
        Form.NextPattern.Enabled = Library.CurrentPattern < Library.PatternCount;
        Form.PickPattern.Enabled = Library.PatternCount > 0;
    } else if (!RandomPatternsUsable()) {
        Platform.MessageBox(
            "\"Random patterns\" needs a library pattern of at least two clues: draw a pattern "
            "and generate from it first, or untick \"Random patterns\".",
            "Cluemill");
        return false;
    }

    LockForRun();
    return true;
}

void Main::LockForRun() {
    SaveGUI();
    DisableGUI();
    Generating = true;
    HaltRequested = false;
    Form.CommandHalt.Visible = true;
    Form.CommandGenerate.Visible = false;
}

void Main::EndRun(RunEnd end) {
    Form.CommandGenerate.Visible = true;
    Form.CommandHalt.Visible = false;
    Platform.MessageBox(end == RunEnd::Halted ? "Generator halted" : "All clue-grids generated",
                        "Cluemill");
    Generating = false;
    RestoreGUI();
}

bool Main::RandomPatternsUsable() {
    for (std::int32_t k = 1; k <= Library.PatternCount; ++k) {
        const Pattern clues = DecodePattern(Library.ReadPatternRecord(k).PatternCode);
        int count = 0;
        for (const bool clue : clues) count += clue ? 1 : 0;
        if (count >= 2) return true;
    }
    return false;
}

void Main::RecordAccepted(const AcceptedPuzzle& puzzle) {
    const auto verdict = keeper_->Consider(puzzle, Library.PatternRec.PatternCode,
                                           DecodePattern(Library.PatternRec.PatternCode));
    if (verdict == BatchKeeper::Verdict::Duplicate) {
        --Generator.NewCount[puzzle.Difficulty - 1];  // not counted: the run counted it
        return;
    }
    if (verdict == BatchKeeper::Verdict::NotWanted) {
        // Counted in the pattern's statistics, so that its shares stay true,
        // but neither shown nor written.
        RaiseCounter(Library.PatternRec, puzzle);
        Library.MergePatternRecord(Library.CurrentPattern, Library.PatternRec);
        DisplayPerformance();
        ShowCounts();
        if (keeper_->Filled()) HaltRequested = true;
        return;
    }
    SetText2("");
    for (int cell = 0; cell < kCells; ++cell) {
        Form.Grid[cell].Caption = std::to_string(puzzle.Solution[cell]);
        Platform.Refresh(Form.Grid[cell]);
    }
    SetText2(PuzzleLine(puzzle));
    if (puzzle.SolvedByLogic) Platform.Refresh(Form.Text2);
    RaiseCounter(Library.PatternRec, puzzle);
    SaveModSud(puzzle);
    ++StoredCount[puzzle.Difficulty - 1];
    ShowCounts();
    Form.Main.Caption = "Cluemill";
    if (keeper_->Filled()) HaltRequested = true;
}

void Main::CommandForecast_Click() {
    RunSettings settings = Settings();
    if (const PatternProblem problem = CheckPattern(settings.Clues);
        problem != PatternProblem::None) {
        Platform.MessageBox(PatternProblemText(problem), "Cluemill");
        return;
    }
    settings.RandomPatterns = false;
    LockForRun();
    SampleLimit limit;
    limit.Seconds = ForecastSeconds;
    const ForecastSample sample = SamplePattern(
        settings, static_cast<int>(std::max(1u, std::thread::hardware_concurrency())), std::nullopt,
        limit, [this](double progress) {
            Form.Main.Caption =
                "Cluemill - Forecast " + std::to_string(static_cast<int>(progress * 100)) + " %";
            Platform.DoEvents();
            return HaltRequested;
        });
    Form.CommandGenerate.Visible = true;
    Form.CommandHalt.Visible = false;
    Form.Main.Caption = "Cluemill";
    Generating = false;
    RestoreGUI();
    if (!HaltRequested) Platform.MessageBox(ForecastReport(settings.Clues, sample), "Forecast");
}

void Main::CommandHalt_Click() {
    HaltRequested = true;
}

void Main::Combo1_Click() {
    try {
        RenewAfter = std::stoi(Form.Combo1.Text());
    } catch (const std::exception&) {
        // No entry selected: the setting stays as it was.
    }
}

void Main::Option1_Click(int index) {
    ExpandLevel = index;
}

void Main::CheckRandomPattern_Click() {
    if (Form.CheckRandomPattern.Value == 1) {
        SavePatternEditor();
        DisablePatternEditor();
    } else {
        RestorePatternEditor();
    }
}

}  // namespace cluemill
