// SPDX-License-Identifier: MIT
// Sheets: the page layouts (tests/data/sheet_layouts.txt), and the sheet
// command in-process: the arguments it refuses, and the pages it paints,
// looked at as pixels (the PDF through pdftoppm, the PNG as written) and as
// XML (the SVG).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli/CliRunner.h"
#include "sheets/Sheet.h"

namespace cluemill {
namespace {

using testing::RunCommand;

std::string FirstLines(const std::string& file, int count) {
    std::ifstream in(std::string(CLUEMILL_TEST_DATA) + "/" + file);
    std::string lines;
    for (std::string line; count-- > 0 && std::getline(in, line);) lines += line + "\n";
    return lines;
}

TEST(SheetLayout, PagesAndGridsAsTheTableSays) {
    std::ifstream in(CLUEMILL_TEST_DATA "/sheet_layouts.txt");
    int cases = 0;
    for (std::string line; std::getline(in, line); cases += line[0] != '#') {
        if (line[0] == '#') continue;
        std::istringstream fields(line);
        std::string paper, grids;
        int puzzles = 0, page = 0, pages = 0;
        SheetOptions options;
        fields >> paper >> options.PerPage >> puzzles >> options.Solutions >> options.Title >>
            page >> pages;
        std::getline(fields >> std::ws, grids);
        options.Page = paper == "letter" ? SheetOptions::Paper::Letter : SheetOptions::Paper::A4;
        options.Title = options.Title == "-" ? "" : options.Title;
        const Sheet sheet(std::vector<SheetPuzzle>(static_cast<std::size_t>(puzzles)), options);
        std::string seen;
        for (const QRectF& grid : sheet.GridRects(page)) {
            char text[40];
            std::snprintf(text, sizeof text, "%.2f,%.2f,%.2f ", grid.x(), grid.y(), grid.width());
            seen += text;
        }
        EXPECT_EQ(sheet.PageCount(), pages) << line;
        EXPECT_EQ(seen, grids + " ") << line;
    }
    EXPECT_GT(cases, 0);
}

TEST(SheetCommand, RefusesWhatItCannotDo) {
    QTemporaryDir dir;
    const std::string x = dir.filePath("x").toStdString();
    const std::string good = FirstLines("easy.txt", 1);
    const std::vector<std::tuple<std::vector<std::string>, std::string, int, std::string>> cases = {
        {{"sheet"}, good, 2, "--output OUT is needed"},
        {{"sheet", "--output"}, good, 2, "bad option '--output'"},
        {{"sheet", "--output", x + ".txt"}, good, 2, "OUT must end in .pdf, .svg or .png"},
        {{"sheet", "--output", x + ".pdf", "--per-page", "3"}, good, 2, "takes 1, 2, 4 or 6"},
        {{"sheet", "--output", x + ".pdf", "--page", "A5"}, good, 2, "takes a4 or letter"},
        {{"sheet", "--output", x + ".pdf", "--colour"}, good, 2, "bad option '--colour'"},
        {{"sheet", "a.txt", "b.txt", "--output", x + ".pdf"}, good, 2, "at most one FILE"},
        {{"sheet", "--output", x + "/none/x.pdf"}, good, 1, "cannot write '" + x + "/none/x.pdf"},
        {{"sheet", "--output", x + ".svg"}, "1234\n", 1, "no puzzle to print"}};
    for (const auto& [args, input, status, message] : cases) {
        const auto run = RunCommand(args, input);
        EXPECT_EQ(run.Status, status) << args.back();
        EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
        EXPECT_EQ(run.Err.find("Usage:") != std::string::npos, status == 2) << args.back();
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    const auto help = RunCommand({"sheet", "--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_EQ(help.Out.rfind("Usage: cluemill-cli sheet", 0), 0U);
}

// Every box line of every grid is dark all along, and the corner of each
// box, away from lines and digits, is white.
void ExpectGrids(const QImage& page, const std::vector<QRectF>& grids, double dpi) {
    const double scale = dpi / 25.4;
    const auto gray = [&](double x, double y, int dx, int dy) {
        return qGray(
            page.pixel(static_cast<int>(x * scale) + dx, static_cast<int>(y * scale) + dy));
    };
    const auto darkest = [&](double x, double y) {
        int dark = 255;
        for (int d = 0; d < 9; ++d) dark = std::min(dark, gray(x, y, d % 3 - 1, d / 3 - 1));
        return dark;
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
            EXPECT_GT(gray(grid.left() + (b % 3 + 1.0 / 6) * box, grid.top() + (b / 3 + 0.05) * box,
                           0, 0),
                      200);
        }
    }
}

TEST(SheetCommand, PaintsTheGridsWhereTheLayoutPutsThem) {
    QTemporaryDir dir;
    const std::string png = dir.filePath("g.png").toStdString();
    const std::string pdf = dir.filePath("g.pdf").toStdString();
    const std::string puzzles = FirstLines("hard.txt", 6);
    ASSERT_EQ(RunCommand({"sheet", "--output", png, "--per-page", "6"}, puzzles).Status, 0);
    const QImage image(QString::fromStdString(png));
    EXPECT_EQ(image.size(), QSize(2480, 3508));
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 300, 0.5);
    SheetOptions options;
    options.PerPage = 6;
    const Sheet layout(std::vector<SheetPuzzle>(6), options);
    ExpectGrids(image, layout.GridRects(0), 300);

    if (std::system("pdftoppm -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftoppm";
    ASSERT_EQ(RunCommand({"sheet", "--output", pdf, "--per-page", "6"}, puzzles).Status, 0);
    const std::string small = dir.filePath("g50").toStdString();
    ASSERT_EQ(
        std::system(("pdftoppm -r 50 -png -singlefile '" + pdf + "' '" + small + "'").c_str()), 0);
    ExpectGrids(QImage(QString::fromStdString(small + ".png")), layout.GridRects(0), 50);
}

TEST(SheetCommand, WritesWellFormedSvgPages) {
    QTemporaryDir dir;
    const std::string svg = dir.filePath("s.svg").toStdString();
    const auto run =
        RunCommand({"sheet", "--output", svg, "--solutions", "--title", "Tom & <Jerry>"},
                   FirstLines("easy.txt", 5));
    ASSERT_EQ(run.Status, 0);
    const std::vector<std::string> files = PageFileNames(svg, 3);
    EXPECT_EQ(run.Out, files[0] + "\n" + files[1] + "\n" + files[2] + "\n");
    EXPECT_EQ(PageFileNames(svg, 1), std::vector<std::string>{svg});
    for (const std::string& name : files) {
        QFile file(QString::fromStdString(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        QXmlStreamReader xml(&file);
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
