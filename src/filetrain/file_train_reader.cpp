#include "filetrain/file_train_reader.h"

#include <cstring>
#include <sys/stat.h>

namespace olve {

TFileTrainReader::~TFileTrainReader()
{
    if (FFile)
        std::fclose(FFile);
}

bool TFileTrainReader::Open(const std::string& fileName)
{
    FFile = std::fopen(fileName.c_str(), "rbe");
    if (!FFile)
        return false;
    struct stat st{};
    if (fstat(fileno(FFile), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(FFile);
        FFile = nullptr;
        return false;
    }
    std::setvbuf(FFile, nullptr, _IOFBF, 65536);
    FSize = st.st_size;
    return true;
}

bool TFileTrainReader::Read(void* data, std::size_t size)
{
    if (!FFile || static_cast<std::int64_t>(size) > Remaining() || std::fread(data, 1, size, FFile) != size)
        return false;
    FPos += static_cast<std::int64_t>(size);
    return true;
}

bool TFileTrainReader::ReadInt32(std::int32_t& value)
{
    std::uint8_t b[4];
    if (!Read(b, 4))
        return false;
    value = static_cast<std::int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
    return true;
}

bool TFileTrainReader::ReadText(std::int32_t length, std::string& text)
{
    if (length < 0 || length > MaxNameLength || length > Remaining())
        return false;
    text.assign(static_cast<std::size_t>(length), '\0');
    return Read(text.data(), text.size());
}

bool TFileTrainReader::ReadHeader(std::string& header)
{
    header.clear();
    char magic[4];
    std::int32_t length = 0;
    if (!Read(magic, 4) || std::memcmp(magic, "0101", 4) != 0 || !ReadInt32(length) || !ReadText(length, header)) {
        header.clear();
        return false;
    }
    FNextEntry = FPos;
    return true;
}

TEntryRead TFileTrainReader::Next(TTrainEntry& entry)
{
    if (!FFile)
        return TEntryRead::End;
    if (FPos != FNextEntry) {
        if (fseeko(FFile, FNextEntry, SEEK_SET) != 0)
            return TEntryRead::Truncated;
        FPos = FNextEntry;
    }
    if (Remaining() == 0)
        return TEntryRead::End;
    char tag[4];
    if (!Read(tag, 4))
        return TEntryRead::Truncated;
    if (std::memcmp(tag, "olve", 4) != 0)
        return TEntryRead::WrongTag;
    std::int32_t date = 0;
    std::int32_t nameLength = 0;
    if (!ReadInt32(date) || !ReadInt32(entry.Size) || !ReadInt32(nameLength) || !ReadText(nameLength, entry.Name) ||
        !ReadInt32(entry.CodedSize))
        return TEntryRead::Truncated;
    entry.Date = static_cast<std::uint32_t>(date);
    if (entry.Size < 0 || entry.CodedSize < 0 || entry.StoredSize() > Remaining())
        return TEntryRead::Truncated;
    entry.DataOffset = FPos;
    FNextEntry = FPos + entry.StoredSize();
    return TEntryRead::Entry;
}

TTrainSurvey TFileTrainReader::Survey()
{
    const std::int64_t start = FNextEntry;
    TTrainSurvey survey;
    TTrainEntry entry;
    TEntryRead read = TEntryRead::End;
    while ((read = Next(entry)) == TEntryRead::Entry)
        ++survey.WholeEntries;
    survey.Damaged = read != TEntryRead::End;
    FNextEntry = start;
    return survey;
}

}  // namespace olve
