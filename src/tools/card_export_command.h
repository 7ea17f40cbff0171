#pragma once
#include <string>
#include <vector>

namespace olve {

// "title export-cards PKG DIR": exit status.
int RunCardExportCommand(const std::vector<std::string>& args);

}  // namespace olve
