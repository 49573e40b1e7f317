// SPDX-License-Identifier: MIT
#include "sheets/Sheet.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <utility>

namespace cluemill {

namespace {

// Lengths in millimetres. Home printers cannot print the outer 5 mm or so of
// a sheet; 15 mm keeps every mark well inside on A4 and Letter alike.
constexpr double kMargin = 15.0;
constexpr double kHeaderBand = 12.0;
constexpr double kFooterBand = 8.0;
constexpr double kGutter = 8.0;
constexpr double kPuzzleLabelBand = 7.0;
constexpr double kSolutionLabelBand = 5.0;
constexpr int kSolutionsPerPage = 9;
const QColor kInk(0, 0, 0);
// Digits the solver filled in, lighter than the givens.
const QColor kFilledInk(96, 96, 96);

// What one page shows: puzzles First to First + Count - 1, as puzzles or as
// solutions, in Columns x Rows slots filled row by row.
struct PageContent {
    bool Solutions = false;
    int First = 0;
    int Count = 0;
    int Columns = 1;
    int Rows = 1;
};

int PagesFor(int puzzles, int perPage) {
    return (puzzles + perPage - 1) / perPage;
}

PageContent ContentOf(int page, int puzzles, const SheetOptions& options) {
    PageContent content;
    const int puzzlePages = PagesFor(puzzles, options.PerPage);
    int perPage = options.PerPage;
    if (page >= puzzlePages) {
        content.Solutions = true;
        page -= puzzlePages;
        perPage = kSolutionsPerPage;
    }
    content.First = page * perPage;
    content.Count = std::clamp(puzzles - content.First, 0, perPage);
    // Portrait paper: one or two puzzles stack, more go two (or three) abreast.
    content.Columns = perPage >= 9 ? 3 : perPage >= 4 ? 2 : 1;
    content.Rows = (perPage + content.Columns - 1) / content.Columns;
    return content;
}

std::string HeaderText(const PageContent& content, const SheetOptions& options) {
    if (!content.Solutions) return options.Title;
    return options.Title.empty() ? "Solutions" : options.Title + " \u2013 Solutions";
}

// Maps millimetres on the paper to the painter's coordinates.
struct PaperFrame {
    QPointF Origin;
    double Unit = 1.0;  // painter units per millimetre

    QPointF At(double x, double y) const { return Origin + QPointF(x * Unit, y * Unit); }
    QRectF Rect(const QRectF& mm) const {
        return {At(mm.left(), mm.top()), QSizeF(mm.width() * Unit, mm.height() * Unit)};
    }
};

// A sans-serif font whose em is `em` millimetres on the paper. Point sizes are
// turned into pixels at the device's resolution, so the size is set through
// that resolution: the same page then measures the same on every device.
QFont SheetFont(const QPainter& painter, const PaperFrame& frame, double em, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    // Hinting would fit glyphs to the pixels of each device differently.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setBold(bold);
    font.setPointSizeF(em * frame.Unit * 72.0 / painter.device()->logicalDpiY());
    return font;
}

void DrawText(QPainter& painter, const QRectF& box, int flags, const std::string& text) {
    painter.drawText(box, flags, QString::fromStdString(text));
}

QPen GridPen(const PaperFrame& frame, double width) {
    return QPen(kInk, width * frame.Unit, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

// The number and label above the grid, then the digits, then the lines.
void PaintPuzzle(QPainter& painter, const PaperFrame& frame, const SheetPuzzle& puzzle,
                 const QRectF& grid, bool solution) {
    const double band = solution ? kSolutionLabelBand : kPuzzleLabelBand;
    const QRectF labels = frame.Rect(QRectF(grid.left(), grid.top() - band, grid.width(), band));
    painter.setPen(kInk);
    painter.setFont(SheetFont(painter, frame, band * 0.6, true));
    DrawText(painter, labels, Qt::AlignLeft | Qt::AlignVCenter,
             (solution ? "Solution " : "Puzzle ") + std::to_string(puzzle.Number));
    painter.setFont(SheetFont(painter, frame, band * 0.6, false));
    DrawText(painter, labels, Qt::AlignRight | Qt::AlignVCenter, puzzle.Label);

    const double cell = grid.width() / 9;
    const QFont digitFont = SheetFont(painter, frame, cell * 0.68, false);
    painter.setFont(digitFont);
    // Digits sit on the cell's middle by their cap height, not by the font's
    // ascent and descent, which would put them visibly high.
    const QFontMetricsF metrics(digitFont, painter.device());
    const double rise = metrics.capHeight() / 2;
    for (int i = 0; i < kCells; ++i) {
        const int given = puzzle.Givens[i];
        const int digit = given > 0 ? given : solution ? puzzle.Solution[i] : 0;
        if (digit < 1 || digit > 9) continue;
        const QString text(QChar('0' + digit));
        const QPointF centre =
            frame.At(grid.left() + (i % 9 + 0.5) * cell, grid.top() + (i / 9 + 0.5) * cell);
        painter.setPen(given > 0 ? kInk : kFilledInk);
        painter.drawText(centre + QPointF(-metrics.horizontalAdvance(text) / 2, rise), text);
    }

    // Line widths grow with the grid, within what home printers show well.
    const double thick = std::max(0.5, grid.width() * 0.007);
    const double thin = std::max(0.2, grid.width() * 0.0025);
    painter.setBrush(Qt::NoBrush);
    for (int k = 1; k < 9; ++k) {
        painter.setPen(GridPen(frame, k % 3 == 0 ? thick : thin));
        const double offset = k * cell;
        painter.drawLine(frame.At(grid.left() + offset, grid.top()),
                         frame.At(grid.left() + offset, grid.bottom()));
        painter.drawLine(frame.At(grid.left(), grid.top() + offset),
                         frame.At(grid.right(), grid.top() + offset));
    }
    painter.setPen(GridPen(frame, thick));
    painter.drawRect(frame.Rect(grid));
}

}  // namespace

Sheet::Sheet(std::vector<SheetPuzzle> puzzles, SheetOptions options)
    : puzzles_(std::move(puzzles)), options_(std::move(options)) {
    options_.PerPage = std::clamp(options_.PerPage, 1, 6);
}

int Sheet::PageCount() const {
    const int count = static_cast<int>(puzzles_.size());
    return PagesFor(count, options_.PerPage) +
           (options_.Solutions ? PagesFor(count, kSolutionsPerPage) : 0);
}

QPageSize Sheet::PageSize() const {
    return QPageSize(options_.Page == SheetOptions::Paper::Letter ? QPageSize::Letter
                                                                  : QPageSize::A4);
}

std::vector<QRectF> Sheet::GridRects(int page) const {
    const PageContent content = ContentOf(page, static_cast<int>(puzzles_.size()), options_);
    const QSizeF paper = PageSize().size(QPageSize::Millimeter);
    const double top = kMargin + (HeaderText(content, options_).empty() ? 0 : kHeaderBand);
    const double bottom = paper.height() - kMargin - kFooterBand;
    const double band = content.Solutions ? kSolutionLabelBand : kPuzzleLabelBand;
    const double slotWidth =
        (paper.width() - 2 * kMargin - (content.Columns - 1) * kGutter) / content.Columns;
    const double slotHeight = (bottom - top - (content.Rows - 1) * kGutter) / content.Rows;
    const double side = std::min(slotWidth, slotHeight - band);
    std::vector<QRectF> grids;
    for (int i = 0; i < content.Count; ++i) {
        const int column = i % content.Columns;
        const int row = i / content.Columns;
        // The label and the grid together sit in the middle of their slot.
        grids.emplace_back(
            kMargin + column * (slotWidth + kGutter) + (slotWidth - side) / 2,
            top + row * (slotHeight + kGutter) + (slotHeight - side - band) / 2 + band, side, side);
    }
    return grids;
}

void Sheet::PaintPage(QPainter& painter, int page, const QRectF& paper) const {
    const PageContent content = ContentOf(page, static_cast<int>(puzzles_.size()), options_);
    const QSizeF size = PageSize().size(QPageSize::Millimeter);
    const PaperFrame frame{paper.topLeft(), paper.width() / size.width()};
    const double inner = size.width() - 2 * kMargin;
    painter.save();
    painter.setPen(kInk);
    if (const std::string header = HeaderText(content, options_); !header.empty()) {
        const QFont font = SheetFont(painter, frame, 6.0, true);
        const QRectF band = frame.Rect(QRectF(kMargin, kMargin, inner, kHeaderBand * 0.7));
        painter.setFont(font);
        // A title too long for the line ends in an ellipsis inside the margins.
        painter.drawText(
            band, Qt::AlignHCenter | Qt::AlignTop,
            QFontMetricsF(font, painter.device())
                .elidedText(QString::fromStdString(header), Qt::ElideRight, band.width()));
    }
    painter.setFont(SheetFont(painter, frame, 3.5, false));
    DrawText(painter,
             frame.Rect(QRectF(kMargin, size.height() - kMargin - kFooterBand * 0.6, inner,
                               kFooterBand * 0.6)),
             Qt::AlignHCenter | Qt::AlignBottom,
             "Page " + std::to_string(page + 1) + " of " + std::to_string(PageCount()));
    const std::vector<QRectF> grids = GridRects(page);
    for (int i = 0; i < content.Count; ++i)
        PaintPuzzle(painter, frame, puzzles_[content.First + i], grids[i], content.Solutions);
    painter.restore();
}

}  // namespace cluemill
