#pragma once
#include <array>
#include <string_view>

namespace olve {

// Words that title files and the screens share. Values read from title files are compared
// with these exactly (letter case counts). Parallel tables have the same length.

// The value of a title file's "TimeFormat", indexed by TOlveTimeFormat.
inline constexpr auto TimeFormatWords = std::to_array<std::string_view>({"UnKnown", "TMSF", "TMilliseconds", "TFrame"});
// Display settings "CsrShw", "UlnShw", "MTxShw" and "STxShw" are off when they hold row 0.
inline constexpr auto SwitchWords = std::to_array<std::string_view>({"Off", "On"});
// "ImgAln": rows 1 and 2 put the picture above the text.
inline constexpr auto AlignmentWords =
    std::to_array<std::string_view>({"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
// "MTxInd": row 0 indents the main text.
inline constexpr auto IndentWords = std::to_array<std::string_view>({"itOlve", "itStandard", "itFlat", "itDialog"});

// Title display-setting keys and their labels on the settings screens.
inline constexpr auto DisplaySettingKeys = std::to_array<std::string_view>({
    "MTxShw", "MTxFNm", "MTxFSz", "MTxFCl", "STxShw", "STxAln", "STxFNm", "STxFSz",
    "STxFCl", "ImgShw", "ImgAln", "TxIRat", "MSbRat", "ImgMst", "MoWiSt", "MoWiBd",
    "GTxFSz", "GTxFNm", "GTxLMd", "GTxSMm", "GPicW", "GPicH", "CsrShw", "UlnShw",
    "MoDisT", "MTxAln", "MaskOn", "TrapOn", "RecRead", "BacMus", "MTxWid", "MTxInd",
    "CovUp", "PullUp", "OpeBar", "AsText", "VHidSt", "VHidRt", "VHidFx", "VHidIn",
    "ComShw", "MutTag", "ColTag", "ImgZom", "Slider", "SliderType", "SliderDir", "SliderTempo",
});
static_assert(DisplaySettingKeys.size() == 48);

inline constexpr auto DisplaySettingLabels = std::to_array<std::string_view>({
    "表示", "フォント", "フォントサイズ", "フォントカラー", "表示", "表示位置", "フォント",
    "フォントサイズ", "フォントカラー", "表示", "表示位置", "テキスト：イメージ", "メイン：サブテキスト",
    "代表画像", "画面配置", "画面位置", "フォントサイズ", "フォントの種類", "日英表示モード", "翻訳表示",
    "画像窓の幅", "画像窓の高さ", "カーソル表示", "アンダーライン表示",
    "モニターの表示タイプ", "段落内の行の配置", "マスクを有効にする", "トラッピングを有効",
    "リーディング推奨", "再生、一般演習を抑止", "幅", "インデントタイプ", "朗読したら隠す",
    "朗読する時に見せる", "再生窓の操作バー非表示", "リーディング提示を継承", "ビデオの表示の状態",
    "ビデオの表示の比率", "ビデオの表示の既定値", "ビデオの表示の初期値", "サブコメントの表示型",
    "ピンポイント消音", "ピンポイント彩色", "画像拡大表示", "紙芝居風のめくり", "めくりの型",
    "めくりの向き", "めくりの速さ",
});
static_assert(DisplaySettingLabels.size() == DisplaySettingKeys.size());

// Value words of title settings.
inline constexpr auto DoWords = std::to_array<std::string_view>({"しない", "する"});
inline constexpr auto BooleanWords = std::to_array<std::string_view>({"false", "true"});
inline constexpr auto OptionalOnWords = std::to_array<std::string_view>({"", "On"});
inline constexpr auto ShowWords = std::to_array<std::string_view>({"Off", "On", "hsFull"});
inline constexpr auto WindowPlaceWords = std::to_array<std::string_view>({"wsTop", "wsBottom", "wsMax", "wsBounds"});
inline constexpr auto LanguageModeWords = std::to_array<std::string_view>({"lmJapanese", "lmEnglish", "lmEngJap"});
inline constexpr auto MonitorStyleWords = std::to_array<std::string_view>({"msSystem", "msBlight", "msCinema"});
inline constexpr auto TextAlignmentWords =
    std::to_array<std::string_view>({"taLeftJustify", "taRightJustify", "taCenter"});
inline constexpr auto SubTextKinds = std::to_array<std::string_view>({"サブテキスト", "コメント"});

// The settings that the player, the title reader and the title maker read or write, named
// once, so that a key misspelt in one of them cannot quietly read nothing. Keys:
inline constexpr std::string_view SerialKey = "VolSerialNum";  // the title's volume: required
inline constexpr std::string_view FileTypeKey = "FileType";
inline constexpr std::string_view TimeFormatKey = "TimeFormat";  // a row of TimeFormatWords
inline constexpr std::string_view UserKey = "VolUser";           // who wrote the title last
inline constexpr std::string_view MakerKey = "VolMaker";         // comma text of who wrote it before
inline constexpr std::string_view TitleNameKey = "VolFileTitle";
inline constexpr std::string_view MaskKey = "Mask";              // the one key that may come several times
inline constexpr std::string_view MonitorStyleKey = "MonSty";
inline constexpr std::string_view MainTextShownKey = DisplaySettingKeys[0];
inline constexpr std::string_view SubTextShownKey = DisplaySettingKeys[4];
inline constexpr std::string_view PictureShownKey = DisplaySettingKeys[9];
inline constexpr std::string_view PictureAlignmentKey = DisplaySettingKeys[10];
inline constexpr std::string_view CursorShownKey = DisplaySettingKeys[22];
inline constexpr std::string_view UnderlineShownKey = DisplaySettingKeys[23];
inline constexpr std::string_view MainTextIndentKey = DisplaySettingKeys[31];
// Their values:
inline constexpr std::string_view OffWord = SwitchWords[0];
inline constexpr std::string_view OnWord = SwitchWords[1];
inline constexpr std::string_view TopAlignmentWord = AlignmentWords[1];
inline constexpr std::string_view BottomAlignmentWord = AlignmentWords[2];
inline constexpr std::string_view LeftAlignmentWord = AlignmentWords[3];
inline constexpr std::string_view OlveIndentWord = IndentWords[0];
inline constexpr std::string_view SystemMonitorStyleWord = MonitorStyleWords[0];
inline constexpr std::string_view ListMonitorStyleWord = "msList";
// "FileType": what TitleFileType gives for a file name.
inline constexpr std::string_view PlayFileTypeWord = "AudioCDPlay";
inline constexpr std::string_view DictateFileTypeWord = "AudioCDDictate";
inline constexpr std::string_view UnknownFileTypeWord = "UnknownFileType";
// "VolUser" of a title bound to an enhanced audio CD that named its user already.
inline constexpr std::string_view AudioCDUserWord = "AudioCDEx";

// What the media drop-down shows for the kind of disc in a drive.
inline constexpr auto MediaLabels = std::to_array<std::string_view>(
    {"  No Disk", "--Audio CD--", "--Media CD--", "--Virtual CD--", "[LAN]", "  Not Audio"});

// How exercises put their questions in order (two rows close with a half-width parenthesis).
inline constexpr auto PresentationOrders = std::to_array<std::string_view>({
    "（正順）", "（ランダム)", "（ランダム＆時差)", "（正順＆時差）", "・せり出し（ランダム）",
    "・せり出し（ランダム＆時差）",
});

inline constexpr auto PlayModeKindIds = std::to_array<std::string_view>({
    "pmdNone", "pmdCDTrack", "pmdCDPhrase", "pmdCDCaption", "pmdVCD", "pmdMonitor",
    "pmdKuhSantaku", "pmdPage", "pmdGridSelect", "pmdGojunBlock",
});
inline constexpr auto PlayModeIds = std::to_array<std::string_view>({
    "pmOnce", "pmAuto", "pmRepeat", "pmVCD", "pmVCDPause", "pmPage", "pm3Beats", "pmRev3Beats",
    "pmShadowingLight", "pmTrans3Beats", "pm3BeatsReading",
});

inline constexpr auto SpeedIds =
    std::to_array<std::string_view>({"piSlow", "piNormal", "piRapid", "piOff", "piPause", "piVariable", "piSkip"});
inline constexpr auto SpeedWords =
    std::to_array<std::string_view>({"ゆっくり", "ふつう", "はやい", "なめらか", "とまる", "あわせる", "とばす"});
static_assert(SpeedWords.size() == SpeedIds.size());

inline constexpr auto NavigationWords = std::to_array<std::string_view>({"Show", "Hide", "Here", "Next", "Back"});

// Columns of the learning log.
inline constexpr auto LearningLogColumns = std::to_array<std::string_view>({
    "システム時間", "日時", "ファイル／行", "タイトル／フレーズテキスト", "単語数", "ミリ秒", "wpm", "操作",
});

// Exercise attributes; the last three rows are unused and empty.
inline constexpr auto ExerciseAttributes = std::to_array<std::string_view>({
    "ﾄﾗｯﾋﾟﾝｸﾞ", "ｶﾊﾞｰﾘﾝｸﾞ", "ﾘｰﾃﾞｨﾝｸﾞ", "音声なし", "演習", "読解計測", "", "", "",
});

// Folders of a classroom share.
inline constexpr auto ClassroomFolders = std::to_array<std::string_view>({"教師用PC", "配布箱", "提出箱", "保管庫"});

// Files that make up exported web pages.
inline constexpr auto WebFileExtensions =
    std::to_array<std::string_view>({".htm", ".html", ".dat", ".gif", ".jpg", ".bmp", ".css"});

// The companion programs that share titles with this player, their editions and the data
// files they keep beside them.
inline constexpr auto CompanionPrograms = std::to_array<std::string_view>({
    "OlvePlayer", "OlveEditor", "OlveRecorder", "OlveDictation", "OlveTranslation", "OlveWordOrder",
    "OlveGapFill", "OlveFlashCard", "OlveShooting", "OlveTyping", "OlveReading", "OlveShadowing",
    "OlveLog", "OlveClassroom", "OlveServer", "OlvePoster", "OlveSetup",
});
static_assert(CompanionPrograms.size() == 17);
inline constexpr auto CompanionEditions = std::to_array<std::string_view>({"Personal", "Classroom"});
inline constexpr auto CompanionDataFiles = std::to_array<std::string_view>({
    "olveplayer.dat", "vcd.ini", "PlayCDs.ini", "olveeditor.dat", "learning.log", "classroom.ini",
    "users.dat", "titles.lst",
});

// The player's own settings file keeps the main window's bounds in a section per display
// mode, in the order of the modes' values.
inline constexpr auto DisplayModeSections =
    std::to_array<std::string_view>({"System", "PictureBook", "Subtitles", "PictureCard", "List", "ListPic"});
inline constexpr auto WindowBoundKeys = std::to_array<std::string_view>({"Left", "Top", "Width", "Height"});
// The height of the Japanese text under the divider, in the same sections.
inline constexpr std::string_view SubViewHeightKey = "SubHeight";

}  // namespace olve
