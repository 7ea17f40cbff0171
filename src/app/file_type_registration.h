#pragma once
#include <string>

#include "lesson/user_data_folder.h"

namespace olve {

// The desktop's file-type registry is the freedesktop one: a shared-mime-info package that
// names the type of "*.<ext>" files, and a desktop entry that opens that type with the
// program, both below the user's data folder; then the desktop's caches are rebuilt with
// update-mime-database and update-desktop-database where they are installed.

// The MIME type registered for an extension: "application/x-olve-title-package" for ".qzw",
// "application/x-olve-" and the extension's name for others.
std::string MimeTypeOfExtension(const std::string& extension);

// Registers ExePath (made absolute) as the opener of files with the extension (with its dot,
// letters and digits only) in UserDataFolder(). Registering again replaces the old entries.
// False when anything fails; everything is then as it was before.
bool RegisterFileType(const std::string& exePath, const std::string& extension);
bool RegisterFileType(const std::string& exePath, const std::string& extension, const std::string& dataFolder);

}  // namespace olve
