#include "tools/transcript_title_command.h"

#include <functional>
#include <iostream>

#include "titlemaker/subtitle_title.h"
#include "titlemaker/transcript_request.h"
#include "tools/title_arguments.h"
#include "tools/progress_line.h"
#include "tools/title_making.h"

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
    TSpooledRecording spooled;
    if (!PrepareRecording(request, spooled))
        return 1;
    std::vector<std::string> notes;
    std::string error;
    TProgressLine progress("aligning");
    const bool aligned = AlignTranscriptRequest(request, notes, error, std::ref(progress));
    PrintNotes(notes);
    if (!aligned) {
        std::cerr << "olvetool: " << error << "\n";
        return 1;
    }
    progress.Step("making the title of " + std::to_string(request.Subtitles->Cues.size()) + " sentences");
    TSubtitleTitleResult result;
    if (!MakeTitleSaying(request, result))
        return 1;
    Report(request, result);
    return 0;
}

}  // namespace olve
