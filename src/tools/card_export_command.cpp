#include "tools/card_export_command.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "media/ogg_clip.h"
#include "storage/letter_case_path.h"
#include "storage/train_extract.h"
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
        if (mkdtemp(pattern.data()))
            FPath = pattern;
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

// The picture where the player looks for it: below the title's "pic" folder, or the title's.
std::string FoundPicture(const TTitleSession& session, const std::string& picture)
{
    for (const std::string& place : {session.TitleFolder + "pic/" + picture, session.TitleFolder + picture}) {
        const std::string found = ExistingPathIgnoringCase(place);
        if (!found.empty() && fs::is_regular_file(found))
            return found;
    }
    return {};
}

class TCardExport {
public:
    TCardExport(const TTitleSession& session, const fs::path& folder) : FSession(session), FFolder(folder) {}

    // Every card's clip and picture; the count of what failed, each said on standard error.
    int Write(const std::vector<TExportedCard>& cards)
    {
        int failed = 0;
        for (const TExportedCard& card : cards) {
            std::string error;
            if (!WriteOggClip(FSession.MediaPath, card.FromMs, card.ToMs, (FFolder / card.Clip).string(), error)) {
                std::cerr << "olvetool: " << card.Clip << ": " << error << "\n";
                ++failed;
            }
            if (!card.Picture.empty() && !CopyPicture(card.Picture))
                ++failed;
        }
        return failed;
    }

    int Pictures() const { return FPictures; }

private:
    bool CopyPicture(const std::string& picture)
    {
        const std::string found = FoundPicture(FSession, picture);
        std::error_code error;
        if (found.empty()) {
            std::cerr << "olvetool: the picture " << picture << " is not in the package\n";
            return false;
        }
        fs::copy_file(found, FFolder / fs::path(picture).filename(), fs::copy_options::overwrite_existing, error);
        if (error) {
            std::cerr << "olvetool: cannot copy the picture " << picture << ": " << error.message() << "\n";
            return false;
        }
        ++FPictures;
        return true;
    }

    const TTitleSession& FSession;
    fs::path FFolder;
    int FPictures = 0;
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
    TExtractUi ui;
    ui.Prompts = &prompts;
    TStringList installed;
    if (scratch.Path().empty() || !ExtractFileTrain(ui, package, scratch.Path(), installed, 1, true)) {
        std::cerr << "olvetool: cannot read the package " << package << "\n";
        return 1;
    }
    const TTitleSession session = OpenInstalledTitle(scratch.Path(), installed, package, prompts);
    if (!session.Opened()) {
        std::cerr << "olvetool: " << session.Reason << "\n";
        return 1;
    }
    std::error_code error;
    fs::create_directories(folder, error);
    const std::vector<TExportedCard> cards = ExportedCards(session.Package->MainCards, session.TitleName);
    TCardExport exporting(session, folder);
    const int failed = exporting.Write(cards);
    std::ofstream tsv(folder / "cards.tsv", std::ios::binary);
    if (!(tsv << CardsTsv(cards)) || !tsv.flush()) {
        std::cerr << "olvetool: cannot write " << (folder / "cards.tsv").string() << "\n";
        return 1;
    }
    std::cout << "cards: " << cards.size() << " (" << exporting.Pictures() << " pictures)\n"
              << "file: " << (folder / "cards.tsv").string() << "\n";
    return failed > 0 ? 1 : 0;
}

}  // namespace olve
