#pragma once
#include <string>

#include "storage/prompts.h"
#include "title/play_package.h"

// An installed title, found the way the player finds it.
struct TInstalledTitle {
    bool Loaded = false;
    // Local paths; empty when not found.
    std::string TitleFile;
    std::string VcdIni;
    std::string MediaPath;
    // Stored (code page 932) forms.
    std::string Code;
    std::string MediaName;
};

// Installs package into programFolder (a local folder ending in "/") as the player does, then
// opens it as the player does: the first ".qzc" entry, its "VolSerialNum", the "vcd.ini" with
// that code below "vcd", and the first line of that file's "files" section, a path relative
// to the program's folder.
TInstalledTitle InstallAndOpen(const std::string& package, const std::string& programFolder,
                               olve::TPlayPackage& title, olve::TPrompts& prompts);
