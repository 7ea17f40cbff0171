#include "lesson/recording_opening.h"

#include <QFileInfo>

#include "media/device_error.h"
#include "media/media_player.h"

namespace olve {

namespace {

constexpr const char* Gap = "\r\n\r\n";

}  // namespace

std::optional<TFailure> OpenRecording(TOlveMediaPlayer& player, const std::string& path)
{
    player.FileName = QString::fromStdString(path);
    std::string reason;
    try {
        player.Open();
    } catch (const EMCIDeviceError& e) {
        reason = e.what();
    }
    if (player.DeviceID() != 0)
        return std::nullopt;
    // The subject is the path with what is known of why, each on a paragraph of its own.
    std::string subject = path;
    if (!reason.empty())
        subject += Gap + reason;
    if (QFileInfo(player.FileName).suffix().compare("wmv", Qt::CaseInsensitive) == 0)
        subject += std::string(Gap) + "マイクロソフトのメディアプレーヤー最新版をインストールすると解決する場合があります" + Gap;
    return TFailure(TFailureKind::Failed, "ファイルが開けません", "file can not open", subject);
}

}  // namespace olve
