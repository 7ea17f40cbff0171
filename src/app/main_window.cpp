#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "app/file_type_registration.h"
#include "app/place_labels.h"
#include "app/picture_pane.h"
#include "app/practice_buttons.h"
#include "app/qt_extract_feedback.h"
#include "app/qt_file_copy_question.h"
#include "app/startup_check.h"
#include "app/text_pane.h"
#include "app/tool_bar_widgets.h"
#include "app/start_page.h"
#include "app/tool_glyphs.h"
#include "app/volume_bar.h"
#include "app/overflow_button.h"
#include "media/wave_volume.h"
#include "lesson/opening_choice.h"
#include "lesson/settings_file_store.h"
#include "lesson/title_opening.h"
#include "lesson/user_data_folder.h"
#include "storage/abandoned_files.h"
#include "titlemaker/file_kind.h"
#include "title/pane_fit.h"
#include "timing/tick_wait.h"

namespace olve {

namespace {

constexpr int ToolBarHeight = 33;
constexpr int ButtonSize = 30;
constexpr int SpeedButtonWidth = 36;
constexpr int MinProgressWidth = 24;
// The progress bar keeps this much before a control makes way for it.
constexpr int EasyProgressWidth = 100;
constexpr int MaxProgressWidth = 140;
constexpr int LeftMargin = 4;
constexpr int RightMargin = 8;
constexpr int ProgressGap = 8;
constexpr int RightGap = 4;
// The speaker with its gaps.
constexpr int SpeakerWidth = 34;
constexpr int OverflowWidth = 24;
constexpr int ProgressHeight = 15;
// How long the start waits for the window system to expose the window, and how often it looks.
constexpr int ExposeWaitMs = 1000;
constexpr int ExposeRetryMs = 5;
// How often a handed-over package looks again whether the box in its way has closed.
constexpr int HandOverRetryMs = 100;

}  // namespace

TForm1::TForm1(const QString& programPath, const QStringList& arguments, TPrompts& prompts, QWidget* parent)
    : QWidget(parent), FProgramPath(programPath), FPrompts(prompts),
      FStore(std::make_unique<TSettingsFileStore>(SettingsFileOf(programPath).toStdString(), UserDataFolder())),
      FArguments(arguments)
{
    FormCreate(arguments);
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
    // Freed in this order: box, title, player; the panes go after it with the window.
    delete FLinkBoxServer;
    delete FLinkBox;
    FPackage.reset();
    delete FLesson;
}

void TForm1::FormCreate(const QStringList& arguments)
{
    setObjectName(MainWindowClassName);
    setWindowTitle(ApplicationTitle);
    QApplication::setApplicationDisplayName(ApplicationTitle);
    setMinimumSize(250, 250);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    QFont form(QStringLiteral("ＭＳ ゴシック"));
    form.setPointSize(10);
    setFont(form);
    setAcceptDrops(true);
    // Before the panes: the player is freed before the pane its video shows in.
    FLesson = new TLessonPlayer(this);
    FPlayer = &FLesson->Player();

    CreateActions();
    CreateToolBar();
    CreatePanes();
    FollowLesson();
    setGeometry(SectionBounds(TDisplayMode::System, DefaultWindowSize(TDisplayMode::System)));
    FLesson->SetAutoPause(false);
    ReadCommandLine(arguments);
    SetWaveVolume(*FPlayer, FStore->Volume(GetWaveVolume(*FPlayer)));
    CreateStartPage();
    FPackage = std::make_unique<TPlayPackage>();
    FPackage->Player = &Player();
    WatchPackageCards();
    FExtractFeedback = std::make_unique<TQtExtractFeedback>(this);
    FCopyQuestion = std::make_unique<TQtFileCopyQuestion>(this);

    FLinkBox = new TLinkBox(this);
    FLinkBox->setText(TLinkBox::Busy);
    connect(FLinkBox, &TLinkBox::HandedOver, this, &TForm1::TakeHandOver);
    CreateTitleOpening();

    qApp->installEventFilter(this);
    EnablePlayControls(false);
}

void TForm1::ReadCommandLine(const QStringList& arguments)
{
    FStartPackage.clear();
    bool noTie = false;
    for (const QString& argument : arguments) {
        const TFileKind kind = FileKindOf(argument.toStdString());
        if (kind == TFileKind::Package)
            FStartPackage = argument;
        else if (kind == TFileKind::Recording || kind == TFileKind::Subtitles)
            FStartFiles << argument;
        else if (argument.compare("NoTie", Qt::CaseInsensitive) == 0)
            noTie = true;
    }
    if (!noTie)
        FFileTypeRegistered = RegisterFileType(QFileInfo(FProgramPath).absoluteFilePath().toStdString(), ".qzw");
}

void TForm1::CreateActions()
{
    auto make = [this](QAction*& action, const char* name, const QString& hint, auto slot) {
        action = new QAction(this);
        action->setObjectName(name);
        action->setToolTip(hint);
        connect(action, &QAction::triggered, this, slot);
    };
    make(acPlay, "acPlay", "ここをもう一度 play [H]ere", [this] { acPlayExecute(); });
    make(acNext, "acNext", "つぎ play [N]ext", [this] { FLesson->Next(); });
    make(acBack, "acBack", "もどる play [B]ack", [this] { FLesson->Back(); });
    make(acTop, "acTop", "はじめから play from [T]op", [this] { FLesson->Top(); });
    make(acStop, "acStop", "止める [S]top", [this] { FLesson->Stop(); });
    make(acPause, "acPause", "ポーズ [P]ause on", [this] { FLesson->Pause(); });
    make(acAutoPause, "acAutoPause", "ポーズ [P]ause on", [this] { FLesson->SetAutoPause(!FLesson->AutoPause()); });
    make(acPlayList, "acPlayList", "項目一覧からピンポイント再生", [this] { acPlayListExecute(); });
}

QAction* TForm1::Action(const QString& name) const
{
    return findChild<QAction*>(name);
}

void TForm1::CreateToolBar()
{
    pnToolBar = new QWidget(this);
    pnToolBar->setObjectName("pnToolBar");
    imTop = new TToolBarBackground(pnToolBar);

    auto button = [this](QToolButton*& b, const char* name, QAction* action, TGlyph glyph) {
        b = new QToolButton(pnToolBar);
        b->setObjectName(name);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIconSize(QSize(22, 22));
        b->setFixedSize(ButtonSize, ButtonSize);
        if (action) {
            action->setIcon(GlyphIcon(glyph));
            b->setDefaultAction(action);
        } else {
            b->setIcon(GlyphIcon(glyph));
        }
    };
    button(sbPlayTop, "sbPlayTop", acTop, TGlyph::Top);
    button(SpeedButton6, "SpeedButton6", acBack, TGlyph::Back);
    button(SpeedButton1, "SpeedButton1", acPlay, TGlyph::Here);
    button(sbItemList, "sbItemList", acPlayList, TGlyph::List);
    button(SpeedButton2, "SpeedButton2", acNext, TGlyph::Next);
    button(SpeedButton4, "SpeedButton4", acStop, TGlyph::Stop);
    button(sbPause, "sbPause", acPause, TGlyph::Pause);
    button(sbAutoPause, "sbAutoPause", acAutoPause, TGlyph::AutoPauseOff);
    button(sbOnlineHelp, "sbOnlineHelp", nullptr, TGlyph::Help);
    button(sbOpen, "sbOpen", nullptr, TGlyph::Open);
    CreateExportAction();
    sbOpen->setToolTip("開く  Open a title, or a recording with its subtitles (Ctrl+O)");
    connect(sbOpen, &QToolButton::clicked, this, &TForm1::ShowOpenDialog);
    acPause->setCheckable(true);
    sbAutoPause->setToolTip("オートポーズ [A]utopause");
    sbOnlineHelp->setToolTip("利用案内");
    connect(sbOnlineHelp, &QToolButton::clicked, this, [this] {
        if (OnHelp)
            OnHelp();
    });

    sbSpeed = new QToolButton(pnToolBar);
    sbSpeed->setObjectName("sbSpeed");
    sbSpeed->setAutoRaise(true);
    sbSpeed->setFocusPolicy(Qt::NoFocus);
    sbSpeed->setFixedSize(SpeedButtonWidth, ButtonSize);
    connect(sbSpeed, &QToolButton::clicked, this, [this] { FLesson->SetSpeedTenths(CycleSpeedTenths(FLesson->SpeedTenths())); });
    ShowSpeed();
    FPracticeButtons = std::make_unique<TPracticeButtons>(pnToolBar, *FLesson, [this] { ToggleLoop(); });
    // Controls a narrow window has no room for wait in the overflow menu, in the bar's order.
    sbOverflow = new TOverflowButton(pnToolBar, QSize(OverflowWidth, ButtonSize), [this] {
        const TPracticeButtons& p = *FPracticeButtons;
        return QList<QWidget*>{sbPause, sbAutoPause, Image3, sbSpeed, p.sbRepeat, p.sbShadow,
                               p.sbRevealEnglish, p.sbRevealJapanese, p.sbLoop, sbOpen, sbOnlineHelp};
    }, [this] { ShowVolumeBar(); });

    Image3 = new QLabel(pnToolBar);
    Image3->setObjectName("Image3");
    Image3->setPixmap(GlyphPixmap(TGlyph::Speaker, 20));
    Image3->setFixedSize(22, 22);
    Image3->setMouseTracking(true);
    Image3->installEventFilter(this);

    imPlayer = new TProgressBar(pnToolBar);
    imPlayer->setFixedSize(MaxProgressWidth, ProgressHeight);
    anPlaying = new TPlayingAnimation(pnToolBar);
    CreatePlaceLabels();

    lbPAT2 = new QLabel("English listening, card by card", pnToolBar);
    lbPAT2->setObjectName("lbPAT2");
    lbPAT1 = new QLabel(lbPAT2->text(), pnToolBar);
    lbPAT1->setObjectName("lbPAT1");
    for (auto [label, colour] : {std::pair{lbPAT1, QColor(192, 192, 192)}, std::pair{lbPAT2, QColor(0, 0, 128)}}) {
        QFont italic = label->font();
        italic.setItalic(true);
        italic.setPointSize(9);
        label->setFont(italic);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, colour);
        label->setPalette(p);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    edDummy = new QLineEdit(this);
    edDummy->setObjectName("edDummy");
    edDummy->setFixedWidth(2);
    edDummy->lower();

    tbVolume = new TVolumeBar(FLesson->Player(), this);
}

std::array<QWidget*, ToolControlCount> TForm1::ToolControls() const
{
    const TPracticeButtons& p = *FPracticeButtons;
    return {sbOnlineHelp, p.sbLoop, p.sbShadow, p.sbRevealJapanese, p.sbRevealEnglish, p.sbRepeat,
            sbSpeed,      sbOpen,   sbAutoPause, sbPause,          Image3};
}

TToolBarWidths TForm1::ToolBarWidths(int counter, int time) const
{
    TToolBarWidths widths;
    widths.Fixed = LeftMargin + 6 * ButtonSize + ProgressGap + RightGap + RightMargin;
    const auto controls = ToolControls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        widths.Controls[i] = controls[i] == Image3 ? SpeakerWidth : controls[i]->width();
    widths.Overflow = OverflowWidth;
    widths.Counter = counter;
    widths.Time = time;
    widths.MinProgress = MinProgressWidth;
    widths.EasyProgress = EasyProgressWidth;
    widths.MaxProgress = MaxProgressWidth;
    return widths;
}

void TForm1::LayOutToolBar()
{
    pnToolBar->setGeometry(0, 0, width(), ToolBarHeight);
    imTop->setGeometry(pnToolBar->rect());
    imTop->lower();
    const TToolBarPlan plan = PlanToolBar(width(), ToolBarWidths(TPlaceLabels::Width(FPlace->Counter()), TPlaceLabels::Width(FPlace->Time())));
    const auto controls = ToolControls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        controls[i]->setVisible(!plan.Overflowed[i]);
    int x = LeftMargin;
    for (QToolButton* b : {sbPlayTop, SpeedButton6, SpeedButton1, sbItemList, SpeedButton2, SpeedButton4, sbPause, sbAutoPause}) {
        if (b->isHidden())
            continue;
        b->move(x, 2);
        x += ButtonSize;
    }
    if (!Image3->isHidden()) {
        Image3->move(x + 6, 6);
        x += SpeakerWidth;
    }
    imPlayer->setFixedWidth(plan.Middle.Progress);
    imPlayer->move(x, 13 - (ProgressHeight - 7) / 2);
    anPlaying->setGeometry(imPlayer->x(), 2, imPlayer->width(), 1);
    x = imPlayer->x() + imPlayer->width() + ProgressGap;
    const TPracticeButtons& p = *FPracticeButtons;
    for (QToolButton* b : {sbSpeed, p.sbRepeat, p.sbShadow, p.sbRevealEnglish, p.sbRevealJapanese, p.sbLoop}) {
        if (b->isHidden())
            continue;
        b->move(x, 2);
        x += b->width();
    }
    x = FPlace->LayOut(x, plan.Middle.Counter, plan.Middle.Time);
    sbOverflow->setVisible(plan.Overflows());
    int right = width() - RightMargin;
    for (QToolButton* b : {static_cast<QToolButton*>(sbOverflow), sbOnlineHelp, sbOpen}) {
        if (b->isHidden())
            continue;
        right -= b->width();
        b->move(right, 2);
    }
    lbPAT2->adjustSize();
    lbPAT2->move(right - RightGap - lbPAT2->width(), ButtonSize + 2 - lbPAT2->height());
    lbPAT1->adjustSize();
    lbPAT1->move(lbPAT2->x() + 1, lbPAT2->y() + 1);
    lbPAT2->setVisible(lbPAT2->x() > x + 8);
    lbPAT1->setVisible(lbPAT2->isVisible());
    lbPAT1->raise();
    lbPAT2->raise();
    edDummy->move(sbPlayTop->x() + sbPlayTop->width(), ToolBarHeight);
    spPic->setGeometry(0, ToolBarHeight, width(), height() - ToolBarHeight);
    PlaceStartPage();
}

void TForm1::CreatePanes()
{
    spPic = new QSplitter(this);
    spPic->setObjectName("spPic");
    spPic->setChildrenCollapsible(false);
    spPic->setHandleWidth(4);
    FPicturePane = new TPicturePane(spPic, *FLesson, ProgramFolder());
    FTextPane = new TTextPane(spPic, *FLesson);

    sgCards = new QTableWidget(FTextPane);
    sgCards->setObjectName("sgCards");
    sgCards->setColumnCount(5);
    sgCards->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A range of cards can be chosen for the loop.
    sgCards->setSelectionMode(QAbstractItemView::ContiguousSelection);
    sgCards->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgCards->verticalHeader()->hide();
    sgCards->hide();
    FTextPane->HoldGrid(sgCards);

    pmItemList = new QMenu(this);
    pmItemList->setObjectName("pmItemList");
    connect(pmItemList, &QMenu::aboutToShow, this, &TForm1::PopulateItemList);
}

bool TForm1::ListenForHandOvers(const QString& socketPath)
{
    if (!FLinkBoxServer)
        FLinkBoxServer = new TLinkBoxServer(this, MainWindowClassName, FLinkBox, this);
    return FLinkBoxServer->Listen(socketPath);
}

QString TForm1::ProgramFolder() const
{
    return QFileInfo(FProgramPath).absolutePath();
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    LayOutToolBar();
    if (event->spontaneous() || FShown)
        return;
    FShown = true;
    FExposeDeadline.setRemainingTime(ExposeWaitMs);
    QTimer::singleShot(0, this, &TForm1::StartOnScreen);
}

void TForm1::StartOnScreen()
{
    // The start package installs once the window is on screen and painted: queued right
    // after showing, it would run before the window system has exposed the window, and the
    // installation with the media player's first opening (GStreamer scans every plug-in on
    // a first launch) could leave the window undrawn for a second. A window that is never
    // exposed (minimised, or hidden by the window manager) starts all the same.
    const bool exposed = windowHandle() && windowHandle()->isExposed();
    if (!exposed && isVisible() && !FExposeDeadline.hasExpired()) {
        QTimer::singleShot(ExposeRetryMs, this, &TForm1::StartOnScreen);
        return;
    }
    if (exposed)
        repaint();
    // The layout showing the window again starts nothing. Without a window manager, or
    // with focus-stealing prevention, the window may never be activated; it must still
    // become ready for hand-overs.
    if (isVisible())
        FormShow();
    FStarted = true;
    if (!FActivated)
        FormActivate();
}

void TForm1::FormShow()
{
    // Opened here alone, so that whatever keeps it from opening is told once.
    if (!FStartPackage.isEmpty())
        OpenTitlePackage(FStartPackage);
    else if (!FStartFiles.isEmpty())
        OpenMaterial(FStartFiles);
}

void TForm1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // An activation while the start package installs waits for the start to finish.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && FStarted)
        FormActivate();
}

void TForm1::FormActivate()
{
    const bool first = !FActivated;
    FActivated = true;
    if (!QDir::setCurrent(ProgramFolder()))
        return;
    if (first && !FArguments.isEmpty()) {
        const QString argument = FArguments.first();
        // FormShow has opened the start package already.
        if (argument != FStartPackage && FileKindOf(argument.toStdString()) == TFileKind::Package &&
            QFileInfo(argument).isFile()) {
            OpenTitlePackage(argument);
            FTextPane->FocusText();
        }
    }
    if (FLinkBox)
        FLinkBox->setText(QString());
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (FOpening > 0) {
        // Files are still being written; removing the installed ones now would miss those
        // still to come.
        event->ignore();
        Terminate();
        return;
    }
    FormClose();
    QWidget::closeEvent(event);
}

void TForm1::FormClose()
{
    SaveProgress();
    if (Player().DeviceID() != 0)
        Player().Close();
    SaveLayout();
    FTitleOpening->RemoveInstalledFiles();
}

void TForm1::Terminate()
{
    FClosing = true;
    FExtractFeedback->Cancel();
    FTitleOpening->Terminate();
    if (FOpening == 0)
        close();
}

void TForm1::TakeHandOver(const QString& path)
{
    if (!IsOpenableAlone(path.toStdString()))
        return;
    // The hand-over is answered before the package opens: opening may ask the user, and
    // the other start must not wait for that.
    RequestOpen(path);
}

void TForm1::RequestOpen(const QString& path)
{
    FHandedOver = path;
    if (!FHandOverScheduled) {
        FHandOverScheduled = true;
        QTimer::singleShot(0, this, &TForm1::OpenHandedOver);
    }
}

void TForm1::OpenHandedOver()
{
    FHandOverScheduled = false;
    if (FHandedOver.isEmpty())
        return;
    // A box on screen or an installation under way goes first; the package would otherwise
    // open inside it and replace the title that is being opened or asked about.
    if (FOpening > 0 || QApplication::activeModalWidget()) {
        FHandOverScheduled = true;
        QTimer::singleShot(HandOverRetryMs, this, &TForm1::OpenHandedOver);
        return;
    }
    const QString text = std::exchange(FHandedOver, QString());
    // A hand-over names a package or a recording; a desktop panel may name any file, and
    // is told as a drop would be.
    const TFileKind kind = FileKindOf(text.toStdString());
    if (kind != TFileKind::Package && kind != TFileKind::Recording) {
        DropFiles({text});
        return;
    }
    if (!PackageFound(text))
        return;
    if (OnHandOver)
        OnHandOver(text);
    if (kind == TFileKind::Package)
        OpenTitlePackage(text);
    else
        OpenMaterial({text});
    FTextPane->FocusText();
}

void TForm1::EnablePlayControls(bool on)
{
    for (QAction* action : {acTop, acBack, acPlay, acPlayList, acNext, acStop, acPause, acAutoPause, acExportCard})
        action->setEnabled(on);
    imPlayer->setVisible(on);
}

}  // namespace olve
