// The learner's own material: the Open dialog, the start page, and
// recordings with their subtitles made into titles kept in the library folder.
#include "app/main_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "app/fading_notice.h"
#include "app/file_type_registration.h"
#include "app/start_page.h"
#include "app/qt_opening_questions.h"
#include "app/work_progress_box.h"
#include "lesson/opening_queue.h"
#include "lesson/series_play.h"
#include "lesson/title_opening.h"

namespace olve {

namespace {

const char* const OpenFilter =
    "タイトル・録音・字幕 Titles, recordings and subtitles (*.qzw *.mp3 *.wav *.ogg *.oga *.opus *.m4a *.aac *.flac "
    "*.wma *.mp4 *.m4v *.mkv *.webm *.avi *.mov *.wmv *.mpg *.mpeg *.ts *.mts *.m2ts *.3gp *.flv *.srt *.vtt *.lrc *.txt);;"
    "すべて All files (*)";
}  // namespace

void TForm1::PlaceStartPage()
{
    if (!FStartPage)
        return;
    FStartPage->setGeometry(spPic->geometry());
    FStartPage->setVisible(FSerial.empty());
    FStartPage->raise();
}

void TForm1::ShowOpenDialog()
{
    const QString start = QString::fromStdString(FStore->OpenFolder(QDir::homePath().toStdString()));
    const QStringList paths = QFileDialog::getOpenFileNames(this, QStringLiteral("開く  Open"), start, OpenFilter);
    if (paths.isEmpty())
        return;
    FStore->SaveOpenFolder(QFileInfo(paths.first()).absoluteFilePath().toStdString());
    DropFiles(paths);
}

void TForm1::ShowOpenFolderDialog()
{
    const QString start = QString::fromStdString(FStore->OpenFolder(QDir::homePath().toStdString()));
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("フォルダーを開く  Open a folder"), start);
    if (folder.isEmpty())
        return;
    // The dialog starts next time where this folder is, among its neighbours.
    FStore->SaveOpenFolder(QDir(folder).absolutePath().toStdString());
    DropFiles({folder});
}

void TForm1::OpenSeriesFolder(const QString& folder)
{
    std::string recording;
    const std::optional<TFailure> failure = FSeries->OpenFolder(folder.toStdString(), recording);
    OpenEpisode(failure, recording);
}

void TForm1::OpenSeriesRecord(const QString& record)
{
    std::string recording;
    const std::optional<TFailure> failure = FSeries->OpenRecord(record.toStdString(), recording);
    OpenEpisode(failure, recording);
}

void TForm1::OpenNextEpisode()
{
    std::string recording;
    const std::optional<TFailure> failure = FSeries->OpenNext(recording);
    OpenEpisode(failure, recording);
}

// Each episode is made into a title when it is first played, as a recording dropped alone.
void TForm1::OpenEpisode(const std::optional<TFailure>& failure, const std::string& recording)
{
    FStartPage->ShowSeries();
    if (std::optional<TFailure> notice = FSeries->TakeNotice())
        FPrompts.Message(BilingualText(*notice));
    if (failure) {
        FPrompts.Message(BilingualText(*failure));
        return;
    }
    OpenMaterial({QString::fromStdString(recording)});
}

void TForm1::CreateTitleOpening()
{
    FSeries = std::make_unique<TSeriesPlay>(FStore->DataFolder());
    FOpeningQuestions = std::make_unique<TQtOpeningQuestions>(this, FPrompts);
    FTitleOpening = new TTitleOpening(ProgramFolder().toStdString(), *FOpeningQuestions, this);
    new TWorkProgressBox(this, *FTitleOpening);
    connect(FTitleOpening, &TTitleOpening::MaterialReady, this, [this](const QString& package) {
        OpenTitlePackage(package);
    });
    connect(FTitleOpening, &TTitleOpening::MaterialSynced, this, [this](const QString& text) {
        ShowFadingNotice(this, "SyncNotice", text);
    });
    connect(FTitleOpening, &TTitleOpening::MaterialFailed, this, [this](const TOpeningFailure& failure) {
        if (failure.Told())
            FPrompts.Message(failure.Text);
    });
    // The window closes once the title being made when it was to close has ended.
    connect(FTitleOpening, &TTitleOpening::MaterialEnded, FOpenings, &TOpeningQueue::End);
}

// Subtitles given alone go with the open title's recording.
bool TForm1::OpenMaterial(const QStringList& paths)
{
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(path.toStdString());
    const std::string recording = FSerial.empty() ? std::string() : FPlayer->FileName.toStdString();
    FOpenings->Begin();
    if (FTitleOpening->OpenMaterial(files, recording, FStore->DataFolder()))
        return true;
    FOpenings->End();
    return false;
}

bool TForm1::MakingTitle() const
{
    return FTitleOpening->Busy() || FTitleOpening->Installing();
}

const std::vector<std::string>& TForm1::InstalledFiles() const
{
    return FTitleOpening->InstalledFiles();
}

}  // namespace olve
