#pragma once
#include <optional>
#include <string>

#include "codec/compress_string_list.h"
#include "files/failure.h"

namespace olve {

// A BDC-compressed file of "[Section]" header lines and "Key=Value" entry lines, written
// back when it is closed.
class TDataFile : public TCompressStringList {
public:
    // Loads the file when it is a regular file (through links). Anything else there (a pipe,
    // a device, a folder) is neither read nor written: the data starts empty and read-only.
    TDataFile(const std::string& fileName);

    const std::string& FileName() const { return FFileName; }
    bool ReadOnly = false;

    // The non-empty lines of a section, in order.
    void ReadSection(const std::string& section, TStringList& lines) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // Index of the written line, or -1 when the section already held the same line.
    int WriteString(const std::string& section, const std::string& key, const std::string& value);
    int WriteInteger(const std::string& section, const std::string& key, int value);

    // Saves unless read-only. Callers always finish with Close.
    void Close();

private:
    int FindHeader(const std::string& section) const;
    int SectionEnd(int header) const;
    bool KeepsRepeatedKeys(const std::string& section) const;

    std::string FFileName;
};

// Why fileName is not used as a data file: it is there but is no regular file. None when it
// is missing or a regular file.
std::optional<TFailure> DataFileRefusal(const std::string& fileName);

}  // namespace olve
