#pragma once
#include <string>
#include <vector>

#include "files/failure.h"

namespace olve {

// What a set of files given together (dropped, chosen in the Open dialog, named by a start)
// opens: one title package, or material to make a title of, or nothing the player reads.
struct TOpeningChoice {
    enum class TWhat { Nothing, Package, Material, Series, Unsupported };
    TWhat What = TWhat::Nothing;
    std::string Package;
    // The files as given: the title maker picks what it needs among them.
    std::vector<std::string> Material;
    // A folder given opens its recordings as a series.
    std::string Folder;
    // The extension with its dot ("." alone is never given; empty without one) of the first
    // file, for telling the user what cannot be opened.
    std::string Extension;
};

// One package among the files opens it, whatever else is there; without any package, the
// first folder among them opens as a series; else a recording or subtitles among them make
// material; anything else is unsupported.
TOpeningChoice ChooseOpening(const std::vector<std::string>& paths);

// Why files of the extension (with its dot, or empty) open nothing.
TFailure UnsupportedFiles(const std::string& extension);

// Whether a single path handed over by another start or a desktop panel is something the
// player opens: a package, a recording, subtitles or a folder.
bool IsOpenableAlone(const std::string& path);

}  // namespace olve
