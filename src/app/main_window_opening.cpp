#include "app/main_window.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>

#include "media/content_class.h"
#include "app/card_list.h"
#include "app/picture_pane.h"
#include "app/start_page.h"
#include "app/startup_check.h"
#include "app/text_pane.h"
#include "app/tool_bar.h"
#include "lesson/opening_choice.h"
#include "lesson/recording_opening.h"
#include "lesson/series_play.h"
#include "lesson/opening_queue.h"
#include "lesson/title_opening.h"
#include "filetrain/train_extract.h"
#include "title/title_session.h"

namespace olve {

bool TForm1::OpenTitlePackage(const QString& packagePath)
{
    if (FOpenings->Closing())
        return false;
    if (FTitleOpening->Installing()) {
        FOpenings->Request(packagePath);
        return false;
    }
    if (!PackageFound(packagePath))
        return false;
    if (FPlayer->DeviceID() != 0)
        FPlayer->Close();
    // Counted as under way until shown: the window closes only once nothing is being written.
    FOpenings->Begin();
    const TExtractUi ui{FExtractFeedback.get(), FCopyQuestion.get()};
    const bool started = FTitleOpening->StartInstall(packagePath.toStdString(), ui, FPlayer, [=, this](TOpenedTitle opened) {
        Q_EMIT PackageOpened(packagePath, ShowInstalled(packagePath, std::move(opened)));
        FOpenings->End();
    });
    if (!started)
        FOpenings->End();
    return started;
}

bool TForm1::ShowInstalled(const QString& packagePath, TOpenedTitle opened)
{
    for (const TFailure& problem : opened.Problems)
        FPrompts.Message(BilingualText(problem));
    if (FOpenings->Closing())
        return false;
    if (!opened.Session) {
        raise();
        activateWindow();
        FPrompts.Message(opened.Failure.Text);
        return false;
    }
    const bool shown = ShowTitle(std::move(*opened.Session));
    if (shown)
        FStartPage->Remember(packagePath, FTitleName);
    return shown;
}

bool TForm1::PackageFound(const QString& packagePath)
{
    const std::optional<TOpeningFailure> missing = TTitleOpening::MissingFile(packagePath.toStdString());
    if (missing)
        FPrompts.Message(missing->Text);
    return !missing;
}

bool TForm1::OpenTitle(const QString& titlePath)
{
    const auto consent = [this](const TTimeFormatChange& change) { return FOpeningQuestions->ChangeTimeFormat(change); };
    return ShowTitle(OpenTitleFile(ProgramFolder().toStdString(), titlePath.toStdString(), consent, FPlayer));
}

bool TForm1::ShowTitle(TTitleSession session)
{
    SaveProgress();
    FLesson->SetAutoPause(false);
    if (!session.Opened()) {
        FPrompts.Message(session.Reason);
        return false;
    }
    if (!OpenMedia(QString::fromStdString(session.MediaPath)))
        return false;

    // Only a title whose recording opened replaces the one before.
    FTitleFolder = QString::fromStdString(session.TitleFolder);
    FPicturePane->SetTitleFolder(FTitleFolder);
    FPackage = std::move(session.Package);
    FCardList->Open(FPackage->MainCards, {session.MediaPath, session.TitleFolder}, session.TitleName);
    FLesson->Open(*FPackage);
    FSerial = session.Serial;
    const TTitleDisplay& display = session.Display;
    FToolBar->ShowProgress(0);
    FTextPane->TakeTitle(display);
    LayOutTitle(ContentClassOfFile(FPlayer->FileName) == "video", display);
    FTextPane->setVisible(display.ShowTextPane);
    FTitleName = QString::fromStdString(session.TitleName);
    setWindowTitle(FTitleName + " - " + ApplicationTitle);
    FToolBar->EnablePlayControls(true);
    FSeries->TitleOpened(session.MediaPath);
    FLesson->PlayCard(-1);
    RestoreProgress();
    PlaceStartPage();
    return true;
}

bool TForm1::OpenMedia(const QString& mediaPath)
{
    const std::optional<TFailure> failure = OpenRecording(*FPlayer, mediaPath.toStdString());
    if (failure)
        FPrompts.Message(BilingualText(*failure));
    return !failure;
}

void TForm1::LayOutTitle(bool video, const TTitleDisplay& display)
{
    // A video title's pictures are never shown: they are not looked for.
    const TDisplayMode mode = ChooseDisplayMode(video, !video && FPicturePane->HasPictures(), display);
    if (video) {
        SetDisplayMode(mode);
        FPicturePane->ShowVideo();
        return;
    }
    // A picture title lays the subtitles out first, so that its own layout starts from them.
    if (mode == TDisplayMode::PictureBook || mode == TDisplayMode::PictureCard)
        SetDisplayMode(TDisplayMode::Subtitles);
    SetDisplayMode(mode);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    DropFiles(paths);
}

void TForm1::DropFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    raise();
    activateWindow();
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(path.toStdString());
    const TOpeningChoice choice = ChooseOpening(files);
    if (choice.What == TOpeningChoice::TWhat::Package) {
        if (FPlayer->DeviceID() != 0)
            FPlayer->Close();
        FTextPane->ClearText();
        OpenTitlePackage(QString::fromStdString(choice.Package));
    } else if (choice.What == TOpeningChoice::TWhat::Series) {
        OpenSeriesFolder(QString::fromStdString(choice.Folder));
    } else if (choice.What == TOpeningChoice::TWhat::Material) {
        OpenMaterial(paths);
    } else {
        QApplication::beep();
        FPrompts.Message(BilingualText(UnsupportedFiles(choice.Extension)));
    }
    QApplication::restoreOverrideCursor();
}

}  // namespace olve
