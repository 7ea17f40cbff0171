#pragma once
#include <string>
#include <vector>

namespace olve {

// Makes a file train of every regular file below SourceFolder, in the order of their relative
// paths, with their modification dates. A file up to LargeEntrySize bytes is stored
// BDC-compressed when that is smaller; larger files are stored plain, so that installing them
// streams and neither side holds a large file in memory. Header is the folder name that
// installing may place the entries under (UTF-8, "/"; may be empty). The package is written
// under a temporary name and renamed when complete (through a symbolic link to where it leads;
// a device or pipe directly), and is itself never packed. A package that is already a file
// of SourceFolder (itself or through a link) is refused, unless it is a package made before.
//
// Packed gets the relative paths in the order written. False with a reason (English, for the
// command line) when a name cannot be stored in code page 932, a file is too large for the
// format, or reading or writing fails; no package is left then.
bool PackFileTrain(const std::string& sourceFolder, const std::string& fileName, const std::string& header,
                   std::vector<std::string>& packed, std::string& error);

}  // namespace olve
