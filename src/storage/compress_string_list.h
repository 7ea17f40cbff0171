#pragma once
#include <string>

#include "storage/prompts.h"
#include "storage/string_list.h"

namespace olve {

// A list of text lines stored as a BDC-compressed file.
class TCompressStringList : public TStringList {
public:
    explicit TCompressStringList(TPrompts& prompts) : FPrompts(prompts) {}

    // Replaces the lines with the decoded file's lines; true when the file decoded. A missing
    // file is reported to the user; a file that is not BDC data (or cannot be read) leaves
    // the list as it was.
    bool LoadFromFile(const std::string& fileName);
    // 0 on success; 1 when the name is empty, the folder cannot be made or the data cannot
    // be prepared; otherwise the system's error code of the failed write.
    int SaveToFile(const std::string& fileName);

protected:
    TPrompts& Prompts() { return FPrompts; }

private:
    TPrompts& FPrompts;
};

}  // namespace olve
