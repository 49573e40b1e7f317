// SPDX-License-Identifier: MIT
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "sheets/Sheet.h"

namespace cluemill {

namespace {

// PDF coordinates are whole device units: at 1200 dpi a rounding is 0.02 mm.
constexpr int kPdfResolution = 1200;
constexpr int kPngResolution = 300;
// The resolution browsers assume for SVG pixels.
constexpr int kSvgResolution = 96;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QSizeF PaperPixels(const Sheet& sheet, int resolution) {
    return sheet.PageSize().size(QPageSize::Millimeter) * (resolution / 25.4);
}

bool WritePdf(const Sheet& sheet, const std::string& path) {
    QFile file(Text(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(
            QPageLayout(sheet.PageSize(), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setTitle(Text(sheet.Options().Title));
        writer.setCreator(QStringLiteral("Cluemill"));
        QPainter painter;
        if (!painter.begin(&writer)) return false;
        const QRectF paper(QPointF(0, 0), PaperPixels(sheet, kPdfResolution));
        for (int page = 0; page < sheet.PageCount(); ++page) {
            if (page > 0 && !writer.newPage()) return false;
            sheet.PaintPage(painter, page, paper);
        }
        if (!painter.end()) return false;
    }
    file.close();
    return file.error() == QFileDevice::NoError;
}

// An SVG page is made in memory and written in one go, so that a file that
// cannot be written is noticed here rather than inside the generator.
bool WriteSvgPage(const Sheet& sheet, int page, const std::string& path) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QSizeF pixels = PaperPixels(sheet, kSvgResolution);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setResolution(kSvgResolution);
        generator.setSize(pixels.toSize());
        generator.setViewBox(QRectF(QPointF(0, 0), pixels));
        // The generator writes the title into the XML as it is.
        generator.setTitle(Text(sheet.Options().Title).toHtmlEscaped());
        generator.setDescription(QStringLiteral("Cluemill puzzle sheet"));
        QPainter painter(&generator);
        painter.fillRect(QRectF(QPointF(0, 0), pixels), Qt::white);
        sheet.PaintPage(painter, page, QRectF(QPointF(0, 0), pixels));
    }
    QFile file(Text(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(buffer.data()) != buffer.data().size()) return false;
    file.close();
    return file.error() == QFileDevice::NoError;
}

bool WritePngPage(const Sheet& sheet, int page, const std::string& path) {
    const QSizeF pixels = PaperPixels(sheet, kPngResolution);
    QImage image(pixels.toSize(), QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(kPngResolution / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        sheet.PaintPage(painter, page, QRectF(QPointF(0, 0), pixels));
    }
    // Black on white: grey levels are a third of the file.
    return image.convertToFormat(QImage::Format_Grayscale8).save(Text(path), "PNG");
}

}  // namespace

std::vector<std::string> PageFileNames(const std::string& path, int pages) {
    if (pages == 1) return {path};
    const std::filesystem::path file(path);
    std::vector<std::string> names;
    for (int page = 1; page <= pages; ++page) {
        names.push_back((file.parent_path() / (file.stem().string() + "-" + std::to_string(page) +
                                               file.extension().string()))
                            .string());
    }
    return names;
}

std::vector<std::string> WriteSheet(const Sheet& sheet, const std::string& path, SheetFormat format,
                                    std::string& failed) {
    if (format == SheetFormat::Pdf) {
        if (WritePdf(sheet, path)) return {path};
        failed = path;
        return {};
    }
    const auto writePage = format == SheetFormat::Svg ? WriteSvgPage : WritePngPage;
    std::vector<std::string> written;
    const std::vector<std::string> names = PageFileNames(path, sheet.PageCount());
    for (int page = 0; page < sheet.PageCount(); ++page) {
        if (!writePage(sheet, page, names[page])) {
            failed = names[page];
            break;
        }
        written.push_back(names[page]);
    }
    return written;
}

}  // namespace cluemill
