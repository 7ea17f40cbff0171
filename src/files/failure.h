#pragma once
#include <string>
#include <utility>

namespace olve {

// What went wrong, as far as the user needs to know.
enum class TFailureKind {
    Missing,     // a file or folder that should be there is not
    Damaged,     // there, but not what it should be
    Refused,     // there, but not used (not a regular file, not private, unsafe)
    Unwritable,  // writing it failed
    NoAnswer,    // a file, device or program that did not answer in time
    Cancelled,   // the user stopped it
    Failed,      // any other failure, with the system's reason in the texts
};

// Where the subject stands in the text shown to the user.
enum class TSubjectPlace {
    Below,        // on its own after the two lines
    AngledBelow,  // the same, as "< subject >"
    Above,        // before the two lines
};

// A failure that a lower layer returns instead of telling the user: the reason in Japanese and
// in English, and what it is about (a path, usually; may be empty). Texts are UTF-8.
struct TFailure {
    TFailure() = default;
    TFailure(TFailureKind kind, std::string japanese, std::string english, std::string subject = {},
             TSubjectPlace place = TSubjectPlace::Below)
        : Kind(kind), Japanese(std::move(japanese)), English(std::move(english)), Subject(std::move(subject)), Place(place)
    {
    }

    TFailureKind Kind = TFailureKind::Failed;
    std::string Japanese;
    std::string English;
    std::string Subject;
    TSubjectPlace Place = TSubjectPlace::Below;

    bool operator==(const TFailure&) const = default;
};

// The text shown to the user: the Japanese line, the English line and the subject, each part
// apart from the next by an empty line ("\r\n\r\n"). A failure without an English line
// shows its Japanese line alone.
std::string BilingualText(const TFailure& failure);

// Another failure, or what follows from one, shown after it.
std::string BilingualText(const TFailure& failure, const TFailure& then);

}  // namespace olve
