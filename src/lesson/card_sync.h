#pragma once
#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "align/subtitle_sync.h"
#include "files/failure.h"
#include "lesson/background_work.h"
#include "title/play_card_list.h"

namespace olve {

// The cards counted in milliseconds as cues where they lie now, for finding how they lie
// over the recording's speech; each cue's Number is its card's index plus one.
std::vector<TSubtitleCue> CardCues(const TPlayCardList& cards);

// What the learner reads of a sync found for the cards: what was found, in Japanese and in
// English, one line each.
std::string CardSyncMessage(const TSubtitleSync& sync);
// What the learner reads of a search that failed for reason (English).
TFailure CardSyncFailure(const std::string& reason);

// Finds, on a thread of its own, how the open title's cards lie over its recording's speech.
// One search at a time; it ends with WorkEnded on the thread that started it, then Found or
// Failed unless it was cancelled.
class TCardSync : public QObject {
    Q_OBJECT
public:
    explicit TCardSync(QObject* parent = nullptr);
    // A search still running is stopped and waited for, without its end told.
    ~TCardSync() override;

    // False, doing nothing, while a search runs or without cues.
    bool Start(const std::string& recordingPath, std::int64_t lengthMs, std::vector<TSubtitleCue> cues);
    bool Running() const { return FWork.Running(); }
    // Stops the search as soon as it can; it then ends as failed.
    void Cancel() { FCancel = true; }

Q_SIGNALS:
    // Long work began: text says what it is (Japanese and English); it can be cancelled.
    void WorkStarted(const QString& text, bool cancellable);
    void WorkProgress(int percent);
    void WorkEnded();
    void Found(const olve::TSubtitleSync& sync);
    // reason: English, from the search.
    void Failed(const olve::TFailure& failure);

private:
    TBackgroundWork FWork;
    std::atomic<bool> FCancel = false;
};

}  // namespace olve
