// Loads and saves a title of 5000 main cards with VCD, KHS and KHG cards and all three text
// tables, and prints the best time of several runs of each.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "codec/cp932_text.h"
#include "timing/positions.h"
#include "title/play_package.h"

namespace {

olve::TPlayCardItem Card(int i, const std::string& text, const std::string& tags)
{
    olve::TPlayCardItem c;
    c.MainText = text;
    c.SubText = olve::Utf8ToCp932("これは " + std::to_string(i) + " 番目の文です。");
    c.Picture = i % 3 ? "" : "pic" + std::to_string(i % 200) + ".jpg";
    c.DataText = tags;
    c.StartPos = olve::MakePackedPosition(1, 0, 0, 1500u * i);
    c.EndPos = olve::MakePackedPosition(1, 0, 0, 1500u * i + 1400);
    c.TimeFormat = olve::otfTrackMilliseconds;
    return c;
}

double BestMs(int runs, const std::function<void()>& work)
{
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main()
{
    olve::TPlayPackage title;
    title.Settings.Assign({"VolFileTitle=Benchmark", "TimeFormat=TMilliseconds", "MTxShw=On", "VolSerialNum=B5000"});
    title.TimeFormat = olve::otfTrackMilliseconds;
    for (int i = 0; i < 5000; ++i) {
        // Every fourth card shares its text with the one before, as word-timed cards do.
        const std::string text = "Sentence number " + std::to_string(i - i % 4 / 3) + " is spoken here, slowly.";
        title.MainCards.AddRec(Card(i, text, i % 2 ? "SST=0,SLG=8,TAG=x" : ""));
    }
    for (int i = 0; i < 50; ++i)
        title.VcdCards.AddRec(Card(i, "Chapter " + std::to_string(i), "SDR=Story " + std::to_string(i % 5)));
    for (int i = 0; i < 500; ++i) {
        title.KhsCards.AddRec(Card(i, "Word " + std::to_string(i), "KSD=Listen and repeat " + std::to_string(i % 7)));
        title.KhgCards.AddRec(Card(i, "Phrase " + std::to_string(i % 250), "KUT=" + std::to_string(i)));
    }

    const std::filesystem::path file = std::filesystem::temp_directory_path() / "olve-title-bench.qzc";
    bool saved = true;
    const double saveMs = BestMs(10, [&] { saved = saved && title.SaveToFile(file.string(), "bench", "", ""); });
    olve::TPlayPackage loaded;
    bool ok = true;
    const double loadMs = BestMs(10, [&] { ok = ok && loaded.LoadFromFile(file.string(), false, olve::mtNone); });
    const auto bytes = std::filesystem::file_size(file);
    std::filesystem::remove(file);

    std::printf("title of %d main, %d VCD, %d KHS, %d KHG cards: %llu bytes on disk\n", loaded.MainCards.Count(),
                loaded.VcdCards.Count(), loaded.KhsCards.Count(), loaded.KhgCards.Count(),
                static_cast<unsigned long long>(bytes));
    std::printf("  save   %8.2f ms\n", saveMs);
    std::printf("  load   %8.2f ms   goal: under 20 ms: %s\n", loadMs, loadMs < 20 ? "met" : "NOT met");
    if (!saved || !ok || loaded.MainCards.Count() != 5000) {
        std::printf("the title did not survive saving and loading\n");
        return 1;
    }
    return 0;
}
