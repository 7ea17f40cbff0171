#include "titlemaker/transcript_request.h"


#include "align/recording_file.h"
#include "align/transcript_alignment.h"
#include "subtitles/subtitle_text.h"
#include "titlemaker/transcript_cards.h"
#include "titlemaker/transcript_file.h"

namespace olve {

namespace {

bool ReadText(const std::string& path, std::string& text, std::string& error)
{
    return ReadTranscriptFile(path, text, error);
}

// "3", "3-5" or "3-5, 9" for the card numbers, counting from 1.
std::string NumberRanges(const std::vector<std::size_t>& numbers)
{
    std::string text;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t last = i;
        while (last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1)
            ++last;
        text += (text.empty() ? "" : ", ") + std::to_string(numbers[i]);
        if (last > i)
            text += "-" + std::to_string(numbers[last]);
        i = last + 1;
    }
    return text;
}

std::string UnpairedNote(const std::vector<TTranscriptCard>& cards)
{
    std::vector<std::size_t> unpaired;
    for (std::size_t k = 0; k < cards.size(); ++k)
        if (cards[k].Japanese.empty())
            unpaired.push_back(k + 1);
    if (unpaired.empty())
        return std::string();
    return "translation: " + std::string(unpaired.size() == 1 ? "card " : "cards ") + NumberRanges(unpaired) +
           " of " + std::to_string(cards.size()) +
           " show no translation: its lines and the transcript's sentences could not be paired surely there";
}

bool ReadCards(const TSubtitleTitleRequest& request, std::vector<TTranscriptCard>& cards, std::string& error)
{
    std::string text, translation;
    if (!ReadText(request.SubtitlePath, text, error) ||
        (!request.TranslationPath.empty() && !ReadText(request.TranslationPath, translation, error)))
        return false;
    cards = TranscriptCards(text, translation);
    if (cards.empty()) {
        error = request.SubtitlePath + " holds no sentence";
        return false;
    }
    return true;
}

bool AlignCues(const TSubtitleTitleRequest& request, const std::vector<TTranscriptCard>& cards,
               TTranscriptAlignment& alignment, std::vector<std::string>& notes, std::string& error,
               const TAlignProgress& progress, const std::atomic<bool>* cancel)
{
    std::vector<std::string> sentences;
    for (const TTranscriptCard& card : cards)
        sentences.push_back(card.English);
    const TRecordingFile recording(request.MediaPath, request.MediaLengthMs);
    const bool aligned = AlignTranscript(recording, sentences, alignment, error, progress, cancel);
    notes.insert(notes.end(), alignment.Notes.begin(), alignment.Notes.end());
    return aligned;
}

}  // namespace

bool AlignTranscriptRequest(TSubtitleTitleRequest& request, std::vector<std::string>& notes, std::string& error,
                            const TAlignProgress& progress, const std::atomic<bool>* cancel)
{
    std::vector<TTranscriptCard> cards;
    TTranscriptAlignment alignment;
    if (!ReadCards(request, cards, error) || !AlignCues(request, cards, alignment, notes, error, progress, cancel))
        return false;
    // Each card carries its own translation, so none can land on a neighbour's card.
    for (std::size_t k = 0; k < alignment.Cues.size() && k < cards.size(); ++k)
        alignment.Cues[k].Translation = cards[k].Japanese;
    if (!request.TranslationPath.empty()) {
        if (const std::string note = UnpairedNote(cards); !note.empty())
            notes.push_back(note);
        request.TranslationPath.clear();
        request.Translation.reset();
    }
    request.Subtitles = TSubtitleFile{alignment.Cues, std::string(), {}};
    return true;
}

}  // namespace olve
