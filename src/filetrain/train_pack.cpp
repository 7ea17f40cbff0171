#include "filetrain/train_pack.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <system_error>

#include "codec/delta_code.h"
#include "codec/dos_date_time.h"
#include "filetrain/file_train.h"
#include "filetrain/file_train_reader.h"
#include "files/staged_file.h"
#include "filetrain/train_entry_name.h"
#include "filetrain/train_extract.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

struct TCloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFileHandle = std::unique_ptr<std::FILE, TCloseFile>;

void PutInt32(std::string& out, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A package made before in the folder it packs: replaced by the new one, never packed.
bool IsEarlierPackage(const std::string& path)
{
    TTrainFiles files;
    std::string header;
    bool truncated = false;
    return ReadFileTrain(path, files, header, &truncated) && !truncated;
}

// Relative paths of the regular files below the folder, sorted; the package itself left out.
// False when the package would replace another file of the folder (itself, or through a link).
bool ListFiles(const std::string& folder, const std::string& package, std::vector<std::string>& files,
               std::string& error)
{
    struct stat packageStat{};
    const bool packageExists = stat(package.c_str(), &packageStat) == 0;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code statError;
        if (!it->is_regular_file(statError))
            continue;
        struct stat st{};
        if (packageExists && stat(it->path().c_str(), &st) == 0 && SameFile(st, packageStat)) {
            if (IsEarlierPackage(package))
                continue;
            error = "the package " + package + " is " + it->path().string() +
                    ", a file of the folder being packed; writing it would destroy it. Nothing was written; "
                    "name another package";
            return false;
        }
        files.push_back(it->path().lexically_relative(folder).generic_string());
    }
    if (ec) {
        error = "cannot list " + folder + ": " + ec.message();
        return false;
    }
    std::sort(files.begin(), files.end());
    return true;
}

class TTrainWriter {
public:
    bool Open(const std::string& fileName, const std::string& storedHeader)
    {
        if (!FFile.Open(fileName, TExistingTarget::FollowLinks))
            return false;
        std::string head = "0101";
        PutInt32(head, static_cast<std::int32_t>(storedHeader.size()));
        head += storedHeader;
        return FFile.Write(head.data(), head.size());
    }

    // False with a reason when the file cannot be read whole or the package cannot be written.
    bool Add(const std::string& path, const std::string& storedName, std::string& error)
    {
        TFileHandle in(std::fopen(path.c_str(), "rbe"));
        struct stat st{};
        if (!in || fstat(fileno(in.get()), &st) != 0) {
            error = "cannot read " + path;
            return false;
        }
        if (st.st_size > std::numeric_limits<std::int32_t>::max()) {
            error = path + " is larger than a file train entry can be (2 GiB)";
            return false;
        }
        const auto size = static_cast<std::int32_t>(st.st_size);
        const std::uint32_t date = DosDateTimeOf(st.st_mtime);
        const bool ok = size > LargeEntrySize ? AddStreamed(in.get(), date, size, storedName)
                                              : AddWhole(in.get(), date, size, storedName);
        if (!ok)
            error = "cannot pack " + path + " (read or write failed, or the file changed meanwhile)";
        return ok;
    }

    bool Commit() { return FFile.Commit(std::nullopt); }

private:
    bool WriteEntryHead(std::uint32_t date, std::int32_t size, const std::string& name, std::int32_t codedSize)
    {
        std::string head = "olve";
        PutInt32(head, static_cast<std::int32_t>(date));
        PutInt32(head, size);
        PutInt32(head, static_cast<std::int32_t>(name.size()));
        head += name;
        PutInt32(head, codedSize);
        return FFile.Write(head.data(), head.size());
    }

    bool AddWhole(std::FILE* in, std::uint32_t date, std::int32_t size, const std::string& name)
    {
        TDeltaCode codec;
        codec.Plain.resize(static_cast<std::size_t>(size));
        if (std::fread(codec.Plain.data(), 1, codec.Plain.size(), in) != codec.Plain.size() || std::fgetc(in) != EOF)
            return false;
        codec.Encode();
        if (!codec.Coded.empty() && codec.Coded.size() < codec.Plain.size())
            return WriteEntryHead(date, size, name, static_cast<std::int32_t>(codec.Coded.size())) &&
                   FFile.Write(codec.Coded.data(), codec.Coded.size());
        return WriteEntryHead(date, size, name, 0) && FFile.Write(codec.Plain.data(), codec.Plain.size());
    }

    bool AddStreamed(std::FILE* in, std::uint32_t date, std::int32_t size, const std::string& name)
    {
        if (!WriteEntryHead(date, size, name, 0))
            return false;
        std::vector<char> chunk(CopyChunkSize);
        for (std::size_t left = static_cast<std::size_t>(size); left > 0;) {
            const std::size_t n = std::min(left, chunk.size());
            if (std::fread(chunk.data(), 1, n, in) != n || !FFile.Write(chunk.data(), n))
                return false;
            left -= n;
        }
        return std::fgetc(in) == EOF;
    }

    TStagedFile FFile;
};

bool StoredHeader(const std::string& header, std::string& stored, std::string& error)
{
    std::string local;
    if (header.empty())
        return true;
    if (!StoredEntryName(header, stored) || !LocalEntryPath(stored, local)) {
        error = "the header must be a relative folder name in code page 932: " + header;
        return false;
    }
    return true;
}

}  // namespace

bool PackFileTrain(const std::string& sourceFolder, const std::string& fileName, const std::string& header,
                   std::vector<std::string>& packed, std::string& error)
{
    packed.clear();
    std::string storedHeader;
    std::vector<std::string> files;
    if (!StoredHeader(header, storedHeader, error) || !ListFiles(sourceFolder, fileName, files, error))
        return false;
    TTrainWriter writer;
    if (!writer.Open(fileName, storedHeader)) {
        error = "cannot write " + fileName;
        return false;
    }
    for (const std::string& relative : files) {
        std::string stored;
        if (!StoredEntryName(relative, stored) || stored.size() > TFileTrainReader::MaxNameLength) {
            error = "cannot store the name " + relative + " (not in code page 932, holds a \"\\\", or too long)";
            return false;
        }
        if (!writer.Add((fs::path(sourceFolder) / relative).string(), stored, error))
            return false;
        packed.push_back(relative);
    }
    if (!writer.Commit()) {
        error = "cannot write " + fileName;
        return false;
    }
    return true;
}

}  // namespace olve
