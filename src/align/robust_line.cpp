#include "align/robust_line.h"

#include <algorithm>
#include <cmath>

namespace olve {

namespace {

constexpr int Rounds = 5;
// A median absolute deviation this many times over is a standard deviation of normal noise.
constexpr double MadScale = 1.4826;

double Median(std::vector<double> values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

std::vector<TLinePoint> Agreeing(const std::vector<TLinePoint>& points, const TLine& line, double least)
{
    std::vector<double> residuals;
    for (const TLinePoint& point : points)
        residuals.push_back(point.Y - line.At(point.X));
    const double centre = Median(residuals);
    std::vector<double> deviations;
    for (double residual : residuals)
        deviations.push_back(std::abs(residual - centre));
    const double limit = std::max(least, 3 * MadScale * Median(deviations));
    std::vector<TLinePoint> kept;
    for (std::size_t k = 0; k < points.size(); ++k)
        if (std::abs(residuals[k] - centre) <= limit)
            kept.push_back(points[k]);
    return kept;
}

TLine LeastSquares(const std::vector<TLinePoint>& points, const TLine& start, double minSpan, double maxSlopeChange)
{
    double meanX = 0, meanY = 0, lowX = points.front().X, highX = lowX;
    for (const TLinePoint& point : points) {
        meanX += point.X;
        meanY += point.Y;
        lowX = std::min(lowX, point.X);
        highX = std::max(highX, point.X);
    }
    meanX /= double(points.size());
    meanY /= double(points.size());
    double sxx = 0, sxy = 0;
    for (const TLinePoint& point : points) {
        sxx += (point.X - meanX) * (point.X - meanX);
        sxy += (point.X - meanX) * (point.Y - meanY);
    }
    const double reach = maxSlopeChange * std::abs(start.Slope);
    const double slope =
        highX - lowX >= minSpan && sxx > 0 ? std::clamp(sxy / sxx, start.Slope - reach, start.Slope + reach) : start.Slope;
    return {slope, meanY - slope * meanX};
}

}  // namespace

TLine FitRobustLine(const std::vector<TLinePoint>& points, TLine start, double least, double minSpan,
                    double maxSlopeChange)
{
    TLine line = start;
    for (int round = 0; round < Rounds && !points.empty(); ++round) {
        const std::vector<TLinePoint> agreeing = Agreeing(points, line, least);
        if (agreeing.empty())
            break;
        line = LeastSquares(agreeing, start, minSpan, maxSlopeChange);
    }
    return line;
}

}  // namespace olve
