#pragma once
#include <vector>

namespace olve {

struct TLine {
    double Slope = 1;
    double Intercept = 0;

    double At(double x) const { return Slope * x + Intercept; }
};

struct TLinePoint {
    double X = 0;
    double Y = 0;
};

// The least-squares line through the points that agree with it, found again and again from
// `start`: points further from the line than three robust deviations (and than `least`) are
// left out, so that a few wild points do not pull it. The slope moves by no more than
// `maxSlopeChange` (a share of the start's), and not at all when the kept points span less than
// `minSpan` in x: then only the intercept moves.
TLine FitRobustLine(const std::vector<TLinePoint>& points, TLine start, double least, double minSpan,
                    double maxSlopeChange);

}  // namespace olve
