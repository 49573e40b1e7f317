// SPDX-License-Identifier: MIT
#include "qt/Widgets.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace cluemill {

namespace {

int Shift(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) +
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) +
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

// The key codes the picker knows; other keys report 0.
int KeyCode(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        default:
            return 0;
    }
}

}  // namespace

void CellLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void CellLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        Clicked) {
        Clicked();
    }
}

void DropTextBox::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
}

void DropTextBox::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void DropTextBox::dropEvent(QDropEvent* event) {
    std::vector<std::string> files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    event->acceptProposedAction();
    if (Dropped) Dropped(files);
}

void PuzzleTextBox::PasteClipboard() {
    if (isReadOnly()) return;
    const QString pasted = QGuiApplication::clipboard()->text();
    insert(FromPasted ? FromPasted(pasted) : pasted);
}

void PuzzleTextBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteClipboard();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// The standard menu, its paste action taken over. The action is known by
// its text (before the shortcut), translated as QLineEdit translates it.
void PuzzleTextBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QString paste = QLineEdit::tr("&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) != paste) continue;
        disconnect(action, &QAction::triggered, this, nullptr);
        connect(action, &QAction::triggered, this, &PuzzleTextBox::PasteClipboard);
    }
    menu->popup(event->globalPos());
}

bool EscapePresses::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        button_->click();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

PickSurface::PickSurface(const PixelCanvas& canvas, QWidget* parent)
    : QFrame(parent), canvas_(canvas) {
    setFocusPolicy(Qt::StrongFocus);
}

void PickSurface::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRgb background = palette().color(QPalette::Window).rgb();
    QImage image(canvas_.ScaleWidth(), canvas_.ScaleHeight(), QImage::Format_RGB32);
    for (int y = 0; y < canvas_.ScaleHeight(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const Colour* row = canvas_.Row(y);
        for (int x = 0; x < canvas_.ScaleWidth(); ++x) {
            const Colour c = row[x];
            line[x] = c == kWindowBackground
                          ? background
                          : qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                                 static_cast<int>((c >> 16) & 0xFF));
        }
    }
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), image);
}

void PickSurface::keyPressEvent(QKeyEvent* event) {
    if (KeyDown) KeyDown(KeyCode(*event), Shift(event->modifiers()));
}

// The keyboard's own repeats of a held key come as further presses; only the
// real release counts.
void PickSurface::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat() && KeyUp) KeyUp();
}

void PickSurface::mouseReleaseEvent(QMouseEvent* event) {
    const int button = event->button() == Qt::LeftButton     ? 1
                       : event->button() == Qt::RightButton  ? 2
                       : event->button() == Qt::MiddleButton ? 4
                                                             : 0;
    const QPointF at = event->position() - contentsRect().topLeft();
    if (button != 0 && MouseUp) MouseUp(button, Shift(event->modifiers()), at.x(), at.y());
}

void PickSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && DoubleClick) DoubleClick();
}

}  // namespace cluemill
