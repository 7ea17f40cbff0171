#pragma once
#include <string>

namespace olve {

// Installed titles live below the program's folder in "titles", one folder per title code,
// with a level for the code's first letter when that is an ASCII letter ("titles\K\K0123",
// but "titles\0123"), so that one folder does not collect thousands of titles.

// Code as stored in title files (code page 932 bytes); the result uses the given separator
// and stays in code page 932. Empty for an empty code.
std::string TitleRelativePath(const std::string& code, const std::string& separator);

// Whether a code can name a title's folder: one folder name below "titles", so neither
// empty, nor ".", nor holding "..", a separator ("/" or "\\") or a control character.
bool IsSafeTitleCode(const std::string& code);

// The title's folder on the local file system (UTF-8, "/"), ending in "/". Base is the
// program's folder and ends in "/". A code that is empty or not safe (above) has no title
// folder: the result is "/" alone.
std::string TitleFolder(const std::string& base, const std::string& code);

}  // namespace olve
