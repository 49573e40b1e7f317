// SPDX-License-Identifier: MIT
#include "qt/MainWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <array>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "qt/QtPlatform.h"

namespace cluemill {

namespace {

// The window as designed, in logical pixels (15 twips each); Qt scales it
// on high-density screens.
//
//   +-Frame3-----+  1 2 3 ... 9      +-Frame1------------------------+
//   | Non-Minimal| A+--Grid-----+    +-Frame2------------------------+
//   |  Not Exp.  | B|           |    CheckLimit
//   |   ...      | .|           |    Label4 ---- [Combo2        v]
//   |  Expanded  | J+-----------+    +-Text1 (drop target)-----------+
//   |   ...      | Pattern name:     |                               |
//   | Minimal    | New Prev Next ..  |                               |
//   |   ...      | [Generate Sudokus]|                               |
//   |            |           [Exit]  +-------------------------------+
//   +------------+
//   [Text2: 81 characters                  ] [Check  Uniqueness] [ ] Check Minimal
//   | panel | panel | panel | panel | panel | panel |
//
// The picker panel (Picture3) covers everything but Frame3; the question
// panel (Picture1) lies over Text1. Both are hidden until used.
constexpr int kClientWidth = 864;
constexpr int kWorkHeight = 444;
constexpr int kStatusHeight = 22;
constexpr int kTwipsPerPixel = 15;

constexpr int kGridLeft = 204;
constexpr int kGridTop = 24;
constexpr int kCellSize = 25;
// Cells are one pixel apart, boxes three: the lines show through the gaps.
constexpr int CellOffset(int index) {
    return index * (kCellSize + 1) + (index / 3) * 2;
}
constexpr int kGridSize = CellOffset(8) + kCellSize;

// Indent steps of the performance lines: the two blocks under "Non-Minimal"
// one step in from it and from "Minimal", each block's lines one step in
// from its heading.
constexpr std::array<int, 22> kLabel6Indent = {0, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2,
                                               2, 2, 2, 2, 0, 1, 1, 1, 1, 1, 1};
constexpr std::array<int, 4> kLabel6Headings = {0, 1, 8, 15};

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

template <class W, class C>
W* Place(FormBinding& binding, C& control, QWidget* parent, const QRect& geometry,
         const QString& name) {
    auto* widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    binding.Bind(control, widget);
    return widget;
}

QFont GridFont() {
    QFont font;
    font.setFamilies({QStringLiteral("BookmanITC Lt BT"), QStringLiteral("Bookman Old Style"),
                      QStringLiteral("URW Bookman")});
    font.setStyleHint(QFont::Serif);
    font.setPointSize(12);
    return font;
}

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

void Fill(QWidget* widget, QPalette::ColorRole role) {
    widget->setAutoFillBackground(true);
    widget->setBackgroundRole(role);
}

// A grid cell: a label that reports a click of the left button.
class CellLabel : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void()> Clicked;

  protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            Clicked) {
            Clicked();
        }
    }
};

// Text1: a read-only text that takes any drop and hands on the dropped
// files' paths (none for dropped text).
class DropTextBox : public QPlainTextEdit {
  public:
    using QPlainTextEdit::QPlainTextEdit;
    std::function<void(const std::vector<std::string>&)> Dropped;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override {
        std::vector<std::string> files;
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile()) {
                files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
            }
        }
        event->acceptProposedAction();
        if (Dropped) Dropped(files);
    }
};

// Escape pressed on a widget or on one of its children (which leave the key
// to it) clicks a button.
class EscapePresses : public QObject {
  public:
    EscapePresses(QAbstractButton* button, QObject* parent) : QObject(parent), button_(button) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            button_->click();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QAbstractButton* button_;
};

// Picture4: shows the picker's drawing inside a sunken border and reports
// keys and mouse buttons in the drawing's own pixels.
class PickSurface : public QFrame {
  public:
    PickSurface(const DrawingBox& box, QWidget* parent) : QFrame(parent), box_(box) {
        setFocusPolicy(Qt::StrongFocus);
    }
    std::function<void(int keyCode, int shift)> KeyDown;
    std::function<void()> KeyUp;
    std::function<void(int button, int shift, double x, double y)> MouseUp;
    std::function<void()> DoubleClick;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        const PixelCanvas& canvas = box_.Surface;
        const QRgb background = palette().color(QPalette::Window).rgb();
        QImage image(canvas.ScaleWidth(), canvas.ScaleHeight(), QImage::Format_RGB32);
        for (int y = 0; y < canvas.ScaleHeight(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            const Colour* row = canvas.Row(y);
            for (int x = 0; x < canvas.ScaleWidth(); ++x) {
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
    void keyPressEvent(QKeyEvent* event) override {
        if (KeyDown) KeyDown(KeyCode(*event), Shift(event->modifiers()));
    }
    // Tab stays here like any other key: the widgets under the open picker
    // must not take the keyboard.
    bool focusNextPrevChild(bool) override { return false; }
    // The keyboard's own repeats of a held key come as further presses;
    // only the real release counts.
    void keyReleaseEvent(QKeyEvent* event) override {
        if (!event->isAutoRepeat() && KeyUp) KeyUp();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const int button = event->button() == Qt::LeftButton     ? 1
                           : event->button() == Qt::RightButton  ? 2
                           : event->button() == Qt::MiddleButton ? 4
                                                                 : 0;
        const QPointF at = event->position() - contentsRect().topLeft();
        if (button != 0 && MouseUp) MouseUp(button, Shift(event->modifiers()), at.x(), at.y());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && DoubleClick) DoubleClick();
    }

  private:
    static int Shift(Qt::KeyboardModifiers modifiers) {
        return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) +
               (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) +
               (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
    }
    // The key codes the picker knows; other keys report 0.
    static int KeyCode(const QKeyEvent& event) {
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

    const DrawingBox& box_;
};

}  // namespace

MainWindow::MainWindow(cluemill::Main& main, QtPlatform& platform)
    : main_(main), platform_(platform), binding_([this] { Sync(); }) {
    Build();
    platform_.Attach(this);
    Sync();
}

MainWindow::~MainWindow() {
    platform_.Attach(nullptr);
}

template <class Handler>
void MainWindow::Handle(Handler handler) {
    if (busy_) {
        Sync();
        return;
    }
    busy_ = true;
    binding_.BlockInput(true);
    handler();
    busy_ = false;
    binding_.BlockInput(false);
    Sync();
}

template <class Handler>
void MainWindow::HandleNested(Handler handler) {
    handler();
    Sync();
}

void MainWindow::Build() {
    Form& f = main_.Form;
    FormBinding& b = binding_;
    setObjectName(QStringLiteral("Main"));
    b.Bind(f.Main, this);
    setFixedSize(kClientWidth, kWorkHeight + kStatusHeight);
    auto* work = new QWidget(this);
    setCentralWidget(work);

    auto* frame3 = Place<QGroupBox>(b, f.Frame3, work, {6, 4, 170, 404}, QStringLiteral("Frame3"));
    for (int i = 0; i < 22; ++i) {
        const int x = 8 + 10 * kLabel6Indent[i];
        Place<QLabel>(b, f.Label6[i], frame3, {x, 20 + 17 * i, 166 - x, 17}, Indexed("Label6", i));
    }
    for (int heading : kLabel6Headings) b.WidgetOf(f.Label6[heading])->setFont(Bold(font()));

    // The grid: a dark board, a lighter square per box, the cells on top.
    auto* board = new QFrame(work);
    board->setObjectName(QStringLiteral("GridBoard"));
    board->setGeometry(kGridLeft, kGridTop, kGridSize, kGridSize);
    Fill(board, QPalette::Shadow);
    for (int box = 0; box < 9; ++box) {
        auto* shade = new QFrame(board);
        shade->setGeometry(CellOffset(box % 3 * 3), CellOffset(box / 3 * 3),
                           CellOffset(2) + kCellSize, CellOffset(2) + kCellSize);
        Fill(shade, QPalette::Dark);
    }
    const QFont gridFont = GridFont();
    for (int cell = 0; cell < kCells; ++cell) {
        auto* label =
            Place<CellLabel>(b, f.Grid[cell], board,
                             {CellOffset(cell % 9), CellOffset(cell / 9), kCellSize, kCellSize},
                             Indexed("Grid", cell));
        label->setAlignment(Qt::AlignCenter);
        label->setFont(gridFont);
        label->Clicked = [this, cell] { Handle([this, cell] { main_.Grid_Click(cell); }); };
    }
    for (int i = 0; i < 9; ++i) {
        Place<QLabel>(b, f.LabelColumn[i], work, {kGridLeft + CellOffset(i), 4, kCellSize, 16},
                      Indexed("LabelColumn", i))
            ->setAlignment(Qt::AlignCenter);
        Place<QLabel>(b, f.LabelRow[i], work, {184, kGridTop + CellOffset(i), 14, kCellSize},
                      Indexed("LabelRow", i))
            ->setAlignment(Qt::AlignCenter);
    }
    // A square frame two pixels clear of the board; the horizontal lines
    // take the corners.
    const int frameLeft = kGridLeft - 4;
    const int frameTop = kGridTop - 4;
    const int frameSize = kGridSize + 8;
    const std::array<QRect, 4> lines = {
        QRect(frameLeft, frameTop, frameSize, 2),
        QRect(frameLeft, frameTop + frameSize - 2, frameSize, 2),
        QRect(frameLeft, frameTop + 2, 2, frameSize - 4),
        QRect(frameLeft + frameSize - 2, frameTop + 2, 2, frameSize - 4)};
    for (int i = 0; i < 2; ++i) {
        Fill(Place<QFrame>(b, f.Line1[i], work, lines[i], Indexed("Line1", i)),
             QPalette::WindowText);
        Fill(Place<QFrame>(b, f.Line2[i], work, lines[2 + i], Indexed("Line2", i)),
             QPalette::WindowText);
    }

    Place<QLabel>(b, f.PatternName, work, {184, 272, 262, 18}, QStringLiteral("PatternName"));
    auto* newPattern =
        Place<QPushButton>(b, f.NewPattern, work, {184, 294, 49, 24}, QStringLiteral("NewPattern"));
    auto* previousPattern = Place<QPushButton>(b, f.PreviousPattern, work, {237, 294, 49, 24},
                                               QStringLiteral("PreviousPattern"));
    auto* nextPattern = Place<QPushButton>(b, f.NextPattern, work, {290, 294, 49, 24},
                                           QStringLiteral("NextPattern"));
    auto* importPattern = Place<QPushButton>(b, f.ImportPattern, work, {343, 294, 49, 24},
                                             QStringLiteral("ImportPattern"));
    auto* pickPattern = Place<QPushButton>(b, f.PickPattern, work, {396, 294, 49, 24},
                                           QStringLiteral("PickPattern"));
    auto* generate = Place<QPushButton>(b, f.CommandGenerate, work, {184, 330, 262, 30},
                                        QStringLiteral("CommandGenerate"));
    // The halt button lies exactly over the generate button.
    auto* halt = Place<QPushButton>(b, f.CommandHalt, work, {184, 330, 262, 30},
                                    QStringLiteral("CommandHalt"));
    auto* exit =
        Place<QPushButton>(b, f.ButtonExit, work, {366, 382, 80, 26}, QStringLiteral("ButtonExit"));

    auto* frame1 = Place<QGroupBox>(b, f.Frame1, work, {456, 4, 402, 70}, QStringLiteral("Frame1"));
    auto* randomPattern = Place<QCheckBox>(b, f.CheckRandomPattern, frame1, {10, 20, 180, 20},
                                           QStringLiteral("CheckRandomPattern"));
    Place<QCheckBox>(b, f.CheckMinimal, frame1, {200, 20, 180, 20}, QStringLiteral("CheckMinimal"));
    Place<QLabel>(b, f.Label3[0], frame1, {10, 44, 154, 22}, Indexed("Label3", 0));
    auto* combo1 =
        Place<QComboBox>(b, f.Combo1, frame1, {166, 44, 80, 22}, QStringLiteral("Combo1"));
    Place<QLabel>(b, f.Label3[1], frame1, {252, 44, 120, 22}, Indexed("Label3", 1));
    auto* frame2 =
        Place<QGroupBox>(b, f.Frame2, work, {456, 78, 402, 104}, QStringLiteral("Frame2"));
    std::array<QRadioButton*, 4> option1{};
    for (int i = 0; i < 4; ++i) {
        option1[static_cast<std::size_t>(i)] = Place<QRadioButton>(
            b, f.Option1[i], frame2, {10, 20 + 20 * i, 382, 20}, Indexed("Option1", i));
    }
    Place<QCheckBox>(b, f.CheckLimit, work, {464, 186, 200, 20}, QStringLiteral("CheckLimit"));
    Place<QLabel>(b, f.Label4, work, {456, 210, 164, 24}, QStringLiteral("Label4"));
    Fill(Place<QFrame>(b, f.Line3, work, {624, 221, 26, 2}, QStringLiteral("Line3")),
         QPalette::WindowText);
    auto* combo2 =
        Place<QComboBox>(b, f.Combo2, work, {656, 210, 202, 24}, QStringLiteral("Combo2"));

    auto* text1 =
        Place<DropTextBox>(b, f.Text1, work, {456, 240, 402, 168}, QStringLiteral("Text1"));
    text1->setAcceptDrops(true);
    text1->viewport()->setAcceptDrops(true);
    text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The instructions fit; the empty line after the final line end would
    // only bring a scroll bar.
    text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* text2 = Place<QLineEdit>(b, f.Text2, work, {6, 414, 598, 24}, QStringLiteral("Text2"));
    text2->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text2->setMaxLength(std::numeric_limits<int>::max());
    auto* solve = Place<QPushButton>(b, f.ButtonSolve, work, {612, 414, 124, 24},
                                     QStringLiteral("ButtonSolve"));
    Place<QCheckBox>(b, f.TestMinimal, work, {742, 414, 116, 24}, QStringLiteral("TestMinimal"));

    // The question panel of the pattern import, over Text1 (locked during the
    // import), so that the pattern it asks about stays in view.
    auto* picture1 =
        Place<QFrame>(b, f.Picture1, work, {537, 264, 240, 120}, QStringLiteral("Picture1"));
    picture1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    picture1->setLineWidth(2);
    Fill(picture1, QPalette::Window);
    auto* picture2 =
        Place<QFrame>(b, f.Picture2, picture1, {4, 4, 232, 26}, QStringLiteral("Picture2"));
    picture2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* label1 = Place<QLabel>(b, f.Label1, picture2, {2, 2, 228, 22}, QStringLiteral("Label1"));
    label1->setAlignment(Qt::AlignCenter);
    label1->setFont(Bold(font()));
    Place<QLabel>(b, f.Label2, picture1, {10, 40, 220, 20}, QStringLiteral("Label2"))
        ->setAlignment(Qt::AlignCenter);
    auto* commandYes = Place<QPushButton>(b, f.CommandYes, picture1, {10, 82, 68, 26},
                                          QStringLiteral("CommandYes"));
    auto* commandNo =
        Place<QPushButton>(b, f.CommandNo, picture1, {86, 82, 68, 26}, QStringLiteral("CommandNo"));
    auto* commandCancel = Place<QPushButton>(b, f.CommandCancel, picture1, {162, 82, 68, 26},
                                             QStringLiteral("CommandCancel"));
    // As in a question box: Return presses the button that has the focus
    // ("Yes" when the question comes), Escape cancels.
    for (auto* answer : {commandYes, commandNo, commandCancel}) answer->setAutoDefault(true);
    commandYes->setDefault(true);
    picture1->installEventFilter(new EscapePresses(commandCancel, picture1));

    // The picker panel covers the whole window but Frame3, which stays on
    // top of it to show the highlighted pattern's statistics; the status bar
    // gives way to it while it is shown (Sync), so that its help line runs
    // across its bottom.
    auto* picture3 =
        Place<QFrame>(b, f.Picture3, work, {0, 0, kClientWidth, kWorkHeight + kStatusHeight},
                      QStringLiteral("Picture3"));
    picture3->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Fill(picture3, QPalette::Window);
    // A 541 x 429 drawing area inside a two-pixel sunken border.
    auto* picture4 = new PickSurface(f.Picture4, picture3);
    picture4->setObjectName(QStringLiteral("Picture4"));
    picture4->setGeometry(184, 4, 545, 433);
    b.Bind(f.Picture4, picture4);
    picture4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture4->setLineWidth(2);
    Fill(picture4, QPalette::Window);
    auto* knopHome =
        Place<QPushButton>(b, f.KnopHome, picture3, {735, 4, 56, 26}, QStringLiteral("KnopHome"));
    auto* knopPageUp = Place<QPushButton>(b, f.KnopPageUp, picture3, {795, 4, 56, 26},
                                          QStringLiteral("KnopPageUp"));
    Place<QLabel>(b, f.Label7, picture3, {735, 40, 40, 18}, QStringLiteral("Label7"));
    Place<QLabel>(b, f.LabelPage, picture3, {777, 40, 74, 18}, QStringLiteral("LabelPage"));
    Place<QLabel>(b, f.Label5, picture3, {4, kWorkHeight, kClientWidth - 8, kStatusHeight - 2},
                  QStringLiteral("Label5"))
        ->setAlignment(Qt::AlignCenter);
    auto* knopPageDown = Place<QPushButton>(b, f.KnopPageDown, picture3, {735, 411, 56, 26},
                                            QStringLiteral("KnopPageDown"));
    auto* knopEnd =
        Place<QPushButton>(b, f.KnopEnd, picture3, {795, 411, 56, 26}, QStringLiteral("KnopEnd"));
    for (auto* knop : {knopHome, knopPageUp, knopPageDown, knopEnd})
        knop->setFocusPolicy(Qt::NoFocus);

    frame3->raise();

    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(kStatusHeight);
    std::array<QLabel*, 6> panels{};
    for (int i = 0; i < 6; ++i) {
        auto* panel = new QLabel(bar);
        // Panels are numbered from 1.
        panel->setObjectName(QStringLiteral("StatusBar.Panels(%1)").arg(i + 1));
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        bar->addWidget(panel, 1);
        panels[static_cast<std::size_t>(i)] = panel;
    }
    b.Bind(f.StatusBar, bar, panels);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    b.Bind(f.Timer1, timer1_);

    // Events that have handlers.
    connect(text2, &QLineEdit::textEdited, this, [this] {
        if (busy_) {
            binding_.Reshow(main_.Form.Text2);
            return;
        }
        binding_.Pull(main_.Form.Text2);
        Handle([this] { main_.Text2_Change(); });
        binding_.PushCaret(main_.Form.Text2);
    });
    text1->Dropped = [this](const std::vector<std::string>& files) {
        Handle([this, &files] { main_.Text1_OLEDragDrop(files); });
    };
    connect(solve, &QPushButton::clicked, this,
            [this] { Handle([this] { main_.ButtonSolve_Click(); }); });
    connect(exit, &QPushButton::clicked, this,
            [this] { Handle([this] { main_.ButtonExit_Click(); }); });
    connect(newPattern, &QPushButton::clicked, this,
            [this] { Handle([this] { main_.NewPattern_Click(); }); });
    connect(previousPattern, &QPushButton::clicked, this,
            [this] { Handle([this] { main_.PreviousPattern_Click(); }); });
    connect(nextPattern, &QPushButton::clicked, this,
            [this] { Handle([this] { main_.NextPattern_Click(); }); });
    // A locked list takes no choice, so there is nothing to report.
    connect(combo2, &QComboBox::activated, this, [this] {
        if (!main_.Form.Combo2.Locked) Handle([this] { main_.Combo2_Click(); });
    });

    // The generator. A run lives inside the click on CommandGenerate and
    // lets events run; CommandHalt is the one button that acts meanwhile.
    // The settings' values reach the Form through the binding before their
    // handlers run; CheckMinimal and CheckLimit have no handler.
    connect(generate, &QPushButton::clicked, this,
            [this] { Handle([this] { main_.CommandGenerate_Click(); }); });
    connect(halt, &QPushButton::clicked, this,
            [this] { HandleNested([this] { main_.CommandHalt_Click(); }); });
    connect(combo1, &QComboBox::activated, this, [this] {
        if (!main_.Form.Combo1.Locked) Handle([this] { main_.Combo1_Click(); });
    });
    for (int i = 0; i < 4; ++i) {
        connect(option1[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { Handle([this, i] { main_.Option1_Click(i); }); });
    }
    connect(randomPattern, &QCheckBox::clicked, this,
            [this] { Handle([this] { main_.CheckRandomPattern_Click(); }); });

    // The import waits inside its click for the question's answer; the
    // three answer buttons only set it.
    connect(importPattern, &QPushButton::clicked, this,
            [this] { Handle([this] { main_.ImportPattern_Click(); }); });
    connect(commandYes, &QPushButton::clicked, this,
            [this] { HandleNested([this] { main_.CommandYes_Click(); }); });
    connect(commandNo, &QPushButton::clicked, this,
            [this] { HandleNested([this] { main_.CommandNo_Click(); }); });
    connect(commandCancel, &QPushButton::clicked, this,
            [this] { HandleNested([this] { main_.CommandCancel_Click(); }); });

    // The picker waits inside its click while its panel is open; its keys,
    // mouse, paging buttons and timer act meanwhile, and only then.
    connect(pickPattern, &QPushButton::clicked, this,
            [this] { Handle([this] { main_.PickPattern_Click(); }); });
    const auto whilePicking = [this](auto handler) {
        if (main_.PickerOpen) HandleNested(handler);
    };
    picture4->KeyDown = [this, whilePicking](int keyCode, int shift) {
        whilePicking([this, keyCode, shift] { main_.Picture4_KeyDown(keyCode, shift); });
    };
    picture4->KeyUp = [this, whilePicking] { whilePicking([this] { main_.Picture4_KeyUp(); }); };
    picture4->MouseUp = [this, whilePicking](int button, int shift, double x, double y) {
        whilePicking([this, button, shift, x, y] { main_.Picture4_MouseUp(button, shift, x, y); });
    };
    picture4->DoubleClick = [this, whilePicking] {
        whilePicking([this] { main_.Picture4_DblClick(); });
    };
    connect(knopHome, &QPushButton::clicked, this,
            [whilePicking, this] { whilePicking([this] { main_.KnopHome_Click(); }); });
    connect(knopPageUp, &QPushButton::clicked, this,
            [whilePicking, this] { whilePicking([this] { main_.KnopPageUp_Click(); }); });
    connect(knopPageDown, &QPushButton::clicked, this,
            [whilePicking, this] { whilePicking([this] { main_.KnopPageDown_Click(); }); });
    connect(knopEnd, &QPushButton::clicked, this,
            [whilePicking, this] { whilePicking([this] { main_.KnopEnd_Click(); }); });
    connect(timer1_, &QTimer::timeout, this,
            [whilePicking, this] { whilePicking([this] { main_.Timer1_Timer(); }); });
}

void MainWindow::FocusOn(const Control& control) {
    if (QWidget* widget = binding_.WidgetOf(control)) {
        Sync();
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::Start() {
    main_.Form.Main.Width = width() * kTwipsPerPixel;
    Handle([this] { main_.Form_Load(); });
    move(main_.Form.Main.Left / kTwipsPerPixel, main_.Form.Main.Top / kTwipsPerPixel);
    show();
}

void MainWindow::Sync() {
    binding_.Sync();
    const bool bar = main_.Form.StatusBar.Visible && !main_.Form.Picture3.Visible;
    if (statusBar()->isVisibleTo(this) != bar) statusBar()->setVisible(bar);
}

void MainWindow::Refresh(const Control& control) {
    if (binding_.Sync(control)) binding_.WidgetOf(control)->repaint();
}

void MainWindow::CloseNow() {
    closingNow_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool mayClose = closingNow_;
    if (!mayClose) HandleNested([this, &mayClose] { mayClose = main_.Form_QueryUnload(); });
    if (mayClose) {
        // A long operation that lets events run (an import) ends with it.
        HandleNested([this] { main_.Form_Unload(); });
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace cluemill
