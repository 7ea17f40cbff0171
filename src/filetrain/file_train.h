#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace olve {

// A file train (".qzw") is one file that carries a title's files for installation: the magic
// "0101", a header folder name, then entries of a name, a date, sizes and the data, plain or
// BDC-compressed, up to the end of the file.

// One listed entry.
struct TTrainFileItem {
    std::string Name;              // as stored: code page 932, "\" between folders
    std::int32_t Size = 0;         // unpacked size
    std::int64_t Offset = 0;       // file position of the entry's data
    std::int32_t StoredSize = 0;   // bytes the data takes in the file
};

class TTrainFiles {
public:
    // The new item's index; -1 for sizes or an offset that no entry can have.
    int Add(const std::string& name, std::int32_t size, std::int64_t offset, std::int32_t storedSize);
    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    // None when the index is out of range.
    const TTrainFileItem* Items(int index) const;

private:
    std::vector<TTrainFileItem> FItems;
};

// Lists the entries into files (cleared first) and gives the header (code page 932). False
// when the file cannot be opened, the magic is missing or the header does not fit, or an
// entry's tag is wrong (the entries before it are listed). An entry cut short by the end of
// the file ends the list: true (installing such a package refuses it as damaged), with
// *truncated set when given.
bool ReadFileTrain(const std::string& fileName, TTrainFiles& files, std::string& header, bool* truncated = nullptr);

// An entry's name on the local file system (UTF-8, "/", relative to where the train is
// installed) and its unpacked size. The name is empty for an entry that installing refuses to
// write (see LocalEntryPath), so that nothing outside the installation is taken for it.
struct TTrainName {
    std::string Name;
    std::int32_t Size = 0;
};

// The entries' names in file order, cleared first; the result is ReadFileTrain's, and the
// names read before a failure are given all the same.
bool ReadFileTrainNames(const std::string& fileName, std::vector<TTrainName>& names, std::string& header);

}  // namespace olve
