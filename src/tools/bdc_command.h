#pragma once
#include <string>
#include <vector>

namespace olve {

// "bdc encode IN OUT" and "bdc decode IN OUT": exit status of the command.
int RunBdcCommand(const std::vector<std::string>& args);

}  // namespace olve
