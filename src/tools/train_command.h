#pragma once
#include <string>
#include <vector>

namespace olve {

// File-train packages (".qzw"); each returns the command's exit status.
// "list PKG": one line per entry: stored size, unpacked size, name (UTF-8, "/").
int RunTrainListCommand(const std::vector<std::string>& args);
// "extract PKG DEST [--no-header-folder]": installs overwriting existing files and prints
// every path written.
int RunTrainExtractCommand(const std::vector<std::string>& args);
// "pack SRC_DIR PKG [--header NAME]": a package of every file below SRC_DIR.
int RunTrainPackCommand(const std::vector<std::string>& args);

}  // namespace olve
