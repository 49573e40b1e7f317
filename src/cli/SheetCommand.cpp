// SPDX-License-Identifier: MIT
#include "cli/SheetCommand.h"

#include <ostream>

#ifdef CLUEMILL_HAVE_SHEETS
#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <istream>
#include <optional>
#include <streambuf>

#include "cli/PuzzleLines.h"
#include "sheets/Sheet.h"
#include "solver/Solver.h"
#include "tester/PuzzleText.h"
#endif

namespace cluemill {

#ifdef CLUEMILL_HAVE_SHEETS

namespace {

constexpr const char* kSheetHelp =
    "Usage: cluemill-cli sheet [FILE] --output OUT [--per-page 1|2|4|6] [--solutions]\n"
    "                          [--title TEXT] [--page a4|letter] [--grade]\n"
    "\n"
    "Prints the puzzles of FILE, or of standard input when no FILE is given, on\n"
    "printable pages: each puzzle as a grid with its givens and its number, 1, 2,\n"
    "... in input order. Puzzle lines are read as by 'rate': characters 1 to 81\n"
    "are the cells row by row, \"1\" to \"9\" a given and any other character an\n"
    "empty cell; empty lines and lines beginning with '#' are skipped.\n"
    "\n"
    "  --output OUT    the file to write; its extension chooses the format:\n"
    "                    .pdf  every page in one file\n"
    "                    .svg  one file per page\n"
    "                    .png  one picture per page, 300 dpi\n"
    "                  SVG and PNG pages of a sheet of several pages go to\n"
    "                  NAME-1.EXT, NAME-2.EXT, ... beside OUT\n"
    "  --per-page N    puzzles on a page: 1, 2, 4 (default) or 6\n"
    "  --solutions     the solutions follow on pages of their own, nine to a page\n"
    "  --title TEXT    a title at the top of every page\n"
    "  --page PAPER    a4 (default) or letter\n"
    "  --grade         each puzzle's class beside it: Very Easy, Easy, Medium,\n"
    "                  Hard, Very Hard or Others (it needs the search)\n"
    "\n"
    "The names of the files written are printed, one a line.\n"
    "\n"
    "A puzzle line that cannot be printed is reported on standard error and\n"
    "skipped, and the exit status is then 1:\n"
    "  line N: a puzzle needs 81 characters\n"
    "  line N: two givens share a digit in a row, column or box\n"
    "  line N: the puzzle has no unique solution\n"
    "With nothing left to print no file is written (exit status 1). A file that\n"
    "cannot be written is named (exit status 1). Exit status 0 otherwise, 2 on\n"
    "a usage error.\n";

constexpr std::array<const char*, 6> kClassNames = {"Very Easy", "Easy",      "Medium",
                                                    "Hard",      "Very Hard", "Others"};

struct SheetArgs {
    std::string File;
    std::string Output;
    SheetOptions Options;
    bool Grade = false;
    bool Help = false;
};

// Reads the command's arguments into parsed; returns what is wrong with
// them, or nothing.
std::string ParseSheetArgs(const std::vector<std::string>& args, SheetArgs& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            parsed.Help = true;
        } else if (arg == "--solutions") {
            parsed.Options.Solutions = true;
        } else if (arg == "--grade") {
            parsed.Grade = true;
        } else if (arg == "--output" || arg == "--title" || arg == "--per-page" ||
                   arg == "--page") {
            if (i + 1 == args.size()) return arg + " needs a value";
            std::string value = args[++i];
            if (arg == "--output") {
                parsed.Output = value;
            } else if (arg == "--title") {
                parsed.Options.Title = value;
            } else if (arg == "--per-page") {
                if (value != "1" && value != "2" && value != "4" && value != "6")
                    return "--per-page takes 1, 2, 4 or 6, not '" + value + "'";
                parsed.Options.PerPage = value[0] - '0';
            } else {
                std::transform(value.begin(), value.end(), value.begin(),
                               [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
                if (value != "a4" && value != "letter")
                    return "--page takes a4 or letter, not '" + args[i] + "'";
                parsed.Options.Page =
                    value == "a4" ? SheetOptions::Paper::A4 : SheetOptions::Paper::Letter;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "bad option '" + arg + "'";
        } else if (!parsed.File.empty()) {
            return "expected at most one FILE";
        } else {
            parsed.File = arg;
        }
    }
    if (parsed.Help) return {};
    if (parsed.Output.empty()) return "--output OUT is needed";
    if (!SheetFormatOf(parsed.Output)) return "OUT must end in .pdf, .svg or .png";
    return {};
}

// Hands a stream's characters on one at a time and counts the line ends among
// them, so that the number of the line just read is known while it is
// handled by ForEachPuzzleLine, which does not tell it.
class LineCounter : public std::streambuf {
  public:
    explicit LineCounter(std::streambuf* source) : source_(source) {}
    // The number (from 1) of the line whose last character was handed on.
    long long LineNumber() const { return ends_ + (midLine_ ? 1 : 0); }

  private:
    int_type underflow() override {
        const int_type c = source_->sbumpc();
        if (traits_type::eq_int_type(c, traits_type::eof())) return c;
        current_ = traits_type::to_char_type(c);
        midLine_ = current_ != '\n';
        if (!midLine_) ++ends_;
        setg(&current_, &current_, &current_ + 1);
        return c;
    }

    std::streambuf* source_;
    char current_ = 0;
    long long ends_ = 0;
    bool midLine_ = false;
};

// The puzzles of in that a solver finishes, numbered from 1; every other
// line is reported on err. Returns the exit status of the reading: 0, 1
// after a line skipped, 2 after a read error.
int ReadSheetPuzzles(std::istream& in, bool grade, std::ostream& err,
                     std::vector<SheetPuzzle>& puzzles) {
    LineCounter counter(in.rdbuf());
    std::istream lines(&counter);
    const auto solver = std::make_unique<Solver>();
    bool skipped = false;
    const int status = ForEachPuzzleLine(lines, err, "sheet", [&](const std::string& line) {
        solver->Puzzle = ReadPuzzleText(line);
        const char* problem = nullptr;
        if (GivensConflict(solver->Puzzle)) {
            problem = "two givens share a digit in a row, column or box";
        } else if (!solver->UniqueSud(SearchSwitches{})) {
            problem = "the puzzle has no unique solution";
        }
        if (problem != nullptr) {
            err << "line " << counter.LineNumber() << ": " << problem << '\n';
            skipped = true;
            return;
        }
        SheetPuzzle& puzzle = puzzles.emplace_back();
        puzzle.Givens = solver->Puzzle;
        puzzle.Solution = solver->Solution;
        puzzle.Number = static_cast<int>(puzzles.size());
        if (grade) puzzle.Label = kClassNames[std::clamp(solver->Difficulty, 1, 6) - 1];
    });
    return status == 0 && skipped ? 1 : status;
}

// Qt's own notes (no XDG_RUNTIME_DIR, a font substituted) mean nothing to the
// command's user, who is told what went wrong in the command's own words.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

struct SheetGui::Application {
    // QGuiApplication keeps references to argc and argv; the program name is
    // all it gets, so that no argument of the command is taken for Qt's.
    int Argc = 1;
    char Name[13] = "cluemill-cli";
    char* Argv[2] = {Name, nullptr};
    QGuiApplication App{Argc, Argv};
};

SheetGui::SheetGui() {
    // Sheets are painted off screen; a display is used only where there is one.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(KeepQtQuiet);
    app_ = std::make_unique<Application>();
}

int RunSheet(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err) {
    SheetArgs parsed;
    if (const std::string problem = ParseSheetArgs(args, parsed); !problem.empty()) {
        err << "cluemill-cli sheet: " << problem << "\n\n" << kSheetHelp;
        return 2;
    }
    if (parsed.Help) {
        out << kSheetHelp;
        return 0;
    }
    std::vector<SheetPuzzle> puzzles;
    const int status = ReadInput(parsed.File, in, err, "sheet", [&](std::istream& input) {
        return ReadSheetPuzzles(input, parsed.Grade, err, puzzles);
    });
    if (status == 2) return status;
    if (puzzles.empty()) {
        err << "cluemill-cli sheet: no puzzle to print; nothing written\n";
        return 1;
    }
    // Painting text needs a QGuiApplication: main() made one, or (called in
    // process, as by the tests) one lives for this sheet. Made once for the
    // rest of the process instead, it would keep font caches that only its
    // destructor frees.
    std::optional<SheetGui> gui;
    if (QGuiApplication::instance() == nullptr) gui.emplace();
    const Sheet sheet(std::move(puzzles), parsed.Options);
    std::string failed;
    const std::vector<std::string> written =
        WriteSheet(sheet, parsed.Output, *SheetFormatOf(parsed.Output), failed);
    for (const std::string& file : written) out << file << '\n';
    if (!failed.empty()) {
        err << "cluemill-cli sheet: cannot write '" << failed << "'\n";
        return 1;
    }
    return status;
}

#else

struct SheetGui::Application {};

SheetGui::SheetGui() = default;

int RunSheet(const std::vector<std::string>&, std::istream&, std::ostream&, std::ostream& err) {
    err << "cluemill-cli sheet: this cluemill-cli was built without Qt; sheets need Qt 6 "
           "(build with CLUEMILL_BUILD_GUI=ON)\n";
    return 2;
}

#endif

SheetGui::~SheetGui() = default;

}  // namespace cluemill
