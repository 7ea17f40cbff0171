#pragma once
#include <map>
#include <string>

namespace olve {

// Titles come from file systems that ignore letter case, so their packages and stored paths
// may spell one file or folder in several ways ("VCD\K100\Tone.WAV" for "vcd/K100/tone.wav").
// Here each part of a path that does not exist as written is matched to an entry of its
// folder whose name differs only in ASCII letter case; of several, the first in name order.

// The existing path that path names ignoring letter case (local, "/"), or empty when there
// is none. A path that exists as written is returned as it is.
std::string ExistingPathIgnoringCase(const std::string& path);

// The names an installation gives the files it writes below one folder: a part that exists
// ignoring letter case takes the existing name, and a new part keeps the spelling it was
// first given, so that later entries that differ only in letter case end up in the same
// file or folder, as they would on a file system that ignores letter case.
class TLetterCaseNames {
public:
    // root: the folder everything is written below (local, without a final "/").
    explicit TLetterCaseNames(std::string root);

    // relative: "/"-separated parts below root. The same path with each part as it is (or
    // will be) named.
    std::string Resolve(const std::string& relative);

private:
    // Folded name -> name, of the entries of a folder given relative to root.
    std::map<std::string, std::string>& Names(const std::string& folder);

    std::string FRoot;
    std::map<std::string, std::map<std::string, std::string>> FFolders;
};

}  // namespace olve
