#include "app/main_window.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>
#include <algorithm>

#include "media/content_class.h"
#include "media/device_error.h"
#include "app/startup_check.h"
#include "storage/abandoned_files.h"
#include "storage/train_extract.h"
#include "title/title_session.h"
#include "titlemaker/material_files.h"

namespace olve {

namespace {

const char* const LineBreaks = "\r\n\r\n";

bool IsPackage(const QString& path)
{
    return QFileInfo(path).suffix().compare("qzw", Qt::CaseInsensitive) == 0;
}

bool HasSubText(const TPlayCardList& cards)
{
    for (int i = 0; i < cards.Count(); ++i) {
        const std::string& text = cards.Card(i).SubText;
        for (char c : text)
            if (static_cast<unsigned char>(c) > ' ')
                return true;
    }
    return false;
}

}  // namespace

bool TForm1::OpenTitlePackage(const QString& packagePath)
{
    if (FClosing)
        return false;
    ++FOpening;
    const bool opened = InstallAndOpen(packagePath);
    --FOpening;
    // The window was to close while this ran: it closes now that nothing is being written.
    if (FClosing && FOpening == 0)
        close();
    return opened;
}

bool TForm1::InstallAndOpen(const QString& packagePath)
{
    if (!PackageFound(packagePath))
        return false;
    if (FPlayer->DeviceID() != 0)
        FPlayer->Close();
    TStringList written;
    TExtractOutcome outcome;
    const TExtractUi ui{FExtractFeedback.get(), FCopyQuestion.get(), &FPrompts};
    const bool installed =
        ExtractFileTrain(ui, packagePath.toStdString(), ProgramFolder().toStdString(), written, 1, true, &outcome);
    // Whatever was written is removed on close, however the installation ended.
    if (installed) {
        RemoveInstalledFiles(FInstalledFiles.Add(written.Lines(), outcome));
        // Kept on disk too: the next start removes them if this process is killed.
        TInstalledList(ProgramFolder().toStdString()).Write(FInstalledFiles.Files());
    }
    if (FClosing)
        return false;
    if (!installed) {
        raise();
        activateWindow();
        FPrompts.Message(packagePath.toStdString() + LineBreaks + "のインストールに失敗しました" + LineBreaks +
                         "installing the package failed");
        return false;
    }
    const bool shown = ShowTitle(OpenInstalledTitle(ProgramFolder().toStdString(), written, packagePath.toStdString(),
                                                    FPrompts, FPlayer));
    if (shown)
        RememberRecent(packagePath);
    return shown;
}

bool TForm1::PackageFound(const QString& packagePath)
{
    if (QFileInfo(packagePath).isFile())
        return true;
    FPrompts.Message(std::string("ファイルが見つかりません") + LineBreaks + "file not exist" + LineBreaks + "< " +
                     packagePath.toStdString() + " >");
    return false;
}

bool TForm1::OpenTitle(const QString& titlePath)
{
    return ShowTitle(OpenTitleFile(ProgramFolder().toStdString(), titlePath.toStdString(), FPrompts, FPlayer));
}

bool TForm1::ShowTitle(TTitleSession session)
{
    SaveProgress();
    SetAutoPause(false);
    if (!session.Opened()) {
        FPrompts.Message(session.Reason);
        return false;
    }
    if (!OpenMedia(QString::fromStdString(session.MediaPath)))
        return false;

    // Only a title whose recording opened replaces the one before.
    FTitleFolder = QString::fromStdString(session.TitleFolder);
    FPackage = std::move(session.Package);
    WatchPackageCards();
    FSerial = session.Serial;
    const TTitleDisplay& display = session.Display;
    sgCards->setRowCount(FPackage->MainCards.Count() + 1);
    if (display.StandardIndent)
        FMainView->SetTextIndent(itStandard);
    FShowCursor = display.ShowCursor;
    FShowUnderline = display.ShowUnderline;
    ShowProgress(0);
    if (!IsCardList(FDisplayMode))
        FSubView->setVisible(HasSubText(FPackage->MainCards));
    LayOutTitle(ContentClassOfFile(FPlayer->FileName) == "video", display);
    ShowTextPane(display.ShowTextPane);
    FTitleName = QString::fromStdString(session.TitleName);
    setWindowTitle(FTitleName + " - " + ApplicationTitle);
    EnablePlayControls(true);
    PlayCard(-1);
    RestoreProgress();
    PlaceStartPage();
    return true;
}

bool TForm1::OpenMedia(const QString& mediaPath)
{
    FPlayer->FileName = mediaPath;
    std::string reason;
    try {
        FPlayer->Open();
    } catch (const EMCIDeviceError& e) {
        reason = e.what();
    }
    if (FPlayer->DeviceID() != 0)
        return true;
    std::string text = std::string("ファイルが開けません") + LineBreaks + "file can not open" + LineBreaks + mediaPath.toStdString();
    if (!reason.empty())
        text += LineBreaks + reason;
    if (QFileInfo(mediaPath).suffix().compare("wmv", Qt::CaseInsensitive) == 0)
        text += std::string(LineBreaks) + "マイクロソフトのメディアプレーヤー最新版をインストールすると解決する場合があります" + LineBreaks;
    FPrompts.Message(text);
    return false;
}

void TForm1::LayOutTitle(bool video, const TTitleDisplay& display)
{
    // A video title's pictures are never shown: they are not looked for.
    const TDisplayMode mode = ChooseDisplayMode(video, !video && HasPictures(), display);
    if (video) {
        SetDisplayMode(mode);
        FPlayer->SetDisplay(pnPic);
        FPlayer->SetDisplayRect(QRect());
        const QRect natural = FPlayer->DisplayRect();
        FVideoWidth = natural.right() + 1;
        FVideoHeight = natural.bottom() + 1;
        FitVideo();
        return;
    }
    // A picture title lays the subtitles out first, so that its own layout starts from them.
    if (mode == TDisplayMode::PictureBook || mode == TDisplayMode::PictureCard)
        SetDisplayMode(TDisplayMode::Subtitles);
    SetDisplayMode(mode);
}

void TForm1::WatchPackageCards()
{
    FLesson->Open(*FPackage);
}

void TForm1::RemoveInstalledFiles(const std::vector<std::string>& files)
{
    const QString root = QDir(ProgramFolder()).canonicalPath();
    for (const std::string& file : files) {
        const QString path = QString::fromStdString(file);
        // Only what lies below the program's folder is ours to remove.
        const QString folder = QFileInfo(path).absolutePath();
        const QString canonical = QDir(folder).canonicalPath();
        if (canonical.isEmpty() || (canonical != root && !canonical.startsWith(root + "/")))
            continue;
        QFile::remove(path);
        QDir dir(canonical);
        while (dir.absolutePath() != root && dir.absolutePath().startsWith(root + "/")) {
            const QString name = dir.dirName();
            if (!dir.cdUp() || !dir.rmdir(name))
                break;
        }
    }
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
    QStringList packages;
    for (const QString& path : paths)
        if (IsPackage(path))
            packages << path;
    const bool material = std::any_of(paths.begin(), paths.end(), [](const QString& path) {
        return IsRecordingFile(path.toStdString()) || IsSubtitleFile(path.toStdString());
    });
    if (packages.size() == 1) {
        if (FPlayer->DeviceID() != 0)
            FPlayer->Close();
        FMainView->ResetUnderline();
        FMainView->SetDisplayText(std::string());
        OpenTitlePackage(packages.first());
    } else if (packages.isEmpty() && material) {
        OpenMaterial(paths);
    } else {
        QApplication::beep();
        const QString suffix = QFileInfo(paths.first()).suffix();
        const std::string extension = suffix.isEmpty() ? std::string() : "." + suffix.toStdString();
        FPrompts.Message("この拡張子 <" + extension + "> のファイルには対応していません" + LineBreaks +
                         "files of the extension <" + extension + "> cannot be opened");
    }
    QApplication::restoreOverrideCursor();
}

}  // namespace olve
