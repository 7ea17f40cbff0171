#include "titlemaker/library_title.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <utility>

#include "codec/data_file.h"
#include "places/recording_identity.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t LongestStem = 40;
constexpr std::uintmax_t LargestRecord = 64 * 1024;
constexpr const char* RecordingSection = "Recording";
constexpr const char* EnglishSection = "English";
constexpr const char* JapaneseSection = "Japanese";
constexpr const char* CardsSection = "Cards";
constexpr const char* SentencesKey = "sentences";
constexpr const char* SyncSection = "Sync";
// A recorded sync beyond these is not one the program wrote.
constexpr double LargestOffsetMs = 24.0 * 3600 * 1000;
constexpr double SlowestRate = 0.5;
constexpr double FastestRate = 2.0;

bool IsPlainNameByte(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_' ||
           c == '.';
}

std::string CanonicalPath(const std::string& path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    const fs::path canonical = fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal().string() : canonical.string();
}

std::string PathHash(const std::string& path)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : path)
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    char text[13];
    std::snprintf(text, sizeof text, "%012llx", static_cast<unsigned long long>(hash >> 16));
    return text;
}

std::string PlainStem(const std::string& path)
{
    std::string name;
    for (const char c : fs::path(path).stem().string()) {
        if (name.size() == LongestStem)
            break;
        name += IsPlainNameByte(static_cast<unsigned char>(c)) ? c : '_';
    }
    if (name.empty())
        return "recording";
    if (name.front() == '.')
        name.front() = '_';
    return name;
}

// The identity of a file the material names, or none for an empty name.
bool Identify(const std::string& path, std::optional<TRecordingIdentity>& identity, std::string& error)
{
    identity.reset();
    if (path.empty())
        return true;
    TRecordingIdentity found;
    if (!IdentifyRecording(path, found, error))
        return false;
    identity = found;
    return true;
}

std::optional<TRecordingIdentity> Recorded(const TDataFile& record, const std::string& section)
{
    TRecordingIdentity identity;
    if (!ReadRecordingIdentity(record, section, identity))
        return std::nullopt;
    return identity;
}

bool SameFile(const TDataFile& record, const std::string& section, const std::string& path)
{
    std::optional<TRecordingIdentity> now;
    std::string ignored;
    return Identify(path, now, ignored) && Recorded(record, section) == now;
}

std::optional<bool> SentenceChoice(const TDataFile& record)
{
    const std::string value = record.ReadString(CardsSection, SentencesKey, "");
    if (value == "1" || value == "0")
        return value == "1";
    return std::nullopt;
}

// The record, when it is a file of a size the program writes; read-only.
std::optional<TDataFile> OpenRecord(const TLibraryEntry& entry)
{
    std::error_code ec;
    if (!fs::is_regular_file(entry.Record, ec) || fs::file_size(entry.Record, ec) > LargestRecord || ec)
        return std::nullopt;
    std::optional<TDataFile> record(std::in_place, entry.Record);
    record->ReadOnly = true;
    return record;
}

// Written and read without the locale, which the player sets from the desktop's.
std::string Number(double value)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

bool ReadNumber(const std::string& text, double& value)
{
    const char* end = text.data() + text.size();
    const auto parsed = std::from_chars(text.data(), end, value);
    return !text.empty() && parsed.ec == std::errc() && parsed.ptr == end && std::isfinite(value);
}

void WriteSync(TDataFile& record, const TSubtitleSync& sync)
{
    record.WriteString(SyncSection, "OffsetMs", Number(sync.OffsetMs));
    record.WriteString(SyncSection, "Rate", Number(sync.Rate));
    record.WriteString(SyncSection, "Corrected", sync.Corrected ? "1" : "0");
}

std::optional<TSubtitleSync> ReadSync(const TDataFile& record)
{
    TSubtitleSync sync;
    const std::string corrected = record.ReadString(SyncSection, "Corrected", "");
    if (!ReadNumber(record.ReadString(SyncSection, "OffsetMs", ""), sync.OffsetMs) ||
        !ReadNumber(record.ReadString(SyncSection, "Rate", ""), sync.Rate) || (corrected != "0" && corrected != "1") ||
        std::abs(sync.OffsetMs) > LargestOffsetMs || sync.Rate < SlowestRate || sync.Rate > FastestRate)
        return std::nullopt;
    sync.Corrected = corrected == "1";
    return sync;
}

// What the record says of the material, when it is the program's own: a damaged one is simply
// not of this material.
struct TRecordFacts {
    bool SameMaterial = false;
    std::optional<TSubtitleSync> Sync;
    std::optional<bool> Sentences;
};

std::optional<TRecordFacts> ReadRecordFacts(const TLibraryEntry& entry, const TMaterialFiles& material)
{
    std::optional<TDataFile> record = OpenRecord(entry);
    if (!record)
        return std::nullopt;
    TRecordFacts facts;
    const bool recording = SameFile(*record, RecordingSection, material.Recording);
    const bool subtitles = material.English.empty() || (SameFile(*record, EnglishSection, material.English) &&
                                                        SameFile(*record, JapaneseSection, material.Japanese));
    facts.SameMaterial = recording && subtitles;
    facts.Sync = ReadSync(*record);
    facts.Sentences = SentenceChoice(*record);
    record->Close();
    return facts;
}

}  // namespace

TLibraryEntry LibraryEntryFor(const std::string& dataFolder, const std::string& recording)
{
    const std::string canonical = CanonicalPath(recording);
    const fs::path stem = fs::path(LibraryFolder(dataFolder)) / (PlainStem(canonical) + "-" + PathHash(canonical));
    return {stem.string() + ".qzw", stem.string() + ".made"};
}

std::string LibraryFolder(const std::string& dataFolder)
{
    return (fs::path(dataFolder) / "olveplayer" / "library").string();
}

std::string LibraryPathHash(const std::string& path)
{
    return PathHash(CanonicalPath(path));
}

bool IsLibraryTitleCurrent(const TLibraryEntry& entry, const TMaterialFiles& material)
{
    std::error_code ec;
    if (!fs::is_regular_file(entry.Package, ec))
        return false;
    const std::optional<TRecordFacts> facts = ReadRecordFacts(entry, material);
    return facts && facts->SameMaterial && (material.Transcript || facts->Sync) &&
           (!material.Sentences || facts->Sentences == material.Sentences);
}

std::optional<bool> KeptSentenceChoice(const TLibraryEntry& entry)
{
    std::optional<TDataFile> record = OpenRecord(entry);
    if (!record)
        return std::nullopt;
    const std::optional<bool> choice = SentenceChoice(*record);
    record->Close();
    return choice;
}

std::optional<TSubtitleSync> RecordedSync(const TLibraryEntry& entry, const TMaterialFiles& material)
{
    const std::optional<TRecordFacts> facts = ReadRecordFacts(entry, material);
    return facts && facts->SameMaterial ? facts->Sync : std::nullopt;
}

bool WriteLibraryRecord(const TLibraryEntry& entry, const TMaterialFiles& material,
                        const std::optional<TSubtitleSync>& sync, std::string& error)
{
    std::optional<TRecordingIdentity> recording, english, japanese;
    if (!Identify(material.Recording, recording, error) || !Identify(material.English, english, error) ||
        !Identify(material.Japanese, japanese, error))
        return false;
    std::error_code ec;
    fs::remove(entry.Record, ec);
    TDataFile record(entry.Record);
    for (const auto& [section, identity] : {std::pair{RecordingSection, &recording}, std::pair{EnglishSection, &english},
                                            std::pair{JapaneseSection, &japanese}})
        if (*identity)
            WriteRecordingIdentity(record, section, **identity);
    if (material.Sentences)
        record.WriteString(CardsSection, SentencesKey, *material.Sentences ? "1" : "0");
    if (sync)
        WriteSync(record, *sync);
    record.Close();
    if (!fs::is_regular_file(entry.Record, ec)) {
        error = "cannot write " + entry.Record;
        return false;
    }
    return true;
}

bool RecordingStaysInPlace(const std::string& recording, const std::string& programFolder)
{
    const std::string file = CanonicalPath(recording);
    const std::string folder = CanonicalPath(programFolder) + "/";
    return file.compare(0, folder.size(), folder) != 0;
}

}  // namespace olve
