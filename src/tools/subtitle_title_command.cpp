#include "tools/subtitle_title_command.h"

#include <functional>
#include <iostream>

#include "titlemaker/subtitle_title.h"
#include "tools/progress_line.h"
#include "tools/title_arguments.h"
#include "tools/title_making.h"

namespace olve {

namespace {

int Usage()
{
    std::cerr << "usage: olvetool title from-subtitles MEDIA SUBS [--translation SUBS2] [--pictures DIR]\n"
                 "                                   [--title NAME] [--code CODE] [--layout LAYOUT] [--sentences]\n"
                 "                                   [--no-sync] -o PKG.qzw\n"
                 "  SUBS, SUBS2: SubRip (.srt), WebVTT (.vtt) or LRC (.lrc), UTF-8 or Shift-JIS\n"
                 "  DIR: pictures named after cue numbers (1.png, 02.jpg, ...)\n"
                 "  LAYOUT: beside (pictures beside the text, the default), above (pictures above the\n"
                 "          text), list (the card list), text (the text alone, no pictures)\n"
                 "  --sentences: cues that split a sentence become one card per sentence (default: one\n"
                 "               card per cue)\n"
                 "  the cues (and SUBS2 when timed alike) are synced to the speech of MEDIA first;\n"
                 "  --no-sync keeps the times as written\n";
    return 2;
}

void Report(const TSubtitleTitleRequest& request, const TSubtitleTitleResult& result)
{
    std::cout << "title: " << result.TitleName << "\n"
              << "code: " << result.Code << "\n"
              << "cards: " << result.Cards << " from " << result.Cues << " cues (" << result.SubTexts
              << " with sub texts, " << result.Pictures << " with pictures)\n"
              << "package: " << request.PackagePath << "\n";
    if (result.Sync)
        std::cout << "sync: " << SyncSummary(*result.Sync) << "\n";
}

}  // namespace

int RunSubtitleTitleCommand(const std::vector<std::string>& args)
{
    TSubtitleTitleRequest request;
    if (!ReadTitleArguments(args, true, request))
        return Usage();
    TSpooledRecording spooled;
    if (!PrepareRecording(request, spooled))
        return 1;
    TSubtitleTitleResult result;
    TProgressLine progress("syncing");
    if (!MakeTitleSaying(request, result, std::ref(progress)))
        return 1;
    Report(request, result);
    return 0;
}

}  // namespace olve
