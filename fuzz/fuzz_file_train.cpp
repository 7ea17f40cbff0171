// File trains (".qzw") from any bytes: listed, then installed twice into a scratch folder,
// once overwriting and once asking about every existing file. Nothing may be written outside
// the destination, and the user interface must be left as it was found.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "filetrain/file_train.h"
#include "filetrain/train_extract.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

class TBalancedFeedback : public TExtractFeedback {
public:
    int Busy = 0;
    int Progress = 0;
    int StepsLeft = 0;

    void BeginBusy() override { ++Busy; }
    void EndBusy() override { --Busy; }
    void ProcessMessages() override {}
    void ShowProgress(const std::string&, int maximum) override
    {
        ++Progress;
        StepsLeft = maximum;
    }
    void StepProgress() override
    {
        OLVE_FUZZ_CHECK(Progress == 1);
        OLVE_FUZZ_CHECK(--StepsLeft >= 0);
    }
    void HideProgress() override { --Progress; }
};

// Answers in turn: overwrite, rename the existing file, copy if newer, cancel.
class TRotatingQuestion : public TFileCopyQuestion {
public:
    void Ask(TFileCopyRequest& request) override
    {
        switch (FAsked++ % 4) {
        case 0:
            request.Choice = TCopyChoice::Overwrite;
            break;
        case 1:
            request.Choice = TCopyChoice::Rename;
            request.OldName = "old-" + request.OldName;
            break;
        case 2:
            request.Choice = TCopyChoice::CopyIfNewer;
            break;
        default:
            request.Choice = TCopyChoice::Cancel;
            break;
        }
    }

private:
    int FAsked = 0;
};

bool IsBelow(const fs::path& path, const fs::path& folder)
{
    const fs::path normal = path.lexically_normal();
    auto p = normal.begin();
    for (const fs::path& part : folder) {
        if (p == normal.end() || *p != part)
            return false;
        ++p;
    }
    return p != normal.end();
}

void CheckListing(const std::string& package, std::uintmax_t packageSize)
{
    TTrainFiles files;
    std::string header;
    ReadFileTrain(package, files, header);
    for (int i = 0; i < files.Count(); ++i) {
        const TTrainFileItem* item = files.Items(i);
        OLVE_FUZZ_CHECK(item->Size >= 0 && item->StoredSize >= 0 && item->Offset >= 0);
        OLVE_FUZZ_CHECK(static_cast<std::uintmax_t>(item->Offset + item->StoredSize) <= packageSize);
    }
    std::vector<TTrainName> names;
    ReadFileTrainNames(package, names, header);
    OLVE_FUZZ_CHECK(static_cast<int>(names.size()) == files.Count());
    for (const TTrainName& name : names)
        OLVE_FUZZ_CHECK(name.Name.empty() || IsBelow(fs::path("root") / name.Name, "root"));
}

void Install(const std::string& package, const fs::path& destination, int mode, bool useHeaderFolder,
             std::set<std::string>& written)
{
    TBalancedFeedback feedback;
    TRotatingQuestion question;
    TExtractUi ui{&feedback, &question};
    TStringList extracted;
    ExtractFileTrain(ui, package, destination.string(), extracted, mode, useHeaderFolder);
    OLVE_FUZZ_CHECK(feedback.Busy == 0);
    OLVE_FUZZ_CHECK(feedback.Progress == 0);
    for (const std::string& path : extracted.Lines()) {
        OLVE_FUZZ_CHECK(IsBelow(path, destination));
        OLVE_FUZZ_CHECK(fs::is_regular_file(fs::symlink_status(path)));
        written.insert(fs::path(path).lexically_normal().string());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fs::path folder = fuzz::Scratch();
    const std::string package = (folder / "title.qzw").string();
    fuzz::WriteBytes(package, data, size);
    CheckListing(package, size);

    const fs::path root = folder / "root";
    const fs::path destination = root / "dest";
    fs::create_directories(destination);
    std::set<std::string> written;
    Install(package, destination, 1, true, written);
    Install(package, destination, 0, false, written);
    // Every file below the destination was reported, or is an existing file renamed on
    // request: no temporary is left behind.
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(destination))
        if (!entry.is_directory())
            OLVE_FUZZ_CHECK(written.count(entry.path().lexically_normal().string()) == 1 ||
                            entry.path().filename().string().rfind("old-", 0) == 0);
    // Only the destination may have appeared, beside the package.
    for (const fs::path& parent : {folder, root})
        for (const fs::directory_entry& entry : fs::directory_iterator(parent))
            OLVE_FUZZ_CHECK(entry.path() == package || entry.path() == root || entry.path() == destination);
    return 0;
}
