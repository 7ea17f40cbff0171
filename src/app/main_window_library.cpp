// The learner's own material: the Open dialog, the start page with the recent titles, and
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
#include "lesson/title_opening.h"
#include "titlemaker/card_export.h"

namespace olve {

namespace {

const char* const OpenFilter =
    "タイトル・録音・字幕 Titles, recordings and subtitles (*.qzw *.mp3 *.wav *.ogg *.oga *.opus *.m4a *.aac *.flac "
    "*.wma *.mp4 *.m4v *.mkv *.webm *.avi *.mov *.wmv *.mpg *.mpeg *.ts *.mts *.m2ts *.3gp *.flv *.srt *.vtt *.lrc *.txt);;"
    "すべて All files (*)";
}  // namespace

void TForm1::CreateStartPage()
{
    FStartPage = new TStartPage(this);
    FStartPage->OnOpenDialog = [this] { ShowOpenDialog(); };
    FStartPage->OnOpenRecent = [this](const QString& package) { DropFiles({package}); };
    FStartPage->OnRemoveRecent = [this](const QString& package) {
        FRecent.Remove(package.toStdString());
        SaveRecent();
    };
    FRecent = FStore->Recent();
    FStartPage->ShowRecent(FRecent.Items());
}

void TForm1::PlaceStartPage()
{
    if (!FStartPage)
        return;
    FStartPage->setGeometry(spPic->geometry());
    FStartPage->setVisible(FSerial.empty());
    FStartPage->raise();
}

void TForm1::SaveRecent()
{
    FStore->SaveRecent(FRecent);
    FStartPage->ShowRecent(FRecent.Items());
}

void TForm1::RememberRecent(const QString& package)
{
    FRecent.Add(QFileInfo(package).absoluteFilePath().toStdString(), TitleName().toStdString());
    SaveRecent();
    PlaceStartPage();
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

void TForm1::CreateTitleOpening()
{
    FOpeningQuestions = std::make_unique<TQtOpeningQuestions>(this, FPrompts);
    FTitleOpening = new TTitleOpening(ProgramFolder().toStdString(), *FOpeningQuestions, this);
    new TWorkProgressBox(this, *FTitleOpening);
    connect(FTitleOpening, &TTitleOpening::MaterialReady, this, [this](const QString& package) {
        OpenTitlePackage(package);
    });
    connect(FTitleOpening, &TTitleOpening::MaterialFailed, this, [this](const TOpeningFailure& failure) {
        if (failure.Told())
            FPrompts.Message(failure.Text);
    });
    connect(FTitleOpening, &TTitleOpening::MaterialEnded, this, &TForm1::MaterialEnded);
}

// Subtitles given alone go with the open title's recording.
bool TForm1::OpenMaterial(const QStringList& paths)
{
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(path.toStdString());
    const std::string recording = FSerial.empty() ? std::string() : FPlayer->FileName.toStdString();
    ++FOpening;
    if (FTitleOpening->OpenMaterial(files, recording, FStore->DataFolder()))
        return true;
    --FOpening;
    return false;
}

void TForm1::MaterialEnded()
{
    --FOpening;
    // The window was to close while the title was being made.
    if (FClosing && FOpening == 0)
        close();
}

bool TForm1::MakingTitle() const
{
    return FTitleOpening->Busy();
}

const std::vector<std::string>& TForm1::InstalledFiles() const
{
    return FTitleOpening->InstalledFiles();
}

// The card as one more line of <folder>/cards.tsv, with its clip and picture beside it.
bool TForm1::ExportCard(int index, const QString& folder)
{
    if (index < 0 || index >= FPackage->MainCards.Count())
        return false;
    TExportedCard card = ExportedCards(FPackage->MainCards, TitleName().toStdString())[static_cast<std::size_t>(index)];
    TCardExport exporting({FPlayer->FileName.toStdString(), FTitleFolder.toStdString()}, folder.toStdString());
    std::string error;
    const bool written = exporting.Write(card) && exporting.AppendTsv({card}, error);
    std::string problems;
    for (const std::string& line : exporting.Problems())
        problems += "\r\n" + line;
    if (!written) {
        FPrompts.Message("カードを書き出せませんでした\r\n\r\nexporting the card failed: " + error + problems);
        return false;
    }
    if (!problems.empty())
        FPrompts.Message("カードの絵は書き出せませんでした\r\n\r\nthe card's picture was not exported:" + problems);
    QString notice = QStringLiteral("書き出しました  Exported: ") + QString::fromStdString(card.Clip);
    for (const std::string& note : exporting.Notes())
        notice += "\n" + QString::fromStdString(note);
    ShowFadingNotice(this, "ExportNotice", notice);
    return true;
}

}  // namespace olve
