#pragma once
#include <string>

namespace olve {

// Why opening a title or material ended without a title: the text the user reads, in
// Japanese and English, and the file it is about. An empty text means there is nothing to
// tell: the learner cancelled, or the program is closing.
struct TOpeningFailure {
    std::string Text;
    std::string Subject;

    bool Told() const { return !Text.empty(); }
};

}  // namespace olve
