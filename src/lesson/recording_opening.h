#pragma once
#include <optional>
#include <string>

#include "files/failure.h"

namespace olve {

class TOlveMediaPlayer;

// Opens the recording at path (UTF-8) in player; why not, when it did not open: the path,
// the player's own reason where it gave one, and for Windows Media files the hint that a
// newer player may read them.
std::optional<TFailure> OpenRecording(TOlveMediaPlayer& player, const std::string& path);

}  // namespace olve
