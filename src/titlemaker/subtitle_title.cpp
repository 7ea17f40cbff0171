#include "titlemaker/subtitle_title.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "codec/compress_string_list.h"
#include "codec/cp932_text.h"
#include "places/recording_identity.h"
#include "places/title_paths.h"
#include "filetrain/train_entry_name.h"
#include "filetrain/train_pack.h"
#include "subtitles/subtitle_file.h"
#include "title/play_package.h"
#include "titlemaker/cue_pictures.h"
#include "titlemaker/cue_timing.h"
#include "titlemaker/sentence_cues.h"
#include "titlemaker/staging_folder.h"
#include "titlemaker/sub_texts.h"
#include "titlemaker/title_cards.h"
#include "titlemaker/title_code.h"
#include "titlemaker/title_settings.h"
#include "titlemaker/title_sync.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

// A file's name as it can be stored in a package and named in title files, or fallback when
// code page 932 cannot hold it or it holds control characters, which would break the lines
// of the files that name it.
std::string StoredName(const std::string& name, const std::string& fallback)
{
    std::string stored;
    const bool controls = std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
    if (!name.empty() && !controls && StoredEntryName(name, stored))
        return stored;
    StoredEntryName(fallback, stored);
    return stored;
}

// ".png" for "Photo.PNG"; empty when the extension is not plain ASCII letters and digits.
std::string PlainExtension(const fs::path& path)
{
    const std::string extension = LowerAscii(path.extension().string());
    for (std::size_t i = 1; i < extension.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(extension[i])) || static_cast<unsigned char>(extension[i]) >= 0x80)
            return std::string();
    return extension;
}

struct TStagedFile {
    std::string Source;
    std::string Target;
};

class TSubtitleTitleMaker {
public:
    TSubtitleTitleMaker(const TSubtitleTitleRequest& request, TSubtitleTitleResult& result, TStagingFolder& staging,
                        const TAlignProgress& progress, const std::atomic<bool>* cancel)
        : FRequest(request), FResult(result), FStaging(staging), FProgress(progress), FCancel(cancel)
    {
    }

    bool Make(std::string& error)
    {
        return ReadCues(error) && FindPictures(error) && NameTitle(error) && FStaging.Create(error) &&
               WriteTitleFile(error) && WriteVcdIni(error) && StageFiles(error) && Pack(error);
    }

private:
    bool ReadSubtitles(const std::string& path, const std::optional<TSubtitleFile>& given, TSubtitleFile& file,
                       std::string& error)
    {
        if (given)
            file = *given;
        else if (!ReadSubtitleFile(path, file, error))
            return false;
        const std::string name = fs::path(path).filename().string() + ": ";
        for (const std::string& note : file.Notes)
            FResult.Notes.push_back(name + note);
        return true;
    }

    bool ReadCues(std::string& error)
    {
        if (FRequest.MediaLengthMs <= 0) {
            error = "the recording " + FRequest.MediaPath + " has no length";
            return false;
        }
        FLengthMs = TitleLengthMs(FRequest.MediaLengthMs, FResult.Notes);
        TTitleCues cues;
        if (!ReadSubtitles(FRequest.SubtitlePath, FRequest.Subtitles, FSubtitles, error) ||
            !ReadTranslation(cues.Translation, error))
            return false;
        cues.Main = FSubtitles.Cues;
        if (!SyncCues(cues, error))
            return false;
        FCues = PrepareCues(cues.Main, FLengthMs, "", FResult.Notes);
        if (FCues.empty()) {
            error = FRequest.SubtitlePath + " holds no cue that can be played over the recording";
            return false;
        }
        FResult.Cues = static_cast<int>(FCues.size());
        if (FRequest.Sentences)
            JoinSplitSentences();
        FSubTexts = FTranslated ? MatchSubTexts(FCues, PrepareCues(cues.Translation, FLengthMs, "translation: ",
                                                                   FResult.Notes))
                                : OwnSubTexts(FCues);
        return true;
    }

    bool ReadTranslation(std::vector<TSubtitleCue>& cues, std::string& error)
    {
        FTranslated = !FRequest.TranslationPath.empty() || FRequest.Translation;
        if (!FTranslated)
            return true;
        TSubtitleFile translation;
        if (!ReadSubtitles(FRequest.TranslationPath, FRequest.Translation, translation, error))
            return false;
        cues = std::move(translation.Cues);
        return true;
    }

    bool SyncCues(TTitleCues& cues, std::string& error)
    {
        if (!FRequest.Sync || FRequest.Subtitles || cues.Main.empty())
            return true;
        TSubtitleSync found;
        if (!SyncTitleCues(FRequest.MediaPath, FRequest.MediaLengthMs, FRequest.KnownSync, cues, found, FResult.Notes,
                           error, FProgress, FCancel))
            return false;
        FResult.Sync = found;
        return true;
    }

    void JoinSplitSentences()
    {
        FCues = JoinSentences(FCues);
        if (FCues.size() < static_cast<std::size_t>(FResult.Cues))
            FResult.Notes.push_back(std::to_string(FResult.Cues) + " cues made " + std::to_string(FCues.size()) +
                                    (FCues.size() == 1 ? " card" : " cards") + " of whole sentences");
    }

    bool FindPictures(std::string& error)
    {
        FPictureNames.assign(FCues.size(), std::string());
        if (FRequest.PicturesFolder.empty())
            return true;
        if (FRequest.Layout == TTitleLayout::Text) {
            FResult.Notes.push_back("pictures: the text layout shows none; " + FRequest.PicturesFolder + " not used");
            return true;
        }
        std::map<int, std::string> pictures;
        if (!FindCuePictures(FRequest.PicturesFolder, pictures, FResult.Notes, error))
            return false;
        for (std::size_t i = 0; i < FCues.size(); ++i) {
            const auto found = pictures.find(FCues[i].Number);
            if (found == pictures.end())
                continue;
            const fs::path source(found->second);
            FPictureNames[i] = StoredName(source.filename().string(),
                                          std::to_string(FCues[i].Number) + PlainExtension(source));
            FPictures.push_back({source.string(), Cp932ToUtf8(FPictureNames[i])});
            pictures.erase(found);
        }
        for (const auto& [number, path] : pictures)
            FResult.Notes.push_back("pictures: " + fs::path(path).filename().string() + " belongs to no cue; not used");
        return true;
    }

    bool NameTitle(std::string& error)
    {
        bool changed = false;
        FResult.TitleName = OneLineValue(!FRequest.TitleName.empty() ? FRequest.TitleName
                                         : !FSubtitles.Title.empty() ? FSubtitles.Title
                                                                     : fs::path(FRequest.MediaPath).stem().string(),
                                         changed);
        if (changed)
            FResult.Notes.push_back("the title name held line breaks or other control characters; each run became a space");
        if (FResult.TitleName.empty()) {
            error = "the title name is empty once its control characters are taken out";
            return false;
        }
        if (!Utf8ToCp932(FResult.TitleName, FStoredName))
            FResult.Notes.push_back("the title name has characters that Shift-JIS (code page 932) lacks; shown as ?");
        FResult.Code = FRequest.Code;
        if (FResult.Code.empty() && !DerivedTitleCode(FRequest.MediaPath, FResult.Code, error))
            return false;
        return StoredTitleCode(FResult.Code, FStoredCode, error);
    }

    bool WriteTitleFile(std::string& error)
    {
        SetTitleSettings(FPackage, {FStoredName, FStoredCode, HasSubTexts(), !FPictures.empty(), FRequest.Layout});
        AddWholeRecordingCard(FPackage, FStoredName, FLengthMs);
        AddMainCards(FPackage, FCues, FSubTexts, FPictureNames, FResult.Notes);
        const std::string stem = fs::path(FRequest.PackagePath).stem().string();
        const std::string titleFile = Cp932ToUtf8(StoredName(stem + ".qzc", "title.qzc"));
        if (!FPackage.SaveToFile(FStaging.Path() + "/" + titleFile, "olvetool", "", "")) {
            error = "cannot write the title file " + titleFile;
            return false;
        }
        FResult.Cards = FPackage.MainCards.Count();
        FResult.Pictures = static_cast<int>(FPictures.size());
        return true;
    }

    bool HasSubTexts()
    {
        FResult.SubTexts = 0;
        for (const std::string& text : FSubTexts)
            FResult.SubTexts += text.empty() ? 0 : 1;
        return FResult.SubTexts > 0;
    }

    // The recording is named relative to the program's folder, which is where the player
    // installs packages and where it runs, so the title works in any program folder.
    bool WriteVcdIni(std::string& error)
    {
        const fs::path media(FRequest.MediaPath);
        FStoredMedia = StoredName(media.filename().string(), "recording" + PlainExtension(media));
        FVcdFolder = FStaging.Path() + "/vcd/" + Cp932ToUtf8(FStoredCode) + "/";
        std::error_code ec;
        fs::create_directories(FVcdFolder, ec);
        TCompressStringList ini;
        ini.Add("code=" + FStoredCode);
        ini.Add("[files]");
        if (FRequest.RecordingInPlace && !AddRecordingInPlace(ini, error))
            return false;
        if (!FRequest.RecordingInPlace)
            ini.Add("file=vcd\\" + FStoredCode + "\\" + FStoredMedia);
        if (ini.SaveToFile(FVcdFolder + "vcd.ini") != 0) {
            error = "cannot write vcd.ini";
            return false;
        }
        return true;
    }

    // "file=" names the recording for readers that know no "recording" section: in code page
    // 932 with "\" where it can be, else as that section does.
    bool AddRecordingInPlace(TCompressStringList& ini, std::string& error)
    {
        TRecordingIdentity identity;
        if (!IdentifyRecording(FRequest.MediaPath, identity, error))
            return false;
        const std::vector<std::string> lines = RecordingIdentityLines(identity);
        std::string stored;
        const bool plain = identity.Path.find('\\') == std::string::npos && Utf8ToCp932(identity.Path, stored) &&
                           Cp932ToUtf8(stored) == identity.Path;
        std::replace(stored.begin(), stored.end(), '/', '\\');
        ini.Add("file=" + (plain ? stored : lines.front().substr(lines.front().find('=') + 1)));
        ini.Add("[recording]");
        for (const std::string& line : lines)
            ini.Add(line);
        return true;
    }

    bool StageFiles(std::string& error)
    {
        if (!FRequest.RecordingInPlace && !StageFile(FRequest.MediaPath, FVcdFolder + Cp932ToUtf8(FStoredMedia), error))
            return false;
        const std::string pictureFolder = TitleFolder(FStaging.Path() + "/", FStoredCode) + "pic/";
        for (const TStagedFile& picture : FPictures)
            if (!StageFile(picture.Source, pictureFolder + picture.Target, error))
                return false;
        return true;
    }

    bool Pack(std::string& error)
    {
        return PackFileTrain(FStaging.Path(), FRequest.PackagePath, "", FResult.Entries, error);
    }

    const TSubtitleTitleRequest& FRequest;
    TSubtitleTitleResult& FResult;
    TPlayPackage FPackage;
    TStagingFolder& FStaging;
    const TAlignProgress& FProgress;
    const std::atomic<bool>* FCancel = nullptr;
    std::int64_t FLengthMs = 0;
    bool FTranslated = false;
    TSubtitleFile FSubtitles;
    std::vector<TSubtitleCue> FCues;
    std::vector<std::string> FSubTexts;
    std::vector<std::string> FPictureNames;
    std::vector<TStagedFile> FPictures;
    std::string FStoredName;
    std::string FStoredCode;
    std::string FStoredMedia;
    std::string FVcdFolder;
};

}  // namespace

bool MakeSubtitleTitle(const TSubtitleTitleRequest& request, TSubtitleTitleResult& result, std::string& error,
                       TStagingFolder* laidOut, const TAlignProgress& progress, const std::atomic<bool>* cancel)
{
    result = TSubtitleTitleResult();
    TStagingFolder own;
    return TSubtitleTitleMaker(request, result, laidOut ? *laidOut : own, progress, cancel).Make(error);
}

}  // namespace olve
