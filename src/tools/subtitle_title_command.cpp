#include "tools/subtitle_title_command.h"

#include <filesystem>
#include <iostream>

#include "storage/cp932_text.h"
#include "titlemaker/subtitle_title.h"
#include "tools/media_length.h"
#include "tools/spooled_recording.h"

namespace olve {

namespace {

int Usage()
{
    std::cerr << "usage: olvetool title from-subtitles MEDIA SUBS [--translation SUBS2] [--pictures DIR]\n"
                 "                                   [--title NAME] [--code CODE] [--layout LAYOUT] -o PKG.qzw\n"
                 "  SUBS, SUBS2: SubRip (.srt), WebVTT (.vtt) or LRC (.lrc), UTF-8 or Shift-JIS\n"
                 "  DIR: pictures named after cue numbers (1.png, 02.jpg, ...)\n"
                 "  LAYOUT: beside (pictures beside the text, the default), above (pictures above the\n"
                 "          text), list (the card list), text (the text alone, no pictures)\n";
    return 2;
}

bool ReadArguments(const std::vector<std::string>& args, TSubtitleTitleRequest& request)
{
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string* value = arg == "--translation" ? &request.TranslationPath
                             : arg == "--pictures"  ? &request.PicturesFolder
                             : arg == "--title"     ? &request.TitleName
                             : arg == "--code"      ? &request.Code
                             : arg == "-o" || arg == "--output" ? &request.PackagePath
                                                                : nullptr;
        if (arg == "--layout") {
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

void Report(const TSubtitleTitleRequest& request, const TSubtitleTitleResult& result)
{
    for (const std::string& note : result.Notes)
        std::cerr << "olvetool: note: " << note << "\n";
    std::cout << "title: " << result.TitleName << "\n"
              << "code: " << result.Code << "\n"
              << "cards: " << result.Cards << " from " << result.Cues << " cues (" << result.SubTexts
              << " with sub texts, " << result.Pictures << " with pictures)\n"
              << "package: " << request.PackagePath << "\n";
}

}  // namespace

int RunSubtitleTitleCommand(const std::vector<std::string>& args)
{
    TSubtitleTitleRequest request;
    if (!ReadArguments(args, request))
        return Usage();
    if (!SameAsciiIgnoringCase(std::filesystem::path(request.PackagePath).extension().string(), ".qzw"))
        std::cerr << "olvetool: note: the player opens packages named *.qzw\n";
    TSpooledRecording spooled;
    std::string error;
    if (!spooled.Spool(request.MediaPath, request.MediaPath, error)) {
        std::cerr << "olvetool: " << error << "\n";
        return 1;
    }
    if (!MeasureMediaLength(request.MediaPath, request.MediaLengthMs))
        return 1;
    TSubtitleTitleResult result;
    if (!MakeSubtitleTitle(request, result, error)) {
        for (const std::string& note : result.Notes)
            std::cerr << "olvetool: note: " << note << "\n";
        std::cerr << "olvetool: " << error << "\n";
        return 1;
    }
    Report(request, result);
    return 0;
}

}  // namespace olve
