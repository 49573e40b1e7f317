// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Main.h"
#include "qt/FormBinding.h"
#include "qt/MainWindow.h"
#include "qt/QtPlatform.h"

namespace cluemill {

// A caption as a widget shows it, without the marks of its mnemonic: this is
// how a test compares a widget's text with its Form caption.
inline QString PlainCaption(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) plain += text[text[i] == '&' ? ++i : i];
    return plain;
}

// The window on a fresh data folder with settings of its own (never the
// user's), its message boxes recorded as "text / caption" and its dialogs
// answered by `answer_` instead of a person.
class WindowTest : public ::testing::Test {
  protected:
    WindowTest()
        : settings_(folder_.filePath(QStringLiteral("cluemill.conf")), QSettings::IniFormat),
          platform_(QFile::encodeName(folder_.path()).toStdString()),
          main_(platform_),
          window_(main_, platform_, settings_) {
        platform_.SetMessageBoxHook([this](const std::string& text, const std::string& caption) {
            messages_.push_back(text + " / " + caption);
        });
        platform_.SetDialogHook([this](QDialog& dialog) {
            if (!answer_) ADD_FAILURE() << "a dialog nobody answers";
            return answer_ ? answer_(dialog) : int(QDialog::Rejected);
        });
        window_.Start();
    }

    template <class W = QWidget>
    W* Widget(const QString& name, QWidget* in = nullptr) {
        auto* widget = (in != nullptr ? in : &window_)->findChild<W*>(name);
        if (widget == nullptr) throw std::runtime_error("no widget " + name.toStdString());
        return widget;
    }
    QLabel* Cell(int index) { return Widget<QLabel>(QStringLiteral("Grid(%1)").arg(index)); }
    QLineEdit* Text2() { return Widget<QLineEdit>(QStringLiteral("Text2")); }
    void Type(const QString& text) { QTest::keyClicks(Text2(), text); }
    // Clicks near the left end, where a check box or option button has its
    // mark and caption.
    void Click(const char* name) {
        auto* button = Widget<QAbstractButton>(QLatin1String(name));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    QString WriteFile(const QString& name, const QByteArray& content) {
        QFile file(folder_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        return file.fileName();
    }
    // What the grid shows, cell by cell: on red the caption's digit, or "X"
    // for none (a clue of a pattern); off red "." for "0", else the caption.
    QString Grid() {
        QString shown;
        for (int i = 0; i < kCells; ++i) {
            const QChar c = (Cell(i)->text() + ' ')[0];
            const bool red = Cell(i)->palette().color(QPalette::Window) == QColor(Qt::red);
            shown += red ? (c == ' ' ? QChar('X') : c) : (c == '0' ? QChar('.') : c);
        }
        return shown;
    }
    // Clicks `button` and calls `step` every 10 ms while the handler it
    // started waits (a run, the import, the picker), until `step` returns
    // false. A handler that goes on for twenty seconds fails the test and
    // is ended behind the window's back.
    void ClickAndStep(const char* button, const std::function<bool()>& step) {
        bool stepping = true;
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (++ticks == 2000) {
                ADD_FAILURE() << "the handler goes on";
                main_.CommandHalt_Click();
                main_.CommandCancel_Click();
                main_.Picture4_KeyDown(27, 0);
            }
            if (stepping) stepping = ticks < 2000 && step();
        });
        ticker.start(10);
        QTest::mouseClick(Widget<QAbstractButton>(QLatin1String(button)), Qt::LeftButton);
        EXPECT_FALSE(stepping) << "the handler ended before its steps";
    }

    QTemporaryDir folder_;
    QSettings settings_;
    QtPlatform platform_;
    Main main_;
    MainWindow window_;
    std::vector<std::string> messages_;
    std::function<int(QDialog&)> answer_;
};

}  // namespace cluemill
