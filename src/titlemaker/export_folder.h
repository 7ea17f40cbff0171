#pragma once
#include <string>
#include <vector>

namespace olve {

// The folder a learner exports cards into. It holds their own files too (an earlier export's
// cards.tsv and clips, or anything else), so nothing in it is ever replaced: every file this
// writes gets a name no file there has yet, and cards.tsv only grows.
class TExportFolder {
public:
    // Made when it does not exist yet. The temporaries of an export that was killed on its
    // way (its process no longer runs) are removed.
    explicit TExportFolder(std::string folder);

    const std::string& Path() const { return FFolder; }

    // A new empty file of ours in the folder, to be written and then published; empty (with
    // the reason) when the folder does not take one.
    std::string NewTemporary(std::string& error) const;

    // Gives the written temporary the name "<stem><ext>", or "<stem>-2<ext>", "<stem>-3<ext>"...
    // when that name is taken, and returns the name given (without the folder). Empty, with
    // the reason, when none could be given; the temporary is then removed.
    std::string Publish(const std::string& temporary, const std::string& stem, const std::string& ext,
                        std::string& error) const;

    // A copy of the file at path, published as Publish does; empty, with the reason, when
    // it could not be made.
    std::string CopyIn(const std::string& path, const std::string& stem, const std::string& ext,
                       std::string& error) const;

    // Appends text to the folder's cards.tsv, made when missing. A cards.tsv that is not a
    // regular file of its own (a link, a pipe, a device) is refused.
    bool AppendToCardsTsv(const std::string& text, std::string& error) const;

    std::string CardsTsvPath() const { return FFolder + "/cards.tsv"; }

private:
    std::string FFolder;
};

}  // namespace olve
