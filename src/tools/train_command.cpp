#include "tools/train_command.h"

#include <cstdio>
#include <iostream>

#include "codec/cp932_text.h"
#include "filetrain/file_train.h"
#include "filetrain/train_entry_name.h"
#include "filetrain/train_extract.h"
#include "filetrain/train_pack.h"
#include "tools/stderr_prompts.h"

namespace olve {

namespace {

int Usage()
{
    std::cerr << "usage: olvetool list PKG\n"
                 "       olvetool extract PKG DEST [--no-header-folder]\n"
                 "       olvetool pack SRC_DIR PKG [--header NAME]\n";
    return 2;
}

}  // namespace

int RunTrainListCommand(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return Usage();
    TTrainFiles files;
    std::string header;
    bool truncated = false;
    const bool ok = ReadFileTrain(args[0], files, header, &truncated);
    for (int i = 0; i < files.Count(); ++i) {
        const TTrainFileItem& item = *files.Items(i);
        std::printf("%10d %10d %s\n", item.StoredSize, item.Size, DisplayEntryName(item.Name).c_str());
    }
    if (!ok) {
        std::cerr << "olvetool: " << args[0] << " is not a readable file train\n";
        return 1;
    }
    if (truncated) {
        std::cerr << "olvetool: " << args[0] << " is cut short after " << files.Count() << " whole entries\n";
        return 1;
    }
    return 0;
}

int RunTrainExtractCommand(const std::vector<std::string>& args)
{
    if (args.size() < 2 || args.size() > 3 || (args.size() == 3 && args[2] != "--no-header-folder"))
        return Usage();
    TStderrPrompts prompts;
    TStringList extracted;
    TExtractOutcome outcome;
    const bool ok = ExtractFileTrain({}, args[0], args[1], extracted, 1, args.size() == 2, &outcome);
    for (const TFailure& problem : outcome.Problems)
        prompts.Message(BilingualText(problem));
    for (const std::string& path : extracted.Lines())
        std::printf("%s\n", path.c_str());
    if (!ok) {
        std::cerr << "olvetool: nothing was installed from " << args[0] << "\n";
        return 1;
    }
    if (!outcome.Failed.empty()) {
        std::cerr << "olvetool: " << outcome.Failed.size() << " files of " << args[0] << " could not be written\n";
        return 1;
    }
    if (outcome.Refused > 0 || outcome.Damaged > 0) {
        std::cerr << "olvetool: " << outcome.Refused + outcome.Damaged << " entries of " << args[0]
                  << " were not installed\n";
        return 1;
    }
    return 0;
}

int RunTrainPackCommand(const std::vector<std::string>& args)
{
    std::string header;
    if (args.size() == 4 && args[2] == "--header")
        header = args[3];
    else if (args.size() != 2)
        return Usage();
    std::vector<std::string> packed;
    std::string error;
    if (!PackFileTrain(args[0], args[1], header, packed, error)) {
        std::cerr << "olvetool: " << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace olve
