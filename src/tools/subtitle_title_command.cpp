#include "tools/subtitle_title_command.h"

#include <QCoreApplication>
#include <filesystem>
#include <iostream>

#include "media/gst_session.h"
#include "storage/cp932_text.h"
#include "titlemaker/subtitle_title.h"

namespace olve {

namespace {

int Usage()
{
    std::cerr << "usage: olvetool title from-subtitles MEDIA SUBS [--translation SUBS2] [--pictures DIR]\n"
                 "                                   [--title NAME] [--code CODE] -o PKG.qzw\n"
                 "  SUBS, SUBS2: SubRip (.srt), WebVTT (.vtt) or LRC (.lrc), UTF-8 or Shift-JIS\n"
                 "  DIR: pictures named after cue numbers (1.png, 02.jpg, ...)\n";
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
        if (value) {
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

// The length as the player will see it, which is what the cards must fit.
bool MeasureMedia(TSubtitleTitleRequest& request)
{
    if (!std::filesystem::is_regular_file(request.MediaPath)) {
        std::cerr << "olvetool: cannot find the recording " << request.MediaPath << "\n";
        return false;
    }
    int argc = 1;
    char name[] = "olvetool";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    // The player's own session, which opens as the player does (and as long).
    TGstSession session(QString::fromLocal8Bit(request.MediaPath.c_str()), "fakesink", false);
    const std::string error = session.Open(10000);
    if (!error.empty()) {
        std::cerr << "olvetool: the player cannot open " << request.MediaPath << ": " << error << "\n";
        return false;
    }
    request.MediaLengthMs = session.DurationMs();
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
    if (!MeasureMedia(request))
        return 1;
    TSubtitleTitleResult result;
    std::string error;
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
