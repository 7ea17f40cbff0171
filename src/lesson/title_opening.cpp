#include "lesson/title_opening.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "media/recording_length.h"
#include "files/abandoned_files.h"
#include "lesson/relayed_extract_ui.h"
#include "subtitles/subrip_writer.h"
#include "titlemaker/file_kind.h"
#include "titlemaker/sentence_cues.h"
#include "titlemaker/subtitle_candidates.h"
#include "titlemaker/title_sync.h"
#include "titlemaker/transcript_request.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

bool IsEnglishTrack(const TEmbeddedSubtitleTrack& track)
{
    return NamedLanguageOf(track.Language) == TNamedLanguage::English;
}

bool IsJapaneseTrack(const TEmbeddedSubtitleTrack& track)
{
    return NamedLanguageOf(track.Language) == TNamedLanguage::Japanese;
}

// The English track when there is one alone, the only track, or the learner's choice.
int MainTrack(const std::vector<TEmbeddedSubtitleTrack>& tracks, TOpeningQuestions& questions)
{
    if (std::count_if(tracks.begin(), tracks.end(), IsEnglishTrack) == 1)
        return static_cast<int>(std::find_if(tracks.begin(), tracks.end(), IsEnglishTrack) - tracks.begin());
    if (tracks.size() == 1)
        return 0;
    const int chosen = questions.ChooseTrack(tracks);
    return chosen >= 0 && chosen < static_cast<int>(tracks.size()) ? chosen : -1;
}

bool WriteTrack(const TEmbeddedSubtitleTrack& track, const std::string& path, std::string& written, std::string& reason)
{
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary);
    if (!(out << SubRipText(track.Cues)) || !out.flush()) {
        reason = BilingualText({TFailureKind::Unwritable, "字幕を書き出せませんでした", "the subtitles could not be written: " + path});
        return false;
    }
    written = path;
    return true;
}

}  // namespace

TTitleOpening::TTitleOpening(std::string programFolder, TOpeningQuestions& questions, QObject* parent)
    : QObject(parent), FProgramFolder(std::move(programFolder)), FQuestions(questions)
{
    qRegisterMetaType<TOpeningFailure>();
}

TTitleOpening::~TTitleOpening()
{
    // The work writes the fields below: it ends before they go.
    Terminate();
    FWork.Abandon();
    FInstallWork.Abandon();
}

std::optional<TOpeningFailure> TTitleOpening::MissingFile(const std::string& path)
{
    if (QFileInfo(QString::fromStdString(path)).isFile())
        return std::nullopt;
    return TOpeningFailure{
        BilingualText({TFailureKind::Missing, "ファイルが見つかりません", "file not exist", path, TSubjectPlace::AngledBelow}), path};
}

TOpenedTitle TTitleOpening::InstallAndOpen(const std::string& package, const TExtractUi& ui,
                                           const TMediaTimeFormats* player)
{
    if (std::optional<TOpenedTitle> opened = OpenedWithoutInstalling(package, player))
        return std::move(*opened);
    return OpenInstalled(package, Install(package, ui), player);
}

bool TTitleOpening::StartInstall(const std::string& package, const TExtractUi& ui, const TMediaTimeFormats* player,
                                 std::function<void(TOpenedTitle)> opened)
{
    if (FTerminated || Installing())
        return false;
    if (std::optional<TOpenedTitle> atOnce = OpenedWithoutInstalling(package, player)) {
        opened(std::move(*atOnce));
        return true;
    }
    auto relay = std::make_shared<TRelayedExtractUi>(ui, this, &FStopInstall);
    auto installation = std::make_shared<TInstallation>();
    return FInstallWork.Start([=, this] { *installation = Install(package, relay->Ui()); },
                              [=, this, opened = std::move(opened)] {
                                  opened(OpenInstalled(package, *installation, player));
                              });
}

std::optional<TOpenedTitle> TTitleOpening::OpenedWithoutInstalling(const std::string& package,
                                                                   const TMediaTimeFormats* player)
{
    TOpenedTitle opened;
    if (auto missing = MissingFile(package))
        opened.Failure = *missing;
    else if (FMade && package == FMadePackage)
        opened.Session = OpenMadeTitle(player);
    else
        return std::nullopt;
    return opened;
}

// Runs on the installation's thread: nothing else touches the installed files meanwhile.
TTitleOpening::TInstallation TTitleOpening::Install(const std::string& package, const TExtractUi& ui)
{
    TInstallation installation;
    installation.Installed =
        ExtractFileTrain(ui, package, FProgramFolder, installation.Written, 1, true, &installation.Outcome);
    // Whatever was written is removed on close, however the installation ended.
    if (installation.Installed) {
        RemoveFiles(FInstalled.Add(installation.Written.Lines(), installation.Outcome));
        // Kept on disk too: the next start removes them if this process is killed.
        TInstalledList(FProgramFolder).Write(FInstalled.Files());
    }
    return installation;
}

TOpenedTitle TTitleOpening::OpenInstalled(const std::string& package, const TInstallation& installation,
                                          const TMediaTimeFormats* player)
{
    TOpenedTitle opened;
    opened.Problems = installation.Outcome.Problems;
    if (FTerminated)
        return opened;
    if (!installation.Installed) {
        opened.Failure = {BilingualText({TFailureKind::Failed, "のインストールに失敗しました", "installing the package failed",
                                         package, TSubjectPlace::Above}),
                          package};
        return opened;
    }
    opened.Session = OpenInstalledTitle(FProgramFolder, installation.Written, package, AskedConsent(), player);
    opened.Failure = {opened.Session->Reason, opened.Session->TitleFile};
    return opened;
}

TTimeFormatConsent TTitleOpening::AskedConsent()
{
    return [this](const TTimeFormatChange& change) { return FQuestions.ChangeTimeFormat(change); };
}

TTitleSession TTitleOpening::OpenMadeTitle(const TMediaTimeFormats* player)
{
    TTitleSession session = OpenTitleFile(FMade->Path(), FMade->Path() + "/" + FMadeTitleFile, AskedConsent(), player);
    // Kept while the title may be open: its title folder lies there.
    FOpenMade = std::exchange(FMade, nullptr);
    return session;
}

void TTitleOpening::RemoveInstalledFiles()
{
    FMade.reset();
    FOpenMade.reset();
    RemoveFiles(FInstalled.Files());
    FInstalled = TInstalledFiles();
    TInstalledList(FProgramFolder).Write({});
}

void TTitleOpening::RemoveFiles(const std::vector<std::string>& files) const
{
    const QString root = QDir(QString::fromStdString(FProgramFolder)).canonicalPath();
    if (root.isEmpty())
        return;
    for (const std::string& file : files) {
        const QString path = QString::fromStdString(file);
        // Only what lies below the program's folder is ours to remove.
        const QString canonical = QDir(QFileInfo(path).absolutePath()).canonicalPath();
        if (canonical.isEmpty() || (canonical != root && !canonical.startsWith(root + "/")))
            continue;
        QFile::remove(canonical + "/" + QFileInfo(path).fileName());
        QDir dir(canonical);
        while (dir.absolutePath() != root && dir.absolutePath().startsWith(root + "/")) {
            const QString name = dir.dirName();
            if (!dir.cdUp() || !dir.rmdir(name))
                break;
        }
    }
}

void TTitleOpening::Terminate()
{
    FTerminated = true;
    FCancel = true;
    FStopInstall = true;
}

// The files are used where they are: nothing is changed, moved or copied.
bool TTitleOpening::OpenMaterial(const std::vector<std::string>& paths, const std::string& openRecording,
                                 const std::string& dataFolder)
{
    if (FBusy || FTerminated)
        return false;
    FBusy = true;
    FCancel = false;
    std::vector<std::string> files;
    for (const std::string& path : paths)
        files.push_back(QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString());
    if (!FindRecordingForSubtitles(files, openRecording)) {
        Fail({});
        return true;
    }
    const bool found = FindMaterial(files, FMaterial, FReason);
    if (FMaterial.Recording.empty()) {
        Fail(FReason);
        return true;
    }
    FEntry = LibraryEntryFor(dataFolder, FMaterial.Recording);
    // Asked once for the title: the answer stands for every making of it, until the learner
    // switches it.
    FMaterial.Sentences = FSwitchedSentences ? FSwitchedSentences : KeptSentenceChoice(FEntry);
    // A title made before from this very material, or from the recording's own tracks, is
    // not made again.
    if (IsLibraryTitleCurrent(FEntry, FMaterial))
        Finish(FEntry.Package);
    else if (!found)
        ReadTracks();
    else
        MakeTitle();
    return true;
}

bool TTitleOpening::SwitchSentenceCards(const std::string& openRecording, const std::string& dataFolder)
{
    if (FBusy || FTerminated)
        return false;
    const TLibraryEntry entry = LibraryEntryFor(dataFolder, openRecording);
    std::error_code ec;
    if (openRecording.empty() || !fs::is_regular_file(entry.Record, ec)) {
        FBusy = true;
        Fail(BilingualText({TFailureKind::Failed, "文ごとのカードにできるのは、自分の録音と字幕から作ったタイトルだけです",
                            "only a title made of your own recording and subtitles can have one card per sentence"}));
        return true;
    }
    FSwitchedSentences = !KeptSentenceChoice(entry).value_or(false);
    const bool started = OpenMaterial({openRecording}, {}, dataFolder);
    FSwitchedSentences.reset();
    return started;
}

// Subtitles given alone belong to the recording of the open title; with none open, the
// learner says which recording they belong to.
bool TTitleOpening::FindRecordingForSubtitles(std::vector<std::string>& files, const std::string& openRecording)
{
    const std::vector<std::string> subtitles = SubtitlesWithoutRecording(files);
    if (subtitles.empty())
        return true;
    std::string recording;
    if (!openRecording.empty() && IsRecordingFile(openRecording))
        recording = QFileInfo(QString::fromStdString(openRecording)).absoluteFilePath().toStdString();
    if (recording.empty()) {
        const std::string beside = RecordingBeside(subtitles.front());
        if (!beside.empty() && FQuestions.UseRecordingBeside(beside))
            recording = beside;
    }
    if (recording.empty())
        recording = FQuestions.ChooseRecording(fs::path(subtitles.front()).parent_path().string());
    if (recording.empty())
        return false;
    files.push_back(QFileInfo(QString::fromStdString(recording)).absoluteFilePath().toStdString());
    return true;
}

// A video without subtitle files in English may carry them: its text tracks are offered,
// and written beside the title in the library so that the title maker reads them as files.
void TTitleOpening::ReadTracks()
{
    auto tracks = std::make_shared<std::vector<TEmbeddedSubtitleTrack>>();
    auto error = std::make_shared<std::string>();
    auto read = std::make_shared<bool>(false);
    const std::string recording = FMaterial.Recording;
    RunLong(QStringLiteral("字幕を読んでいます…  Reading the subtitles in the recording…"), true,
            [=, this] { *read = ReadEmbeddedSubtitleTracks(recording, *tracks, *error, &FCancel); },
            [=, this] { TakeTracks(*read, std::move(*tracks), *error); });
}

void TTitleOpening::TakeTracks(bool read, std::vector<TEmbeddedSubtitleTrack> tracks, std::string error)
{
    if (FTerminated) {
        Fail({});
        return;
    }
    if (!read)
        FReason = error;
    // A cancelled reading ends the opening: the learner asked for nothing more.
    if (FCancel) {
        Fail(FReason);
        return;
    }
    std::erase_if(tracks, [](const TEmbeddedSubtitleTrack& track) { return !track.IsText || track.Cues.empty(); });
    const int main = read && !tracks.empty() ? MainTrack(tracks, FQuestions) : -1;
    if (!(main >= 0 && WriteTracks(tracks, main)) &&
        !(FMaterial.Others.empty() ? ChooseSubtitlesOfFolder() : ChooseMainSubtitles())) {
        Fail(FReason);
        return;
    }
    if (IsLibraryTitleCurrent(FEntry, FMaterial))
        Finish(FEntry.Package);
    else
        MakeTitle();
}

bool TTitleOpening::WriteTracks(const std::vector<TEmbeddedSubtitleTrack>& tracks, int main)
{
    const fs::path package(FEntry.Package);
    const std::string stem = (package.parent_path() / package.stem()).string();
    const auto name = [&](const TEmbeddedSubtitleTrack& track) {
        return stem + ".track" + std::to_string(track.Index) + ".srt";
    };
    const TEmbeddedSubtitleTrack& english = tracks[static_cast<std::size_t>(main)];
    if (!WriteTrack(english, name(english), FMaterial.English, FReason))
        return false;
    for (const TEmbeddedSubtitleTrack& track : tracks)
        if (FMaterial.Japanese.empty() && &track != &english && IsJapaneseTrack(track) &&
            !WriteTrack(track, name(track), FMaterial.Japanese, FReason))
            return false;
    return true;
}

// Subtitles only in languages other than English and Japanese: the learner picks the one to
// learn from.
bool TTitleOpening::ChooseMainSubtitles()
{
    if (FMaterial.Others.empty())
        return false;
    const int chosen = FQuestions.ChooseMainSubtitles(FMaterial.Others);
    if (chosen < 0 || chosen >= static_cast<int>(FMaterial.Others.size()))
        return false;
    FMaterial.English = FMaterial.Others[static_cast<std::size_t>(chosen)];
    return true;
}

// No subtitles named after the recording: the learner may take any of its folder's, those
// named most like it offered first. Chosen, they give the main text as they are.
bool TTitleOpening::ChooseSubtitlesOfFolder()
{
    const std::string folder = fs::path(FMaterial.Recording).parent_path().string();
    const std::string chosen = FQuestions.ChooseSubtitles(folder, RankedSubtitleFiles(FMaterial.Recording));
    if (chosen.empty())
        return false;
    FMaterial.English = chosen;
    FMaterial.Japanese.clear();
    FMaterial.Transcript = IsTranscriptFile(chosen);
    return true;
}

// Subtitles whose lines split sentences can make a card of each sentence; the learner says
// once whether they should.
void TTitleOpening::AskSentenceCards()
{
    if (!FMaterial.Sentences && !FMaterial.Transcript && SubtitleFileSplitsSentences(FMaterial.English))
        FMaterial.Sentences = FQuestions.MakeSentenceCards();
}

// The title refers to the recording where it is; only an installed title's recording, which
// goes when that title closes, is carried in the package.
void TTitleOpening::MakeTitle()
{
    FRequest = {};
    FRequest.MediaPath = FMaterial.Recording;
    FRequest.SubtitlePath = FMaterial.English;
    FRequest.TranslationPath = FMaterial.Japanese;
    FRequest.PackagePath = FEntry.Package;
    FRequest.RecordingInPlace = RecordingStaysInPlace(FMaterial.Recording, FProgramFolder);
    AskSentenceCards();
    FRequest.Sentences = FMaterial.Sentences.value_or(false);
    // A title made again of the same material is synced as it was before.
    FRequest.KnownSync = FMaterial.Transcript ? std::nullopt : RecordedSync(FEntry, FMaterial);
    FResult = {};
    FMade.reset();
    std::error_code ignored;
    fs::create_directories(fs::path(FEntry.Package).parent_path(), ignored);
    // Until the new record is written, the package is not taken for one made from anything.
    fs::remove(FEntry.Record, ignored);
    std::string error;
    if (!RecordingLengthMs(FMaterial.Recording, FRequest.MediaLengthMs, error)) {
        TitleMade(false, error);
        return;
    }
    auto made = std::make_shared<bool>(false);
    auto failure = std::make_shared<std::string>();
    auto notes = std::make_shared<std::vector<std::string>>();
    auto percent = std::make_shared<std::atomic<int>>(-1);
    // Aligning a long recording with its transcript takes minutes, syncing subtitles to its
    // speech up to a minute: how far it is, is told.
    const TAlignProgress aligned = [this, percent](std::size_t done, std::size_t total) {
        const int now = total > 0 ? int(done * 100 / total) : 0;
        if (percent->exchange(now) != now)
            QMetaObject::invokeMethod(this, [this, now] { Q_EMIT WorkProgress(now); }, Qt::QueuedConnection);
    };
    const bool transcript = FMaterial.Transcript;
    const TMaterialFiles material = FMaterial;
    const TLibraryEntry entry = FEntry;
    // A title that carries its recording is installed as any package is, so that the copy
    // lies below the program's folder; one that refers to it where it is opens where it was made.
    auto laidOut = FRequest.RecordingInPlace ? std::make_shared<TStagingFolder>() : nullptr;
    // Aligning and syncing take long, so they can be cancelled (and a termination stops them too).
    RunLong(QStringLiteral("タイトルを作っています…  Making the title…"), true,
            [=, this] {
                *made = (!transcript || AlignTranscriptRequest(FRequest, *notes, *failure, aligned, &FCancel)) &&
                        !FCancel && MakeSubtitleTitle(FRequest, FResult, *failure, laidOut.get(), aligned, &FCancel) &&
                        WriteLibraryRecord(entry, material, FResult.Sync, *failure);
            },
            [=, this] {
                FResult.Notes.insert(FResult.Notes.begin(), notes->begin(), notes->end());
                if (*made && laidOut)
                    KeepMadeTitle(laidOut);
                TitleMade(*made, *failure);
            });
}

void TTitleOpening::KeepMadeTitle(std::shared_ptr<TStagingFolder> laidOut)
{
    const auto title = std::find_if(FResult.Entries.begin(), FResult.Entries.end(), [](const std::string& entry) {
        return QFileInfo(QString::fromStdString(entry)).suffix().compare("qzc", Qt::CaseInsensitive) == 0;
    });
    if (title == FResult.Entries.end())
        return;
    FMade = std::move(laidOut);
    FMadePackage = FEntry.Package;
    FMadeTitleFile = *title;
}

void TTitleOpening::TitleMade(bool made, const std::string& error)
{
    for (const std::string& note : FResult.Notes)
        std::fprintf(stderr, "olveplayer: note: %s\n", note.c_str());
    // Cancelled by the learner, or by a termination: nothing more to say.
    if (FTerminated || (!made && FCancel))
        Fail({});
    else if (!made)
        Fail(BilingualText({TFailureKind::Failed, "タイトルを作れませんでした", "the title could not be made: " + error}),
             FMaterial.Recording);
    else
        Finish(FEntry.Package, SyncMade());
}

// What the sync found, in the log and for the learner.
QString TTitleOpening::SyncMade() const
{
    if (!FResult.Sync)
        return {};
    std::fprintf(stderr, "olveplayer: sync: %s\n", SyncSummary(*FResult.Sync).c_str());
    return QString::fromStdString(SyncNotice(*FResult.Sync));
}

bool TTitleOpening::RunLong(const QString& text, bool cancellable, std::function<void()> work,
                            std::function<void()> done)
{
    Q_EMIT WorkStarted(text, cancellable);
    return FWork.Start(std::move(work), [this, done = std::move(done)] {
        Q_EMIT WorkEnded();
        done();
    });
}

void TTitleOpening::Fail(std::string text, std::string subject)
{
    FBusy = false;
    Q_EMIT MaterialFailed(TOpeningFailure{std::move(text), std::move(subject)});
    Q_EMIT MaterialEnded();
}

void TTitleOpening::Finish(const std::string& package, const QString& synced)
{
    FBusy = false;
    Q_EMIT MaterialReady(QString::fromStdString(package));
    if (!synced.isEmpty())
        Q_EMIT MaterialSynced(synced);
    Q_EMIT MaterialEnded();
}

}  // namespace olve
