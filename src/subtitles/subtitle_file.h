#pragma once
#include <string>

#include "subtitles/subtitle_cue.h"

namespace olve {

enum class TSubtitleFormat { SubRip, WebVtt, Lrc };

// The format of a subtitle file: by its extension (".srt", ".vtt", ".lrc", any letter case),
// otherwise by its text (UTF-8): "WEBVTT" at the start, or a first line that begins with an
// LRC time or tag; SubRip else.
TSubtitleFormat SubtitleFormatOf(const std::string& path, const std::string& text);

TSubtitleFile ReadSubtitleText(const std::string& text, TSubtitleFormat format);

// Reads a subtitle file in UTF-8 (with or without a byte-order mark), UTF-16, code page 932
// or Windows-1252 (see DecodeSubtitleBytes). False with a reason (English) when the file
// cannot be read, is empty, or holds no cue that can be read; an encoding that was guessed
// gets a note. Past a few notes the rest are counted in one.
bool ReadSubtitleFile(const std::string& path, TSubtitleFile& file, std::string& error);

}  // namespace olve
