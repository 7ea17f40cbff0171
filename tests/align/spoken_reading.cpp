#include "spoken_reading.h"

#include "support/temp_folder.h"
#include "tool_run.h"

namespace {

double Seconds(const std::string& wav)
{
    const TToolRun run = RunCommand("soxi -D " + Quoted(wav));
    return run.Status == 0 ? std::stod(run.Out) : -1;
}

}  // namespace

bool MakeSpokenReading(const std::vector<std::string>& sentences, int pauseMs, const std::string& wavPath,
                       std::vector<TSpokenSentence>& spoken)
{
    TTempFolder dir;
    const std::string pause = dir / "pause.wav";
    if (RunCommand("sox -D -R -n -r 16000 -c 1 -b 16 " + Quoted(pause) + " trim 0 " + std::to_string(pauseMs / 1000.0))
            .Status != 0)
        return false;
    std::string parts;
    double at = 0;
    for (std::size_t k = 0; k < sentences.size(); ++k) {
        const std::string raw = dir / ("raw" + std::to_string(k) + ".wav");
        const std::string trimmed = dir / ("s" + std::to_string(k) + ".wav");
        if (RunCommand("espeak-ng -v en-us -s 150 -w " + Quoted(raw) + " " + Quoted(sentences[k])).Status != 0 ||
            RunCommand("sox -D -R " + Quoted(raw) + " -r 16000 -c 1 -b 16 " + Quoted(trimmed) +
                       " silence 1 0.01 -50d reverse silence 1 0.01 -50d reverse")
                    .Status != 0)
            return false;
        at += pauseMs / 1000.0;
        const double length = Seconds(trimmed);
        spoken.push_back({static_cast<std::int64_t>(at * 1000), static_cast<std::int64_t>((at + length) * 1000)});
        at += length;
        parts += Quoted(pause) + " " + Quoted(trimmed) + " ";
    }
    return RunCommand("sox -D -R " + parts + Quoted(pause) + " " + Quoted(wavPath)).Status == 0;
}
