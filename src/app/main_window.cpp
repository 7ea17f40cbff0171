#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "app/card_list.h"
#include "app/file_type_registration.h"
#include "app/picture_pane.h"
#include "app/qt_extract_feedback.h"
#include "app/qt_file_copy_question.h"
#include "app/startup_check.h"
#include "app/start_page.h"
#include "app/text_pane.h"
#include "app/tool_bar.h"
#include "media/wave_volume.h"
#include "lesson/opening_choice.h"
#include "lesson/opening_queue.h"
#include "lesson/series_play.h"
#include "lesson/settings_file_store.h"
#include "lesson/title_opening.h"
#include "lesson/user_data_folder.h"
#include "files/abandoned_files.h"
#include "titlemaker/file_kind.h"
#include "title/pane_fit.h"
#include "timing/tick_wait.h"

namespace olve {

namespace {

// How long the start waits for the window system to expose the window, and how often it looks.
constexpr int ExposeWaitMs = 1000;
constexpr int ExposeRetryMs = 5;

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
    // An installation still running talks to the feedback this window owns: it ends first.
    delete FTitleOpening;
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

    CreateToolBar();
    CreatePanes();
    FollowLesson();
    setGeometry(SectionBounds(TDisplayMode::System, DefaultWindowSize(TDisplayMode::System)));
    FLesson->SetAutoPause(false);
    ReadCommandLine(arguments);
    SetWaveVolume(*FPlayer, FStore->Volume(GetWaveVolume(*FPlayer)));
    FStartPage = new TStartPage(*FStore, this);
    FStartPage->OnOpenDialog = [this] { ShowOpenDialog(); };
    FStartPage->OnOpenRecent = [this](const QString& package) { DropFiles({package}); };
    FStartPage->OnOpenSeries = [this](const QString& record) { OpenSeriesRecord(record); };
    FStartPage->OnOpenFolderDialog = [this] { ShowOpenFolderDialog(); };
    FPackage = std::make_unique<TPlayPackage>();
    FPackage->Player = &Player();
    FLesson->Open(*FPackage);
    FCardList->Open(FPackage->MainCards, {}, std::string());
    FExtractFeedback = std::make_unique<TQtExtractFeedback>(this);
    FCopyQuestion = std::make_unique<TQtFileCopyQuestion>(this);

    FLinkBox = new TLinkBox(this);
    FLinkBox->setText(TLinkBox::Busy);
    // A box on screen goes first: a title opened inside it would replace the one asked about.
    FOpenings = new TOpeningQueue([] { return QApplication::activeModalWidget() != nullptr; }, this);
    connect(FOpenings, &TOpeningQueue::OpenNow, this, &TForm1::OpenHandedOver);
    connect(FOpenings, &TOpeningQueue::Closable, this, &QWidget::close);
    connect(FLinkBox, &TLinkBox::HandedOver, FOpenings, &TOpeningQueue::HandOver);
    CreateTitleOpening();

    qApp->installEventFilter(this);
    FToolBar->EnablePlayControls(false);
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
        else if (QFileInfo(argument).isDir())
            FStartFiles << argument;
    }
    if (!noTie)
        FFileTypeRegistered = RegisterFileType(QFileInfo(FProgramPath).absoluteFilePath().toStdString(), ".qzw");
}

QAction* TForm1::Action(const QString& name) const
{
    return findChild<QAction*>(name);
}

void TForm1::CreateToolBar()
{
    TToolBarCalls calls;
    calls.Actions.ChosenCard = [this] { return FCardList->ChosenCard(); };
    calls.Actions.ShowCardMenu = [this] { FCardList->PopUp(); };
    calls.Actions.ExportCard = [this](const QString& folder) { FCardList->ExportCard(FLesson->CurrentCard(), folder); };
    calls.ToggleLoop = [this] { FCardList->ToggleLoop(); };
    calls.Open = [this] { ShowOpenDialog(); };
    calls.Help = [this] {
        if (OnHelp)
            OnHelp();
    };
    FToolBar = new TToolBar(*FLesson, std::move(calls), this);
}

void TForm1::LayOutToolBar()
{
    FToolBar->LayOut(width());
    spPic->setGeometry(0, FToolBar->height(), width(), height() - FToolBar->height());
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

    FCardList = new TCardList(this, FTextPane, [this] { return FToolBar->CardMenuPlace(); }, *FLesson, FPrompts);
    FTextPane->HoldGrid(FCardList->Grid());
    const TLessonActions& actions = FToolBar->Actions();
    connect(FCardList, &TCardList::RowClicked, actions.acStop, &QAction::trigger);
    connect(FCardList, &TCardList::RowDoubleClicked, actions.acPlay, &QAction::trigger);
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
        DropFiles(FStartFiles);
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
    if (FOpenings->Opening()) {
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
    FExtractFeedback->Cancel();
    FTitleOpening->Terminate();
    // Closes now, or once the openings under way have ended.
    FOpenings->Close();
}

void TForm1::OpenHandedOver(const QString& path)
{
    // A hand-over names a package or a recording; a desktop panel may name any file, and
    // is told as a drop would be.
    const TFileKind kind = FileKindOf(path.toStdString());
    if (kind != TFileKind::Package && kind != TFileKind::Recording) {
        DropFiles({path});
        return;
    }
    if (!PackageFound(path))
        return;
    if (OnHandOver)
        OnHandOver(path);
    if (kind == TFileKind::Package)
        OpenTitlePackage(path);
    else
        OpenMaterial({path});
    FTextPane->FocusText();
}

}  // namespace olve
