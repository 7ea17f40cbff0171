#pragma once
#include <string>
#include <vector>

namespace olve {

// What a process of this program leaves on disk while it runs names the process, so that a
// later start can tell what one that was killed left behind, and remove it only when it is
// provably that process's: owned by this user, no link on the way, and its process gone.

// True while a process with this id exists.
bool ProcessRunning(long pid);

// Marks folder, made by this process, as its own (a file ".owner" holding its id).
bool MarkFolderOwned(const std::string& folder);

// Removes each folder directly below parent whose name begins with prefix, that is a folder
// (not a link to one) owned by this user, whose ".owner" is a regular file naming a process
// that no longer runs. Returns the folders removed.
std::vector<std::string> RemoveAbandonedFolders(const std::string& parent, const std::string& prefix);

// The files that installing packages put below a folder, listed in it while the player runs
// (".installed.<process id>") with the size and time each had when written.
class TInstalledList {
public:
    explicit TInstalledList(std::string folder);
    TInstalledList(const TInstalledList&) = delete;
    TInstalledList& operator=(const TInstalledList&) = delete;

    // Lists files (paths below the folder) as they are now, in place of the list before; an
    // empty list is no file at all.
    void Write(const std::vector<std::string>& files);

private:
    std::string FFolder;
    std::string FPath;
};

// Removes what the lists of processes that no longer run name below folder, each only when
// it is still the regular file that was written (same size and time) and no link lies on its
// way from folder; then the folders left empty and the lists. Returns the files removed.
std::vector<std::string> RemoveAbandonedInstallations(const std::string& folder);

}  // namespace olve
