#pragma once
#include <QIcon>
#include <QPixmap>

namespace olve {

// The tool bar's pictures, drawn for this program: clean vector shapes in the bar's own
// colours, so they stay sharp at any screen scale.
enum class TGlyph { Top, Back, Here, List, Next, Stop, Pause, AutoPauseOff, AutoPauseOn, Speaker, Help, Open };

QIcon GlyphIcon(TGlyph glyph);
QPixmap GlyphPixmap(TGlyph glyph, int size);

}  // namespace olve
