// Sentence start and end errors of the transcript aligner against exact boundaries, the
// sentences it could not place, and its speed as a multiple of real time (process CPU time,
// decoding included). Prints one row of the table that run-align.sh makes.
// Usage: bench_align RECORDING TEXT REFERENCE, or bench_align --header for the column titles.
// REFERENCE: a line per sentence, "start end" (ms): where the sentence's speech truly starts
// and ends.
#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "align/pcm_recording.h"
#include "align/transcript_alignment.h"
#include "align/transcript_text.h"

namespace {

struct TSpread {
    double Median = 0;
    double P95 = 0;
    double Max = 0;
};

// Nearest rank: the smallest value that at least this share of the values do not exceed.
double Percentile(const std::vector<double>& sorted, double share)
{
    const auto rank = static_cast<std::size_t>(std::ceil(share * double(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

TSpread Spread(std::vector<double> errors)
{
    std::sort(errors.begin(), errors.end());
    return {Percentile(errors, 0.5), Percentile(errors, 0.95), errors.back()};
}

bool Met(const TSpread& spread)
{
    return spread.Median <= 40 && spread.P95 <= 150;
}

void PrintHeader()
{
    std::printf("%9s  %21s  %21s  %8s  %7s  %s\n", "sentences", "start median/p95/max", "end median/p95/max",
                "unplaced", "x real", "goal");
}

void PrintRow(std::size_t sentences, const TSpread& start, const TSpread& end, std::size_t unplaced, double speed)
{
    const bool met = Met(start) && Met(end) && unplaced == 0 && speed >= 30;
    std::printf("%9zu  %7.0f%7.0f%7.0f  %7.0f%7.0f%7.0f  %8zu  %7.1f  %s\n", sentences, start.Median, start.P95,
                start.Max, end.Median, end.P95, end.Max, unplaced, speed, met ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--header") {
        PrintHeader();
        return 0;
    }
    if (argc != 4) {
        std::cerr << "usage: bench_align RECORDING TEXT REFERENCE | --header\n";
        return 2;
    }
    std::ifstream textFile(argv[2]);
    const std::string text((std::istreambuf_iterator<char>(textFile)), std::istreambuf_iterator<char>());
    std::vector<std::pair<double, double>> reference;
    std::ifstream referenceFile(argv[3]);
    for (double start, end; referenceFile >> start >> end;)
        reference.emplace_back(start, end);

    const std::clock_t began = std::clock();
    olve::TPcmRecording recording;
    olve::TTranscriptAlignment alignment;
    std::string error;
    if (!olve::DecodePcmRecording(argv[1], recording, error) ||
        !olve::AlignTranscript(recording, olve::TranscriptSentences(text), alignment, error)) {
        std::cerr << "bench_align: " << error << "\n";
        return 1;
    }
    const double cpuSeconds = double(std::clock() - began) / CLOCKS_PER_SEC;
    if (reference.empty() || alignment.Cues.size() != reference.size()) {
        std::cerr << "bench_align: " << alignment.Cues.size() << " sentences aligned for " << reference.size()
                  << " in the reference\n";
        return 1;
    }
    std::vector<double> starts, ends;
    for (std::size_t k = 0; k < reference.size(); ++k) {
        const olve::TSubtitleCue& cue = alignment.Cues[k];
        const auto endMs = cue.EndMs == olve::TSubtitleCue::OpenEnd ? recording.LengthMs() : cue.EndMs;
        starts.push_back(std::abs(double(cue.StartMs) - reference[k].first));
        ends.push_back(std::abs(double(endMs) - reference[k].second));
        if (std::getenv("OLVE_ALIGN_EACH"))
            std::cerr << "sentence " << k + 1 << ": start " << cue.StartMs - reference[k].first << ", end "
                      << endMs - reference[k].second << " ms: " << cue.Text << "\n";
    }
    PrintRow(reference.size(), Spread(starts), Spread(ends), alignment.Unplaced.size(),
             double(recording.LengthMs()) / 1000.0 / std::max(cpuSeconds, 1e-6));
    return 0;
}
