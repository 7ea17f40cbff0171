#include "align/align_progress.h"

#include <algorithm>

namespace olve {

namespace {

// Reading the sound costs about this share of the whole (thousandths): decoding it once, against
// decoding it again and having the recognizer hear it; an hour of MP3 is read in about 5 s and
// aligned in about 60 s more.
constexpr std::size_t ReadShare = 80;

std::size_t Share(std::size_t part, std::size_t whole, std::size_t share)
{
    return whole == 0 ? 0 : static_cast<std::size_t>(double(std::min(part, whole)) / double(whole) * double(share));
}

}  // namespace

TAlignProgressShare::TAlignProgressShare(const TAlignProgress& progress) : FProgress(progress)
{
}

void TAlignProgressShare::Read(std::size_t samples, std::size_t expected)
{
    Tell(Share(samples, expected, ReadShare));
}

void TAlignProgressShare::Aligned(std::size_t end, std::size_t count)
{
    Tell(ReadShare + Share(end, count, Whole - ReadShare));
}

void TAlignProgressShare::Tell(std::size_t done)
{
    if (!FProgress || (FStarted && done <= FTold))
        return;
    FStarted = true;
    FTold = done;
    FProgress(done, Whole);
}

}  // namespace olve
