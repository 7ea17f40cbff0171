#pragma once
#include <optional>
#include <string>

#include "files/failure.h"

namespace olve {

// The desktop's name for the file type of an extension (with its dot): the three characters
// after the dot followed by "_auto_file", so ".qzw" is "qzw_auto_file".
std::string FileTypeIdOf(const std::string& extension);

// The kind of title file a name stands for, judged from its extension ignoring ASCII case:
// "AudioCDPlay" for ".qzc", "AudioCDDictate" for the learning-mode extensions, otherwise
// "UnknownFileType".
std::string TitleFileType(const std::string& fileName);

// Why a title file of that name would be of no known kind (its extension is not registered);
// nothing for a name TitleFileType knows.
std::optional<TFailure> UnregisteredFileType(const std::string& fileName);

}  // namespace olve
