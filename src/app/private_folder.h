#pragma once
#include <QString>
#include <string>

namespace olve {

// True when path is a real folder (no symbolic link) of this process's user that no one
// else may enter (no permission bits for group or others).
bool IsPrivateFolder(const QString& path);

// Makes sure path is such a folder, creating it with mode 0700 when it is missing. A folder
// that is there already is checked, never repaired: another user may have used it. Empty
// when it is fine, otherwise the message that says why not.
std::string MakePrivateFolder(const QString& path);

// Empty when nothing is at path or it belongs to this process's user; otherwise the
// message that refuses it.
std::string ForeignFileRefusal(const QString& path);

}  // namespace olve
