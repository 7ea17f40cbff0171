#pragma once
#include <string>
#include <unordered_set>
#include <vector>

#include "filetrain/train_extract.h"

namespace olve {

// The files that installing packages put into the player's folder: the player removes them
// when the next package replaces them and when it closes. Paths are compared ignoring ASCII
// letter case, in time that grows with their number alone.
class TInstalledFiles {
public:
    // Takes in one installation: written, every file it wrote; outcome, what else happened.
    // A written file that was there before, and that no earlier installation put there, is
    // the user's or another title's: it is never counted. Returns the files of earlier
    // installations that this one did not write again, to be removed now; none when a file
    // could not be written, so that nothing is lost because an installation failed.
    std::vector<std::string> Add(const std::vector<std::string>& written, const TExtractOutcome& outcome);

    // Every file installed, to be removed on close.
    const std::vector<std::string>& Files() const { return FFiles; }

private:
    std::vector<std::string> FFiles;
    std::unordered_set<std::string> FFolded;
};

}  // namespace olve
