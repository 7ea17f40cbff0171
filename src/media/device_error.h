#pragma once
#include <stdexcept>
#include <string>

namespace olve {

// A media device error: the device's own text, or one of the texts below. UTF-8.
class EMCIDeviceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* NoDeviceText = "MCI デバイスがありません";
inline constexpr const char* UnknownErrorText = "原因不明のエラー";

}  // namespace olve
