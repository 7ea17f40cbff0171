#pragma once
#include <array>
#include <string_view>

namespace olve {

// Word lists of the English lessons: what gap exercises may blank out, and the words that
// games answer with.

inline constexpr auto RightAnswerWords = std::to_array<std::string_view>(
    {"Win", "Nice", "Good", "OK", "Right", "Correct", "Well done!", "Good for you!"});
inline constexpr auto WrongAnswerWords = std::to_array<std::string_view>({"Error", "Wrong", "Mistake", "Incorrect"});
inline constexpr auto LostGameWords =
    std::to_array<std::string_view>({"Loss", "Pass the Time Limit", "Pass the Deadline", "You've Lost!"});

inline constexpr auto Prepositions =
    std::to_array<std::string_view>({"at", "in", "on", "from", "to", "for", "of", "with", "by"});
inline constexpr auto BeVerbForms =
    std::to_array<std::string_view>({"be", "am", "are", "is", "was", "were", "been", "being"});
inline constexpr auto Articles = std::to_array<std::string_view>({"a", "an", "the"});
inline constexpr auto PersonalPronouns = std::to_array<std::string_view>({
    "I", "my", "me", "mine", "myself", "we", "our", "us", "ours", "ourselves", "you", "your", "yours",
    "yourself", "yourselves", "he", "his", "him", "himself", "she", "her", "hers", "herself", "it", "its",
    "itself", "they", "their", "them", "theirs", "themselves",
});
static_assert(PersonalPronouns.size() == 31);
inline constexpr auto Demonstratives = std::to_array<std::string_view>({"this", "these", "that", "those"});
inline constexpr auto InterrogativePronouns = std::to_array<std::string_view>({"who", "whose", "whom", "which", "what"});
inline constexpr auto InterrogativeAdverbs = std::to_array<std::string_view>({"where", "when", "why", "how"});
inline constexpr auto Interrogatives = std::to_array<std::string_view>(
    {"who", "whose", "whom", "which", "what", "where", "when", "why", "how"});

// Japanese particles, and the choices offered where a particle is blanked out; "φ" stands
// for no particle.
inline constexpr auto Particles = std::to_array<std::string_view>({
    "が", "の", "を", "に", "へ", "と", "より", "から", "にて", "で", "は", "も", "ぞ", "や", "か", "こそ", "しか",
});
static_assert(Particles.size() == 17);
inline constexpr auto ParticleChoices1 = std::to_array<std::string_view>(
    {"が", "を", "に", "と", "で", "へ", "から", "より", "まで", "の", "か", "は", "も", "φ"});
inline constexpr auto ParticleChoices2 = std::to_array<std::string_view>({"が", "を", "に", "で", "より", "まで", "φ"});
inline constexpr auto ParticleChoices3 = std::to_array<std::string_view>({"が", "を", "と", "から", "まで", "も"});
inline constexpr auto ParticleChoices4 = std::to_array<std::string_view>({"を", "に", "へ", "から", "か", "は", "φ"});
inline constexpr auto ParticleChoices5 = std::to_array<std::string_view>({"に", "と", "で", "から", "より", "の"});
inline constexpr auto ParticleChoices6 = std::to_array<std::string_view>({"が", "で", "へ", "から", "の", "か", "φ"});

}  // namespace olve
