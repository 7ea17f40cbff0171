#pragma once
#include <string>

#include "storage/prompts.h"

namespace olve {

// The desktop's name for the file type of an extension (with its dot): the three characters
// after the dot followed by "_auto_file", so ".qzw" is "qzw_auto_file".
std::string FileTypeIdOf(const std::string& extension);

// The kind of title file a name stands for, judged from its extension ignoring ASCII case:
// "AudioCDPlay" for ".qzc", "AudioCDDictate" for the learning-mode extensions, otherwise
// "UnknownFileType" after telling the user that the extension is not registered.
std::string TitleFileType(const std::string& fileName, TPrompts& prompts);

}  // namespace olve
