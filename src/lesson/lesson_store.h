#pragma once
#include <optional>
#include <string>

#include "title/display_mode.h"
#include "title/recent_titles.h"
#include "title/screen_fit.h"
#include "title/title_progress.h"

namespace olve {

// What a display mode's section keeps of the window: each value only when it was stored as a
// number.
struct TModeLayout {
    std::optional<int> Left;
    std::optional<int> Top;
    std::optional<int> Width;
    std::optional<int> Height;
    std::optional<int> SubHeight;

    bool operator==(const TModeLayout&) const = default;
};

// The learner's own data that outlives a sitting: progress per title, the player's volume,
// the recent titles and the Open dialog's folder, the window per display mode, and the folder
// their own titles go to. Reading never fails: what cannot be read is the default.
class TLessonStore {
public:
    virtual ~TLessonStore() = default;

    virtual TTitleProgress Progress(const std::string& serial) const = 0;
    // 0 to 65535; fallback when none was kept.
    virtual int Volume(int fallback) const = 0;
    // The volume, and the progress of the open title when there is one (serial not empty).
    virtual void SaveSitting(int volume, const std::string& serial, const TTitleProgress& progress) = 0;

    virtual TRecentTitles Recent() const = 0;
    virtual void SaveRecent(const TRecentTitles& recent) = 0;
    // The folder the Open dialog starts in; home when none is kept or it is gone.
    virtual std::string OpenFolder(const std::string& home) const = 0;
    virtual void SaveOpenFolder(const std::string& chosenFile) = 0;

    virtual TModeLayout Layout(TDisplayMode mode) const = 0;
    // The sub view's height always; the bounds only when given (a maximized window keeps the
    // bounds it had before).
    virtual void SaveLayout(TDisplayMode mode, int subHeight, const std::optional<TBox>& bounds) = 0;

    virtual std::string DataFolder() const = 0;
};

}  // namespace olve
