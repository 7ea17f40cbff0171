#include "title/file_type.h"

#include <algorithm>

#include "codec/cp932_text.h"
#include "title/learning_mode_vocabulary.h"
#include "places/settings_vocabulary.h"

namespace olve {

namespace {

// The extension with its dot; empty when the last name of the path has no dot.
std::string ExtensionOf(const std::string& fileName)
{
    const std::size_t dot = fileName.find_last_of("./\\");
    if (dot == std::string::npos || fileName[dot] != '.')
        return std::string();
    return fileName.substr(dot);
}

}  // namespace

std::string FileTypeIdOf(const std::string& extension)
{
    return extension.substr(std::min<std::size_t>(1, extension.size()), 3) + "_auto_file";
}

std::string TitleFileType(const std::string& fileName)
{
    const std::string lower = LowerAscii(ExtensionOf(fileName));
    if (lower == ".qzc")
        return std::string(PlayFileTypeWord);
    if (std::find(LearningModeExtensions.begin(), LearningModeExtensions.end(), lower) != LearningModeExtensions.end())
        return std::string(DictateFileTypeWord);
    return std::string(UnknownFileTypeWord);
}

std::optional<TFailure> UnregisteredFileType(const std::string& fileName)
{
    if (TitleFileType(fileName) != UnknownFileTypeWord)
        return std::nullopt;
    return TFailure{TFailureKind::Refused, ExtensionOf(fileName) + ": ファイルタイプの登録がありません", {}};
}

}  // namespace olve
