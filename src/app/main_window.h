#pragma once
#include <QAction>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSplitter>
#include <QStringList>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/link_box.h"
#include "app/link_box_server.h"
#include "app/qt_extract_feedback.h"
#include "lesson/lesson_store.h"
#include "lesson/lesson_player.h"
#include "media/media_player.h"
#include "picture/extra_image.h"
#include "filetrain/extract_feedback.h"
#include "filetrain/file_copy_question.h"
#include "files/prompts.h"
#include "textview/new_ul_edit_net.h"
#include "timing/playback_speed.h"
#include "title/card_timeline.h"
#include "title/display_mode.h"
#include "title/practice_run.h"
#include "title/recent_titles.h"
#include "title/title_progress.h"
#include "title/play_package.h"

namespace olve {

class TStartPage;
class TCardList;
class TOpeningQueue;
class TTitleOpening;
class TSeriesPlay;
struct TOpenedTitle;
class TOpeningQuestions;
class TToolBar;
class TPicturePane;
class TTextPane;
struct TTitleSession;

// The player's main window: tool bar, picture pane, text pane with the two text views or
// the card grid, the media player and the open title.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // programPath: the running executable, whose folder holds the settings file and where
    // packages are installed. arguments: the command line without the program.
    TForm1(const QString& programPath, const QStringList& arguments, TPrompts& prompts, QWidget* parent = nullptr);
    ~TForm1() override;

    // Starts answering other starts of the program on socketPath.
    bool ListenForHandOvers(const QString& socketPath);

    // Ends the program as closing the window does. An installation under way stops at its
    // next entry, and the window closes once it has returned; nothing opens after this.
    void Terminate();

    // Starts installing the package; the window goes on meanwhile, and PackageOpened tells
    // how it ended. False when it cannot start (no such file, the window is closing), after
    // telling the user why; one asked for while another installs waits for it in the queue.
    bool OpenTitlePackage(const QString& packagePath);
    // Opening a title: false when it did not open, after telling the user why.
    bool OpenTitle(const QString& titlePath);
    // Packages open as they are; a recording with its subtitles (dropped together, or found
    // beside it) becomes a title in the library folder first, and so do subtitles given
    // alone, with the open title's recording or one the learner chooses.
    void DropFiles(const QStringList& paths);
    // What is to be opened (a package, a recording or another file, as a drop would) once
    // nothing else is being opened or asked; only the latest request opens.
    TOpeningQueue& Openings() const { return *FOpenings; }
    // Starts opening material; false when other material is being opened. The title opens,
    // or the user is told why not, once its long work is done and the title made has been
    // installed (MakingTitle is false again).
    bool OpenMaterial(const QStringList& paths);
    bool MakingTitle() const;
    void ShowOpenDialog();
    void ShowOpenFolderDialog();
    // A folder's recordings as a series: the episode at its place opens as material would,
    // and the next is offered at its end. The user is told why when it cannot open.
    void OpenSeriesFolder(const QString& folder);
    void OpenSeriesRecord(const QString& record);
    void OpenNextEpisode();
    const TSeriesPlay& Series() const { return *FSeries; }
    TStartPage* StartPage() const { return FStartPage; }

    // Screen layout.
    void SetDisplayMode(TDisplayMode mode);
    void ApplyLayout(TDisplayMode mode);
    void SaveLayout();

    // Playback, practice and seeking, as the lesson player runs them.
    TLessonPlayer& Lesson() { return *FLesson; }
    TToolBar& ToolBar() { return *FToolBar; }
    // Runs a key as the key map says; false for keys it does not take.
    // scanCode: the key's place on the keyboard where known (tells "=" on the minus key of
    // Japanese keyboards from "=" on the plus key of others).
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode = 0);

    // Card list, pinpoint menu and the export of a card.
    TCardList& CardList() const { return *FCardList; }

    // What the window shows, for those who drive it.
    TDisplayMode DisplayMode() const { return FDisplayMode; }
    // Saved when the title is closed or replaced and restored when it opens again.
    void SaveProgress();
    TPicturePane* PicturePane() const { return FPicturePane; }
    TTextPane* TextPane() const { return FTextPane; }
    TOlveMediaPlayer& Player() { return FLesson->Player(); }
    const TOlveMediaPlayer& Player() const { return FLesson->Player(); }
    TPlayPackage& Package() { return *FPackage; }
    TLinkBox* LinkBox() const { return FLinkBox; }
    const std::vector<std::string>& InstalledFiles() const;
    const QString& StartPackage() const { return FStartPackage; }
    bool FileTypeRegistered() const { return FFileTypeRegistered; }
    const QString& TitleFolder() const { return FTitleFolder; }
    // The open title's name as the caption shows it.
    const QString& TitleName() const { return FTitleName; }
    QAction* Action(const QString& name) const;

    // Called with a package path handed over by another start.
    std::function<void(const QString&)> OnHandOver;
    // Shows the help window.
    std::function<void()> OnHelp;

Q_SIGNALS:
    // A package OpenTitlePackage started has been installed and its title shown, or not.
    void PackageOpened(const QString& packagePath, bool opened);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(const QStringList& arguments);
    void CreateToolBar();
    void CreatePanes();
    void ReadCommandLine(const QStringList& arguments);
    void StartOnScreen();
    void FormShow();
    void FormActivate();
    void FormClose();
    void OpenHandedOver(const QString& path);
    bool ShowInstalled(const QString& packagePath, TOpenedTitle opened);
    // False, after telling the user, when there is no such file.
    bool PackageFound(const QString& packagePath);
    bool ShowTitle(TTitleSession session);
    bool OpenMedia(const QString& mediaPath);
    void LayOutTitle(bool video, const TTitleDisplay& display);
    void LayOutToolBar();
    // A mode's window size when the settings keep none: wide enough for the whole tool bar
    // with the open title's longest counter and time.
    QSize DefaultWindowSize(TDisplayMode mode) const;
    void PlaceStartPage();
    void CreateTitleOpening();
    void OpenEpisode(const std::optional<TFailure>& failure, const std::string& recording);
    void RestoreProgress();

    static bool IsCardList(TDisplayMode mode) { return mode == TDisplayMode::List || mode == TDisplayMode::ListPic; }
    QRect SectionBounds(TDisplayMode mode, const QSize& size) const;
    // A positive whole number kept in the mode's section, else the fallback.
    int SectionSubHeight(TDisplayMode mode) const;
    int TitleBarHeight() const;
    QString ProgramFolder() const;

    // Shows what the lesson player tells.
    void FollowLesson();
    void ShowPlayFailure(const QString& reason);
    void ShowNoMoreCards();
    void ShowCardShift(std::int64_t ms);

    QString FProgramPath;
    TPrompts& FPrompts;
    std::unique_ptr<TLessonStore> FStore;
    QStringList FArguments;

    TToolBar* FToolBar = nullptr;

    // Panes.
    QSplitter* spPic = nullptr;
    TPicturePane* FPicturePane = nullptr;
    TTextPane* FTextPane = nullptr;
    TCardList* FCardList = nullptr;

    // The open title's "VolSerialNum", which names its progress in the settings file.
    std::string FSerial;
    TStartPage* FStartPage = nullptr;
    // Recordings and subtitles named on the command line, opened once the window shows.
    QStringList FStartFiles;
    TDisplayMode FDisplayMode = TDisplayMode::System;
    bool FLaidOut = false;
    // The open lesson, with the media player; made first and freed after the title.
    TLessonPlayer* FLesson = nullptr;
    // The lesson player's media player, for the parts that open and lay out recordings.
    TOlveMediaPlayer* FPlayer = nullptr;
    std::unique_ptr<TPlayPackage> FPackage;
    QPointer<TLinkBox> FLinkBox;
    TOpeningQueue* FOpenings = nullptr;
    TLinkBoxServer* FLinkBoxServer = nullptr;
    QString FTitleFolder;
    QString FTitleName;
    QString FStartPackage;
    bool FFileTypeRegistered = false;
    // Showing the window has queued the start: the start package, then the first activation.
    bool FShown = false;
    // Until when the start waits for the window system to expose the window.
    QDeadlineTimer FExposeDeadline;
    bool FStarted = false;
    bool FActivated = false;
    std::unique_ptr<TQtExtractFeedback> FExtractFeedback;
    std::unique_ptr<TFileCopyQuestion> FCopyQuestion;
    std::unique_ptr<TOpeningQuestions> FOpeningQuestions;
    // Installed files, the library flow and its worker; a child, so that it goes after the
    // questions it asks are answered no more.
    TTitleOpening* FTitleOpening = nullptr;
    std::unique_ptr<TSeriesPlay> FSeries;
};

}  // namespace olve
