// Cue start errors of the subtitle sync against exact truth, and its time per hour of recording.
// For each case the cues are written as a file made for that offset and rate would have them
// (cues that would fall before 0 are cut), synced against the recording (decoded anew each
// time), and each synced start is compared with where its sentence truly starts. Prints one
// row per case of the table that run-sync.sh makes.
// Usage: bench_sync RECORDING REFERENCE OFFSET_MS/RATE..., or bench_sync --header.
// REFERENCE: a line per sentence, "start end" (ms). RATE may be a quotient ("25/23.976").
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "align/recording_file.h"
#include "align/subtitle_sync.h"

namespace {

struct TCase {
    double OffsetMs = 0;
    double Rate = 1;
    std::string RateText;
};

// The recording, counting the samples each read gives, for the time per hour.
class TCountedRecording : public olve::TRecordingSource {
public:
    explicit TCountedRecording(const std::string& path) : FFile(path) {}

    bool Read(const olve::TPcmBlock& block, std::string& error) const override
    {
        FSamples = 0;
        return FFile.Read(
            [&](const std::int16_t* samples, std::size_t count) {
                FSamples += count;
                return block(samples, count);
            },
            error);
    }
    std::size_t ExpectedSamples() const override { return 0; }
    double Hours() const { return double(FSamples) / SampleRate / 3600; }

private:
    olve::TRecordingFile FFile;
    mutable std::size_t FSamples = 0;
};

struct TTruth {
    double Start = 0;
    double End = 0;
};

// Nearest rank: the smallest value that at least this share of the values do not exceed.
double Percentile(const std::vector<double>& sorted, double share)
{
    const auto rank = static_cast<std::size_t>(std::ceil(share * double(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

bool ParseCase(const std::string& text, TCase& found)
{
    const auto slash = text.find('/');
    if (slash == std::string::npos)
        return false;
    try {
        found.OffsetMs = std::stod(text.substr(0, slash));
        found.RateText = text.substr(slash + 1);
        const auto divide = found.RateText.find('/');
        found.Rate = divide == std::string::npos
                         ? std::stod(found.RateText)
                         : std::stod(found.RateText.substr(0, divide)) / std::stod(found.RateText.substr(divide + 1));
    } catch (const std::exception&) {
        return false;
    }
    return found.Rate > 0.5 && found.Rate < 2;
}

std::vector<olve::TSubtitleCue> Written(const std::vector<TTruth>& truth, const TCase& c)
{
    std::vector<olve::TSubtitleCue> cues;
    for (std::size_t k = 0; k < truth.size(); ++k) {
        const auto start = std::llround((truth[k].Start - c.OffsetMs) / c.Rate);
        const auto end = std::llround((truth[k].End - c.OffsetMs) / c.Rate);
        if (start >= 0)
            cues.push_back({int(k), start, end, "", {}, ""});
    }
    return cues;
}

void PrintHeader()
{
    std::printf("%9s %11s %5s  %13s  %6s  %9s %7s %6s %6s  %s\n", "offset s", "rate", "cues", "median/p95/max",
                "s/hour", "found s", "rate", "wall s", "cpu s", "goal");
}

bool RunCase(const TCountedRecording& recording, const std::vector<TTruth>& truth, const TCase& c)
{
    std::vector<olve::TSubtitleCue> cues = Written(truth, c);
    olve::TSubtitleSync sync;
    std::string error;
    const auto wallBegan = std::chrono::steady_clock::now();
    const std::clock_t began = std::clock();
    if (!olve::FindSubtitleSync(recording, cues, sync, error)) {
        std::cerr << "bench_sync: " << error << "\n";
        return false;
    }
    const double cpu = double(std::clock() - began) / CLOCKS_PER_SEC;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBegan).count();
    olve::ApplySubtitleSync(sync, cues);
    std::vector<double> errors;
    for (const olve::TSubtitleCue& cue : cues)
        errors.push_back(std::abs(double(cue.StartMs) - truth[std::size_t(cue.Number)].Start));
    std::sort(errors.begin(), errors.end());
    const double median = Percentile(errors, 0.5), p95 = Percentile(errors, 0.95);
    const bool met = median <= 60 && p95 <= 200;
    std::printf("%9.1f %11s %5zu  %4.0f %4.0f %4.0f  %6.1f  %9.2f %7.4f %6.1f %6.1f  %s\n", c.OffsetMs / 1000,
                c.RateText.c_str(), cues.size(), median, p95, errors.back(), wall / recording.Hours(), sync.OffsetMs / 1000, sync.Rate,
                wall, cpu, met ? "met" : "MISSED");
    if (!sync.Corrected)
        std::printf("%9s %s\n", "", olve::SyncSummary(sync).c_str());
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--header") {
        PrintHeader();
        return 0;
    }
    std::vector<TCase> cases(argc > 3 ? std::size_t(argc - 3) : 0);
    for (int k = 3; k < argc; ++k)
        if (!ParseCase(argv[k], cases[std::size_t(k - 3)])) {
            std::cerr << "bench_sync: not an OFFSET_MS/RATE case: " << argv[k] << "\n";
            return 2;
        }
    if (cases.empty()) {
        std::cerr << "usage: bench_sync RECORDING REFERENCE OFFSET_MS/RATE... | --header\n";
        return 2;
    }
    std::vector<TTruth> truth;
    std::ifstream referenceFile(argv[2]);
    for (double start, end; referenceFile >> start >> end;)
        truth.push_back({start, end});
    if (truth.empty()) {
        std::cerr << "bench_sync: no sentences in " << argv[2] << "\n";
        return 1;
    }
    const TCountedRecording recording(argv[1]);
    for (const TCase& c : cases)
        if (!RunCase(recording, truth, c))
            return 1;
    return 0;
}
