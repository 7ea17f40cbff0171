#include "tools/transcript_title_command.h"

#include <chrono>
#include <functional>
#include <iostream>

#include "titlemaker/subtitle_title.h"
#include "titlemaker/transcript_request.h"
#include "tools/title_arguments.h"
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

// Aligning a long recording or text takes minutes: after the first seconds, how far it got,
// now and then, on standard error.
class TAlignProgressLine {
public:
    void operator()(std::size_t done, std::size_t total)
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - FStart < QuietTime || (now - FLast < Interval && done < total))
            return;
        FLast = now;
        std::cerr << "olvetool: aligning: " << done * 100 / total << "%\n";
    }

    void Step(const std::string& text) const
    {
        if (std::chrono::steady_clock::now() - FStart >= QuietTime)
            std::cerr << "olvetool: " << text << "\n";
    }

private:
    static constexpr std::chrono::seconds QuietTime{2};
    static constexpr std::chrono::seconds Interval{1};
    std::chrono::steady_clock::time_point FStart = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point FLast{};
};

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
    TAlignProgressLine progress;
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
