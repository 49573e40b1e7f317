// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>
#include <string>
#include <vector>

#include "patterns/Canvas.h"

class QAbstractButton;

namespace cluemill {

// The widgets the window needs beyond Qt's own: each hands its events on
// to a function the window sets, in the terms the engine's handlers take.

// A grid cell: a label that reports a click of the left button.
class CellLabel : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void()> Clicked;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Text1: a read-only text that takes any drop and hands on the dropped
// files' paths (none for dropped text).
class DropTextBox : public QPlainTextEdit {
  public:
    using QPlainTextEdit::QPlainTextEdit;
    std::function<void(const std::vector<std::string>&)> Dropped;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// Text2: a one-line text box that hands what is pasted into it (by the
// keyboard or its context menu) to a function first, which makes a puzzle
// text of it; a pasted grid's line ends would otherwise become blanks.
class PuzzleTextBox : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    std::function<QString(const QString& pasted)> FromPasted;
    // Inserts the clipboard's text as FromPasted makes it, as a paste would.
    void PasteClipboard();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

// Escape pressed on a widget or on one of its children (which leave the key
// to it) clicks a button.
class EscapePresses : public QObject {
  public:
    EscapePresses(QAbstractButton* button, QObject* parent) : QObject(parent), button_(button) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAbstractButton* button_;
};

// Picture4: shows the picker's drawing inside a sunken border and reports
// keys (as the picker's key codes, 0 for others) and mouse buttons (1 left,
// 2 right, 4 middle) in the drawing's own pixels.
class PickSurface : public QFrame {
  public:
    PickSurface(const PixelCanvas& canvas, QWidget* parent);
    std::function<void(int keyCode, int shift)> KeyDown;
    std::function<void()> KeyUp;
    std::function<void(int button, int shift, double x, double y)> MouseUp;
    std::function<void()> DoubleClick;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab stays here like any other key: the widgets under the open picker
    // must not take the keyboard.
    bool focusNextPrevChild(bool) override { return false; }
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    const PixelCanvas& canvas_;
};

}  // namespace cluemill
