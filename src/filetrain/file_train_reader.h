#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace olve {

// One entry's fields as stored, and where its data lies.
struct TTrainEntry {
    std::uint32_t Date = 0;        // packed DOS date and time
    std::int32_t Size = 0;         // unpacked size
    std::string Name;              // code page 932, "\" between folders
    std::int32_t CodedSize = 0;    // size of the BDC data; 0 when the data is stored plain
    std::int64_t DataOffset = 0;

    std::int32_t StoredSize() const { return CodedSize != 0 ? CodedSize : Size; }
};

enum class TEntryRead {
    Entry,      // an entry whose data lies wholly inside the file
    End,        // nothing left: the normal end
    WrongTag,   // the next bytes are not an entry
    Truncated,  // a tag, a field or the data runs past the end, or a size is negative
};

// How the entries of a file train hold up: the count of whole entries, and whether something
// that is no whole entry follows them. The format has no count of its own, so how many
// entries were lost after the damage cannot be known.
struct TTrainSurvey {
    int WholeEntries = 0;
    bool Damaged = false;
};

// Reads a file train from disk a piece at a time: the memory needed does not grow with the
// size of the package.
class TFileTrainReader {
public:
    // Names and headers longer than this are taken for damage: no file system takes them.
    static constexpr std::int32_t MaxNameLength = 65535;

    TFileTrainReader() = default;
    ~TFileTrainReader();
    TFileTrainReader(const TFileTrainReader&) = delete;
    TFileTrainReader& operator=(const TFileTrainReader&) = delete;

    // False when the file cannot be opened as a regular file.
    bool Open(const std::string& fileName);
    // The magic "0101" and the header folder; false when either is missing or does not fit.
    bool ReadHeader(std::string& header);
    // The next entry, after the data of the previous one. Leaves the file at the entry's data.
    TEntryRead Next(TTrainEntry& entry);
    // Reads from the current entry's data, which Next has checked to lie inside the file.
    bool Read(void* data, std::size_t size);
    // Walks the entries from the next one to the end without reading their data, and leaves
    // the reader where it was, so that a package can be judged before anything is written.
    TTrainSurvey Survey();

private:
    std::int64_t Remaining() const { return FSize - FPos; }
    bool ReadInt32(std::int32_t& value);
    bool ReadText(std::int32_t length, std::string& text);

    std::FILE* FFile = nullptr;
    std::int64_t FSize = 0;
    std::int64_t FPos = 0;
    std::int64_t FNextEntry = 0;
};

}  // namespace olve
