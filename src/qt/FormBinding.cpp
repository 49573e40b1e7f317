// SPDX-License-Identifier: MIT
#include "qt/FormBinding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <utility>

namespace cluemill {

namespace {

// No colour of the Form has all bits set: it marks "not pushed yet".
constexpr Colour kNoColour = 0xFFFFFFFF;

QColor ToQColor(Colour colour) {
    if (colour == kWindowBackground) return QGuiApplication::palette().color(QPalette::Window);
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

void PushState(const Control& control, QWidget* widget) {
    widget->setEnabled(control.Enabled);
    widget->setVisible(control.Visible);
}

// Line ends of the Form are CR LF; a text widget breaks lines at LF.
QString DisplayText(const std::string& text) {
    QString result = Latin1(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

// Hands the caption on when it differs from the one shown last.
template <class Show>
void PushCaption(const std::string& caption, std::string& shown, Show show) {
    if (caption == shown) return;
    shown = caption;
    show(shown);
}

int Clamp(std::int64_t position, int length) {
    return static_cast<int>(std::clamp<std::int64_t>(position, 0, length));
}

}  // namespace

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

FormBinding::FormBinding(std::function<void()> changed) : changed_(std::move(changed)) {}

void FormBinding::Add(const Control& control, QWidget* widget, std::function<void()> push) {
    index_[&control] = entries_.size();
    entries_.push_back({widget, std::move(push)});
}

QString FormBinding::Marked(const QWidget* widget, const std::string& caption) const {
    QString text = Latin1(caption);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const auto found = mnemonics_.find(widget->objectName());
    if (found != mnemonics_.end()) {
        const QLatin1Char letter(found->second);
        qsizetype at = text.indexOf(letter);
        if (at < 0) at = text.indexOf(letter, 0, Qt::CaseInsensitive);
        if (at >= 0) text.insert(at, QLatin1Char('&'));
    }
    return text;
}

void FormBinding::UserChanged() {
    if (syncing_) return;
    if (blocked_) {
        Sync();
    } else if (changed_) {
        changed_();
    }
}

void FormBinding::Bind(Label& control, QLabel* widget) {
    widget->setTextFormat(Qt::PlainText);
    // Set, not inherited: a label on a coloured panel shows its own colours.
    widget->setBackgroundRole(QPalette::Window);
    widget->setForegroundRole(QPalette::WindowText);
    Add(control, widget,
        [this, &control, widget, shown = std::string(), back = kNoColour,
         fore = kNoColour]() mutable {
            PushState(control, widget);
            // A label shows a mnemonic only for its buddy.
            PushCaption(control.Caption, shown, [this, widget](const std::string& text) {
                widget->setText(mnemonics_.count(widget->objectName()) != 0 ? Marked(widget, text)
                                                                            : Latin1(text));
            });
            if (control.BackColor != back || control.ForeColor != fore) {
                back = control.BackColor;
                fore = control.ForeColor;
                QPalette palette = widget->palette();
                palette.setColor(QPalette::Window, ToQColor(back));
                // A disabled label keeps the style's grey text.
                palette.setColor(QPalette::Active, QPalette::WindowText, ToQColor(fore));
                palette.setColor(QPalette::Inactive, QPalette::WindowText, ToQColor(fore));
                widget->setPalette(palette);
                // A label the colour of what lies under it lets that show
                // (the shading of a frame, say).
                const QWidget* under = widget->parentWidget();
                widget->setAutoFillBackground(under == nullptr ||
                                              under->palette().color(under->backgroundRole()) !=
                                                  ToQColor(back));
            }
        });
}

void FormBinding::Bind(CommandButton& control, QPushButton* widget) {
    Add(control, widget, [this, &control, widget, shown = std::string()]() mutable {
        PushState(control, widget);
        PushCaption(control.Caption, shown, [this, widget](const std::string& text) {
            widget->setText(Marked(widget, text));
        });
    });
}

void FormBinding::Bind(CheckBox& control, QCheckBox* widget) {
    QObject::connect(widget, &QCheckBox::clicked, widget, [this, &control](bool checked) {
        if (Takes()) control.Value = checked ? 1 : 0;
        UserChanged();
    });
    Add(control, widget, [this, &control, widget, shown = std::string()]() mutable {
        PushState(control, widget);
        PushCaption(control.Caption, shown, [this, widget](const std::string& text) {
            widget->setText(Marked(widget, text));
        });
        const bool ticked = control.Value == 1;
        if (widget->isChecked() != ticked) widget->setChecked(ticked);
    });
}

void FormBinding::Bind(OptionButton& control, QRadioButton* widget) {
    // Choosing one option clears the others of its frame, and each button
    // that changes reports its state. The click comes after all of them.
    QObject::connect(widget, &QRadioButton::toggled, widget, [this, &control](bool checked) {
        if (Takes()) control.Value = checked;
    });
    QObject::connect(widget, &QRadioButton::clicked, widget, [this] { UserChanged(); });
    Add(control, widget, [this, &control, widget, shown = std::string()]() mutable {
        PushState(control, widget);
        PushCaption(control.Caption, shown, [this, widget](const std::string& text) {
            widget->setText(Marked(widget, text));
        });
        if (widget->isChecked() != control.Value) widget->setChecked(control.Value);
    });
}

void FormBinding::Bind(ComboBox& control, QComboBox* widget) {
    // A locked list keeps its entry: the choice is not taken, and the sync
    // that follows shows the Form's entry again.
    QObject::connect(widget, &QComboBox::activated, widget, [this, &control](int index) {
        if (!control.Locked && Takes()) control.ListIndex = index;
        UserChanged();
    });
    Add(control, widget, [&control, widget]() {
        PushState(control, widget);
        bool same = widget->count() == static_cast<int>(control.List.size());
        for (int i = 0; same && i < widget->count(); ++i) {
            same = widget->itemText(i) == Latin1(control.List[static_cast<std::size_t>(i)]);
        }
        if (!same) {
            widget->clear();
            for (const std::string& item : control.List) widget->addItem(Latin1(item));
        }
        const int index = control.ListIndex < widget->count() ? control.ListIndex : -1;
        if (widget->currentIndex() != index) widget->setCurrentIndex(index);
    });
}

void FormBinding::Bind(TextBox& control, QLineEdit* widget) {
    shownText_[&control] = widget->text().toLatin1().toStdString();
    Add(control, widget, [this, &control, widget]() {
        PushState(control, widget);
        widget->setReadOnly(control.Locked);
        std::string& shown = shownText_[&control];
        if (control.Text != shown) {
            shown = control.Text;
            widget->setText(Latin1(shown));
            PushCaret(control);
        }
    });
}

void FormBinding::Bind(TextBox& control, QPlainTextEdit* widget) {
    Add(control, widget, [this, &control, widget]() {
        PushState(control, widget);
        widget->setReadOnly(control.Locked);
        std::string& shown = shownText_[&control];
        if (control.Text != shown) {
            shown = control.Text;
            widget->setPlainText(DisplayText(shown));
        }
    });
}

void FormBinding::Bind(Frame& control, QGroupBox* widget) {
    Add(control, widget, [this, &control, widget, shown = std::string()]() mutable {
        PushState(control, widget);
        PushCaption(control.Caption, shown, [this, widget](const std::string& text) {
            widget->setTitle(Marked(widget, text));
        });
    });
}

void FormBinding::Bind(Line& control, QWidget* widget) {
    Add(control, widget, [&control, widget]() { PushState(control, widget); });
}

void FormBinding::Bind(PictureBox& control, QWidget* widget) {
    Add(control, widget, [&control, widget]() { PushState(control, widget); });
}

void FormBinding::Bind(PictureBox& control, QWidget* widget, const PixelCanvas& canvas) {
    Add(control, widget, [&control, widget, &canvas, shown = std::uint64_t{0}]() mutable {
        PushState(control, widget);
        if (canvas.Version() != shown) {
            shown = canvas.Version();
            widget->update();
        }
    });
}

// The bar's visibility is the window's to set: it gives way to the picker.
void FormBinding::Bind(PanelBar& control, QWidget* bar, const std::array<QLabel*, 6>& panels) {
    Add(control, bar, [&control, bar, panels, shown = std::array<std::string, 6>()]() mutable {
        bar->setEnabled(control.Enabled);
        for (std::size_t i = 0; i < panels.size(); ++i) {
            PushCaption(control.Panels[i], shown[i], [panel = panels[i]](const std::string& text) {
                panel->setText(Latin1(text));
            });
        }
    });
}

void FormBinding::Bind(Window& window, QWidget* widget) {
    pushWindow_ = [&window, widget, shown = std::string()]() mutable {
        PushCaption(window.Caption, shown,
                    [widget](const std::string& text) { widget->setWindowTitle(Latin1(text)); });
    };
}

void FormBinding::Bind(Timer& timer, QTimer* qtimer) {
    pushTimer_ = [&timer, qtimer, starts = std::uint64_t{0}]() mutable {
        if (qtimer->interval() != timer.Interval()) qtimer->setInterval(timer.Interval());
        if (!timer.Enabled()) {
            qtimer->stop();
        } else if (!qtimer->isActive() || starts != timer.Starts()) {
            // Started again since the last look: a new period from now.
            qtimer->start();
        }
        starts = timer.Starts();
    };
}

void FormBinding::Sync() {
    const bool outer = std::exchange(syncing_, true);
    for (const Entry& entry : entries_) entry.push();
    if (pushWindow_) pushWindow_();
    if (pushTimer_) pushTimer_();
    syncing_ = outer;
}

bool FormBinding::Sync(const Control& control) {
    const auto found = index_.find(&control);
    if (found == index_.end()) return false;
    const bool outer = std::exchange(syncing_, true);
    entries_[found->second].push();
    syncing_ = outer;
    return true;
}

QWidget* FormBinding::WidgetOf(const Control& control) const {
    const auto found = index_.find(&control);
    return found == index_.end() ? nullptr : entries_[found->second].widget;
}

void FormBinding::Pull(TextBox& control) {
    const auto* widget = qobject_cast<const QLineEdit*>(WidgetOf(control));
    if (widget == nullptr) return;
    control.Text = widget->text().toLatin1().toStdString();
    control.SelStart =
        widget->hasSelectedText() ? widget->selectionStart() : widget->cursorPosition();
    control.SelLength = widget->selectedText().size();
    shownText_[&control] = control.Text;
}

void FormBinding::Reshow(const TextBox& control) {
    auto* widget = qobject_cast<QLineEdit*>(WidgetOf(control));
    if (widget == nullptr) return;
    const bool outer = std::exchange(syncing_, true);
    shownText_[&control] = control.Text;
    widget->setText(Latin1(control.Text));
    PushCaret(control);
    syncing_ = outer;
}

void FormBinding::PushCaret(const TextBox& control) {
    auto* widget = qobject_cast<QLineEdit*>(WidgetOf(control));
    if (widget == nullptr) return;
    const int length = static_cast<int>(widget->text().size());
    const int start = Clamp(control.SelStart, length);
    const int selected = Clamp(control.SelLength, length - start);
    if (selected > 0) {
        widget->setSelection(start, selected);
    } else {
        widget->setCursorPosition(start);
    }
}

}  // namespace cluemill
