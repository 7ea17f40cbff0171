#include "align/sphinx_decoder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "align/spoken_forms.h"

namespace olve {

namespace {

constexpr int FramesPerSecond = 100;

// The model's phones, each also a word of its own: a run of them stands for speech that is not
// the transcript's (an intro, an aside, another voice).
const char* const Phones[] = {"AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D",  "DH", "EH", "ER", "EY",
                              "F",  "G",  "HH", "IH", "IY", "JH", "K",  "L",  "M",  "N",  "NG", "OW", "OY",
                              "P",  "R",  "S",  "SH", "T",  "TH", "UH", "UW", "V",  "W",  "Y",  "Z",  "ZH"};

// Dear enough that the transcript's words win wherever they are spoken, cheap enough that the
// phones win where they are not. Measured on read speech: under white noise at 10 dB SNR, 1e-4
// let the phones take 20 of 25 sentences, 1e-8 none; sentences of another text, sought further
// on in the transcript, took speech at 1e-12 and none at 1e-10.
constexpr double PhoneCost = 1e-10;

std::string PhoneWord(const char* phone)
{
    return std::string("_") + phone + "_";
}

// "word(2)" is the dictionary's second pronunciation of "word".
std::string BaseWord(const char* word)
{
    std::string base(word);
    const std::size_t paren = base.find('(');
    return paren == std::string::npos || paren == 0 ? base : base.substr(0, paren);
}

bool Known(const TSphinxLibrary& sphinx, ps_decoder_t* decoder, const std::string& word)
{
    char* phones = sphinx.ps_lookup_word(decoder, word.c_str());
    const bool known = phones != nullptr;
    sphinx.ckd_free(phones);
    return known;
}

bool AllDigits(const std::string& word)
{
    for (char c : word)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

}  // namespace

TSphinxDecoder::TSphinxDecoder() = default;

TSphinxDecoder::~TSphinxDecoder()
{
    if (FDecoder)
        FSphinx.ps_free(FDecoder);
}

bool TSphinxDecoder::Open(std::string& error)
{
    if (!FSphinx.Load(error))
        return false;
    const std::string model = OLVE_SPHINX_MODEL_DIR "/en-us/en-us";
    const std::string dictionary = OLVE_SPHINX_MODEL_DIR "/en-us/cmudict-en-us.dict";
    if (!std::filesystem::exists(model) || !std::filesystem::exists(dictionary)) {
        error = "the US English speech model is not installed (" + model + ")";
        return false;
    }
    // The recognizer's own silence removal would drop frames and so shift every time. The beams
    // are wide because the phones' path fits any speech closer than the transcript's words do:
    // over a long run of speech the usual beams dropped the words' path before its end (measured:
    // 16 of 40 sentences read without pauses were lost), and the wide ones cost little.
    cmd_ln_t* config = FSphinx.cmd_ln_init(nullptr, FSphinx.ps_args(), TRUE, "-hmm", model.c_str(), "-dict", dictionary.c_str(),
                                   "-logfn", "/dev/null", "-remove_silence", "no", "-cmn", "batch",
                                   "-dither", "yes", "-seed", "1", "-beam", "1e-80", "-pbeam", "1e-80",
                                   "-wbeam", "1e-50", nullptr);
    if (!config) {
        error = "the speech recognizer does not take its settings";
        return false;
    }
    FDecoder = FSphinx.ps_init(config);
    FSphinx.cmd_ln_free_r(config);
    if (!FDecoder) {
        error = "the speech model in " + model + " cannot be loaded";
        return false;
    }
    for (const char* p : Phones)
        if (FSphinx.ps_add_word(FDecoder, PhoneWord(p).c_str(), p, FALSE) < 0) {
            error = "the speech model in " + model + " lacks the phone " + p;
            return false;
        }
    return true;
}

std::vector<std::string> TSphinxDecoder::DictionaryWords(const std::string& word)
{
    if (AllDigits(word)) {
        std::vector<std::string> spoken = SpokenNumber(word);
        if (!spoken.empty())
            return spoken;
    }
    if (Known(FSphinx, FDecoder, word))
        return {word};
    const std::string phones = SpelledPhones(word);
    if (phones.empty() || FSphinx.ps_add_word(FDecoder, word.c_str(), phones.c_str(), FALSE) < 0)
        return {};
    return {word};
}

// States 0..n along the words, and a start that leads to the first entry for nothing and to
// the others at a cost; the grammar may stop after any word. Going back costs a little less
// than going on: when a stretch sounds alike at both (a text that repeats itself), the words
// the stretch before took wrongly are the likelier.
bool TSphinxDecoder::SetGrammar(const std::vector<std::string>& words, const std::vector<std::size_t>& entries,
                                std::string& error)
{
    logmath_t* logmath = FSphinx.ps_get_logmath(FDecoder);
    const int n = static_cast<int>(words.size());
    const int start = n + 2;
    fsg_model_t* grammar = FSphinx.fsg_model_init("transcript", logmath, 1.0f, n + 4);
    grammar->start_state = start;
    grammar->final_state = n + 1;
    const int certain = FSphinx.logmath_log(logmath, 1.0);
    for (int k = 0; k < n; ++k) {
        FSphinx.fsg_model_trans_add(grammar, k, k + 1, certain, FSphinx.fsg_model_word_add(grammar, words[k].c_str()));
        FSphinx.fsg_model_null_trans_add(grammar, k + 1, n + 1, certain);
    }
    const int back = FSphinx.logmath_log(logmath, 1e-19);
    const int on = FSphinx.logmath_log(logmath, 1e-20);
    for (std::size_t k = 0; k < entries.size(); ++k)
        if (entries[k] < words.size())
            FSphinx.fsg_model_null_trans_add(grammar, start, static_cast<int>(entries[k]),
                                             k == 0 ? certain : entries[k] < entries[0] ? back : on);
    // Or none of the words: any phones, each at a cost, to the end.
    const int other = n + 3;
    const int phone = FSphinx.logmath_log(logmath, PhoneCost);
    FSphinx.fsg_model_null_trans_add(grammar, start, other, on);
    for (const char* p : Phones)
        FSphinx.fsg_model_trans_add(grammar, other, other, phone, FSphinx.fsg_model_word_add(grammar, PhoneWord(p).c_str()));
    FSphinx.fsg_model_null_trans_add(grammar, other, n + 1, certain);
    const bool set = FSphinx.ps_set_fsg(FDecoder, "transcript", grammar) == 0 && FSphinx.ps_set_search(FDecoder, "transcript") == 0;
    FSphinx.fsg_model_free(grammar);
    if (!set)
        error = "the speech recognizer does not take the transcript's words";
    return set;
}

// The recognized words are a run of the grammar's words from one of the entries.
std::vector<TPlacedWord> TSphinxDecoder::PlacedWords(const std::vector<std::string>& words,
                                                     const std::vector<std::size_t>& entries)
{
    std::vector<std::string> heard;
    std::vector<TPlacedWord> placed;
    for (ps_seg_t* seg = FSphinx.ps_seg_iter(FDecoder); seg; seg = FSphinx.ps_seg_next(seg)) {
        const std::string word = BaseWord(FSphinx.ps_seg_word(seg));
        // Silences and noises are not transcript words.
        if (std::find(words.begin(), words.end(), word) == words.end())
            continue;
        int first = 0, last = 0;
        FSphinx.ps_seg_frames(seg, &first, &last);
        heard.push_back(word);
        placed.push_back({0, first * 1000LL / FramesPerSecond, (last + 1) * 1000LL / FramesPerSecond});
    }
    for (std::size_t entry : entries) {
        if (entry + heard.size() > words.size() || !std::equal(heard.begin(), heard.end(), words.begin() + entry))
            continue;
        for (std::size_t k = 0; k < placed.size(); ++k)
            placed[k].Index = entry + k;
        return placed;
    }
    return {};
}

bool TSphinxDecoder::AlignStretch(const std::int16_t* samples, std::size_t count, const std::vector<std::string>& words,
                                  const std::vector<std::size_t>& entries, std::vector<TPlacedWord>& placed,
                                  std::string& error)
{
    placed.clear();
    if (words.empty() || !SetGrammar(words, entries, error))
        return false;
    if (FSphinx.ps_start_utt(FDecoder) < 0 || FSphinx.ps_process_raw(FDecoder, samples, count, FALSE, TRUE) < 0 ||
        FSphinx.ps_end_utt(FDecoder) < 0) {
        error = "the speech recognizer failed on the recording";
        return false;
    }
    placed = PlacedWords(words, entries);
    if (placed.empty()) {
        error = "no word of the transcript was heard";
        return false;
    }
    return true;
}

}  // namespace olve
