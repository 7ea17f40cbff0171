#include "tools/subtitle_title_command.h"

#include <filesystem>
#include <iostream>

#include "storage/cp932_text.h"
#include "titlemaker/subtitle_title.h"
#include "tools/media_length.h"
#include "tools/spooled_recording.h"
#include "tools/title_arguments.h"

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
    if (!ReadTitleArguments(args, true, request))
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
