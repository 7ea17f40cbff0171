#include "app/folder_refusal.h"

namespace olve {

std::string FolderRefusalMessage(const std::string& folder)
{
    return "このソフトは、フォルダ < " + folder + " > 上では動作しません\r\n\r\nインストールフォルダを変更してください";
}

}  // namespace olve
