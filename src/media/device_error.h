#pragma once
#include <stdexcept>
#include <string>

#include "files/failure.h"

namespace olve {

// A media device error: the device's own text, or one of the texts below. UTF-8.
class EMCIDeviceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* NoDeviceText = "MCI デバイスがありません";
inline constexpr const char* UnknownErrorText = "原因不明のエラー";

// Opening gave up on a file that did not answer in time (a network share that hangs).
inline std::string NoAnswerText(int timeoutMs)
{
    const std::string seconds = std::to_string((timeoutMs + 999) / 1000);
    return BilingualText({TFailureKind::NoAnswer, "ファイルが " + seconds + " 秒以内に応答しませんでした",
                          "the file did not answer within " + seconds + " s"});
}

}  // namespace olve
