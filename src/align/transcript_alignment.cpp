#include "align/transcript_alignment.h"

#include <algorithm>
#include <optional>

#include "align/sound_levels.h"
#include "align/speech_edges.h"
#include "align/speech_stretches.h"
#include "align/sphinx_decoder.h"
#include "align/stretch_reader.h"
#include "align/transcript_text.h"
#include "align/unplaced_times.h"
#include "subtitles/subtitle_time.h"

namespace olve {

namespace {

// A dictionary word of the transcript and the written word it reads.
struct TSpokenWord {
    std::string Word;
    std::size_t Sentence = 0;
    std::size_t TextWord = 0;
    std::int64_t StartMs = -1;
    std::int64_t EndMs = -1;
};

// Sentences not heard that get a note of their own.
constexpr std::size_t UnplacedNotes = 20;
// A stretch not heard near the last words placed is sought this many words further on (about
// half an hour of reading), if it is long enough.
constexpr std::size_t FurtherWords = 4000;
constexpr std::size_t LeastSamplesToSeek = 2 * TRecordingSource::SampleRate;
// The run of the transcript's words, heard in order, that a stretch sought further on must
// hold before the aligner moves on to it: an anchor that a few words alike by chance are not.
constexpr std::size_t AnchorWords = 6;
// Longer than any book read aloud; a decoder that never ends (a damaged or hostile file) is
// stopped here, with the levels it kept about 4 MB an hour.
constexpr std::size_t MaxRecordingHours = 72;
constexpr std::size_t MaxRecordingSamples = MaxRecordingHours * 3600 * TRecordingSource::SampleRate;
// How far the sound may move a sentence's edge from where the recognizer put it.
constexpr std::int64_t EdgeReachMs = 600;

// Enough words for a fast reader over the stretch, and some to spare.
std::size_t WindowWords(const TSpeechStretch& stretch)
{
    const double seconds = double(stretch.End - stretch.Begin) / TRecordingSource::SampleRate;
    return static_cast<std::size_t>(seconds * 5) + 12;
}

class TTranscriptAligner {
public:
    TTranscriptAligner(const TRecordingSource& recording, const std::vector<std::string>& sentences,
                       TTranscriptAlignment& alignment, const TAlignProgress& progress,
                       const std::atomic<bool>* cancel)
        : FRecording(recording), FSentences(sentences), FAlignment(alignment), FProgress(progress), FCancel(cancel)
    {
    }

    bool Align(std::string& error)
    {
        if (!FDecoder.Open(error))
            return false;
        ListWords();
        if (FWords.empty()) {
            error = "the transcript has no words";
            return false;
        }
        std::vector<TSpeechStretch> stretches;
        if (!MeasureLevels(stretches, error))
            return false;
        const auto align = [&](std::size_t k, const std::vector<std::int16_t>& samples) {
            if (Cancelled())
                return false;
            AlignStretch(stretches[k], samples);
            FProgress.Aligned(stretches[k].End, FSampleCount);
            return true;
        };
        if (!ReadStretches(FRecording, stretches, align, error))
            return Stopped(error);
        FProgress.Aligned(FSampleCount, FSampleCount);
        return MakeCues(error);
    }

private:
    bool Cancelled() const { return FCancel && *FCancel; }

    // A reading stopped by the learner says so; any other failure keeps its reason.
    bool Stopped(std::string& error) const
    {
        if (Cancelled())
            error = AlignmentCancelled;
        return false;
    }

    // The first pass: the stretches and the edges of speech, from the levels alone.
    bool MeasureLevels(std::vector<TSpeechStretch>& stretches, std::string& error)
    {
        TSoundLevels levels;
        const std::size_t expected = FRecording.ExpectedSamples();
        bool tooLong = false;
        const auto measure = [&](const std::int16_t* samples, std::size_t count) {
            levels.Add(samples, count);
            FProgress.Read(levels.SampleCount(), expected);
            tooLong = levels.SampleCount() > MaxRecordingSamples;
            return !tooLong && !Cancelled();
        };
        if (!FRecording.Read(measure, error)) {
            if (!tooLong)
                return Stopped(error);
            error = "the recording is longer than " + std::to_string(MaxRecordingHours) + " hours";
            return false;
        }
        FSampleCount = levels.SampleCount();
        stretches = FindSpeechStretches(levels.FrameLevels(), FSampleCount);
        FEdges.emplace(levels.TakeWindowLevels());
        return true;
    }

    std::int64_t LengthMs() const
    {
        return static_cast<std::int64_t>(FSampleCount) * 1000 / TRecordingSource::SampleRate;
    }

    void ListWords()
    {
        FTextWords.resize(FSentences.size());
        FFirstWords.resize(FSentences.size() + 1);
        for (std::size_t s = 0; s < FSentences.size(); ++s) {
            FFirstWords[s] = FWords.size();
            FTextWords[s] = SentenceWords(FSentences[s]);
            for (std::size_t w = 0; w < FTextWords[s].size(); ++w)
                for (const std::string& word : FDecoder.DictionaryWords(FTextWords[s][w].Text))
                    FWords.push_back({word, s, w});
        }
        FFirstWords[FSentences.size()] = FWords.size();
    }

    // Where a stretch may begin, in the words from `back` on: where the last one stopped, or a
    // word or two on when that one took them wrongly, or at a later sentence when the reader
    // left some out, or back at a sentence the stretches before placed, when they took words
    // that are not theirs (speech that the transcript lacks, an intro) and this one has them.
    std::vector<std::size_t> Entries(std::size_t back, std::size_t end) const
    {
        std::vector<std::size_t> entries{FNext - back, FNext - back + 1, FNext - back + 2};
        for (std::size_t k = back; k < end; ++k)
            if ((k < FNext || k >= FNext + 3) &&
                (k == 0 || FWords[k].Sentence != FWords[k - 1].Sentence || (FLastHeardNothing && k > FNext)))
                entries.push_back(k - back);
        return entries;
    }

    // The first word of the sentence before the first one that the last stretch placed.
    std::size_t BackFrom() const
    {
        if (FNext == 0)
            return 0;
        const std::size_t sentence = FWords[FLastStretchFirst].Sentence;
        return FFirstWords[sentence > 0 ? sentence - 1 : 0];
    }

    // Where a stretch may begin when it is sought further on: at any sentence from `back`.
    std::vector<std::size_t> SentenceStarts(std::size_t back, std::size_t end) const
    {
        std::vector<std::size_t> entries;
        for (std::size_t k = back; k < end; ++k)
            if (k == back || FWords[k].Sentence != FWords[k - 1].Sentence)
                entries.push_back(k - back);
        return entries;
    }

    void AlignStretch(const TSpeechStretch& stretch, const std::vector<std::int16_t>& samples)
    {
        if (FNext >= FWords.size())
            return;
        const std::size_t back = BackFrom();
        const std::size_t end = std::min(FWords.size(), FNext + WindowWords(stretch));
        FLastHeardNothing =
            !Decode(stretch, samples, back, end, Entries(back, end)) && !FoundFurtherOn(stretch, samples, end);
    }

    // Speech that none of the words near the last ones placed matches may be read further on:
    // the reader passed over more of the transcript than a stretch's words reach (a preface, a
    // page of notes). It is sought among the sentences that follow, if it is long enough to
    // tell them apart.
    bool FoundFurtherOn(const TSpeechStretch& stretch, const std::vector<std::int16_t>& samples, std::size_t end)
    {
        if (end >= FWords.size() || stretch.End - stretch.Begin < LeastSamplesToSeek || Cancelled())
            return false;
        const std::size_t stop = std::min(FWords.size(), end + FurtherWords);
        return Decode(stretch, samples, end, stop, SentenceStarts(end, stop), AnchorWords);
    }

    // Aligns the stretch with the words from `back` up to `end`; false when it took fewer than
    // `least` of them in a run (and none is placed).
    bool Decode(const TSpeechStretch& stretch, const std::vector<std::int16_t>& samples, std::size_t back,
                std::size_t end, const std::vector<std::size_t>& entries, std::size_t least = 1)
    {
        std::vector<std::string> window;
        for (std::size_t k = back; k < end; ++k)
            window.push_back(FWords[k].Word);
        std::vector<TPlacedWord> placed;
        std::string failure;
        if (!FDecoder.AlignStretch(samples.data(), samples.size(), window, entries, placed, failure) ||
            placed.size() < least)
            return false;
        const std::size_t first = back + placed.front().Index;
        // Words placed before from here on were taken by a stretch that does not hold them.
        for (std::size_t k = first; k < FNext; ++k)
            FWords[k].StartMs = FWords[k].EndMs = -1;
        const std::int64_t offsetMs = static_cast<std::int64_t>(stretch.Begin) * 1000 / TRecordingSource::SampleRate;
        for (const TPlacedWord& word : placed) {
            FWords[back + word.Index].StartMs = offsetMs + word.StartMs;
            FWords[back + word.Index].EndMs = offsetMs + word.EndMs;
        }
        FLastStretchFirst = first;
        FNext = back + placed.back().Index + 1;
        return true;
    }

    // Each sentence spans its placed words; the rest share the time between placed ones.
    std::vector<TTimedItem> SentenceTimes() const
    {
        std::vector<TTimedItem> times(FSentences.size());
        for (std::size_t s = 0; s < FSentences.size(); ++s)
            times[s].Weight = double(FSentences[s].size());
        for (const TSpokenWord& word : FWords) {
            if (word.StartMs < 0)
                continue;
            TTimedItem& sentence = times[word.Sentence];
            if (!sentence.Placed())
                sentence.StartMs = word.StartMs;
            sentence.EndMs = word.EndMs;
        }
        return times;
    }

    std::vector<TTimedItem> WordTimes(std::size_t sentence) const
    {
        std::vector<TTimedItem> times(FTextWords[sentence].size());
        for (std::size_t w = 0; w < times.size(); ++w)
            times[w].Weight = double(FTextWords[sentence][w].Text.size());
        for (std::size_t k = FFirstWords[sentence]; k < FFirstWords[sentence + 1]; ++k) {
            const TSpokenWord& word = FWords[k];
            if (word.StartMs >= 0 && !times[word.TextWord].Placed())
                times[word.TextWord] = {times[word.TextWord].Weight, word.StartMs, word.EndMs};
        }
        return times;
    }

    // The first ones each; then how many more, so that a long text read in part stays readable.
    void NoteUnplaced(std::size_t sentence, const TTimedItem& time)
    {
        if (++FUnplaced > UnplacedNotes)
            return;
        FAlignment.Notes.push_back("sentence " + std::to_string(sentence + 1) + " (\"" + FSentences[sentence] +
                                   "\") was not heard in the recording; timed between its neighbours, " +
                                   SubtitleTimeText(time.StartMs) + " to " + SubtitleTimeText(time.EndMs));
    }

    bool MakeCues(std::string& error)
    {
        std::vector<TTimedItem> sentences = SentenceTimes();
        std::vector<bool> placed(sentences.size());
        for (std::size_t s = 0; s < sentences.size(); ++s)
            placed[s] = sentences[s].Placed();
        if (std::find(placed.begin(), placed.end(), true) == placed.end()) {
            error = "no sentence of the transcript was heard in the recording";
            return false;
        }
        MoveEdgesToTheSound(sentences);
        FillUnplacedTimes(sentences, 0, LengthMs());
        for (std::size_t s = 0; s < sentences.size(); ++s) {
            if (!placed[s]) {
                NoteUnplaced(s, sentences[s]);
                FAlignment.Unplaced.push_back(s);
            }
            FAlignment.Cues.push_back(MakeCue(s, sentences[s]));
        }
        if (FUnplaced > UnplacedNotes)
            FAlignment.Notes.push_back(std::to_string(FUnplaced - UnplacedNotes) +
                                       " more sentences were not heard in the recording; each timed between its "
                                       "neighbours");
        return true;
    }

    // The recognizer's end of each sentence's first word and start of its last one.
    std::vector<std::pair<std::int64_t, std::int64_t>> InnerWordEdges() const
    {
        std::vector<std::pair<std::int64_t, std::int64_t>> inner(FSentences.size(), {-1, -1});
        for (const TSpokenWord& word : FWords) {
            if (word.StartMs < 0)
                continue;
            auto& [firstEnd, lastStart] = inner[word.Sentence];
            if (firstEnd < 0)
                firstEnd = word.EndMs;
            lastStart = word.StartMs;
        }
        return inner;
    }

    // A placed sentence starts at the onset of its speech and ends at its offset, where the sound
    // shows them near the recognizer's edges: within its first and last word, and short of its
    // neighbours' speech. A pause inside the sentence is never taken for its edge.
    void MoveEdgesToTheSound(std::vector<TTimedItem>& sentences) const
    {
        const TSpeechEdges& edges = *FEdges;
        const std::vector<TTimedItem> heard = sentences;
        const auto inner = InnerWordEdges();
        std::int64_t before = 0;
        for (std::size_t s = 0; s < heard.size(); ++s) {
            if (!heard[s].Placed())
                continue;
            std::int64_t after = LengthMs();
            for (std::size_t n = s + 1; n < heard.size(); ++n)
                if (heard[n].Placed()) {
                    after = heard[n].StartMs;
                    break;
                }
            const TTimedItem& time = heard[s];
            const auto onset = edges.OnsetNear(time.StartMs, std::max(before, time.StartMs - EdgeReachMs),
                                               std::min(inner[s].first, time.StartMs + EdgeReachMs));
            const auto offset = edges.OffsetNear(time.EndMs, std::max(inner[s].second, time.EndMs - EdgeReachMs),
                                                 std::min(after, time.EndMs + EdgeReachMs));
            sentences[s].StartMs = onset.value_or(time.StartMs);
            sentences[s].EndMs = std::max(offset.value_or(time.EndMs), sentences[s].StartMs + 1);
            before = time.EndMs;
        }
    }

    TSubtitleCue MakeCue(std::size_t sentence, const TTimedItem& time) const
    {
        TSubtitleCue cue;
        cue.Number = static_cast<int>(sentence + 1);
        cue.StartMs = time.StartMs;
        cue.EndMs = std::max(time.EndMs, time.StartMs + 1);
        cue.Text = FSentences[sentence];
        std::vector<TTimedItem> words = WordTimes(sentence);
        FillUnplacedTimes(words, time.StartMs, time.EndMs);
        // The first word starts with the sentence; no word starts outside it.
        std::int64_t latest = time.StartMs;
        for (std::size_t w = 0; w < words.size(); ++w) {
            latest = w == 0 ? time.StartMs : std::clamp(words[w].StartMs, latest, cue.EndMs - 1);
            cue.Parts.push_back({latest, FTextWords[sentence][w].Offset});
        }
        return cue;
    }

    const TRecordingSource& FRecording;
    const std::vector<std::string>& FSentences;
    TTranscriptAlignment& FAlignment;
    TAlignProgressShare FProgress;
    const std::atomic<bool>* FCancel;
    std::size_t FSampleCount = 0;
    std::optional<TSpeechEdges> FEdges;
    TSphinxDecoder FDecoder;
    std::vector<std::vector<TTextWord>> FTextWords;
    std::vector<TSpokenWord> FWords;
    // Sentence s's dictionary words are FWords[FFirstWords[s]] up to FFirstWords[s + 1].
    std::vector<std::size_t> FFirstWords;
    std::size_t FNext = 0;
    // The first word that the latest stretch placed.
    std::size_t FLastStretchFirst = 0;
    std::size_t FUnplaced = 0;
    // The latest stretch took none of the transcript's words, so the next may begin anywhere
    // in the words after it (speech that ran on from a stretch the recognizer did not follow).
    bool FLastHeardNothing = false;
};

}  // namespace

bool AlignTranscript(const TRecordingSource& recording, const std::vector<std::string>& sentences,
                     TTranscriptAlignment& alignment, std::string& error, const TAlignProgress& progress,
                     const std::atomic<bool>* cancel)
{
    alignment = TTranscriptAlignment();
    return TTranscriptAligner(recording, sentences, alignment, progress, cancel).Align(error);
}

}  // namespace olve
