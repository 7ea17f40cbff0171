#pragma once

namespace olve {

// Titles and settings name Windows font faces. They stay the names everywhere; this makes
// them render with faces installed here (Noto Sans CJK for the Japanese ones, a serif and
// a rounded comic face for the Latin ones). Safe to call more than once.
void RegisterFontSubstitutions();

}  // namespace olve
