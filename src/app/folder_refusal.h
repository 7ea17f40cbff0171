#pragma once
#include <string>

namespace olve {

// "This program does not run in folder < ... >; choose another installation folder."
std::string FolderRefusalMessage(const std::string& folder);

}  // namespace olve
