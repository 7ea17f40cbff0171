// Packs and installs a title package of many small files and one large recording, and prints
// the time and the peak memory of each step. Installing streams large files, so the peak
// should stay under 64 MB whatever the size of the package.
//
// usage: bench_train [--files N] [--media-mb M] [--dir FOLDER]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "filetrain/file_train.h"
#include "filetrain/installed_files.h"
#include "codec/string_list.h"
#include "filetrain/train_extract.h"
#include "filetrain/train_pack.h"

namespace fs = std::filesystem;

namespace {

struct TOptions {
    int Files = 2000;
    long MediaMegabytes = 200;
    std::string Folder = fs::temp_directory_path().string();
};

struct TStepResult {
    bool Ok = false;
    double Seconds = 0;
    double PeakMegabytes = 0;
};

// Runs a step in a child process, so that each step's peak memory is its own.
TStepResult Measure(const std::function<bool()>& step)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0)
        _exit(step() ? 0 : 1);
    int status = 0;
    struct rusage usage{};
    wait4(pid, &status, 0, &usage);
    TStepResult result;
    result.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.PeakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    result.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

// Title-like text, some of it repeated, so that part of the small files compress.
std::string SmallFile(std::mt19937& random, int index)
{
    std::string text;
    const int lines = 2 + static_cast<int>(random() % 60);
    for (int i = 0; i < lines; ++i)
        text += "MainText=Card " + std::to_string(index) + " line " + std::to_string(i) + " says something.\r\n";
    if (index % 3 == 0) {
        std::string noise(200 + random() % 3000, '\0');
        for (char& c : noise)
            c = static_cast<char>(random());
        text += noise;
    }
    return text;
}

// 16-bit PCM-like samples, written a megabyte at a time.
bool MakeMedia(const std::string& path, long megabytes)
{
    std::ofstream out(path, std::ios::binary);
    std::vector<char> block(1 << 20);
    std::mt19937 random(11);
    for (long m = 0; m < megabytes && out; ++m) {
        for (std::size_t i = 0; i + 1 < block.size(); i += 2) {
            const int sample = static_cast<int>(random() % 2048) - 1024;
            block[i] = static_cast<char>(sample & 0xFF);
            block[i + 1] = static_cast<char>((sample >> 8) & 0xFF);
        }
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    return static_cast<bool>(out);
}

bool SameFiles(const std::string& a, const std::string& b)
{
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    std::vector<char> ba(1 << 20), bb(1 << 20);
    while (fa && fb) {
        fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
        fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
        if (fa.gcount() != fb.gcount() || std::memcmp(ba.data(), bb.data(), static_cast<std::size_t>(fa.gcount())) != 0)
            return false;
    }
    return !fa && !fb;
}

void Print(const char* step, const TStepResult& r)
{
    std::printf("%-8s %-4s %8.2f s  peak %7.1f MB%s\n", step, r.Ok ? "ok" : "FAIL", r.Seconds, r.PeakMegabytes,
                r.PeakMegabytes < 64.0 ? "" : "  (over 64 MB)");
}

// Taking in two installations of 100,000 files that share half their names: the time grows
// with the number of files, not with its square.
void PrintInstalledFilesBookkeeping()
{
    std::vector<std::string> first;
    std::vector<std::string> second;
    for (int i = 0; i < 100000; ++i) {
        first.push_back("/program/titles/K/K100/words/word" + std::to_string(i) + ".txt");
        second.push_back("/program/titles/K/K100/WORDS/word" + std::to_string(i + 50000) + ".txt");
    }
    const auto start = std::chrono::steady_clock::now();
    olve::TInstalledFiles installed;
    installed.Add(first, {});
    const std::size_t removed = installed.Add(second, {}).size();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("installed-files bookkeeping, 2 x 100000 files  %.1f ms (%zu replaced)\n", ms, removed);
}

bool ParseOptions(int argc, char** argv, TOptions& options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--files")
            options.Files = std::atoi(argv[i + 1]);
        else if (name == "--media-mb")
            options.MediaMegabytes = std::atol(argv[i + 1]);
        else if (name == "--dir")
            options.Folder = argv[i + 1];
        else
            return false;
    }
    return argc % 2 == 1 && options.Files >= 0 && options.MediaMegabytes >= 0;
}

}  // namespace

int main(int argc, char** argv)
{
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: bench_train [--files N] [--media-mb M] [--dir FOLDER]\n");
        return 2;
    }
    std::string pattern = (fs::path(options.Folder) / "olve-train-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("bench_train");
        return 1;
    }
    const fs::path root = pattern;
    const std::string source = (root / "src").string();
    const std::string package = (root / "bench.qzw").string();
    const std::string dest = (root / "dest").string();

    std::mt19937 random(3);
    fs::create_directories(root / "src/cards");
    fs::create_directories(root / "src/media");
    for (int i = 0; i < options.Files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "cards/card%05d.txt", i);
        std::ofstream(root / "src" / name, std::ios::binary) << SmallFile(random, i);
    }
    const std::string media = (root / "src/media/recording.wav").string();
    if (!MakeMedia(media, options.MediaMegabytes)) {
        std::fprintf(stderr, "bench_train: cannot write %s\n", media.c_str());
        fs::remove_all(root);
        return 1;
    }
    std::printf("%d small files and a %ld MB recording in %s\n", options.Files, options.MediaMegabytes, root.c_str());

    const TStepResult pack = Measure([&] {
        std::vector<std::string> packed;
        std::string error;
        const bool ok = olve::PackFileTrain(source, package, "", packed, error);
        if (!ok)
            std::fprintf(stderr, "%s\n", error.c_str());
        return ok;
    });
    const TStepResult list = Measure([&] {
        olve::TTrainFiles files;
        std::string header;
        return olve::ReadFileTrain(package, files, header) && files.Count() == options.Files + 1;
    });
    const TStepResult extract = Measure([&] {
        olve::TExtractUi ui;
        olve::TStringList extracted;
        return olve::ExtractFileTrain(ui, package, dest, extracted, 1, true) &&
               extracted.Count() == options.Files + 1;
    });
    std::error_code ec;
    const auto packageSize = fs::file_size(package, ec);
    std::printf("package  %.1f MB\n", static_cast<double>(packageSize) / (1024.0 * 1024.0));
    Print("pack", pack);
    Print("list", list);
    Print("extract", extract);
    const bool same = SameFiles(media, dest + "/media/recording.wav") &&
                      SameFiles((root / "src/cards/card00000.txt").string(), dest + "/cards/card00000.txt");
    std::printf("content  %s\n", same ? "identical" : "DIFFERENT");
    PrintInstalledFilesBookkeeping();
    fs::remove_all(root, ec);
    return pack.Ok && list.Ok && extract.Ok && same ? 0 : 1;
}
