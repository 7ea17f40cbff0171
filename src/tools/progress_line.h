#pragma once
#include <chrono>
#include <cstddef>
#include <iostream>
#include <string>

namespace olve {

// Aligning or syncing a long recording takes a while: after the first seconds, how far it
// got, now and then, on standard error ("olvetool: aligning: 40%").
class TProgressLine {
public:
    explicit TProgressLine(std::string doing) : FDoing(std::move(doing)) {}

    void operator()(std::size_t done, std::size_t total)
    {
        const auto now = std::chrono::steady_clock::now();
        if (total == 0 || now - FStart < QuietTime || (now - FLast < Interval && done < total))
            return;
        FLast = now;
        std::cerr << "olvetool: " << FDoing << ": " << done * 100 / total << "%\n";
    }

    void Step(const std::string& text) const
    {
        if (std::chrono::steady_clock::now() - FStart >= QuietTime)
            std::cerr << "olvetool: " << text << "\n";
    }

private:
    static constexpr std::chrono::seconds QuietTime{2};
    static constexpr std::chrono::seconds Interval{1};
    std::string FDoing;
    std::chrono::steady_clock::time_point FStart = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point FLast{};
};

}  // namespace olve
