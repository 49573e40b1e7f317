// SPDX-License-Identifier: MIT
#include "qt/QtPlatform.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <utility>

#include "qt/FormBinding.h"
#include "qt/MainWindow.h"

namespace cluemill {

namespace {

// A generation run calls DoEvents before every digit it places; processing
// events that often would cost more than the run itself.
constexpr auto kEventInterval = std::chrono::milliseconds(5);

constexpr int kTwipsPerPixel = 15;

QSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry().size() : QSize();
}

}  // namespace

QString DialogFilter(const std::string& filter) {
    const QStringList parts = Latin1(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

QtPlatform::QtPlatform(std::string programFolder, std::uint32_t seed)
    : programFolder_(std::move(programFolder)), random_(seed) {}

void QtPlatform::DoEvents() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastEvents_ < kEventInterval) return;
    lastEvents_ = now;
    if (window_ != nullptr) window_->Sync();
    QCoreApplication::processEvents();
}

void QtPlatform::MessageBox(const std::string& text, const std::string& caption) {
    // The window behind the box shows what the engine has done so far.
    if (window_ != nullptr) window_->Sync();
    if (messageBoxHook_) {
        messageBoxHook_(text, caption);
        return;
    }
    QString body = Latin1(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, Latin1(caption), body, QMessageBox::Ok, window_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtPlatform::Refresh(const Control& control) {
    if (window_ != nullptr) window_->Refresh(control);
}

std::optional<std::string> QtPlatform::OpenFile(const std::string& filter) {
    if (window_ != nullptr) window_->Sync();
    if (openFileHook_) return openFileHook_(filter);
    const QString path =
        QFileDialog::getOpenFileName(window_, QString(), QString(), DialogFilter(filter));
    if (path.isEmpty()) return std::nullopt;
    return QFile::encodeName(path).toStdString();
}

// One 32-bit draw scaled by 2^-32: always below 1.
double QtPlatform::Random() {
    return static_cast<double>(random_()) / 4294967296.0;
}

void QtPlatform::Randomize() {
    random_.seed(
        static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

char QtPlatform::DecimalSeparator() const {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? '.' : point.front().toLatin1();
}

int QtPlatform::ScreenWidth() const {
    return ScreenSize().width() * kTwipsPerPixel;
}

int QtPlatform::ScreenHeight() const {
    return ScreenSize().height() * kTwipsPerPixel;
}

void QtPlatform::EndProgram() {
    if (window_ != nullptr) window_->CloseNow();
    QCoreApplication::exit(0);
}

}  // namespace cluemill
