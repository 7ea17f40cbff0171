#include "tools/transcript_title_command.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "storage/cp932_text.h"
#include "titlemaker/subtitle_title.h"
#include "titlemaker/transcript_request.h"
#include "tools/media_length.h"
#include "tools/spooled_recording.h"
#include "tools/title_arguments.h"

namespace olve {

namespace {

int Usage()
{
    std::cerr << "usage: olvetool title from-transcript MEDIA TEXT [--translation TEXT2] [--title NAME]\n"
                 "                                    [--code CODE] [--layout LAYOUT] -o PKG.qzw\n"
                 "  TEXT: the English read in MEDIA, one sentence a line or running text\n"
                 "  TEXT2: one line of translation for each sentence of TEXT\n"
                 "  LAYOUT: beside, above, list or text, as for from-subtitles\n";
    return 2;
}

void Report(const TSubtitleTitleRequest& request, const TSubtitleTitleResult& result)
{
    for (const std::string& note : result.Notes)
        std::cerr << "olvetool: note: " << note << "\n";
    std::cout << "title: " << result.TitleName << "\n"
              << "code: " << result.Code << "\n"
              << "cards: " << result.Cards << " from " << result.Cues << " sentences (" << result.SubTexts
              << " with sub texts)\n"
              << "package: " << request.PackagePath << "\n";
}

}  // namespace

int RunTranscriptTitleCommand(const std::vector<std::string>& args)
{
    TSubtitleTitleRequest request;
    if (!ReadTitleArguments(args, false, request))
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
    std::vector<std::string> notes;
    const bool aligned = AlignTranscriptRequest(request, notes, error);
    for (const std::string& note : notes)
        std::cerr << "olvetool: note: " << note << "\n";
    if (!aligned) {
        std::cerr << "olvetool: " << error << "\n";
        return 1;
    }
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
