#include "tools/transcript_title_command.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "align/pcm_recording.h"
#include "align/transcript_alignment.h"
#include "align/transcript_text.h"
#include "storage/cp932_text.h"
#include "subtitles/subtitle_lines.h"
#include "subtitles/subtitle_text.h"
#include "titlemaker/subtitle_title.h"
#include "tools/media_length.h"
#include "tools/spooled_recording.h"

namespace olve {

namespace {

int Usage()
{
    std::cerr << "usage: olvetool title from-transcript MEDIA TEXT [--translation TEXT2] [--title NAME]\n"
                 "                                    [--code CODE] -o PKG.qzw\n"
                 "  TEXT: the English read in MEDIA, one sentence a line or running text\n"
                 "  TEXT2: one line of translation for each sentence of TEXT\n";
    return 2;
}

bool ReadArguments(const std::vector<std::string>& args, TSubtitleTitleRequest& request)
{
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string* value = arg == "--translation" ? &request.TranslationPath
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

bool ReadText(const std::string& path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "olvetool: cannot read " << path << "\n";
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    TSubtitleEncoding encoding = TSubtitleEncoding::Utf8;
    text = DecodeSubtitleBytes(bytes, encoding);
    return true;
}

bool AlignCues(const TSubtitleTitleRequest& request, TTranscriptAlignment& alignment)
{
    std::string text, error;
    if (!ReadText(request.SubtitlePath, text))
        return false;
    const std::vector<std::string> sentences = TranscriptSentences(text);
    TPcmRecording recording;
    const bool aligned = !sentences.empty() && DecodePcmRecording(request.MediaPath, recording, error) &&
                         AlignTranscript(recording, sentences, alignment, error);
    for (const std::string& note : alignment.Notes)
        std::cerr << "olvetool: note: " << note << "\n";
    if (!aligned)
        std::cerr << "olvetool: " << (sentences.empty() ? request.SubtitlePath + " holds no sentence" : error) << "\n";
    return aligned;
}

// Line k of the translation goes with sentence k, so it takes that sentence's time.
bool TranslationCues(const std::string& path, const std::vector<TSubtitleCue>& cues, TSubtitleFile& translation)
{
    std::string text;
    if (!ReadText(path, text))
        return false;
    std::vector<std::string> lines;
    for (const std::string& line : SplitLines(text))
        if (!IsBlankLine(line))
            lines.emplace_back(TrimBlanks(line));
    for (std::size_t k = 0; k < std::min(lines.size(), cues.size()); ++k) {
        TSubtitleCue cue = cues[k];
        cue.Text = lines[k];
        cue.Parts.clear();
        translation.Cues.push_back(cue);
    }
    if (lines.size() != cues.size())
        translation.Notes.push_back("has " + std::to_string(lines.size()) + " lines for " +
                                    std::to_string(cues.size()) + " sentences; lines and sentences are paired in order");
    return true;
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
    TTranscriptAlignment alignment;
    if (!MeasureMediaLength(request.MediaPath, request.MediaLengthMs) || !AlignCues(request, alignment))
        return 1;
    request.Subtitles = TSubtitleFile{alignment.Cues, std::string(), {}};
    if (!request.TranslationPath.empty() &&
        !TranslationCues(request.TranslationPath, alignment.Cues, request.Translation.emplace()))
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
