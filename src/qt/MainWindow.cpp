// SPDX-License-Identifier: MIT
#include "qt/MainWindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <array>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "Version.h"
#include "qt/BatchDialog.h"
#include "qt/ControlHelp.h"
#include "qt/QtPlatform.h"
#include "qt/Widgets.h"
#include "qt/WindowSettings.h"

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
// panel (Picture1) lies over Text1. Both are hidden until used. The menu bar
// and a bar for drawing patterns lie above all this and make the window
// taller by their heights:
//
//   Draw with symmetry: [none  v]   NN clues, symmetry ...      [Forecast]
constexpr int kClientWidth = 864;
constexpr int kWorkHeight = 444;
constexpr int kPatternBarHeight = 30;
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

// The handlers of buttons, check boxes and the picker's paging buttons, by
// the control's object name, and when each may run: while no other handler
// runs (Idle), inside another one that only waits (Nested: the halt, the
// question's answers), or only while the picker is open (Picking).
enum class When { Idle, Nested, Picking };
struct ClickHandler {
    const char* Name;
    void (*Handler)(Main&);
    When Runs;
};
constexpr std::array<ClickHandler, 18> kClicks = {{
    {"ButtonSolve", [](Main& m) { m.ButtonSolve_Click(); }, When::Idle},
    {"ButtonExit", [](Main& m) { m.ButtonExit_Click(); }, When::Idle},
    {"NewPattern", [](Main& m) { m.NewPattern_Click(); }, When::Idle},
    {"PreviousPattern", [](Main& m) { m.PreviousPattern_Click(); }, When::Idle},
    {"NextPattern", [](Main& m) { m.NextPattern_Click(); }, When::Idle},
    // A run lives inside the click on CommandGenerate and lets events run;
    // CommandHalt is the one button that acts meanwhile. CheckMinimal and
    // CheckLimit have no handler: their values reach the Form through the
    // binding.
    {"CommandGenerate", [](Main& m) { m.CommandGenerate_Click(); }, When::Idle},
    {"CommandHalt", [](Main& m) { m.CommandHalt_Click(); }, When::Nested},
    // The forecast samples inside its click as a run does; Halt cancels it.
    {"CommandForecast", [](Main& m) { m.CommandForecast_Click(); }, When::Idle},
    {"CheckRandomPattern", [](Main& m) { m.CheckRandomPattern_Click(); }, When::Idle},
    // The import waits inside its click for the question's answer.
    {"ImportPattern", [](Main& m) { m.ImportPattern_Click(); }, When::Idle},
    {"CommandYes", [](Main& m) { m.CommandYes_Click(); }, When::Nested},
    {"CommandNo", [](Main& m) { m.CommandNo_Click(); }, When::Nested},
    {"CommandCancel", [](Main& m) { m.CommandCancel_Click(); }, When::Nested},
    // The picker waits inside its click while its panel is open.
    {"PickPattern", [](Main& m) { m.PickPattern_Click(); }, When::Idle},
    {"KnopHome", [](Main& m) { m.KnopHome_Click(); }, When::Picking},
    {"KnopPageUp", [](Main& m) { m.KnopPageUp_Click(); }, When::Picking},
    {"KnopPageDown", [](Main& m) { m.KnopPageDown_Click(); }, When::Picking},
    {"KnopEnd", [](Main& m) { m.KnopEnd_Click(); }, When::Picking},
}};

}  // namespace

MainWindow::MainWindow(cluemill::Main& main, QtPlatform& platform, QSettings& settings)
    : main_(main),
      platform_(platform),
      settings_(settings),
      binding_([this] { Sync(); }),
      sheets_(main, platform, this) {
    setObjectName(QStringLiteral("Main"));
    // The installed icon theme's, else the one built in.
    setWindowIcon(
        QIcon::fromTheme(QStringLiteral("io.github.cluemill.Cluemill"),
                         QIcon(QStringLiteral(":/icons/io.github.cluemill.Cluemill.svg"))));
    binding_.Bind(main_.Form.Main, this);
    binding_.SetMnemonics(ControlMnemonics());
    BuildMenus();
    BuildPatternBar();
    setFixedSize(kClientWidth,
                 menuBar()->sizeHint().height() + kPatternBarHeight + kWorkHeight + kStatusHeight);
    auto* work = new QWidget(this);
    setCentralWidget(work);
    BuildPerformance(work);
    BuildGrid(work);
    BuildEditor(work);
    BuildGenerator(work);
    BuildTester(work);
    BuildQuestion(work);
    BuildPicker(work);
    // Frame3 stays on top of the picker's panel, to show the highlighted
    // pattern's statistics.
    WidgetOf(main_.Form.Frame3)->raise();
    BuildStatusBar();
    Connect();
    platform_.Attach(this);
    Sync();
    AddControlHelp(this);
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

template <class Handler>
void MainWindow::HandleWhilePicking(Handler handler) {
    if (main_.PickerOpen) HandleNested(handler);
}

void MainWindow::BuildPerformance(QWidget* work) {
    Form& f = main_.Form;
    auto* frame3 =
        Place<QGroupBox>(binding_, f.Frame3, work, {6, 4, 170, 404}, QStringLiteral("Frame3"));
    for (int i = 0; i < 22; ++i) {
        const int x = 8 + 10 * kLabel6Indent[i];
        Place<QLabel>(binding_, f.Label6[i], frame3, {x, 20 + 17 * i, 166 - x, 17},
                      Indexed("Label6", i));
    }
    for (int heading : kLabel6Headings) WidgetOf(f.Label6[heading])->setFont(Bold(font()));
}

void MainWindow::BuildGrid(QWidget* work) {
    Form& f = main_.Form;
    // A dark board, a lighter square per box, the cells on top.
    auto* board = new QFrame(work);
    board->setObjectName(QStringLiteral("GridBoard"));
    board->setGeometry(kGridLeft, kGridTop, kGridSize, kGridSize);
    Fill(board, QPalette::Shadow);
    // A click on a cell gives the board the keyboard, for Ctrl+C.
    board->setFocusPolicy(Qt::StrongFocus);
    new QShortcut(
        QKeySequence::Copy, board,
        [this] { QGuiApplication::clipboard()->setText(Latin1(main_.GridPuzzleText())); },
        Qt::WidgetShortcut);
    for (int box = 0; box < 9; ++box) {
        auto* shade = new QFrame(board);
        shade->setGeometry(CellOffset(box % 3 * 3), CellOffset(box / 3 * 3),
                           CellOffset(2) + kCellSize, CellOffset(2) + kCellSize);
        Fill(shade, QPalette::Dark);
    }
    const QFont gridFont = GridFont();
    for (int cell = 0; cell < kCells; ++cell) {
        auto* label =
            Place<CellLabel>(binding_, f.Grid[cell], board,
                             {CellOffset(cell % 9), CellOffset(cell / 9), kCellSize, kCellSize},
                             Indexed("Grid", cell));
        label->setAlignment(Qt::AlignCenter);
        label->setFont(gridFont);
        label->Clicked = [this, cell] { Handle([this, cell] { main_.Grid_Click(cell); }); };
    }
    for (int i = 0; i < 9; ++i) {
        Place<QLabel>(binding_, f.LabelColumn[i], work,
                      {kGridLeft + CellOffset(i), 4, kCellSize, 16}, Indexed("LabelColumn", i))
            ->setAlignment(Qt::AlignCenter);
        Place<QLabel>(binding_, f.LabelRow[i], work, {184, kGridTop + CellOffset(i), 14, kCellSize},
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
        Fill(Place<QFrame>(binding_, f.Line1[i], work, lines[i], Indexed("Line1", i)),
             QPalette::WindowText);
        Fill(Place<QFrame>(binding_, f.Line2[i], work, lines[2 + i], Indexed("Line2", i)),
             QPalette::WindowText);
    }
}

void MainWindow::BuildEditor(QWidget* work) {
    Form& f = main_.Form;
    Place<QLabel>(binding_, f.PatternName, work, {184, 272, 262, 18},
                  QStringLiteral("PatternName"));
    const std::array<std::pair<CommandButton*, const char*>, 5> buttons = {{
        {&f.NewPattern, "NewPattern"},
        {&f.PreviousPattern, "PreviousPattern"},
        {&f.NextPattern, "NextPattern"},
        {&f.ImportPattern, "ImportPattern"},
        {&f.PickPattern, "PickPattern"},
    }};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        Place<QPushButton>(binding_, *buttons[i].first, work,
                           {184 + 53 * static_cast<int>(i), 294, 49, 24},
                           QLatin1String(buttons[i].second));
    }
    Place<QPushButton>(binding_, f.CommandGenerate, work, {184, 330, 262, 30},
                       QStringLiteral("CommandGenerate"));
    // The halt button lies exactly over the generate button.
    Place<QPushButton>(binding_, f.CommandHalt, work, {184, 330, 262, 30},
                       QStringLiteral("CommandHalt"));
    Place<QPushButton>(binding_, f.ButtonExit, work, {366, 382, 80, 26},
                       QStringLiteral("ButtonExit"));
}

// A bar above the layout: the symmetry a click keeps, what the drawn pattern
// is, and its forecast.
void MainWindow::BuildPatternBar() {
    Form& f = main_.Form;
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PatternBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(kPatternBarHeight);
    addToolBar(Qt::TopToolBarArea, bar);
    // The label is the window's own: the Form has the list alone.
    auto* label = new QLabel(QStringLiteral("Dra&w with symmetry: "), bar);
    label->setObjectName(QStringLiteral("DrawSymmetryLabel"));
    bar->addWidget(label);
    auto* symmetry =
        Place<QComboBox>(binding_, f.DrawSymmetry, bar, {}, QStringLiteral("DrawSymmetry"));
    symmetry->setMinimumWidth(130);
    bar->addWidget(symmetry);
    bar->addSeparator();
    bar->addWidget(Place<QLabel>(binding_, f.PatternInfo, bar, {}, QStringLiteral("PatternInfo")));
    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    bar->addWidget(Place<QPushButton>(binding_, f.CommandForecast, bar, {},
                                      QStringLiteral("CommandForecast")));
}

void MainWindow::BuildGenerator(QWidget* work) {
    Form& f = main_.Form;
    auto* frame1 =
        Place<QGroupBox>(binding_, f.Frame1, work, {456, 4, 402, 70}, QStringLiteral("Frame1"));
    Place<QCheckBox>(binding_, f.CheckRandomPattern, frame1, {10, 20, 180, 20},
                     QStringLiteral("CheckRandomPattern"));
    Place<QCheckBox>(binding_, f.CheckMinimal, frame1, {200, 20, 180, 20},
                     QStringLiteral("CheckMinimal"));
    Place<QLabel>(binding_, f.Label3[0], frame1, {10, 44, 154, 22}, Indexed("Label3", 0));
    Place<QComboBox>(binding_, f.Combo1, frame1, {166, 44, 80, 22}, QStringLiteral("Combo1"));
    Place<QLabel>(binding_, f.Label3[1], frame1, {252, 44, 120, 22}, Indexed("Label3", 1));
    auto* frame2 =
        Place<QGroupBox>(binding_, f.Frame2, work, {456, 78, 402, 104}, QStringLiteral("Frame2"));
    for (int i = 0; i < 4; ++i) {
        Place<QRadioButton>(binding_, f.Option1[i], frame2, {10, 20 + 20 * i, 382, 20},
                            Indexed("Option1", i));
    }
    Place<QCheckBox>(binding_, f.CheckLimit, work, {464, 186, 200, 20},
                     QStringLiteral("CheckLimit"));
    Place<QLabel>(binding_, f.Label4, work, {456, 210, 164, 24}, QStringLiteral("Label4"));
    Fill(Place<QFrame>(binding_, f.Line3, work, {624, 221, 26, 2}, QStringLiteral("Line3")),
         QPalette::WindowText);
    Place<QComboBox>(binding_, f.Combo2, work, {656, 210, 202, 24}, QStringLiteral("Combo2"));
}

void MainWindow::BuildTester(QWidget* work) {
    Form& f = main_.Form;
    auto* text1 =
        Place<DropTextBox>(binding_, f.Text1, work, {456, 240, 402, 168}, QStringLiteral("Text1"));
    text1->setAcceptDrops(true);
    text1->viewport()->setAcceptDrops(true);
    text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The instructions fit; the empty line after the final line end would
    // only bring a scroll bar.
    text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text1->Dropped = [this](const std::vector<std::string>& files) {
        Handle([this, &files] { main_.Text1_OLEDragDrop(files); });
    };
    // Only a drop target: the keyboard has nothing to do there.
    text1->setFocusPolicy(Qt::ClickFocus);
    auto* text2 =
        Place<PuzzleTextBox>(binding_, f.Text2, work, {6, 414, 598, 24}, QStringLiteral("Text2"));
    text2->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text2->setMaxLength(std::numeric_limits<int>::max());
    text2->FromPasted = [](const QString& pasted) {
        return Latin1(PuzzleTextFromGrid(pasted.toLatin1().toStdString()));
    };
    Place<QPushButton>(binding_, f.ButtonSolve, work, {612, 414, 124, 24},
                       QStringLiteral("ButtonSolve"));
    Place<QCheckBox>(binding_, f.TestMinimal, work, {742, 414, 116, 24},
                     QStringLiteral("TestMinimal"));
}

// The question panel of the pattern import, over Text1 (locked during the
// import), so that the pattern it asks about stays in view.
void MainWindow::BuildQuestion(QWidget* work) {
    Form& f = main_.Form;
    auto* picture1 =
        Place<QFrame>(binding_, f.Picture1, work, {537, 264, 240, 120}, QStringLiteral("Picture1"));
    picture1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    picture1->setLineWidth(2);
    Fill(picture1, QPalette::Window);
    auto* picture2 =
        Place<QFrame>(binding_, f.Picture2, picture1, {4, 4, 232, 26}, QStringLiteral("Picture2"));
    picture2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* label1 =
        Place<QLabel>(binding_, f.Label1, picture2, {2, 2, 228, 22}, QStringLiteral("Label1"));
    label1->setAlignment(Qt::AlignCenter);
    label1->setFont(Bold(font()));
    Place<QLabel>(binding_, f.Label2, picture1, {10, 40, 220, 20}, QStringLiteral("Label2"))
        ->setAlignment(Qt::AlignCenter);
    const std::array<std::pair<CommandButton*, const char*>, 3> answers = {{
        {&f.CommandYes, "CommandYes"},
        {&f.CommandNo, "CommandNo"},
        {&f.CommandCancel, "CommandCancel"},
    }};
    QPushButton* cancel = nullptr;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        cancel = Place<QPushButton>(binding_, *answers[i].first, picture1,
                                    {10 + 76 * static_cast<int>(i), 82, 68, 26},
                                    QLatin1String(answers[i].second));
        // As in a question box: Return presses the button that has the
        // focus ("Yes" when the question comes), Escape cancels.
        cancel->setAutoDefault(true);
    }
    static_cast<QPushButton*>(WidgetOf(f.CommandYes))->setDefault(true);
    picture1->installEventFilter(new EscapePresses(cancel, picture1));
}

// The picker panel covers the whole window but Frame3; the status bar gives
// way to it while it is shown (Sync), so that its help line runs across its
// bottom.
void MainWindow::BuildPicker(QWidget* work) {
    Form& f = main_.Form;
    auto* picture3 =
        Place<QFrame>(binding_, f.Picture3, work, {0, 0, kClientWidth, kWorkHeight + kStatusHeight},
                      QStringLiteral("Picture3"));
    picture3->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Fill(picture3, QPalette::Window);
    // A 541 x 429 drawing area inside a two-pixel sunken border.
    picture4_ = new PickSurface(main_.Picker.Canvas(), picture3);
    picture4_->setObjectName(QStringLiteral("Picture4"));
    picture4_->setGeometry(184, 4, 545, 433);
    binding_.Bind(f.Picture4, picture4_, main_.Picker.Canvas());
    picture4_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture4_->setLineWidth(2);
    Fill(picture4_, QPalette::Window);
    const std::array<std::tuple<CommandButton*, const char*, QRect>, 4> knops = {{
        {&f.KnopHome, "KnopHome", {735, 4, 56, 26}},
        {&f.KnopPageUp, "KnopPageUp", {795, 4, 56, 26}},
        {&f.KnopPageDown, "KnopPageDown", {735, 411, 56, 26}},
        {&f.KnopEnd, "KnopEnd", {795, 411, 56, 26}},
    }};
    for (const auto& [control, name, geometry] : knops) {
        Place<QPushButton>(binding_, *control, picture3, geometry, QLatin1String(name))
            ->setFocusPolicy(Qt::NoFocus);
    }
    Place<QLabel>(binding_, f.Label7, picture3, {735, 40, 40, 18}, QStringLiteral("Label7"));
    Place<QLabel>(binding_, f.LabelPage, picture3, {777, 40, 74, 18}, QStringLiteral("LabelPage"));
    Place<QLabel>(binding_, f.Label5, picture3,
                  {4, kWorkHeight, kClientWidth - 8, kStatusHeight - 2}, QStringLiteral("Label5"))
        ->setAlignment(Qt::AlignCenter);
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    binding_.Bind(f.Timer1, timer1_);
}

void MainWindow::BuildStatusBar() {
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
    binding_.Bind(main_.Form.StatusBar, bar, panels);
}

// Widget events that have handlers: the table of clicks, then the controls
// that tell more than a click (an index, a text, keys, the mouse).
void MainWindow::Connect() {
    for (std::size_t k = 0; k < kClicks.size(); ++k) {
        auto* button = findChild<QAbstractButton*>(QLatin1String(kClicks[k].Name));
        connect(button, &QAbstractButton::clicked, this, [this, k] {
            const auto call = [this, k] { kClicks[k].Handler(main_); };
            if (kClicks[k].Runs == When::Idle) Handle(call);
            if (kClicks[k].Runs == When::Nested) HandleNested(call);
            if (kClicks[k].Runs == When::Picking) HandleWhilePicking(call);
        });
    }
    for (int i = 0; i < 4; ++i) {
        connect(static_cast<QAbstractButton*>(WidgetOf(main_.Form.Option1[i])),
                &QAbstractButton::clicked, this,
                [this, i] { Handle([this, i] { main_.Option1_Click(i); }); });
    }
    // A locked list takes no choice, so there is nothing to report.
    connect(static_cast<QComboBox*>(WidgetOf(main_.Form.Combo1)), &QComboBox::activated, this,
            [this] {
                if (!main_.Form.Combo1.Locked) Handle([this] { main_.Combo1_Click(); });
            });
    connect(static_cast<QComboBox*>(WidgetOf(main_.Form.Combo2)), &QComboBox::activated, this,
            [this] {
                if (!main_.Form.Combo2.Locked) Handle([this] { main_.Combo2_Click(); });
            });
    auto* text2 = static_cast<QLineEdit*>(WidgetOf(main_.Form.Text2));
    connect(text2, &QLineEdit::textEdited, this, [this] {
        if (busy_) {
            binding_.Reshow(main_.Form.Text2);
            return;
        }
        binding_.Pull(main_.Form.Text2);
        Handle([this] { main_.Text2_Change(); });
        binding_.PushCaret(main_.Form.Text2);
    });
    picture4_->KeyDown = [this](int keyCode, int shift) {
        HandleWhilePicking([this, keyCode, shift] { main_.Picture4_KeyDown(keyCode, shift); });
    };
    picture4_->KeyUp = [this] { HandleWhilePicking([this] { main_.Picture4_KeyUp(); }); };
    picture4_->MouseUp = [this](int button, int shift, double x, double y) {
        HandleWhilePicking(
            [this, button, shift, x, y] { main_.Picture4_MouseUp(button, shift, x, y); });
    };
    picture4_->DoubleClick = [this] { HandleWhilePicking([this] { main_.Picture4_DblClick(); }); };
    connect(timer1_, &QTimer::timeout, this,
            [this] { HandleWhilePicking([this] { main_.Timer1_Timer(); }); });
}

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    import_ = file->addAction(QStringLiteral("&Import..."), QKeySequence::Open, this,
                              [this] { Handle([this] { main_.ImportPattern_Click(); }); });
    workActions_.push_back(file->addAction(QStringLiteral("&Export sheet..."),
                                           QKeySequence(Qt::CTRL | Qt::Key_E), this,
                                           [this] { Handle([this] { sheets_.Export(); }); }));
    workActions_.push_back(file->addAction(QStringLiteral("&Print..."), QKeySequence::Print, this,
                                           [this] { Handle([this] { sheets_.Print(); }); }));
    workActions_.push_back(file->addAction(QStringLiteral("&Batch..."), this, [this] {
        Handle([this] {
            if (auto batch = AskBatch(main_.Batch, platform_, this)) main_.Batch = *batch;
        });
    }));
    file->addSeparator();
    // As the close box: refused during a run or while the picker is open.
    file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, [this] { close(); });
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    workActions_.push_back(help->addAction(QStringLiteral("&About Cluemill"), this,
                                           [this] { Handle([this] { About(); }); }));
}

void MainWindow::About() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("About Cluemill"),
                    QStringLiteral("Cluemill %1\n\n"
                                   "Sudoku puzzles from clue patterns: generated, graded, tested, "
                                   "and printed on sheets.\n\n"
                                   "Licence: MIT\n"
                                   "Data folder: %2")
                        .arg(QLatin1String(kVersion), QFile::decodeName(main_.AppFolder.c_str())),
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.setIconPixmap(windowIcon().pixmap(64));
    platform_.Exec(box);
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
    const WindowSettings saved = WindowSettings::Load(settings_);
    Handle([this, &saved] { main_.RestoreChoices(saved.Choices); });
    platform_.SetOpenFolder(QFile::encodeName(saved.OpenFolder).toStdString());
    sheets_.Settings = saved.Sheet;
    main_.Batch = saved.Batch;
    // Where it stood last, as long as its title bar is on a screen.
    if (saved.Position &&
        QGuiApplication::screenAt(*saved.Position + QPoint(width() / 2, 8)) != nullptr) {
        main_.Form.Main.Left = saved.Position->x() * kTwipsPerPixel;
        main_.Form.Main.Top = saved.Position->y() * kTwipsPerPixel;
    }
    move(main_.Form.Main.Left / kTwipsPerPixel, main_.Form.Main.Top / kTwipsPerPixel);
    show();
}

void MainWindow::SaveSettings() {
    WindowSettings current;
    current.Choices = main_.CurrentChoices();
    current.Position = pos();
    current.OpenFolder = QFile::decodeName(platform_.OpenFolder().c_str());
    current.Sheet = sheets_.Settings;
    current.Batch = main_.Batch;
    current.Save(settings_);
}

void MainWindow::Sync() {
    binding_.Sync();
    const CommandButton& import = main_.Form.ImportPattern;
    import_->setEnabled(!busy_ && import.Enabled && import.Visible);
    for (QAction* action : workActions_) action->setEnabled(!busy_);
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
        SaveSettings();
        // A long operation that lets events run (an import) ends with it.
        HandleNested([this] { main_.Form_Unload(); });
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace cluemill
