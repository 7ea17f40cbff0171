#pragma once
#include <string>
#include <vector>

#include "codec/data_file.h"

namespace olve {

// A title opened before: its package (a local path, UTF-8) and its name.
struct TRecentTitle {
    std::string Package;
    std::string Name;

    bool operator==(const TRecentTitle&) const = default;
};

// The titles opened last, newest first, kept in the settings file's "Recent" section.
class TRecentTitles {
public:
    static constexpr int Most = 20;

    void Read(const TDataFile& file);
    void Write(TDataFile& file) const;

    // Puts the package first, once.
    void Add(const std::string& package, const std::string& name);
    void Remove(const std::string& package);
    const std::vector<TRecentTitle>& Items() const { return FItems; }

private:
    std::vector<TRecentTitle> FItems;
};

// The folder the Open dialog starts in: the folder of the file chosen there last, kept in the
// "Recent" section, while it is still a folder; else home.
std::string ReadOpenFolder(const TDataFile& file, const std::string& home);
// Keeps the folder of a file chosen in the Open dialog (an absolute path). A name that would
// break the settings file's lines is not kept.
void WriteOpenFolder(TDataFile& file, const std::string& chosenFile);

}  // namespace olve
