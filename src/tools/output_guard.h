#pragma once
#include <string>
#include <vector>

namespace olve {

// True when writing output leaves every input as it was. False, saying which input on
// standard error, when output already is one of the inputs or one of the files directly in
// one of the input folders: the same file reached through any name, a symbolic or a hard
// link (the same device and inode), since writing it would destroy what is being read.
// Called before anything is written.
bool OutputSparesInputs(const std::string& output, const std::vector<std::string>& inputs,
                        const std::vector<std::string>& inputFolders = {});

}  // namespace olve
