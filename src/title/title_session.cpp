#include "title/title_session.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>

#include "codec/comma_text.h"
#include "codec/cp932_text.h"
#include "codec/data_file.h"
#include "files/failure.h"
#include "places/letter_case_path.h"
#include "places/recording_identity.h"
#include "places/settings_vocabulary.h"
#include "places/title_paths.h"
#include "places/virtual_cd.h"
#include "title/card_text_bound.h"

namespace olve {

namespace {

TFailure Reason(TFailureKind kind, std::string japanese, std::string english, std::string subject)
{
    return {kind, std::move(japanese), std::move(english), std::move(subject), TSubjectPlace::AngledBelow};
}

bool Fail(TTitleSession& session, TTitleFailure failure, const TFailure& reason)
{
    session.Failure = failure;
    session.Reason = BilingualText(reason);
    return false;
}

bool IsTitleFile(std::string_view path)
{
    return path.size() >= 4 && SameAsciiIgnoringCase(path.substr(path.size() - 4), ".qzc");
}

std::string WithoutFinalSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// The path as it exists, in whatever letter case; as given when nothing matches.
std::string PathIgnoringCase(const std::string& path)
{
    const std::string found = ExistingPathIgnoringCase(path);
    return found.empty() ? path : found;
}

// A stored path (code page 932, "\" between folders) on this file system: relative paths
// start at the program's folder, and a name not found as written is looked up ignoring
// letter case.
std::string LocalPath(const std::string& stored, const std::string& programFolder)
{
    std::string path = Cp932ToUtf8(stored);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty())
        return path;
    if (path.front() != '/')
        path = programFolder + "/" + path;
    return PathIgnoringCase(path);
}

// The file name without its folder and its last extension.
std::string BaseName(const std::string& path)
{
    const std::string name = path.substr(path.rfind('/') + 1);
    return name.substr(0, name.rfind('.'));
}

TFailure LoadReason(TTitleLoad load, const std::string& titleFile)
{
    switch (load) {
    case TTitleLoad::Missing:
        return Reason(TFailureKind::Missing, "タイトルファイルが見つかりません", "title file not exist", titleFile);
    case TTitleLoad::NotBdc:
        return Reason(TFailureKind::Damaged, "タイトルファイルが読めません (BDC 形式ではありません)", "title file is not BDC data", titleFile);
    default:
        return Reason(TFailureKind::Failed, "タイトルファイルの読み込みに失敗しました", "failed in reading the title file", titleFile);
    }
}

TFailure NoSerialReason(const std::string& titleFile)
{
    return Reason(TFailureKind::Damaged, "タイトルファイルに VolSerialNum がありません", "no VolSerialNum in the title file", titleFile);
}

void UseTrackMilliseconds(TPlayPackage& title)
{
    title.TimeFormat = otfTrackMilliseconds;
    for (int i = 0; i < title.MainCards.Count(); ++i)
        title.MainCards.SetTimeFormat(i, otfTrackMilliseconds);
    for (int i = 0; i < title.VcdCards.Count(); ++i)
        title.VcdCards.SetTimeFormat(i, otfTrackMilliseconds);
}

bool LoadTitle(TTitleSession& session, const TTimeFormatConsent& consent, const TMediaTimeFormats* player)
{
    session.Package = std::make_unique<TPlayPackage>();
    session.Package->Player = player;
    // Without repair a load has nothing to tell besides its outcome.
    const TTitleLoad load = session.Package->Load(session.TitleFile, false, mtVirtualCD, consent).Outcome;
    if (load == TTitleLoad::NoSerial)
        return Fail(session, TTitleFailure::NoSerial, NoSerialReason(session.TitleFile));
    if (load != TTitleLoad::Loaded)
        return Fail(session, TTitleFailure::TitleNotLoaded, LoadReason(load, session.TitleFile));
    session.Serial = session.Package->GetSetting(SerialKey);
    if (session.Serial.empty())
        return Fail(session, TTitleFailure::NoSerial, NoSerialReason(session.TitleFile));
    UseTrackMilliseconds(*session.Package);
    TPlayPackage& title = *session.Package;
    for (TPlayCardList* cards : {static_cast<TPlayCardList*>(&title.MainCards), static_cast<TPlayCardList*>(&title.VcdCards),
                                 &title.KhsCards, &title.KhgCards})
        BoundCardTexts(*cards);
    return true;
}

// The recording as the "vcd.ini" stores it: the value of the first line of the "files"
// section, and the identity of the "recording" section when there is one.
std::string FirstFile(const std::string& virtualCD, std::optional<TRecordingIdentity>& identity)
{
    TDataFile ini(virtualCD);
    ini.ReadOnly = true;
    TStringList files;
    ini.ReadSection("files", files);
    TRecordingIdentity recorded;
    if (ReadRecordingIdentity(ini, "recording", recorded))
        identity = recorded;
    ini.Close();
    return files.Count() > 0 ? ValueOf(files[0]) : std::string();
}

bool CheckIdentity(TTitleSession& session, const TRecordingIdentity& identity)
{
    session.MediaPath = identity.Path;
    switch (CheckRecording(identity)) {
    case TRecordingState::Present:
        return true;
    case TRecordingState::Missing:
        return Fail(session, TTitleFailure::RecordingMoved,
                    Reason(TFailureKind::Missing, "このタイトルの録音が元の場所にありません (移動または削除されました)。今の場所から録音を開くと、"
                           "タイトルがもう一度作られます",
                           "the recording this title was made from is no longer where it was (moved or deleted); open "
                           "the recording where it is now to make its title again",
                           identity.Path));
    case TRecordingState::Replaced:
        break;
    }
    return Fail(session, TTitleFailure::RecordingReplaced,
                Reason(TFailureKind::Refused, "この場所の録音は、タイトルを作ったときのものと違います (置き換えられたか変更されました)。録音を開き直すと、"
                       "タイトルが作り直されます",
                       "the recording at this place is not the one this title was made from (it was replaced or "
                       "changed); open the recording again to make its title anew",
                       identity.Path));
}

bool FindRecording(TTitleSession& session, const std::string& programFolder)
{
    const std::string folder = PathIgnoringCase(programFolder + "/vcd") + "/";
    session.VirtualCD = FindVirtualCD(session.Serial, folder);
    if (session.VirtualCD.empty())
        return Fail(session, TTitleFailure::NoVirtualCD,
                    Reason(TFailureKind::Missing, "VolSerialNum=" + Cp932ToUtf8(session.Serial) + " の vcd.ini が見つかりません",
                           "no vcd.ini for VolSerialNum=" + Cp932ToUtf8(session.Serial) + " in", folder));
    std::optional<TRecordingIdentity> identity;
    session.MediaName = FirstFile(session.VirtualCD, identity);
    if (identity)
        return CheckIdentity(session, *identity);
    if (session.MediaName.empty())
        return Fail(session, TTitleFailure::NoVirtualCD,
                    Reason(TFailureKind::Missing, "vcd.ini の files に録音ファイルがありません", "no recording in the files section of",
                           session.VirtualCD));
    session.MediaPath = LocalPath(session.MediaName, programFolder);
    std::error_code ec;
    if (!std::filesystem::exists(session.MediaPath, ec))
        return Fail(session, TTitleFailure::NoRecording, Reason(TFailureKind::Missing, "ファイルが見つかりません", "file not exist", session.MediaPath));
    return true;
}

std::string TitleName(const TPlayPackage& title, const std::string& titleFile)
{
    const std::string name = title.GetSetting(TitleNameKey);
    return name.empty() ? BaseName(titleFile) : Cp932ToUtf8(name);
}

}  // namespace

TTitleSession OpenInstalledTitle(const std::string& programFolder, const TStringList& installed,
                                 const std::string& packagePath, const TTimeFormatConsent& consent,
                                 const TMediaTimeFormats* player)
{
    for (const std::string& path : installed.Lines())
        if (IsTitleFile(path))
            return OpenTitleFile(programFolder, path, consent, player);
    TTitleSession session;
    Fail(session, TTitleFailure::NoTitleFile,
         Reason(TFailureKind::Missing, "パッケージにタイトルファイル (.qzc) がありません", "no title file (.qzc) in the package", packagePath));
    return session;
}

TTitleSession OpenTitleFile(const std::string& programFolder, const std::string& titleFile,
                            const TTimeFormatConsent& consent, const TMediaTimeFormats* player)
{
    const std::string program = WithoutFinalSlash(programFolder);
    TTitleSession session;
    session.TitleFile = titleFile;
    if (!LoadTitle(session, consent, player) || !FindRecording(session, program))
        return session;
    session.TitleFolder = TitleFolder(program + "/", session.Serial);
    session.TitleName = TitleName(*session.Package, titleFile);
    session.Display = ReadTitleDisplay(*session.Package);
    return session;
}

}  // namespace olve
