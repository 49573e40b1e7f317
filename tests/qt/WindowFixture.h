// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <numeric>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Main.h"
#include "qt/FormBinding.h"
#include "qt/MainWindow.h"
#include "qt/QtPlatform.h"

namespace cluemill {

struct Message {
    std::string Text;
    std::string Caption;
    bool operator==(const Message&) const = default;
};

inline void PrintTo(const Message& message, std::ostream* out) {
    *out << '"' << message.Text << "\" / \"" << message.Caption << '"';
}

inline const QColor kRedColour(255, 0, 0);
inline const QColor kWhiteColour(255, 255, 255);
inline const QColor kBlackColour(0, 0, 0);

inline QColor WindowColour() {
    return QApplication::palette().color(QPalette::Window);
}

// The window on a fresh data folder, its message boxes recorded instead of
// shown, and ways to reach and use its widgets.
class WindowTest : public ::testing::Test {
  protected:
    WindowTest()
        : platform_(QFile::encodeName(folder_.path()).toStdString()),
          main_(platform_),
          window_(main_, platform_) {
        platform_.SetMessageBoxHook([this](const std::string& text, const std::string& caption) {
            messages_.push_back({text, caption});
        });
        window_.Start();
    }

    template <class W>
    W* Widget(const QString& name) {
        auto* widget = window_.findChild<W*>(name);
        if (widget == nullptr) throw std::runtime_error("no widget " + name.toStdString());
        return widget;
    }
    QLabel* Cell(int index) { return Widget<QLabel>(QStringLiteral("Grid(%1)").arg(index)); }

    void Type(const QString& text) {
        QTest::keyClicks(Widget<QLineEdit>(QStringLiteral("Text2")), text);
    }
    // Clicks near the left end, where a check box or option button has its
    // mark and caption.
    void Click(const QString& name) {
        auto* button = Widget<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    // Drags data onto Text1 and drops it there; true when the drag was
    // welcomed.
    bool Drop(QMimeData& data) {
        QWidget* target = Widget<QPlainTextEdit>(QStringLiteral("Text1"))->viewport();
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return enter.isAccepted();
    }
    bool DropFiles(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        return Drop(data);
    }
    QString WriteFile(const QString& name, const QByteArray& content) {
        const QString path = folder_.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
            throw std::runtime_error("cannot write " + path.toStdString());
        }
        return path;
    }

    // Every cell shows the puzzle text's character: a digit on red, or "0"
    // on the window colour for an empty cell.
    void ExpectGridShows(const char* puzzle) {
        for (int i = 0; i < kCells; ++i) {
            SCOPED_TRACE(i);
            const char c = puzzle[i];
            const bool given = c >= '1' && c <= '9';
            const QPalette palette = Cell(i)->palette();
            EXPECT_EQ(Cell(i)->text(), given ? QString(QLatin1Char(c)) : QStringLiteral("0"));
            EXPECT_EQ(palette.color(QPalette::Window), given ? kRedColour : WindowColour());
        }
    }

    // Clicks the cells marked X in the 81-character pattern.
    void DrawPattern(const char* pattern) {
        for (int i = 0; i < kCells; ++i) {
            if (pattern[i] == 'X') QTest::mouseClick(Cell(i), Qt::LeftButton);
        }
    }
    // Clicks "Generate Sudokus" and returns when the run it starts has
    // ended. Every 10 ms of the run, `tick` is called from inside it (the
    // run lets window events run, timers included; Qt never starts a timer's
    // call inside the same timer's call). A run that goes on for a second
    // after a click on "Halt Generator", or for twenty seconds in all, fails
    // the test and is halted behind the window's back.
    void Generate(const std::function<void()>& tick) {
        haltClicked_ = false;
        QTimer ticker;
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (!haltClicked_) tick();
        });
        int ticks = 0;
        int ticksSinceHalt = 0;
        QTimer watchdog;
        watchdog.setInterval(10);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            if (++ticks == 2000 || (haltClicked_ && ++ticksSinceHalt == 100)) {
                ADD_FAILURE() << "the run goes on"
                              << (haltClicked_ ? " after the click on Halt Generator" : "");
                main_.CommandHalt_Click();
            }
        });
        ticker.start();
        watchdog.start();
        QTest::mouseClick(Widget<QPushButton>(QStringLiteral("CommandGenerate")), Qt::LeftButton);
    }
    void ClickHalt() {
        haltClicked_ = true;
        QTest::mouseClick(Widget<QPushButton>(QStringLiteral("CommandHalt")), Qt::LeftButton);
    }
    int Accepted() const {
        return std::accumulate(main_.Generator.NewCount.begin(), main_.Generator.NewCount.end(), 0);
    }
    QStringList PanelTexts() {
        QStringList texts;
        for (int k = 1; k <= 6; ++k) {
            texts << Widget<QLabel>(QStringLiteral("StatusBar.Panels(%1)").arg(k))->text();
        }
        return texts;
    }

    QTemporaryDir folder_;
    QtPlatform platform_;
    Main main_;
    MainWindow window_;
    std::vector<Message> messages_;
    bool haltClicked_ = false;
};

}  // namespace cluemill
