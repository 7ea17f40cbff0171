#include "tools/title_arguments.h"

namespace olve {

bool ReadTitleArguments(const std::vector<std::string>& args, bool fromSubtitles, TSubtitleTitleRequest& request)
{
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string* value = arg == "--translation"                   ? &request.TranslationPath
                             : arg == "--pictures" && fromSubtitles   ? &request.PicturesFolder
                             : arg == "--title"                       ? &request.TitleName
                             : arg == "--code"                        ? &request.Code
                             : arg == "-o" || arg == "--output"       ? &request.PackagePath
                                                                      : nullptr;
        if (arg == "--sentences") {
            request.Sentences = true;
        } else if (arg == "--no-sync" && fromSubtitles) {
            request.Sync = false;
        } else if (arg == "--layout") {
            if (++i == args.size() || !TitleLayoutOf(args[i], request.Layout))
                return false;
        } else if (value) {
            if (++i == args.size())
                return false;
            *value = args[i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2 || request.PackagePath.empty())
        return false;
    request.MediaPath = positional[0];
    request.SubtitlePath = positional[1];
    return true;
}

}  // namespace olve
