#include "lesson/card_sync.h"

#include <memory>

#include "align/recording_file.h"
#include "codec/cp932_text.h"

namespace olve {

std::vector<TSubtitleCue> CardCues(const TPlayCardList& cards)
{
    std::vector<TSubtitleCue> cues;
    for (int i = 0; i < cards.Count(); ++i) {
        const TPlayCardItem& card = cards.Card(i);
        if (card.TimeFormat != otfTrackMilliseconds)
            continue;
        TSubtitleCue cue;
        cue.Number = i + 1;
        cue.StartMs = cards.StartUnits(i);
        cue.EndMs = cards.EndUnits(i);
        cue.Text = Cp932ToUtf8(card.MainText);
        cues.push_back(std::move(cue));
    }
    return cues;
}

std::string CardSyncMessage(const TSubtitleSync& sync)
{
    return "字幕の時刻: " + SyncSummaryJapanese(sync) + "\nSubtitle times: " + SyncSummary(sync);
}

TFailure CardSyncFailure(const std::string& reason)
{
    return {TFailureKind::Failed, "字幕を音声に合わせられませんでした",
            "The subtitles could not be synced to the speech.", reason};
}

TCardSync::TCardSync(QObject* parent) : QObject(parent) {}

TCardSync::~TCardSync()
{
    FCancel = true;
    FWork.Abandon();
}

bool TCardSync::Start(const std::string& recordingPath, std::int64_t lengthMs, std::vector<TSubtitleCue> cues)
{
    if (FWork.Running() || cues.empty())
        return false;
    FCancel = false;
    struct TSearch {
        TSubtitleSync Found;
        std::string Error;
        bool Done = false;
    };
    auto search = std::make_shared<TSearch>();
    auto percent = std::make_shared<std::atomic<int>>(-1);
    const TAlignProgress progress = [this, percent](std::size_t done, std::size_t total) {
        const int now = total > 0 ? int(done * 100 / total) : 0;
        if (percent->exchange(now) != now)
            QMetaObject::invokeMethod(this, [this, now] { Q_EMIT WorkProgress(now); }, Qt::QueuedConnection);
    };
    const bool started = FWork.Start(
        [=, this, cues = std::move(cues)] {
            const TRecordingFile recording(recordingPath, lengthMs);
            search->Done = FindSubtitleSync(recording, cues, search->Found, search->Error, progress, &FCancel);
        },
        [=, this] {
            Q_EMIT WorkEnded();
            if (FCancel)
                return;
            if (search->Done)
                Q_EMIT Found(search->Found);
            else
                Q_EMIT Failed(CardSyncFailure(search->Error));
        });
    if (started)
        Q_EMIT WorkStarted(QStringLiteral("字幕を音声に合わせています…  Syncing the subtitles to the speech…"), true);
    return started;
}

}  // namespace olve
