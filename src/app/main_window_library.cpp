// The learner's own material: the Open dialog, the start page with the recent titles, and
// recordings with their subtitles made into titles kept in the library folder.
#include "app/main_window.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QProgressDialog>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/fading_notice.h"
#include "app/file_type_registration.h"
#include "app/start_page.h"
#include "media/embedded_subtitle_tracks.h"
#include "media/recording_length.h"
#include "subtitles/subrip_writer.h"
#include "titlemaker/card_export.h"
#include "titlemaker/library_title.h"
#include "titlemaker/material_files.h"
#include "titlemaker/subtitle_title.h"
#include "titlemaker/transcript_request.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

const char* const OpenFilter =
    "タイトル・録音・字幕 Titles, recordings and subtitles (*.qzw *.mp3 *.wav *.ogg *.oga *.opus *.m4a *.aac *.flac "
    "*.wma *.mp4 *.m4v *.mkv *.webm *.avi *.mov *.wmv *.mpg *.mpeg *.ts *.mts *.m2ts *.3gp *.flv *.srt *.vtt *.lrc *.txt);;"
    "すべて All files (*)";
const char* const RecordingFilter =
    "録音・録画 Recordings (*.mp3 *.wav *.ogg *.oga *.opus *.m4a *.aac *.flac *.wma *.mp4 *.m4v *.mkv *.webm *.avi "
    "*.mov *.wmv *.mpg *.mpeg *.ts *.mts *.m2ts *.3gp *.flv);;すべて All files (*)";

bool IsJapaneseTrack(const TEmbeddedSubtitleTrack& track)
{
    return track.Language == "ja" || track.Language == "jpn";
}

bool WriteTrack(const TEmbeddedSubtitleTrack& track, const std::string& path, std::string& written, std::string& reason)
{
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary);
    if (!(out << SubRipText(track.Cues)) || !out.flush()) {
        reason = "字幕を書き出せませんでした\r\n\r\nthe subtitles could not be written: " + path;
        return false;
    }
    written = path;
    return true;
}

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

// The files are used where they are: nothing is changed, moved or copied.
bool TForm1::OpenMaterial(const QStringList& paths)
{
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(QFileInfo(path).absoluteFilePath().toStdString());
    const std::vector<std::string> subtitles = SubtitlesWithoutRecording(files);
    if (!subtitles.empty()) {
        const std::string recording = RecordingForSubtitles(subtitles.front());
        if (recording.empty())
            return false;
        files.push_back(recording);
    }
    TMaterialFiles material;
    std::string reason;
    const bool found = FindMaterial(files, material, reason);
    if (material.Recording.empty()) {
        FPrompts.Message(reason);
        return false;
    }
    const TLibraryEntry entry = LibraryEntryFor(FStore->DataFolder(), material.Recording);
    // A title made before from the recording's own tracks is not made again.
    const bool again = !found && IsLibraryTitleCurrent(entry, material);
    if (!found && !again && !TakeEmbeddedSubtitles(material, entry.Package, reason) && !ChooseMainSubtitles(material)) {
        FPrompts.Message(reason);
        return false;
    }
    if (!again && !IsLibraryTitleCurrent(entry, material) && !MakeLibraryTitle(material, entry))
        return false;
    return OpenTitlePackage(QString::fromStdString(entry.Package));
}

// Subtitles given alone belong to the recording of the open title; with none open, the
// learner says which recording they belong to.
std::string TForm1::RecordingForSubtitles(const std::string& subtitles)
{
    if (!FSerial.empty() && IsRecordingFile(FPlayer->FileName.toStdString()))
        return QFileInfo(FPlayer->FileName).absoluteFilePath().toStdString();
    const std::string beside = RecordingBeside(subtitles);
    if (!beside.empty() && FPrompts.Question("この字幕を次の録音で使いますか？\r\n\r\nuse the subtitles with this recording?\r\n\r\n< " +
                                             beside + " >"))
        return beside;
    const QString chosen = QFileDialog::getOpenFileName(
        this, QStringLiteral("字幕の録音を選ぶ  Choose the recording of the subtitles"),
        QFileInfo(QString::fromStdString(subtitles)).absolutePath(), RecordingFilter);
    return chosen.isEmpty() ? std::string() : QFileInfo(chosen).absoluteFilePath().toStdString();
}

// Subtitles only in languages other than English and Japanese: the learner picks the one to
// learn from.
bool TForm1::ChooseMainSubtitles(TMaterialFiles& material)
{
    if (material.Recording.empty() || material.Others.empty())
        return false;
    QStringList names;
    for (const std::string& other : material.Others)
        names << QString::fromStdString(other);
    bool chosen = false;
    const QString main = QInputDialog::getItem(this, QStringLiteral("字幕を選ぶ  Choose the subtitles"),
                                               QStringLiteral("本文にする字幕  Subtitles for the main text:"), names, 0,
                                               false, &chosen);
    if (!chosen)
        return false;
    material.English = main.toStdString();
    return true;
}

// Long work (reading a film through, packing it) runs beside the window, which stays drawn
// and says what it is doing. Work that can stop is given cancel: the box's Cancel sets it, and
// so does a termination signal, which dismisses every box.
void TForm1::RunWithProgress(const QString& text, const std::function<void()>& work, std::atomic<bool>* cancel,
                             const std::atomic<int>* percent)
{
    QProgressDialog progress(text, cancel ? QStringLiteral("取り消し  Cancel") : QString(), 0, 0, this);
    if (cancel) {
        connect(&progress, &QProgressDialog::canceled, this, [cancel] { *cancel = true; });
        // How a termination signal dismisses every box.
        connect(&progress, &QDialog::rejected, this, [cancel] { *cancel = true; });
    }
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.show();
    std::atomic<bool> done = false;
    std::thread worker([&] {
        work();
        done = true;
    });
    QEventLoop waiting;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &waiting, [&] {
        if (done)
            waiting.quit();
        else if (percent && *percent > 0) {
            progress.setMaximum(100);
            progress.setValue(std::min(percent->load(), 99));
        }
    });
    poll.start(50);
    waiting.exec();
    worker.join();
}

// A video without subtitle files in English may carry them: its text tracks are offered,
// and written beside the title in the library so that the title maker reads them as files.
bool TForm1::TakeEmbeddedSubtitles(TMaterialFiles& material, const std::string& package, std::string& reason)
{
    std::vector<TEmbeddedSubtitleTrack> tracks;
    std::string error;
    bool read = false;
    std::atomic<bool> cancelled = false;
    RunWithProgress(QStringLiteral("字幕を読んでいます…  Reading the subtitles in the recording…"),
                    [&] { read = ReadEmbeddedSubtitleTracks(material.Recording, tracks, error, &cancelled); },
                    &cancelled);
    if (!read) {
        reason = error;
        return false;
    }
    std::erase_if(tracks, [](const TEmbeddedSubtitleTrack& track) { return !track.IsText || track.Cues.empty(); });
    if (tracks.empty())
        return false;
    const TEmbeddedSubtitleTrack* main = ChooseTrack(tracks);
    if (!main)
        return false;
    const std::string stem = (fs::path(package).parent_path() / fs::path(package).stem()).string();
    if (!WriteTrack(*main, stem + ".track" + std::to_string(main->Index) + ".srt", material.English, reason))
        return false;
    for (const TEmbeddedSubtitleTrack& track : tracks) {
        if (material.Japanese.empty() && &track != main && IsJapaneseTrack(track) &&
            !WriteTrack(track, stem + ".track" + std::to_string(track.Index) + ".srt", material.Japanese, reason))
            return false;
    }
    return true;
}

// The English track when there is one alone; otherwise the learner chooses.
const TEmbeddedSubtitleTrack* TForm1::ChooseTrack(const std::vector<TEmbeddedSubtitleTrack>& tracks)
{
    std::vector<const TEmbeddedSubtitleTrack*> english;
    for (const TEmbeddedSubtitleTrack& track : tracks)
        if (track.Language == "en" || track.Language == "eng")
            english.push_back(&track);
    if (english.size() == 1)
        return english.front();
    if (tracks.size() == 1)
        return &tracks.front();
    QStringList names;
    for (const TEmbeddedSubtitleTrack& track : tracks)
        names << QStringLiteral("%1: %2 %3 (%4)")
                     .arg(track.Index + 1)
                     .arg(QString::fromStdString(track.Language.empty() ? "?" : track.Language),
                          QString::fromStdString(track.Title), QString::fromStdString(track.Format));
    bool chosen = false;
    const QString name = QInputDialog::getItem(this, QStringLiteral("字幕を選ぶ  Choose the subtitles"),
                                               QStringLiteral("本文にする字幕  Track for the main text:"), names, 0,
                                               false, &chosen);
    return chosen ? &tracks[static_cast<std::size_t>(names.indexOf(name))] : nullptr;
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

// The title refers to the recording where it is; only an installed title's recording, which
// goes when that title closes, is carried in the package.
bool TForm1::MakeLibraryTitle(const TMaterialFiles& material, const TLibraryEntry& entry)
{
    TSubtitleTitleRequest request;
    request.MediaPath = material.Recording;
    request.SubtitlePath = material.English;
    request.TranslationPath = material.Japanese;
    request.PackagePath = entry.Package;
    request.RecordingInPlace = RecordingStaysInPlace(material.Recording, ProgramFolder().toStdString());
    std::string error;
    std::error_code ignored;
    fs::create_directories(fs::path(entry.Package).parent_path(), ignored);
    // Until the new record is written, the package is not taken for one made from anything.
    fs::remove(entry.Record, ignored);
    TSubtitleTitleResult result;
    bool made = RecordingLengthMs(material.Recording, request.MediaLengthMs, error);
    if (made) {
        std::vector<std::string> notes;
        // Aligning a long recording with its transcript takes minutes: the box shows how far it is.
        std::atomic<int> percent = 0;
        const TAlignProgress aligned = [&percent](std::size_t done, std::size_t total) {
            percent = total > 0 ? int(done * 100 / total) : 0;
        };
        RunWithProgress(QStringLiteral("タイトルを作っています…  Making the title…"), [&] {
            made = (!material.Transcript || AlignTranscriptRequest(request, notes, error, aligned)) &&
                   MakeSubtitleTitle(request, result, error) && WriteLibraryRecord(entry, material, error);
        }, nullptr, &percent);
        result.Notes.insert(result.Notes.begin(), notes.begin(), notes.end());
    }
    for (const std::string& note : result.Notes)
        std::fprintf(stderr, "olveplayer: note: %s\n", note.c_str());
    if (!made)
        FPrompts.Message("タイトルを作れませんでした\r\n\r\nthe title could not be made: " + error);
    return made;
}

}  // namespace olve
