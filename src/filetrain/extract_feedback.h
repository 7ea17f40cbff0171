#pragma once
#include <string>

namespace olve {

// What installing a file train shows while it works. The player shows the busy cursor and a
// progress window for large files; tools and tests pass nothing or record the calls.
class TExtractFeedback {
public:
    virtual ~TExtractFeedback() = default;
    // Around the whole installation.
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
    // Between entries: lets the user interface handle what is pending.
    virtual void ProcessMessages() = 0;
    // Around the copy of one large file: the bar has `maximum` steps, and each copied chunk
    // advances it by one and lets the user interface handle what is pending.
    virtual void ShowProgress(const std::string& caption, int maximum) = 0;
    virtual void StepProgress() = 0;
    virtual void HideProgress() = 0;
    // True once the installation is to end early (the program is ending): it stops before
    // the next entry or chunk. Asked on the installing thread, which may not be the one that
    // ends it.
    virtual bool Cancelled() const { return false; }
};

}  // namespace olve
