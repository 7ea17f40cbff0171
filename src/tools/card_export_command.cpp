#include "tools/card_export_command.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "files/abandoned_files.h"
#include "filetrain/train_extract.h"
#include "title/title_session.h"
#include "titlemaker/card_export.h"
#include "tools/stderr_prompts.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

// A folder of its own in the temporary folder, removed with this object.
class TScratchFolder {
public:
    TScratchFolder()
    {
        std::error_code ignored;
        std::string pattern = (fs::temp_directory_path(ignored) / "olvetool-XXXXXX").string();
        if (mkdtemp(pattern.data())) {
            FPath = pattern;
            MarkFolderOwned(FPath);
        }
    }
    ~TScratchFolder()
    {
        std::error_code ignored;
        if (!FPath.empty())
            fs::remove_all(FPath, ignored);
    }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

}  // namespace

int RunCardExportCommand(const std::vector<std::string>& args)
{
    if (args.size() != 2) {
        std::cerr << "usage: olvetool title export-cards PKG DIR\n";
        return 2;
    }
    const std::string& package = args[0];
    const fs::path folder = args[1];
    TStderrPrompts prompts;
    TScratchFolder scratch;
    TStringList installed;
    TExtractOutcome outcome;
    const bool extracted = !scratch.Path().empty() && ExtractFileTrain({}, package, scratch.Path(), installed, 1, true, &outcome);
    for (const TFailure& problem : outcome.Problems)
        prompts.Message(BilingualText(problem));
    if (!extracted) {
        std::cerr << "olvetool: cannot read the package " << package << "\n";
        return 1;
    }
    const auto consent = [&prompts](const TTimeFormatChange& change) { return prompts.Question(QuestionText(change)); };
    const TTitleSession session = OpenInstalledTitle(scratch.Path(), installed, package, consent);
    if (!session.Opened()) {
        std::cerr << "olvetool: " << session.Reason << "\n";
        return 1;
    }
    std::vector<TExportedCard> cards = ExportedCards(session.Package->MainCards, session.TitleName);
    TCardExport exporting({session.MediaPath, session.TitleFolder}, folder.string());
    for (TExportedCard& card : cards)
        exporting.Write(card);
    for (const std::string& note : exporting.Notes())
        std::cerr << "olvetool: note: " << note << "\n";
    for (const std::string& problem : exporting.Problems())
        std::cerr << "olvetool: " << problem << "\n";
    std::string error;
    if (!exporting.AppendTsv(cards, error)) {
        std::cerr << "olvetool: cannot write " << error << "\n";
        return 1;
    }
    const auto written =
        std::count_if(cards.begin(), cards.end(), [](const TExportedCard& c) { return !c.Clip.empty(); });
    std::cout << "cards: " << written << " (" << exporting.Pictures() << " pictures)\n"
              << "file: " << exporting.Folder().CardsTsvPath() << "\n";
    return exporting.Problems().empty() ? 0 : 1;
}

}  // namespace olve
