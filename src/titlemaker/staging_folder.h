#pragma once
#include <string>

namespace olve {

// A fresh folder below the system's temporary folder in which a package's files are laid
// out before packing; removed with its contents when it goes. The files lie one folder down,
// so that the mark naming this process (for removal after a kill) is never packed with them.
class TStagingFolder {
public:
    TStagingFolder() = default;
    ~TStagingFolder();
    TStagingFolder(const TStagingFolder&) = delete;
    TStagingFolder& operator=(const TStagingFolder&) = delete;

    // False with a reason when no folder can be made.
    bool Create(std::string& error);
    // Without a final "/".
    const std::string& Path() const { return FPath; }

private:
    std::string FRoot;
    std::string FPath;
};

// Puts the file source at target (a path below a staging folder), making target's folders:
// a symbolic link, so a large recording is not copied, or a copy where no link can be made.
bool StageFile(const std::string& source, const std::string& target, std::string& error);

}  // namespace olve
