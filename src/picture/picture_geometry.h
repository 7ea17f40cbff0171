#pragma once
#include "picture/shape_types.h"

namespace olve {

// Where a w × h picture is drawn when it is scaled, up or down, to fit a cw × ch area and
// centred in it. Empty sizes give an empty rectangle.
TRect FitRect(std::int32_t w, std::int32_t h, std::int32_t cw, std::int32_t ch);

// Between picture pixels and display pixels, for a picture part source drawn into dest.
// Both axes use the horizontal scale; a source of zero width leaves points unchanged.
TPoint PictureToDisplay(TPoint point, const TRect& source, const TRect& dest);
TPoint DisplayToPicture(TPoint point, const TRect& source, const TRect& dest);

}  // namespace olve
