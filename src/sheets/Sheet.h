// SPDX-License-Identifier: MIT
#pragma once

#include <QPageSize>
#include <QRectF>
#include <string>
#include <vector>

#include "sheets/SheetJob.h"

class QPainter;

namespace cluemill {

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
