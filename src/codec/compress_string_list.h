#pragma once
#include <optional>
#include <string>

#include "files/failure.h"
#include "codec/string_list.h"

namespace olve {

// A list of text lines stored as a BDC-compressed file.
class TCompressStringList : public TStringList {
public:
    // Replaces the lines with the decoded file's lines; nothing when the file decoded. A
    // missing file, or one that is not BDC data (or cannot be read), leaves the list as it
    // was and says so.
    std::optional<TFailure> LoadFromFile(const std::string& fileName);
    // 0 on success; 1 when the name is empty, the folder cannot be made or the data cannot
    // be prepared; otherwise the system's error code of the failed write.
    int SaveToFile(const std::string& fileName);
};

}  // namespace olve
