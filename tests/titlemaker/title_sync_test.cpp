#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "align/recording_source.h"
#include "codec/cp932_text.h"
#include "filetrain/train_extract.h"
#include "spoken_reading.h"
#include "subtitles/subtitle_file.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "title/title_session.h"
#include "titlemaker/subtitle_title.h"
#include "titlemaker/title_sync.h"
#include "tool_run.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> Sentences = {"The train leaves at nine.", "Please wait for me at the station.",
                                            "I will bring the tickets.", "Do not forget your umbrella.",
                                            "It may rain this afternoon."};
const std::vector<std::string> Japanese = {"電車は九時に出ます。", "駅で待っていてください。", "切符を持っていきます。",
                                           "傘を忘れないでね。", "午後は雨かもしれません。"};
constexpr int PauseMs = 1500;
constexpr std::int64_t LateMs = 2500;

std::string Stamp(std::int64_t ms)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", int(ms / 3600000), int(ms / 60000 % 60), int(ms / 1000 % 60),
                  int(ms % 1000));
    return text;
}

class TitleSync : public testing::Test {
protected:
    TTempFolder Dir;
    TRecordingPrompts Prompts;
    TSubtitleTitleRequest Request;
    std::vector<TSpokenSentence> Spoken;
    std::vector<TTitleSession> Opened;

    void SetUp() override
    {
        ASSERT_TRUE(MakeSpokenReading(Sentences, PauseMs, Dir / "talk.wav", Spoken));
        Request.MediaPath = Dir / "talk.wav";
        Request.MediaLengthMs = Spoken.back().EndMs + PauseMs;
        Request.SubtitlePath = Dir / "talk.srt";
        Request.PackagePath = Dir / "talk.qzw";
        WriteSubRip(Request.SubtitlePath, Sentences, LateMs);
    }
    // The sentences as spoken, lateMs later.
    void WriteSubRip(const std::string& path, const std::vector<std::string>& texts, std::int64_t lateMs) const
    {
        std::ofstream file(path);
        for (std::size_t k = 0; k < texts.size(); ++k)
            file << k + 1 << "\n"
                 << Stamp(Spoken[k].StartMs + lateMs) << " --> " << Stamp(Spoken[k].EndMs + lateMs) << "\n"
                 << texts[k] << "\n\n";
    }
    // The title made, installed and opened as the player does.
    const TPlayPackage& Made(TSubtitleTitleResult& result)
    {
        std::string error;
        EXPECT_TRUE(MakeSubtitleTitle(Request, result, error)) << error;
        const std::string program = Dir / ("program" + std::to_string(Opened.size()) + "/");
        fs::create_directory(program);
        TStringList written;
        EXPECT_TRUE(ExtractFileTrain(TExtractUi{}, Request.PackagePath, program, written, 1, true));
        Opened.push_back(OpenInstalledTitle(program, written, Request.PackagePath, Prompts.Consent()));
        EXPECT_TRUE(Opened.back().Opened()) << Opened.back().Reason;
        return *Opened.back().Package;
    }
    // Each card starts within toleranceMs of shiftMs after its sentence is spoken.
    void ExpectCardsAt(const TPlayPackage& title, std::int64_t shiftMs, std::int64_t toleranceMs) const
    {
        ASSERT_EQ(title.MainCards.Count(), int(Sentences.size()));
        for (int k = 0; k < title.MainCards.Count(); ++k)
            EXPECT_NEAR(double(title.MainCards.StartUnits(k)), double(Spoken[k].StartMs + shiftMs), double(toleranceMs))
                << "card " << k;
    }
};

bool Contains(const std::vector<std::string>& notes, const std::string& part)
{
    for (const std::string& note : notes)
        if (note.find(part) != std::string::npos)
            return true;
    return false;
}

}  // namespace

TEST_F(TitleSync, LateSubtitlesAndTheTranslationTimedLikeThemAreLaidOverTheSpeech)
{
    Request.TranslationPath = Dir / "talk.ja.srt";
    WriteSubRip(Request.TranslationPath, Japanese, LateMs);
    TSubtitleTitleResult result;
    const TPlayPackage& title = Made(result);
    ASSERT_TRUE(result.Sync);
    EXPECT_TRUE(result.Sync->Corrected);
    EXPECT_NEAR(result.Sync->OffsetMs, -LateMs, 60);
    EXPECT_NEAR(result.Sync->Rate, 1.0, 0.002);
    ExpectCardsAt(title, 0, 200);
    for (int k = 0; k < title.MainCards.Count(); ++k)
        EXPECT_EQ(title.MainCards.Card(k).SubText, Utf8ToCp932(Japanese[std::size_t(k)])) << "card " << k;
    EXPECT_NE(SyncNotice(*result.Sync).find(" late; corrected"), std::string::npos) << SyncNotice(*result.Sync);
}

// A translation already timed to the speech stays: moved with the late subtitles, every card
// would take the translation of the sentence before it.
TEST_F(TitleSync, ATranslationTimedApartFromTheSubtitlesKeepsItsTimes)
{
    Request.TranslationPath = Dir / "talk.ja.srt";
    WriteSubRip(Request.TranslationPath, Japanese, 0);
    TSubtitleTitleResult result;
    const TPlayPackage& title = Made(result);
    ExpectCardsAt(title, 0, 200);
    for (int k = 0; k < title.MainCards.Count(); ++k)
        EXPECT_EQ(title.MainCards.Card(k).SubText, Utf8ToCp932(Japanese[std::size_t(k)])) << "card " << k;
    EXPECT_TRUE(Contains(result.Notes, "translation: timed apart"));
}

TEST_F(TitleSync, SubtitlesThatMatchTheSpeechAndTitlesMadeWithoutSyncKeepTheTimesAsWritten)
{
    Request.Sync = false;
    TSubtitleTitleResult result;
    ExpectCardsAt(Made(result), LateMs, 0);
    EXPECT_FALSE(result.Sync);

    Request.Sync = true;
    WriteSubRip(Request.SubtitlePath, Sentences, 0);
    ExpectCardsAt(Made(result), 0, 0);
    ASSERT_TRUE(result.Sync);
    EXPECT_FALSE(result.Sync->Corrected) << SyncSummary(*result.Sync);

    // Cues aligned from a transcript lie over the speech already.
    WriteSubRip(Request.SubtitlePath, Sentences, LateMs);
    TSubtitleFile given;
    std::string error;
    ASSERT_TRUE(ReadSubtitleFile(Request.SubtitlePath, given, error)) << error;
    Request.Subtitles = given;
    ExpectCardsAt(Made(result), LateMs, 0);
    EXPECT_FALSE(result.Sync);
}

// A sync found before is applied as it was; a recording whose sound cannot be read keeps the
// times, and says why.
TEST_F(TitleSync, AKnownSyncIsAppliedWithoutReadingAndUnreadableSoundKeepsTheTimes)
{
    std::ofstream(Dir / "noise.wav") << "not a sound at all";
    Request.MediaPath = Dir / "noise.wav";
    TSubtitleTitleResult result;
    ExpectCardsAt(Made(result), LateMs, 0);
    ASSERT_TRUE(result.Sync);
    EXPECT_FALSE(result.Sync->Corrected);
    EXPECT_TRUE(Contains(result.Notes, "the times are kept as written"));

    TSubtitleSync known;
    known.OffsetMs = -1000;
    known.Corrected = true;
    Request.KnownSync = known;
    ExpectCardsAt(Made(result), LateMs - 1000, 0);
}

TEST_F(TitleSync, ACancelledSyncMakesNoTitle)
{
    const std::atomic<bool> cancel = true;
    TSubtitleTitleResult result;
    std::string error;
    EXPECT_FALSE(MakeSubtitleTitle(Request, result, error, nullptr, {}, &cancel));
    EXPECT_EQ(error, TRecordingSource::StoppedReading);
    EXPECT_FALSE(fs::exists(Request.PackagePath));
}

TEST_F(TitleSync, TheToolSaysWhatItFoundAndNoSyncKeepsTheTimes)
{
    const std::string args = Quoted(Request.MediaPath) + " " + Quoted(Request.SubtitlePath) + " -o ";
    const TToolRun synced = Tool("title from-subtitles " + args + Quoted(Dir / "synced.qzw"));
    ASSERT_EQ(synced.Status, 0) << synced.Err;
    EXPECT_NE(synced.Out.find("sync: subtitles were 2."), std::string::npos) << synced.Out;
    EXPECT_NE(synced.Out.find(" late; corrected\n"), std::string::npos) << synced.Out;

    const TToolRun kept = Tool("title from-subtitles --no-sync " + args + Quoted(Dir / "kept.qzw"));
    ASSERT_EQ(kept.Status, 0) << kept.Err;
    EXPECT_EQ(kept.Out.find("sync:"), std::string::npos) << kept.Out;
}
