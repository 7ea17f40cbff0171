#include "filetrain/train_extract.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <new>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

#include "files/atomic_file.h"
#include "places/audio_cd_binding.h"
#include "codec/cp932_text.h"
#include "codec/delta_code.h"
#include "codec/dos_date_time.h"
#include "places/drive_identity.h"
#include "filetrain/file_train_reader.h"
#include "places/letter_case_path.h"
#include "files/staged_file.h"
#include "filetrain/train_entry_name.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

class TBusyScope {
public:
    explicit TBusyScope(TExtractFeedback* feedback) : FFeedback(feedback)
    {
        if (FFeedback)
            FFeedback->BeginBusy();
    }
    ~TBusyScope()
    {
        if (FFeedback)
            FFeedback->EndBusy();
    }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    TExtractFeedback* FFeedback;
};

class TProgressScope {
public:
    TProgressScope(TExtractFeedback* feedback, int maximum) : FFeedback(feedback)
    {
        if (FFeedback)
            FFeedback->ShowProgress(ProgressCaption, maximum);
    }
    ~TProgressScope()
    {
        if (FFeedback)
            FFeedback->HideProgress();
    }
    TProgressScope(const TProgressScope&) = delete;
    TProgressScope& operator=(const TProgressScope&) = delete;
    void Step()
    {
        if (FFeedback)
            FFeedback->StepProgress();
    }

private:
    TExtractFeedback* FFeedback;
};

// The folder that entries are written below, as given, and resolved through symbolic links.
std::string RootOf(const std::string& destFolder)
{
    if (destFolder.empty())
        return ".";
    const char last = destFolder.back();
    return last == '/' || last == '\\' ? destFolder.substr(0, destFolder.size() - 1) : destFolder;
}

// Made absolute first: a relative path whose folders do not exist yet would otherwise stay
// relative, and nothing below it would be found inside the destination.
fs::path Resolved(const std::string& path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(fs::path(path.empty() ? "/" : path), ec);
    fs::path resolved = ec ? fs::path() : fs::weakly_canonical(absolute, ec);
    return ec ? fs::path() : resolved;
}

bool IsInside(const fs::path& path, const fs::path& root)
{
    if (path.empty() || root.empty())
        return false;
    auto p = path.begin();
    for (auto r = root.begin(); r != root.end(); ++r, ++p) {
        if (r->empty() && std::next(r) == root.end())
            break;  // the empty name after a trailing separator
        if (p == path.end() || *p != *r)
            return false;
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos &&
           name.find('\0') == std::string::npos;
}

bool Exists(const std::string& path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}

// A device, pipe or socket in an entry's place is neither written to nor replaced.
bool IsSpecialFile(const std::string& path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode) && !S_ISDIR(st.st_mode);
}

std::string CountText(int count)
{
    return " (" + std::to_string(count) + ")";
}

// The format has no count of entries: what can be said is how far the package reads.
TFailure DamageFailure(int wholeEntries, const std::string& fileName)
{
    if (wholeEntries == 0)
        return {TFailureKind::Damaged, "パッケージが壊れているため、インストールしませんでした。ファイルを 1 つも読み込めません",
                "the package is damaged and was not installed: none of its files can be read", fileName};
    const std::string n = std::to_string(wholeEntries);
    return {TFailureKind::Damaged,
            "パッケージが壊れているため、インストールしませんでした。先頭の " + n + " 個より後のファイルを読み込めません",
            "the package is damaged and was not installed: the files after the first " + n + " cannot be read", fileName};
}

// Local paths are UTF-8: only ASCII letters fold.
std::string FoldAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

using TIdentity = std::pair<dev_t, ino_t>;

std::optional<TIdentity> IdentityOf(const std::string& path, bool followLink)
{
    struct stat st{};
    if ((followLink ? stat(path.c_str(), &st) : lstat(path.c_str(), &st)) != 0)
        return std::nullopt;
    return TIdentity(st.st_dev, st.st_ino);
}

// The player's program and settings file, in the folder that holds it.
const char* const PlayerFileNames[] = {"olveplayer", "olveplayer.dat"};

// The files that no entry ever replaces. The player installs into its own folder, and a tool
// may be pointed at that folder too: a package never replaces the player or its settings
// file there, whatever the letter case of the entry's name, nor the running program (under
// any name, or through another link) and the settings file beside it, nor the package being
// read.
class TProtectedTargets {
public:
    TProtectedTargets(const fs::path& resolvedRoot, const std::string& package)
    {
        for (const char* name : PlayerFileNames)
            FNames.insert({resolvedRoot, name});
        const fs::path program = Resolved("/proc/self/exe");
        if (!program.empty()) {
            FNames.insert({program.parent_path(), FoldAscii(program.filename().string())});
            FNames.insert({program.parent_path(), FoldAscii(program.stem().string() + ".dat")});
        }
        for (const std::string& path : {std::string("/proc/self/exe"), package})
            if (const auto identity = IdentityOf(path, true))
                FIdentities.push_back(*identity);
    }

    // resolvedFolder: the target's folder, resolved through symbolic links.
    bool Contains(const fs::path& resolvedFolder, const std::string& target) const
    {
        if (FNames.count({resolvedFolder, FoldAscii(FileNameOf(target))}) > 0)
            return true;
        const auto identity = IdentityOf(target, false);
        return identity && std::find(FIdentities.begin(), FIdentities.end(), *identity) != FIdentities.end();
    }

private:
    std::set<std::pair<fs::path, std::string>> FNames;
    std::vector<TIdentity> FIdentities;
};

// One file being written below the destination. When it is not completed, its temporary goes,
// and so do the folders made for it if nothing else came into them.
class TTargetFile {
public:
    explicit TTargetFile(const std::string& target) : FExisted(Exists(target))
    {
        for (fs::path folder = fs::path(target).parent_path(); !folder.empty() && !Exists(folder.string());
             folder = folder.parent_path())
            FMissingFolders.push_back(folder);
    }
    ~TTargetFile()
    {
        if (FCommitted)
            return;
        File.Discard();
        for (const fs::path& folder : FMissingFolders)
            if (rmdir(folder.c_str()) != 0)
                break;
    }
    TTargetFile(const TTargetFile&) = delete;
    TTargetFile& operator=(const TTargetFile&) = delete;

    bool Commit(std::optional<std::time_t> modified) { return FCommitted = File.Commit(modified); }
    // The target was there before this entry was written.
    bool Existed() const { return FExisted; }
    // The folders that writing the target makes, deepest first.
    const std::vector<fs::path>& MissingFolders() const { return FMissingFolders; }

    TStagedFile File;

private:
    bool FExisted;
    bool FCommitted = false;
    std::vector<fs::path> FMissingFolders;  // deepest first
};

enum class TAction { Write, Skip, PassOver, Stop };
enum class TLoad { Loaded, Damaged, ReadFailed };

class TTrainExtraction {
public:
    TTrainExtraction(const TExtractUi& ui, TFileTrainReader& reader, TStringList& extracted, const std::string& root,
                     const std::string& package)
        : FUi(ui), FReader(reader), FExtracted(extracted), FFirstExtracted(extracted.Count()), FRoot(root),
          FResolvedRoot(Resolved(root)), FNames(root), FProtected(FResolvedRoot, package)
    {
    }

    void SetHeaderFolder(const std::string& header)
    {
        FHeaderRefused = !LocalEntryPath(header, FHeaderFolder);
        if (!FHeaderRefused)
            FHeaderFolder += "/";
    }
    void SetMode(int mode)
    {
        FApplyToAll = mode == 1 || mode == 2;
        FChoice = FApplyToAll ? TCopyChoice::Overwrite : TCopyChoice::CopyIfNewer;
    }
    void SetIdentity(const std::string& identity) { FIdentity = identity; }

    // A package found damaged by the survey writes nothing.
    bool Run(const TTrainSurvey& survey)
    {
        if (survey.Damaged)
            return Damaged(survey.WholeEntries);
        while (ExtractNext()) {
        }
        if (!FOutcome.DamagedAfter)
            return FResult;
        RemoveCreated();
        return false;
    }

    void Report(const std::string& fileName)
    {
        std::vector<TFailure>& problems = FOutcome.Problems;
        if (FOutcome.DamagedAfter)
            problems.push_back(DamageFailure(*FOutcome.DamagedAfter, fileName));
        if (FRefused > 0)
            problems.push_back({TFailureKind::Refused,
                                "インストール先の外を指す名前のファイルは書き込みませんでした" + CountText(FRefused),
                                "files with unsafe names were not installed", fileName});
        if (FDamaged > 0)
            problems.push_back({TFailureKind::Damaged, "壊れているファイルは書き込みませんでした" + CountText(FDamaged),
                                "damaged files were not installed", fileName});
        // The files that failed, after the package they came from.
        if (!FOutcome.Failed.empty())
            problems.push_back({TFailureKind::Unwritable,
                                "ファイルの書き込みに失敗しました" + CountText(static_cast<int>(FOutcome.Failed.size())),
                                "writing files failed", fileName + "\r\n\r\n" + FailureList()});
    }

    TExtractOutcome& Outcome()
    {
        FOutcome.Refused = FRefused;
        FOutcome.Damaged = FDamaged;
        return FOutcome;
    }

private:
    // The first few failures, one a line; a full disk fails every entry that follows.
    std::string FailureList() const
    {
        constexpr std::size_t Shown = 10;
        std::string list;
        for (std::size_t i = 0; i < FOutcome.Failed.size() && i < Shown; ++i)
            list += FOutcome.Failed[i].Path + ": " + FOutcome.Failed[i].Reason + "\r\n";
        if (FOutcome.Failed.size() > Shown)
            list += "...\r\n";
        return list;
    }

    bool Cancelled() const { return FUi.Feedback && FUi.Feedback->Cancelled(); }

    // False: nothing more is read from a damaged package.
    bool Damaged(int wholeEntries)
    {
        FOutcome.DamagedAfter = wholeEntries;
        return false;
    }

    // Files that were there before stay, even those that an entry read whole has replaced: the
    // package holds nothing that could bring their old content back. A file that cannot be
    // removed stays listed as written.
    void RemoveCreated()
    {
        std::set<std::string> removed;
        for (auto created = FCreated.rbegin(); created != FCreated.rend(); ++created) {
            if (unlink(created->Path.c_str()) != 0)
                continue;
            removed.insert(created->Path);
            for (const fs::path& folder : created->Folders)
                if (rmdir(folder.c_str()) != 0)
                    break;
        }
        for (int i = FExtracted.Count() - 1; i >= FFirstExtracted; --i)
            if (removed.count(FExtracted[i]) > 0)
                FExtracted.Delete(i);
    }

    // False when the installation ends here.
    bool ExtractNext()
    {
        if (FUi.Feedback)
            FUi.Feedback->ProcessMessages();
        if (Cancelled())
            return false;
        TTrainEntry entry;
        const TEntryRead read = FReader.Next(entry);
        if (read == TEntryRead::End)
            return false;
        if (read != TEntryRead::Entry)
            return Damaged(FListed);
        ++FListed;
        std::string target;
        if (!TargetOf(entry, target) || IsSpecialFile(target)) {
            ++FRefused;
            return true;
        }
        const bool streamed = entry.CodedSize == 0 && entry.Size > LargeEntrySize;
        std::vector<std::uint8_t> bytes;
        if (!streamed) {
            const TLoad load = Load(entry, bytes);
            if (load == TLoad::ReadFailed)
                return Damaged(FListed - 1);
            if (load == TLoad::Damaged) {
                ++FDamaged;
                return true;
            }
        }
        switch (Decide(entry, target)) {
        case TAction::Stop:
            return false;
        case TAction::Skip:
            return true;
        case TAction::PassOver:
            FResult = true;
            return true;
        case TAction::Write:
            break;
        }
        return streamed ? Stream(entry, target) : Write(entry, target, bytes);
    }

    bool TargetOf(const TTrainEntry& entry, std::string& target)
    {
        std::string relative;
        if (FHeaderRefused || !LocalEntryPath(entry.Name, relative))
            return false;
        target = FRoot + "/" + FNames.Resolve(FHeaderFolder + relative);
        const std::string folder = FolderOf(target);
        const fs::path resolvedFolder = Resolved(folder.substr(0, folder.size() - 1));
        return IsInside(resolvedFolder, FResolvedRoot) && !FProtected.Contains(resolvedFolder, target);
    }

    // Data that needs more memory than there is counts as damaged, as data that does not decode.
    TLoad Load(const TTrainEntry& entry, std::vector<std::uint8_t>& bytes)
    {
        try {
            if (entry.CodedSize == 0) {
                bytes.resize(static_cast<std::size_t>(entry.Size));
                if (!FReader.Read(bytes.data(), bytes.size()))
                    return TLoad::ReadFailed;
            } else {
                TDeltaCode codec;
                codec.Coded.resize(static_cast<std::size_t>(entry.CodedSize));
                if (!FReader.Read(codec.Coded.data(), codec.Coded.size()))
                    return TLoad::ReadFailed;
                if (!codec.Decode(static_cast<std::uint32_t>(entry.Size)))
                    return TLoad::Damaged;
                bytes = std::move(codec.Plain);
            }
            if (!FIdentity.empty())
                BindTitleToAudioCD(bytes, FIdentity);
        } catch (const std::bad_alloc&) {
            return TLoad::Damaged;
        }
        return TLoad::Loaded;
    }

    TFileCopyRequest RequestFor(const TTrainEntry& entry, const std::string& target) const
    {
        TFileCopyRequest request;
        request.ExistingPath = target;
        request.NewPath = target;
        struct stat st{};
        if (stat(target.c_str(), &st) == 0 || lstat(target.c_str(), &st) == 0) {
            request.ExistingSize = st.st_size;
            request.ExistingDate = DosDateTimeOf(st.st_mtime);
        }
        request.EntrySize = entry.Size;
        request.EntryDate = entry.Date;
        // Dates packed year first compare as unsigned numbers.
        request.EntryIsNewer = entry.Date > request.ExistingDate;
        request.Choice = FChoice;
        request.OldName = FileNameOf(target);
        request.NewName = request.OldName;
        return request;
    }

    TAction Decide(const TTrainEntry& entry, std::string& target)
    {
        if (SameTextIgnoringCase(entry.Name, "PlayCDs.ini") || !Exists(target))
            return TAction::Write;
        TFileCopyRequest request = RequestFor(entry, target);
        if (!FApplyToAll || FChoice == TCopyChoice::Rename) {
            if (!FUi.CopyQuestion)
                return TAction::Skip;
            FUi.CopyQuestion->Ask(request);
            FChoice = request.Choice;
            FApplyToAll = request.ApplyToAll;
        }
        switch (FChoice) {
        case TCopyChoice::CopyIfNewer:
            return request.EntryIsNewer ? TAction::Write : TAction::PassOver;
        case TCopyChoice::Overwrite:
            return TAction::Write;
        case TCopyChoice::Rename:
            return RenameExisting(target, request) ? TAction::Write : TAction::Skip;
        case TCopyChoice::Cancel:
            break;
        }
        return FApplyToAll ? TAction::Stop : TAction::Skip;
    }

    // Both names stay in the target's folder; a name that would leave it, equal names, or an
    // existing file under the first name leave everything as it was.
    static bool RenameExisting(std::string& target, const TFileCopyRequest& answer)
    {
        if (!IsPlainFileName(answer.OldName) || !IsPlainFileName(answer.NewName) ||
            SameAsciiIgnoringCase(answer.OldName, answer.NewName))
            return false;
        const std::string folder = FolderOf(target);
        const std::string oldPath = folder + answer.OldName;
        if (oldPath != target && !RenameWithoutReplacing(target, oldPath))
            return false;
        target = folder + answer.NewName;
        return true;
    }

    static std::optional<std::time_t> ModifiedTimeOf(const TTrainEntry& entry)
    {
        std::time_t time = 0;
        if (!TimeOfDosDateTime(entry.Date, time))
            return std::nullopt;
        return time;
    }

    bool OpenTarget(const std::string& target, TStagedFile& file)
    {
        const std::string folder = FolderOf(target);
        std::error_code ec;
        fs::create_directories(fs::path(folder), ec);
        // What an install that was killed midway left behind goes when the folder is next written.
        if (FCleanedFolders.insert(folder).second)
            RemoveStaleStagedFiles(folder);
        return file.Open(target);
    }

    void Written(const std::string& target, const TTargetFile& file)
    {
        if (file.Existed() && FWritten.count(target) == 0)
            FOutcome.Replaced.push_back(target);
        if (!file.Existed())
            FCreated.push_back({target, file.MissingFolders()});
        FWritten.insert(target);
        FExtracted.Add(target);
        FResult = true;
    }

    // Called right after the failing call, while errno still tells why.
    void Failed(const std::string& target)
    {
        FOutcome.Failed.push_back({target, std::strerror(errno)});
    }

    bool Write(const TTrainEntry& entry, const std::string& target, const std::vector<std::uint8_t>& bytes)
    {
        TTargetFile file(target);
        if (OpenTarget(target, file.File) && file.File.Write(bytes.data(), bytes.size()) &&
            file.Commit(ModifiedTimeOf(entry)))
            Written(target, file);
        else
            Failed(target);
        return true;
    }

    // False when the package could not be read to the end of the entry, or on cancel.
    bool Stream(const TTrainEntry& entry, const std::string& target)
    {
        TTargetFile file(target);
        if (!OpenTarget(target, file.File)) {
            Failed(target);
            return true;
        }
        const std::size_t size = static_cast<std::size_t>(entry.Size);
        const std::size_t chunks = (size + CopyChunkSize - 1) / CopyChunkSize;
        TProgressScope progress(FUi.Feedback, static_cast<int>(chunks) + 1);
        FChunk.resize(CopyChunkSize);
        for (std::size_t done = 0; done < size;) {
            const std::size_t n = std::min(CopyChunkSize, size - done);
            if (!FReader.Read(FChunk.data(), n))
                return Damaged(FListed - 1);
            // A file that cannot be written is left out; the next entry is found all the same.
            if (!file.File.Write(FChunk.data(), n)) {
                Failed(target);
                return true;
            }
            done += n;
            progress.Step();
            if (Cancelled())
                return false;
        }
        if (file.Commit(ModifiedTimeOf(entry)))
            Written(target, file);
        else
            Failed(target);
        return true;
    }

    const TExtractUi& FUi;
    TFileTrainReader& FReader;
    TStringList& FExtracted;
    int FFirstExtracted;
    std::set<std::string> FCleanedFolders;
    std::string FRoot;
    fs::path FResolvedRoot;
    TLetterCaseNames FNames;
    TProtectedTargets FProtected;
    std::set<std::string> FWritten;
    struct TCreated {
        std::string Path;
        std::vector<fs::path> Folders;  // made for it, deepest first
    };
    std::vector<TCreated> FCreated;
    int FListed = 0;  // entries whose fields were read, the current one included
    TExtractOutcome FOutcome;
    std::string FHeaderFolder;
    bool FHeaderRefused = false;
    std::string FIdentity;
    bool FApplyToAll = false;
    TCopyChoice FChoice = TCopyChoice::CopyIfNewer;
    bool FResult = false;
    int FRefused = 0;
    int FDamaged = 0;
    std::vector<std::uint8_t> FChunk;
};

}  // namespace

bool ExtractFileTrain(const TExtractUi& ui, const std::string& fileName, const std::string& destFolder,
                      TStringList& extracted, int mode, bool useHeaderFolder, TExtractOutcome* outcome)
{
    TBusyScope busy(ui.Feedback);
    std::string identity;
    AudioCDIdentity(FolderOf(fileName), identity);

    TFileTrainReader reader;
    std::string header;
    if (!reader.Open(fileName) || !reader.ReadHeader(header))
        return false;
    const TTrainSurvey survey = reader.Survey();
    TTrainExtraction extraction(ui, reader, extracted, RootOf(destFolder), fileName);
    if (useHeaderFolder && !header.empty())
        extraction.SetHeaderFolder(header);
    extraction.SetMode(mode);
    extraction.SetIdentity(identity);
    const bool result = extraction.Run(survey);
    extraction.Report(fileName);
    if (outcome)
        *outcome = std::move(extraction.Outcome());
    return result;
}

}  // namespace olve
