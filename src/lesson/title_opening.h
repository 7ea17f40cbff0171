#pragma once
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lesson/background_work.h"
#include "lesson/opening_failure.h"
#include "lesson/opening_questions.h"
#include "filetrain/installed_files.h"
#include "files/failure.h"
#include "filetrain/train_extract.h"
#include "title/title_session.h"
#include "titlemaker/library_title.h"
#include "titlemaker/material_files.h"
#include "titlemaker/staging_folder.h"
#include "titlemaker/subtitle_title.h"

namespace olve {

// An installed title as opened (TTitleSession says whether it opened, and why not), or,
// without a session, why the installation failed.
struct TOpenedTitle {
    std::optional<TTitleSession> Session;
    TOpeningFailure Failure;
    // What the installation has to tell besides (files it could not write, damage), in order.
    std::vector<TFailure> Problems;
};

// Opening titles without a window: packages installed below the program's folder and
// opened, the installed files removed again, and the learner's material (a recording with
// subtitles or a transcript) made into a title of the library in the user's data folder.
// The long steps of the material run on a thread of their own; what they are doing and how
// they end is told by signals, on the thread that owns this object.
class TTitleOpening : public QObject {
    Q_OBJECT
public:
    // The program's folder is a local path: packages install below it.
    TTitleOpening(std::string programFolder, TOpeningQuestions& questions, QObject* parent = nullptr);
    ~TTitleOpening() override;

    // The failure for a file that is not there, none when it is.
    static std::optional<TOpeningFailure> MissingFile(const std::string& path);

    // Installs the package below the program's folder and opens the title it wrote; a
    // package just made of material that refers to its recording where it is opens from the
    // files it was packed from instead, without being unpacked. Whatever
    // the installation wrote is kept in the list of installed files, and the files of earlier
    // installations that it did not write again are removed. The title asks its questions
    // through the opening's questions.
    TOpenedTitle InstallAndOpen(const std::string& package, const TExtractUi& ui, const TMediaTimeFormats* player);
    // As InstallAndOpen, but the installation runs on a thread of its own while this object's
    // thread goes on: the feedback and the copy question are called on this thread, and the
    // title opens here once the installation has ended; opened is then called with it. At
    // once when there is nothing to install (a missing file, the title just made). False,
    // without calling back, while another installation runs or after Terminate.
    bool StartInstall(const std::string& package, const TExtractUi& ui, const TMediaTimeFormats* player,
                      std::function<void(TOpenedTitle)> opened);
    bool Installing() const { return FInstallWork.Running(); }
    // Written by the installation's thread: looked at once no installation runs.
    const std::vector<std::string>& InstalledFiles() const { return FInstalled.Files(); }
    // Removes every installed file and the folders they leave empty, never anything outside
    // the program's folder, and forgets them.
    void RemoveInstalledFiles();
    // The title just made is laid out there until it has been opened once.
    bool HasMadeTitle() const { return FMade != nullptr; }

    // Starts making a title of the files given (local paths) in the library of the user's
    // data folder ("olveplayer/library" below it), or finds the one made before from them as
    // they are. openRecording is the open title's recording, which subtitles
    // given alone belong to; empty when none is open. Ends with MaterialReady or
    // MaterialFailed, then MaterialEnded, at once or later. False, without any signal, while
    // other material is being opened or after Terminate.
    bool OpenMaterial(const std::vector<std::string>& paths, const std::string& openRecording,
                      const std::string& dataFolder);
    // Makes the library title of the open recording again with the other choice of cards (one
    // per sentence, or one per cue as the subtitles have them), and keeps that choice. Ends as
    // OpenMaterial does; failed when the recording has no title of its own material in the
    // library. False, without any signal, while other material is being opened or after
    // Terminate.
    bool SwitchSentenceCards(const std::string& openRecording, const std::string& dataFolder);
    bool Busy() const { return FBusy; }
    // Stops the work under way as soon as it can; it then ends as failed.
    void Cancel() { FCancel = true; }
    // Stops the work under way, the installation too at its next entry or chunk, and refuses
    // any more: the program is closing.
    void Terminate();

Q_SIGNALS:
    // Long work began: text says what it is (Japanese and English); cancellable, whether
    // Cancel stops it.
    void WorkStarted(const QString& text, bool cancellable);
    // How far the work is, in percent, when it can tell.
    void WorkProgress(int percent);
    void WorkEnded();
    // The library's package for the material, ready to be opened.
    void MaterialReady(const QString& package);
    // Right after MaterialReady for a title just made of subtitles: what syncing them to the
    // recording found, in Japanese and English, a line each ("字幕は2.35秒遅れていました。
    // 補正しました", "subtitles were 2.35 s late; corrected").
    void MaterialSynced(const QString& text);
    void MaterialFailed(const TOpeningFailure& failure);
    void MaterialEnded();

private:
    struct TInstallation {
        bool Installed = false;
        TStringList Written;
        TExtractOutcome Outcome;
    };
    std::optional<TOpenedTitle> OpenedWithoutInstalling(const std::string& package, const TMediaTimeFormats* player);
    TInstallation Install(const std::string& package, const TExtractUi& ui);
    TOpenedTitle OpenInstalled(const std::string& package, const TInstallation& installation,
                               const TMediaTimeFormats* player);
    void RemoveFiles(const std::vector<std::string>& files) const;
    bool FindRecordingForSubtitles(std::vector<std::string>& files, const std::string& openRecording);
    void ReadTracks();
    void TakeTracks(bool read, std::vector<TEmbeddedSubtitleTrack> tracks, std::string error);
    bool WriteTracks(const std::vector<TEmbeddedSubtitleTrack>& tracks, int main);
    bool ChooseMainSubtitles();
    bool ChooseSubtitlesOfFolder();
    void AskSentenceCards();
    void MakeTitle();
    void KeepMadeTitle(std::shared_ptr<TStagingFolder> laidOut);
    void TitleMade(bool made, const std::string& error);
    TTitleSession OpenMadeTitle(const TMediaTimeFormats* player);
    TTimeFormatConsent AskedConsent();
    void Fail(std::string text, std::string subject = {});
    void Finish(const std::string& package, const QString& synced = {});
    QString SyncMade() const;
    bool RunLong(const QString& text, bool cancellable, std::function<void()> work, std::function<void()> done);

    std::string FProgramFolder;
    TOpeningQuestions& FQuestions;
    TInstalledFiles FInstalled;
    TBackgroundWork FWork;
    TBackgroundWork FInstallWork;
    std::atomic<bool> FStopInstall = false;
    std::atomic<bool> FCancel = false;
    bool FTerminated = false;
    bool FBusy = false;

    // The choice of cards the learner asked for in place of the kept one, for the material
    // being opened.
    std::optional<bool> FSwitchedSentences;
    // The material being opened.
    TMaterialFiles FMaterial;
    TLibraryEntry FEntry;
    std::string FReason;
    TSubtitleTitleRequest FRequest;
    TSubtitleTitleResult FResult;
    // The files of the title just made, as its package holds them, and the title open from them.
    std::shared_ptr<TStagingFolder> FMade;
    std::string FMadePackage;
    std::string FMadeTitleFile;
    std::shared_ptr<TStagingFolder> FOpenMade;
};

}  // namespace olve

Q_DECLARE_METATYPE(olve::TOpeningFailure)
