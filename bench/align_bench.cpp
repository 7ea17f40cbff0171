// Sentence start and end errors of the transcript aligner against known boundaries, and its
// speed as a multiple of real time (process CPU time, decoding included).
// Usage: bench_align RECORDING TEXT REFERENCE
// REFERENCE: a line per sentence, "start_from start_to end_from end_to" (ms): the bands in
// which the sentence's speech starts and ends.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "align/pcm_recording.h"
#include "align/transcript_alignment.h"
#include "align/transcript_text.h"

namespace {

double OffBand(double ms, double from, double to)
{
    return ms < from ? from - ms : ms > to ? ms - to : 0;
}

double Percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(std::ceil(share * values.size())) - 1)];
}

void PrintErrors(const char* name, const std::vector<double>& errors)
{
    std::cout << "sentence " << name << " error: median " << Percentile(errors, 0.5) << " ms, p95 "
              << Percentile(errors, 0.95) << " ms, max " << Percentile(errors, 1.0) << " ms (" << errors.size()
              << " times)\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: bench_align RECORDING TEXT REFERENCE\n";
        return 2;
    }
    std::ifstream textFile(argv[2]);
    const std::string text((std::istreambuf_iterator<char>(textFile)), std::istreambuf_iterator<char>());
    std::vector<std::array<double, 4>> reference;
    std::ifstream referenceFile(argv[3]);
    for (std::array<double, 4> line; referenceFile >> line[0] >> line[1] >> line[2] >> line[3];)
        reference.push_back(line);

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
    for (const std::string& note : alignment.Notes)
        std::cerr << "note: " << note << "\n";
    if (alignment.Cues.size() != reference.size()) {
        std::cerr << "bench_align: " << alignment.Cues.size() << " sentences for " << reference.size()
                  << " reference lines\n";
        return 1;
    }
    std::vector<double> starts, ends, middles;
    for (std::size_t k = 0; k < reference.size(); ++k) {
        starts.push_back(OffBand(double(alignment.Cues[k].StartMs), reference[k][0], reference[k][1]));
        ends.push_back(OffBand(double(alignment.Cues[k].EndMs), reference[k][2], reference[k][3]));
        middles.push_back(std::abs(double(alignment.Cues[k].StartMs) - (reference[k][0] + reference[k][1]) / 2));
        middles.push_back(std::abs(double(alignment.Cues[k].EndMs) - (reference[k][2] + reference[k][3]) / 2));
    }
    PrintErrors("start", starts);
    PrintErrors("end", ends);
    // A stricter view: starts and ends together, against the middle of their bands.
    PrintErrors("boundary (to band middle)", middles);
    std::cout << "unplaced sentences: " << alignment.Notes.size() << "\n"
              << "speed: " << recording.LengthMs() / 1000.0 / cpuSeconds << " x real time on one core ("
              << recording.LengthMs() / 1000.0 << " s of speech in " << cpuSeconds << " s)\n";
    return 0;
}
