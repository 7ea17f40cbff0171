#pragma once
#include <string>

namespace olve {

// The folder of the running executable, ending in "/". Everything else that needs the
// program's folder takes it as a parameter, so that tests can run against other folders.
std::string ProgramFolder();
// The same without the final "/".
std::string ProgramDir();

}  // namespace olve
