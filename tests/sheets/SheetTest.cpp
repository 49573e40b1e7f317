// SPDX-License-Identifier: MIT
// The sheet command in-process: the lines and arguments it refuses, and the
// pages it paints, looked at as pixels (the PDF through pdftoppm, the PNG as
// written) and as XML (the SVG).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "sheets/Sheet.h"

namespace cluemill {
namespace {

using testing::CliRun;
using testing::RunCommand;

std::string FirstLines(const std::string& file, int count) {
    std::ifstream in(std::string(CLUEMILL_TEST_DATA) + "/" + file);
    std::string lines;
    std::string line;
    while (count-- > 0 && std::getline(in, line)) lines += line + "\n";
    return lines;
}

class SheetCommand : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    QTemporaryDir dir_;
};

TEST_F(SheetCommand, ReportsAndSkipsTheLinesItCannotPrint) {
    std::string crlf = FirstLines("hard.txt", 1);
    crlf.insert(crlf.size() - 1, "\r");
    const std::string input = FirstLines("easy.txt", 1) + "# a comment\n123\n" + "11" +
                              std::string(79, '.') + "\n\n" + FirstLines("multi.txt", 1) +
                              // The logic pass meets a dead end: no solution.
                              ".5192..78..9.8.23..3....51......4......5.8......2......64....8..25"
                              ".6.9..87..9246.\n" +
                              crlf + "12";
    const CliRun run = RunCommand({"sheet", "--output", Path("skip.pdf")}, input);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err,
              "line 3: a puzzle needs 81 characters\n"
              "line 4: two givens share a digit in a row, column or box\n"
              "line 6: the puzzle has no unique solution\n"
              "line 7: the puzzle has no unique solution\n"
              "line 9: a puzzle needs 81 characters\n");
    EXPECT_EQ(run.Out, Path("skip.pdf") + "\n");
}

TEST_F(SheetCommand, RefusesWhatItCannotDo) {
    const std::string good = FirstLines("easy.txt", 1);
    struct Case {
        std::vector<std::string> Args;
        std::string Input;
        int Status;
        std::string Message;
    };
    const Case cases[] = {
        {{"sheet"}, good, 2, "--output OUT is needed"},
        {{"sheet", "--output"}, good, 2, "bad option '--output'"},
        {{"sheet", "--output", Path("x.txt")}, good, 2, "OUT must end in .pdf, .svg or .png"},
        {{"sheet", "--output", Path("x.pdf"), "--per-page", "3"}, good, 2, "takes 1, 2, 4 or 6"},
        {{"sheet", "--output", Path("x.pdf"), "--page", "A5"}, good, 2, "takes a4 or letter"},
        {{"sheet", "--output", Path("x.pdf"), "--colour"}, good, 2, "bad option '--colour'"},
        {{"sheet", "a.txt", "b.txt", "--output", Path("x.pdf")}, good, 2, "at most one FILE"},
        {{"sheet", "--output", Path("none/x.pdf")}, good, 1, "cannot write '" + Path("none/x.pdf")},
        {{"sheet", "--output", Path("x.svg")}, "1234\n", 1, "no puzzle to print"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args.back());
        const CliRun run = RunCommand(c.Args, c.Input);
        EXPECT_EQ(run.Status, c.Status);
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
        EXPECT_EQ(run.Err.find("Usage:") != std::string::npos, c.Status == 2);
    }
    EXPECT_TRUE(QDir(dir_.path()).isEmpty());
    const CliRun help = RunCommand({"sheet", "--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_EQ(help.Out.rfind("Usage: cluemill-cli sheet", 0), 0U);
}

// Every box line of every grid is dark all along, and the corner of each
// box, away from lines and digits, is white.
void ExpectGrids(const QImage& page, const std::vector<QRectF>& grids, double dpi) {
    const double scale = dpi / 25.4;
    const auto pixel = [&](double x, double y, int dx, int dy) {
        return qGray(
            page.pixel(static_cast<int>(x * scale) + dx, static_cast<int>(y * scale) + dy));
    };
    const auto darkest = [&](double x, double y) {
        int gray = 255;
        for (int d = 0; d < 9; ++d) gray = std::min(gray, pixel(x, y, d % 3 - 1, d / 3 - 1));
        return gray;
    };
    for (const QRectF& grid : grids) {
        const double box = grid.width() / 3;
        for (int k = 0; k <= 3; ++k) {
            for (int step = 1; step < 24; ++step) {
                const double along = grid.width() * step / 24;
                EXPECT_LT(darkest(grid.left() + k * box, grid.top() + along), 100);
                EXPECT_LT(darkest(grid.left() + along, grid.top() + k * box), 100);
            }
        }
        for (int b = 0; b < 9; ++b) {
            EXPECT_GT(pixel(grid.left() + (b % 3 + 1.0 / 6) * box,
                            grid.top() + (b / 3 + 0.05) * box, 0, 0),
                      200);
        }
    }
}

TEST_F(SheetCommand, PaintsTheGridsWhereTheLayoutPutsThem) {
    const std::string puzzles = FirstLines("hard.txt", 6);
    ASSERT_EQ(RunCommand({"sheet", "--output", Path("g.png"), "--per-page", "6"}, puzzles).Status,
              0);
    const QImage png(dir_.filePath("g.png"));
    EXPECT_EQ(png.size(), QSize(2480, 3508));
    EXPECT_NEAR(png.dotsPerMeterX() * 0.0254, 300, 0.5);
    SheetOptions options;
    options.PerPage = 6;
    const Sheet layout(std::vector<SheetPuzzle>(6), options);
    ASSERT_EQ(layout.GridRects(0).size(), 6U);
    ExpectGrids(png, layout.GridRects(0), 300);

    if (std::system("pdftoppm -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftoppm";
    ASSERT_EQ(RunCommand({"sheet", "--output", Path("g.pdf"), "--per-page", "6"}, puzzles).Status,
              0);
    const std::string command =
        "pdftoppm -r 50 -png -singlefile '" + Path("g.pdf") + "' '" + Path("g50") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ExpectGrids(QImage(dir_.filePath("g50.png")), layout.GridRects(0), 50);
}

TEST_F(SheetCommand, WritesWellFormedSvgPages) {
    const CliRun run =
        RunCommand({"sheet", "--output", Path("s.svg"), "--solutions", "--title", "Tom & <Jerry>"},
                   FirstLines("easy.txt", 5));
    ASSERT_EQ(run.Status, 0);
    const std::vector<std::string> files = PageFileNames(Path("s.svg"), 3);
    EXPECT_EQ(run.Out, files[0] + "\n" + files[1] + "\n" + files[2] + "\n");
    for (const std::string& name : files) {
        QFile file(QString::fromStdString(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        QXmlStreamReader xml(&file);
        ASSERT_TRUE(xml.readNextStartElement());
        EXPECT_EQ(xml.name(), QStringLiteral("svg"));
        int texts = 0;
        while (!xml.atEnd())
            texts += xml.readNext() == QXmlStreamReader::StartElement &&
                     xml.name() == QStringLiteral("text");
        EXPECT_FALSE(xml.hasError()) << name << ": " << xml.errorString().toStdString();
        EXPECT_GT(texts, 20) << name;
    }
}

}  // namespace
}  // namespace cluemill
