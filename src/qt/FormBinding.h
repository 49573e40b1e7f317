// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/Form.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QWidget;

namespace cluemill {

// Keeps each widget in step with its control of the Form. Every control is
// bound once to its widget; Sync pushes the state of all controls (caption or
// text, colours, enabled and visible states, values, lists, panel texts),
// Sync(control) that of one. What a user changes in a widget that holds a
// value (a tick, an option, a list choice) is written back into the Form
// here, then `changed` runs; events with handlers belong to the window.
// While input is blocked (a handler of the engine is running) such a change
// is not taken: the widget shows the Form's value again.
//
// A caption is shown byte for byte, except for mnemonics: a button, check
// box, option button or frame reads '&' as the mark of its mnemonic, so its
// text has every '&' of the caption doubled and, when the control has a
// mnemonic letter, one '&' before the first such letter (so does a label
// that has one: it names its buddy's key). The Form's captions never carry
// these marks; a widget's text with the marks taken out is its caption.
class FormBinding {
  public:
    explicit FormBinding(std::function<void()> changed);

    void Bind(Label& control, QLabel* widget);
    void Bind(CommandButton& control, QPushButton* widget);
    void Bind(CheckBox& control, QCheckBox* widget);
    void Bind(OptionButton& control, QRadioButton* widget);
    void Bind(ComboBox& control, QComboBox* widget);
    void Bind(TextBox& control, QLineEdit* widget);
    void Bind(TextBox& control, QPlainTextEdit* widget);
    void Bind(Frame& control, QGroupBox* widget);
    void Bind(Line& control, QWidget* widget);
    void Bind(PictureBox& control, QWidget* widget);
    // The widget paints a canvas; it is repainted when the canvas was drawn
    // on.
    void Bind(PictureBox& control, QWidget* widget, const PixelCanvas& canvas);
    void Bind(PanelBar& control, QWidget* bar, const std::array<QLabel*, 6>& panels);
    void Bind(Window& window, QWidget* widget);
    void Bind(Timer& timer, QTimer* qtimer);

    // Pushes every control's state to its widget.
    void Sync();
    // Pushes one control's state; false when the control has no widget.
    bool Sync(const Control& control);
    // The widget bound to the control, or nullptr.
    QWidget* WidgetOf(const Control& control) const;

    // The mnemonic letters of controls, by object name; set before the first
    // Sync. A label with a letter must have a buddy.
    void SetMnemonics(std::map<QString, char> mnemonics) { mnemonics_ = std::move(mnemonics); }

    // While blocked, what a user changes in a widget is undone instead of
    // being written into the Form.
    void BlockInput(bool blocked) { blocked_ = blocked; }

    // The text and caret a user left in a one-line text box, into the Form.
    void Pull(TextBox& control);
    // Shows the Form's text and caret in the one-line text box again, over
    // whatever a user typed.
    void Reshow(const TextBox& control);
    // The Form's caret and selection, into the one-line text box.
    void PushCaret(const TextBox& control);

  private:
    struct Entry {
        QWidget* widget;
        std::function<void()> push;
    };
    void Add(const Control& control, QWidget* widget, std::function<void()> push);
    void UserChanged();
    // The text a widget that reads mnemonic marks shows for a caption.
    QString Marked(const QWidget* widget, const std::string& caption) const;
    // True when a user's change of a value may be written into the Form.
    bool Takes() const { return !blocked_ || syncing_; }

    std::function<void()> changed_;
    std::map<QString, char> mnemonics_;
    std::vector<Entry> entries_;
    std::unordered_map<const Control*, std::size_t> index_;
    // A text box's text as last pushed to or pulled from its widget: the
    // widget is only rewritten when the Form's text differs from it, so a
    // user's edit is never overwritten by an unchanged Form.
    std::unordered_map<const Control*, std::string> shownText_;
    std::function<void()> pushWindow_;
    std::function<void()> pushTimer_;
    bool syncing_ = false;
    bool blocked_ = false;
};

// Form text is one byte per character.
QString Latin1(const std::string& text);

}  // namespace cluemill
