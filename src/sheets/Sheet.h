// SPDX-License-Identifier: MIT
#pragma once

#include <QPageSize>
#include <QRectF>
#include <optional>
#include <string>
#include <vector>

#include "solver/Solver.h"

class QPainter;

namespace cluemill {

// One puzzle to print: its givens (0 = empty cell), its solution, the number
// printed beside it, and a label printed opposite (its class, or empty).
struct SheetPuzzle {
    CellValues Givens{};
    CellValues Solution{};
    int Number = 0;
    std::string Label;
};

// How a sheet is laid out.
struct SheetOptions {
    enum class Paper { A4, Letter };
    // Puzzles on a page: 1, 2, 4 or 6.
    int PerPage = 4;
    // The solutions follow on pages of their own, nine to a page.
    bool Solutions = false;
    // Printed at the top of every page when not empty.
    std::string Title;
    Paper Page = Paper::A4;
};

// A printable sheet: the puzzles PerPage to a page, then (on request) their
// solutions nine to a page, with the title and "Page k of n" on every page.
// It lays pages out in millimetres on portrait paper with 15 mm margins and
// paints any page onto any QPainter: a PDF writer, an SVG generator, an
// image, or a printer. It solves and grades nothing: it prints what it is
// given.
class Sheet {
  public:
    Sheet(std::vector<SheetPuzzle> puzzles, SheetOptions options);

    int PageCount() const;
    const SheetOptions& Options() const { return options_; }
    // The paper the pages are laid out on.
    QPageSize PageSize() const;
    // The grids of page `page` (from 0) in the order of their puzzles, in
    // millimetres from the paper's top-left corner.
    std::vector<QRectF> GridRects(int page) const;
    // Paints page `page` (from 0) so that the whole paper fills `paper`, a
    // rectangle in the painter's coordinates. Paints no background.
    void PaintPage(QPainter& painter, int page, const QRectF& paper) const;

  private:
    std::vector<SheetPuzzle> puzzles_;
    SheetOptions options_;
};

enum class SheetFormat { Pdf, Svg, Png };

// The format the extension of path asks for (.pdf, .svg or .png, in any
// case); none for any other.
std::optional<SheetFormat> SheetFormatOf(const std::string& path);

// The files of a sheet of `pages` pages written one file per page: path
// itself for one page; NAME-1.EXT, NAME-2.EXT, ... beside it for more.
std::vector<std::string> PageFileNames(const std::string& path, int pages);

// Writes the sheet: a PDF (vector, fonts embedded) holds every page in one
// file; SVG and PNG (300 dpi) write one file per page, named by
// PageFileNames. Returns the files written; stops at the first file that
// cannot be written and names it in failed.
std::vector<std::string> WriteSheet(const Sheet& sheet, const std::string& path, SheetFormat format,
                                    std::string& failed);

}  // namespace cluemill
