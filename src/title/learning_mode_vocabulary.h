#pragma once
#include <array>
#include <string_view>

namespace olve {

// The learning modes a title file can be made for. Only the extensions are consulted (to tell
// a title file's type); the names, identifiers, titles and icons are shared vocabulary for
// the screens of the other learning programs. Rows are parallel: row i of one table belongs to
// row i of the other tables of the same length.

// Extensions of title files made for a learning mode; rows 5 and 48 are the same extension.
inline constexpr auto LearningModeExtensions = std::to_array<std::string_view>({
    ".qzd", ".qzt", ".qzg", ".qzge", ".qzgw", ".qzgd", ".qzh", ".qzhs", ".qzj", ".qzjv",
    ".qzp", ".qzpi", ".qzpb", ".qzpa", ".qzpp", ".qzwj", ".qzwe", ".qzve", ".qzk", ".qzgb",
    ".qzsj", ".qzusj", ".qzbje", ".qzty", ".qzdl", ".qzdv", ".qzdh", ".qztl", ".qzth", ".qzap",
    ".qzst", ".qzes", ".qzvs", ".qzvee", ".qzws", ".qztt", ".qzwv", ".qzwc", ".qztv", ".qztwv",
    ".qztwc", ".qzwp", ".qzsp", ".qzjm", ".qztf", ".qzsl", ".qzpr", ".qzjj", ".qzgd", ".qzvp",
    ".qzhk",
});
static_assert(LearningModeExtensions.size() == 51);

inline constexpr auto LearningModeNames = std::to_array<std::string_view>({
    "ディクテーション", "和文英訳", "語順整序（フレーズ）", "語順整序（英文）", "語順整序（単語）",
    "語順整序（ディクテーション）", "空所補充", "空所補充（選択）", "日本語訳", "日本語訳（音声）",
    "ピクチャー", "ピクチャー（イメージ）", "ピクチャー（ブロック）", "ピクチャー（アクセント）",
    "ピクチャー（ポスター）", "単語（英語→日本語）", "単語（日本語→英語）", "音声（英語）", "カルタ",
    "語順整序（ブロック）", "シューティング（日本語）", "ＵＦＯシューティング（日本語）",
    "バルーン（日本語→英語）", "タイピング練習", "ライト ディクテーション", "ディクテーション（母音）",
    "ディクテーション（語頭）", "ライト 和文英訳", "和文英訳（語頭）", "アクセント位置",
    "シャドースピーキング", "英文スピーキング", "ボイス スピーキング", "ボイス（英語→英語）",
    "単語スペリング", "スリービート翻訳", "単語（音声）", "単語クロスワード", "和文英訳（母音）",
    "虫食い和文英訳（母音）", "虫食い和文英訳（子音）", "単語（絵→英語）", "スピード",
    "神経衰弱（マッチング）", "正誤問題", "スロットマシン", "フレーズ リーディング", "文整序",
    "鑑賞しながら 対戦型：語順整序（ディクテーション）", "音声（絵）", "空所補充（聞き書き）",
});
static_assert(LearningModeNames.size() == LearningModeExtensions.size());

// Use modes: how a learning program presents a title.
inline constexpr auto UseModeIds = std::to_array<std::string_view>({
    "umNone", "umListen", "umFlashCard", "umKarutayomi", "umReading", "umVoiceTraining",
    "umDictation", "umTranslate", "umGojun", "umHojuw", "umSaiteki", "umLightDictate",
    "umLightDicVowel", "umLightDicHead", "umLightTranslate", "umLightTranHead", "umLightTraVowel",
    "umTraWormEatenVowel", "umTraWormEatenConsonant", "umLightTranHint", "umKarutatori",
    "umHojuwEx", "umHojuwPrep", "umHojuwBe", "umHojuwArticle", "umHojuwPP",
    "umHojuwInterrogative", "umWordAccentPos", "umShootingEE", "umWordESEW", "umVoiceES",
    "umWordEEWS", "umGojunEx", "umWordJE", "umWordEJ", "umVoiceEJ", "umShootingJVE",
    "umUFOShootingJVE", "umBaloonJE", "umShootingPVE", "umHojuwExVoice", "umKuhSantaku",
    "umGojunWayaku", "umGojunDictate", "umGojunBlock", "umTyping", "umDicWormEatenVowel",
    "umDicWormEatenConsonant", "umWordPicEng", "umHojuwExMute", "umGakushuRireki", "umPlayMute",
    "umPlayOnce", "umPlay3Beats", "umTrueFalse", "umPlayPage", "um3StepSpeaking", "umRepeatAfter",
    "umSlotMachine", "umPhrasedReading", "umBunSeijo", "umShadowSpeaking", "umShadowingLight",
    "umHojuwJosi", "umTrans3Beats", "um3BeatsReading", "umGojunSeeDic", "umWordVoiEng",
    "umNervousClassic", "umNervousMatching", "umNervousUncalled", "umCrossWordToPic", "umPoster",
    "umSpeed", "umHojuwWrite", "umTrackOnce", "umMyPaceReading",
});
static_assert(UseModeIds.size() == 77);

inline constexpr auto UseModeTitles = std::to_array<std::string_view>({
    "", "再生", "フラッシュカード", "カルタ読み", "リーディング", "ボイストレーニング",
    "ディクテーション", "和文英訳", "語順整序", "空所補充", "最適語選択", "ライト ディクテーション",
    "ライト ディクテーション（母音）", "ライト ディクテーション（語頭）", "ライト 和文英訳",
    "ライト 和文英訳（語頭）", "ライト 和文英訳（母音）", "虫食い和文英訳（母音）",
    "虫食い和文英訳（子音）", "ライト 和文英訳（ヒント）", "カルタ取り", "空所補充（拡張）",
    "空所補充（前置詞）", "空所補充（be動詞）", "空所補充（冠詞）", "空所補充（人称代名詞）",
    "空所補充（疑問詞）", "アクセント位置", "シューティング（英語→英語）", "単語（英音→英綴り）",
    "ボイス（英語→綴り）", "単語（英語→英綴り）", "語順整序（拡張）", "単語（日本語→英語）",
    "単語（英語→日本語）", "ボイス（英語→日本語）", "シューティング（日本語→英音）",
    "ＵＦＯシューティング（日本語→英音）", "バルーン（日本語→英語）", "シューティング（絵→英音）",
    "空所補充（拡張・音声）", "空所三択", "語順整序（和訳）", "語順整序（ディクテーション）",
    "語順整序（ブロック）", "タイピング練習", "虫食いディクテーション（母音）",
    "虫食いディクテーション（子音）", "単語（絵→英語）", "空所補充（拡張・無音）", "学習履歴",
    "無音でひらく", "一回再生", "スリービート再生", "正誤問題", "ページ再生",
    "スリーステップ スピーキング", "リピート アフター", "スロットマシン", "フレーズ リーディング",
    "文整序", "シャドースピーキング", "ライト シャドーイング", "空所補充（助詞）", "スリービート翻訳",
    "スリービート リーディング", "鑑賞しながら 語順整序（ディクテーション）", "単語（音声→英語）",
    "神経衰弱", "神経衰弱（マッチング）", "神経衰弱（読み上げなし）", "クロスワード（絵）", "ポスター",
    "スピード", "空所補充（書き取り）", "断続演奏", "マイペースリーディング",
});
static_assert(UseModeTitles.size() == UseModeIds.size());

// One icon per use mode; the colour tells the family (blue: playing, green: dictation,
// orange: translation, purple: word order, red: gap filling, yellow: words, pink: games,
// grey: the rest).
inline constexpr auto UseModeIcons = std::to_array<std::string_view>({
    "grey_none.png", "blue_listen.png", "yellow_flashcard.png", "pink_karutayomi.png",
    "blue_reading.png", "blue_voicetraining.png", "green_dictation.png", "orange_translate.png",
    "purple_gojun.png", "red_hojuw.png", "red_saiteki.png", "green_lightdictate.png",
    "green_lightdicvowel.png", "green_lightdichead.png", "orange_lighttranslate.png",
    "orange_lighttranhead.png", "orange_lighttravowel.png", "orange_traworm_vowel.png",
    "orange_traworm_consonant.png", "orange_lighttranhint.png", "pink_karutatori.png",
    "red_hojuwex.png", "red_hojuwprep.png", "red_hojuwbe.png", "red_hojuwarticle.png",
    "red_hojuwpp.png", "red_hojuwinterrogative.png", "yellow_wordaccentpos.png",
    "pink_shootingee.png", "yellow_wordesew.png", "blue_voicees.png", "yellow_wordeews.png",
    "purple_gojunex.png", "yellow_wordje.png", "yellow_wordej.png", "blue_voiceej.png",
    "pink_shootingjve.png", "pink_ufoshootingjve.png", "pink_baloonje.png", "pink_shootingpve.png",
    "red_hojuwexvoice.png", "red_kuhsantaku.png", "purple_gojunwayaku.png",
    "purple_gojundictate.png", "purple_gojunblock.png", "grey_typing.png",
    "green_dicworm_vowel.png", "green_dicworm_consonant.png", "yellow_wordpiceng.png",
    "red_hojuwexmute.png", "grey_gakushurireki.png", "blue_playmute.png", "blue_playonce.png",
    "blue_play3beats.png", "pink_truefalse.png", "blue_playpage.png", "blue_3stepspeaking.png",
    "blue_repeatafter.png", "pink_slotmachine.png", "blue_phrasedreading.png",
    "purple_bunseijo.png", "blue_shadowspeaking.png", "blue_shadowinglight.png",
    "red_hojuwjosi.png", "orange_trans3beats.png", "blue_3beatsreading.png",
    "purple_gojunseedic.png", "yellow_wordvoieng.png", "pink_nervousclassic.png",
    "pink_nervousmatching.png", "pink_nervousuncalled.png", "yellow_crosswordtopic.png",
    "grey_poster.png", "pink_speed.png", "red_hojuwwrite.png", "blue_trackonce.png",
    "blue_mypacereading.png",
});
static_assert(UseModeIcons.size() == UseModeIds.size());

}  // namespace olve
