#include "titlemaker/subtitle_candidates.h"

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "titlemaker/file_kind.h"
#include "titlemaker/material_files.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

// Below this, two words are taken for different words rather than spellings of one.
constexpr double LeastWordLikeness = 0.5;
constexpr double SubsequenceWeight = 0.1;

bool IsAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
}

bool HasDigit(const std::string& word)
{
    return std::any_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

// The name without its extension and, for subtitles, without the language before it.
std::string BareName(const std::string& name, bool subtitles)
{
    fs::path stem = fs::path(name).stem();
    const TNamedLanguage language = NamedLanguageOf(SubtitleLanguage(name));
    if (subtitles && (language == TNamedLanguage::English || language == TNamedLanguage::Japanese))
        stem = stem.stem();
    return Lower(stem.string());
}

std::vector<std::string> Words(const std::string& bare)
{
    std::vector<std::string> words(1);
    for (char c : bare) {
        if (IsAlnum(c))
            words.back() += c;
        else if (!words.back().empty())
            words.emplace_back();
    }
    if (words.back().empty())
        words.pop_back();
    return words;
}

std::size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::size_t CommonSubsequence(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1, 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = 0;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = a[i - 1] == b[j - 1] ? diagonal + 1 : std::max(row[j], row[j - 1]);
            diagonal = above;
        }
    }
    return row[b.size()];
}

double WordLikeness(const std::string& a, const std::string& b)
{
    if (HasDigit(a) || HasDigit(b))
        return a == b ? 1.0 : 0.0;
    const double like = 1.0 - double(EditDistance(a, b)) / double(std::max(a.size(), b.size()));
    return like >= LeastWordLikeness ? like : 0.0;
}

// Each word of a takes the most like word of b not taken yet.
double WordsLikeness(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    if (a.empty() || b.empty())
        return 0.0;
    std::vector<bool> taken(b.size(), false);
    double matched = 0;
    for (const std::string& word : a) {
        double best = 0;
        std::size_t bestAt = b.size();
        for (std::size_t j = 0; j < b.size(); ++j) {
            const double like = taken[j] ? 0.0 : WordLikeness(word, b[j]);
            if (like > best) {
                best = like;
                bestAt = j;
            }
        }
        if (bestAt < b.size())
            taken[bestAt] = true;
        matched += best;
    }
    return 2 * matched / double(a.size() + b.size());
}

// Names are cut here before they are compared: the comparisons cost the product of lengths.
constexpr std::size_t LongestComparedName = 255;

bool LiesIn(const fs::directory_entry& entry, const fs::path& folder)
{
    std::error_code ec;
    const fs::path target = fs::canonical(entry.path(), ec);
    return !ec && target.parent_path() == folder && fs::is_regular_file(target, ec);
}

}  // namespace

double NameLikeness(const std::string& recordingName, const std::string& subtitleName)
{
    const std::string a = BareName(recordingName, false).substr(0, LongestComparedName);
    const std::string b = BareName(subtitleName, true).substr(0, LongestComparedName);
    if (a.empty() || b.empty())
        return 0.0;
    const double subsequence = double(CommonSubsequence(a, b)) / double(std::max(a.size(), b.size()));
    return (1 - SubsequenceWeight) * WordsLikeness(Words(a), Words(b)) + SubsequenceWeight * subsequence;
}

std::vector<std::string> RankedSubtitleFiles(const std::string& recording)
{
    std::error_code ec;
    const fs::path folder = fs::canonical(fs::absolute(recording, ec).parent_path(), ec);
    if (ec)
        return {};
    const std::string name = fs::path(recording).filename().string();
    struct TRanked {
        bool Japanese;
        double Likeness;
        std::string Path;
    };
    std::vector<TRanked> ranked;
    fs::directory_iterator entries(folder, ec);
    for (std::size_t looked = 0; !ec && entries != fs::directory_iterator() && looked < MostFolderEntriesLooked;
         entries.increment(ec), ++looked) {
        const std::string file = entries->path().filename().string();
        const TFileKind kind = FileKindOf(file);
        if ((kind != TFileKind::Subtitles && kind != TFileKind::Transcript) || !LiesIn(*entries, folder))
            continue;
        const bool japanese = NamedLanguageOf(SubtitleLanguage(file)) == TNamedLanguage::Japanese;
        ranked.push_back({japanese, NameLikeness(name, file), entries->path().string()});
    }
    std::sort(ranked.begin(), ranked.end(), [](const TRanked& a, const TRanked& b) {
        return std::tie(a.Japanese, b.Likeness, a.Path) < std::tie(b.Japanese, a.Likeness, b.Path);
    });
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < ranked.size() && i < MostCandidatesOffered; ++i)
        paths.push_back(ranked[i].Path);
    return paths;
}

}  // namespace olve
