#include "files/failure.h"

namespace olve {

namespace {

constexpr const char* Gap = "\r\n\r\n";

}  // namespace

std::string BilingualText(const TFailure& failure)
{
    // Some texts the user has always seen in Japanese alone; they keep their one line.
    std::string text = failure.English.empty() ? failure.Japanese : failure.Japanese + Gap + failure.English;
    if (failure.Subject.empty())
        return text;
    switch (failure.Place) {
    case TSubjectPlace::Above:
        return failure.Subject + Gap + text;
    case TSubjectPlace::AngledBelow:
        return text + Gap + "< " + failure.Subject + " >";
    case TSubjectPlace::Below:
        break;
    }
    return text + Gap + failure.Subject;
}

std::string BilingualText(const TFailure& failure, const TFailure& then)
{
    return BilingualText(failure) + Gap + BilingualText(then);
}

}  // namespace olve
