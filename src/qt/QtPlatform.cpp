// SPDX-License-Identifier: MIT
#include "qt/QtPlatform.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <utility>

#include "qt/FormBinding.h"
#include "qt/MainWindow.h"

namespace cluemill {

namespace {

// A generation run calls DoEvents before every digit it places, up to fifteen
// million times a second: processing events that often would cost more than
// the run itself, and even reading the clock on every call would slow it by a
// quarter. So events run at most once per interval, and the clock is read
// only once per `stride_` calls. The stride doubles while readings come close
// together and falls back to one as soon as calls come slowly (trials of an
// expansion, a minimality check): a click never waits for many slow calls to
// pass unread.
//
// The interval is kEventInterval, longer when processing took long: painting
// a window whose grid, counts and statistics all changed takes a millisecond
// or two, and the run keeps nineteen twentieths of the time. It never exceeds
// kLongestInterval, so a click on "Halt Generator" is taken soon.
constexpr std::int64_t kEventInterval = 5'000'000;  // nanoseconds
constexpr std::int64_t kLongestInterval = 30'000'000;
constexpr std::int64_t kWorkPerProcessing = 19;
constexpr std::int64_t kCloseReadings = 100'000;
constexpr std::int64_t kFarReadings = 1'000'000;
constexpr int kMaxStride = 256;

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
    : programFolder_(std::move(programFolder)), random_(seed) {
    clock_.start();
}

void QtPlatform::DoEvents() {
    if (--untilClock_ > 0) return;
    const std::int64_t now = clock_.nsecsElapsed();
    const std::int64_t sinceReading = now - lastClock_;
    if (sinceReading < kCloseReadings) {
        stride_ = std::min(2 * stride_, kMaxStride);
    } else if (sinceReading > kFarReadings) {
        stride_ = 1;
    }
    untilClock_ = stride_;
    lastClock_ = now;
    if (now < nextEvents_) return;
    if (window_ != nullptr) window_->Sync();
    QCoreApplication::processEvents();
    const std::int64_t end = clock_.nsecsElapsed();
    nextEvents_ =
        end + std::clamp(kWorkPerProcessing * (end - now), kEventInterval, kLongestInterval);
    lastClock_ = end;
    lastPaint_ = end;
}

void QtPlatform::WaitEvents() {
    if (window_ != nullptr) window_->Sync();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    lastPaint_ = clock_.nsecsElapsed();
}

void QtPlatform::SetFocus(const Control& control) {
    if (window_ != nullptr) window_->FocusOn(control);
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

// An accepted puzzle refreshes all 81 cells, hundreds of times a second on
// an easy pattern; bringing each cell's widget up to date and painting it
// there and then would cost the run a third of its speed. A control is shown
// and painted at once when the window has not been painted for
// kEventInterval; otherwise the window was painted just before, and the next
// processing of events shows it with everything else (a run brings one
// soon, a handler that returns at once).
void QtPlatform::Refresh(const Control& control) {
    if (window_ == nullptr) return;
    const std::int64_t now = clock_.nsecsElapsed();
    if (lastPaint_ >= 0 && now - lastPaint_ < kEventInterval) return;
    window_->Refresh(control);
    lastPaint_ = clock_.nsecsElapsed();
}

std::optional<std::string> QtPlatform::OpenFile(const std::string& filter) {
    if (window_ != nullptr) window_->Sync();
    std::optional<std::string> path;
    if (openFileHook_) {
        path = openFileHook_(filter);
    } else {
        const QString chosen = QFileDialog::getOpenFileName(
            window_, QString(), QFile::decodeName(openFolder_.c_str()), DialogFilter(filter));
        if (!chosen.isEmpty()) path = QFile::encodeName(chosen).toStdString();
    }
    if (path) openFolder_ = std::filesystem::path(*path).parent_path().string();
    return path;
}

int QtPlatform::Exec(QDialog& dialog) {
    if (window_ != nullptr) window_->Sync();
    return dialogHook_ ? dialogHook_(dialog) : dialog.exec();
}

// One 32-bit draw scaled by 2^-32: always below 1.
double QtPlatform::Random() {
    return static_cast<double>(random_()) / 4294967296.0;
}

void QtPlatform::Randomize() {
    random_.seed(
        static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

// The window's texts are one byte per character: a separator beyond
// Latin-1 (the Arabic one, U+066B) cannot be shown, and "." stands in.
char QtPlatform::DecimalSeparator() const {
    const QString point = QLocale().decimalPoint();
    if (point.size() != 1 || point.front().unicode() == 0 || point.front().unicode() > 0xFF) {
        return '.';
    }
    return static_cast<char>(point.front().unicode());
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
