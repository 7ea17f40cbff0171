#pragma once
#include <string>
#include <vector>

namespace olve {

// "title dump FILE" and "title resave IN OUT --user NAME": exit status.
int RunTitleCommand(const std::vector<std::string>& args);

}  // namespace olve
