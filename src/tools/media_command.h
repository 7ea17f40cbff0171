#pragma once
#include <string>
#include <vector>

namespace olve {

// "media probe FILE" and "media play FILE FROM_MS TO_MS [--null]": exit status.
int RunMediaCommand(const std::vector<std::string>& args);

}  // namespace olve
