// SPDX-License-Identifier: MIT
#include "qt/SheetActions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <memory>

#include "app/Main.h"
#include "qt/QtPlatform.h"
#include "sheets/Sheet.h"
#include "sheets/SheetSource.h"

namespace cluemill {

namespace {

constexpr std::array<int, 4> kPerPage = {1, 2, 4, 6};

// The options of a sheet and where its puzzles come from. Its widgets are
// named, so that a test can fill them in.
class SheetDialog : public QDialog {
  public:
    SheetDialog(const SheetSettings& settings, bool gridHasPuzzle, QtPlatform& platform,
                QWidget* parent);

    SheetSettings Chosen() const;
    // The puzzle file chosen, or nothing for the puzzle on the grid.
    std::optional<std::string> File() const;

  private:
    template <class W>
    W* Add(W* widget, const char* name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    }

    SheetSettings settings_;
    QRadioButton* fromGrid_;
    QRadioButton* fromFile_;
    QLineEdit* file_;
    QComboBox* perPage_;
    QCheckBox* solutions_;
    QLineEdit* title_;
    QComboBox* paper_;
    QCheckBox* grade_;
};

SheetDialog::SheetDialog(const SheetSettings& settings, bool gridHasPuzzle, QtPlatform& platform,
                         QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("SheetDialog"));
    setWindowTitle(QStringLiteral("Sheet of puzzles"));
    auto* form = new QFormLayout(this);
    fromGrid_ = Add(new QRadioButton(QStringLiteral("The puzzle on the &grid"), this), "FromGrid");
    fromFile_ = Add(new QRadioButton(QStringLiteral("The puzzles of a &file:"), this), "FromFile");
    file_ = Add(new QLineEdit(this), "File");
    auto* browse = Add(new QPushButton(QStringLiteral("&Browse..."), this), "Browse");
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fromFile_);
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse);
    form->addRow(QStringLiteral("Puzzles:"), fromGrid_);
    form->addRow(QString(), fileRow);
    fromGrid_->setEnabled(gridHasPuzzle);
    (gridHasPuzzle ? fromGrid_ : fromFile_)->setChecked(true);
    connect(browse, &QPushButton::clicked, this, [this, &platform] {
        if (const auto path = platform.OpenFile("Puzzle files|*.sds;*.txt|All files|*")) {
            file_->setText(QFile::decodeName(path->c_str()));
            fromFile_->setChecked(true);
        }
    });

    perPage_ = Add(new QComboBox(this), "PerPage");
    for (const int n : kPerPage) {
        perPage_->addItem(QString::number(n));
        if (n == settings.Options.PerPage) perPage_->setCurrentIndex(perPage_->count() - 1);
    }
    form->addRow(QStringLiteral("Puzzles on a &page:"), perPage_);
    solutions_ =
        Add(new QCheckBox(QStringLiteral("&Solutions on pages of their own"), this), "Solutions");
    solutions_->setChecked(settings.Options.Solutions);
    form->addRow(QString(), solutions_);
    grade_ = Add(new QCheckBox(QStringLiteral("&Class beside each puzzle"), this), "Grade");
    grade_->setChecked(settings.Grade);
    form->addRow(QString(), grade_);
    title_ = Add(new QLineEdit(QString::fromStdString(settings.Options.Title), this), "Title");
    form->addRow(QStringLiteral("&Title:"), title_);
    paper_ = Add(new QComboBox(this), "Paper");
    paper_->addItems({QStringLiteral("A4"), QStringLiteral("Letter")});
    paper_->setCurrentIndex(settings.Options.Page == SheetOptions::Paper::Letter ? 1 : 0);
    form->addRow(QStringLiteral("P&aper:"), paper_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

SheetSettings SheetDialog::Chosen() const {
    SheetSettings chosen = settings_;
    chosen.Options.PerPage = kPerPage[static_cast<std::size_t>(perPage_->currentIndex())];
    chosen.Options.Solutions = solutions_->isChecked();
    chosen.Options.Title = title_->text().toStdString();
    chosen.Options.Page =
        paper_->currentIndex() == 1 ? SheetOptions::Paper::Letter : SheetOptions::Paper::A4;
    chosen.Grade = grade_->isChecked();
    return chosen;
}

std::optional<std::string> SheetDialog::File() const {
    if (fromGrid_->isChecked()) return std::nullopt;
    return QFile::encodeName(file_->text()).toStdString();
}

// The file dialog's filters, in the order of SheetFormat.
const std::array<std::pair<QString, QString>, 3> kExportFilters = {{
    {QStringLiteral("PDF, every page in one file (*.pdf)"), QStringLiteral("pdf")},
    {QStringLiteral("SVG, one file per page (*.svg)"), QStringLiteral("svg")},
    {QStringLiteral("PNG, one picture per page (*.png)"), QStringLiteral("png")},
}};

}  // namespace

void SheetActions::Tell(const std::string& text) {
    platform_.MessageBox(text, "Cluemill");
}

std::optional<Sheet> SheetActions::AskSheet() {
    const CellValues grid = main_.GridPuzzle();
    SheetDialog dialog(Settings, CountEmptyCells(grid) < kCells, platform_, window_);
    if (platform_.Exec(dialog) != QDialog::Accepted) return std::nullopt;
    const SheetSettings chosen = dialog.Chosen();
    Settings = chosen;
    std::vector<CellValues> givens = {grid};
    if (const auto file = dialog.File()) {
        auto read = ReadSheetFile(*file);
        if (!read) {
            Tell("Cannot read the puzzle file \"" + *file + "\".");
            return std::nullopt;
        }
        givens = std::move(*read);
    }
    const auto solver = std::make_unique<Solver>();
    std::vector<SheetPuzzle> puzzles;
    const char* problem = nullptr;
    for (const CellValues& puzzle : givens) {
        if (const char* why = AddSheetPuzzle(*solver, puzzle, chosen.Grade, puzzles)) problem = why;
    }
    if (puzzles.empty()) {
        Tell(problem == nullptr ? std::string("The file holds no puzzle.")
                                : std::string("Nothing to print: ") + problem + ".");
        return std::nullopt;
    }
    if (puzzles.size() < givens.size()) {
        Tell(std::to_string(givens.size() - puzzles.size()) + " of " +
             std::to_string(givens.size()) +
             " puzzles are left out: their givens conflict or they have no unique solution.");
    }
    return Sheet(std::move(puzzles), chosen.Options);
}

void SheetActions::Export() {
    const std::optional<Sheet> sheet = AskSheet();
    if (!sheet) return;
    QFileDialog dialog(window_, QStringLiteral("Export sheet"), Settings.Folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const auto& [filter, suffix] : kExportFilters) filters << filter;
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(kExportFilters[0].second);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                         for (const auto& [name, suffix] : kExportFilters) {
                             if (name == filter) dialog.setDefaultSuffix(suffix);
                         }
                     });
    if (platform_.Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    std::string path = QFile::encodeName(dialog.selectedFiles().front()).toStdString();
    Settings.Folder = dialog.directory().absolutePath();
    std::optional<SheetFormat> format = SheetFormatOf(path);
    if (!format) {
        const auto chosen = static_cast<std::size_t>(
            std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())));
        path += "." + kExportFilters[chosen].second.toStdString();
        format = static_cast<SheetFormat>(chosen);
    }
    std::string failed;
    WriteSheet(*sheet, path, *format, failed);
    if (!failed.empty()) Tell("Cannot write \"" + failed + "\".");
}

void SheetActions::Print() {
    const std::optional<Sheet> sheet = AskSheet();
    if (!sheet) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(sheet->PageSize(), QPageLayout::Portrait, QMarginsF()));
    printer.setFullPage(true);
    printer.setDocName(sheet->Options().Title.empty()
                           ? QStringLiteral("Cluemill sheet")
                           : QString::fromStdString(sheet->Options().Title));
    QPrintPreviewDialog preview(&printer, window_);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&sheet](QPrinter* target) { PrintSheet(*sheet, *target); });
    platform_.Exec(preview);
}

void PrintSheet(const Sheet& sheet, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return;
    // With the full page, the painter's origin is the paper's corner.
    const QRectF paper(QPointF(0, 0), printer.paperRect(QPrinter::DevicePixel).size());
    const QPageRanges ranges = printer.pageRanges();
    bool first = true;
    for (int page = 0; page < sheet.PageCount(); ++page) {
        if (!ranges.isEmpty() && !ranges.contains(page + 1)) continue;
        if (!first) printer.newPage();
        first = false;
        sheet.PaintPage(painter, page, paper);
    }
}

}  // namespace cluemill
