#include "picture/picture_geometry.h"

#include <cmath>

namespace olve {

TRect FitRect(std::int32_t w, std::int32_t h, std::int32_t cw, std::int32_t ch)
{
    if (w <= 0 || h <= 0 || cw <= 0 || ch <= 0)
        return {};
    // Scale by the width unless that makes the picture taller than the area. Integer
    // arithmetic, so a picture with the area's proportions fills it to the last pixel.
    const std::int64_t W = w, H = h, CW = cw, CH = ch;
    std::int64_t dw = CW, dh = H * CW / W;
    if (CH * W < H * CW) {
        dh = CH;
        dw = W * CH / H;
    }
    const auto x0 = static_cast<std::int32_t>((CW - dw) / 2);
    const auto y0 = static_cast<std::int32_t>((CH - dh) / 2);
    return {x0, y0, x0 + static_cast<std::int32_t>(dw), y0 + static_cast<std::int32_t>(dh)};
}

namespace {

std::int32_t Truncated(double value)
{
    return static_cast<std::int32_t>(std::trunc(value));
}

}  // namespace

TPoint PictureToDisplay(TPoint point, const TRect& source, const TRect& dest)
{
    if (source.Width() == 0)
        return point;
    const double s = static_cast<double>(dest.Width()) / source.Width();
    return {Truncated(s * (point.x - source.Left) + 0.5) + dest.Left,
            Truncated(s * (point.y - source.Top) + 0.5) + dest.Top};
}

TPoint DisplayToPicture(TPoint point, const TRect& source, const TRect& dest)
{
    if (source.Width() == 0 || dest.Width() == 0)
        return point;
    const double s = static_cast<double>(dest.Width()) / source.Width();
    return {Truncated((point.x - dest.Left) / s + 0.5) + source.Left,
            Truncated((point.y - dest.Top) / s + 0.5) + source.Top};
}

}  // namespace olve
