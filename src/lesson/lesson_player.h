#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "files/failure.h"
#include "lesson/card_sync.h"
#include "media/media_player.h"
#include "timing/playback_speed.h"
#include "title/card_adjustment.h"
#include "title/card_timeline.h"
#include "title/play_package.h"
#include "title/practice_run.h"
#include "title/title_progress.h"

namespace olve {

// The open lesson: the title's cards and their timeline, the current card, the learner's
// practice, speed and automatic pause, and the media player that plays them. Commands come
// from keys, buttons and desktop panels alike; what changes is told through the signals, and
// whoever shows the lesson draws it from there.
class TLessonPlayer : public QObject {
    Q_OBJECT
public:
    explicit TLessonPlayer(QObject* parent = nullptr);
    ~TLessonPlayer() override;

    TOlveMediaPlayer& Player() { return *FPlayer; }
    const TOlveMediaPlayer& Player() const { return *FPlayer; }
    // Follows package's cards (not owned; it outlives the lesson or is opened anew) from the
    // start: nothing heard yet, no card current, no play awaited, no loop.
    void Open(TPlayPackage& package);
    // A recording is open and the title has cards.
    bool CanPlay() const;
    // The open title's cards; none before a title opens.
    int CardCount() const { return FPackage ? FPackage->MainCards.Count() : 0; }
    // The open title's cards in the player's units, brought up to date with the cards.
    const TCardTimeline& Timeline();
    // The package the lesson follows; null before the first Open.
    const TPlayPackage* Package() const { return FPackage; }

    int CurrentCard() const { return FCurrentCard; }
    // The card chosen outside a play (a row of the card list).
    void SetCurrentCard(int card) { FCurrentCard = card; }
    bool AutoPause() const { return FAutoPause; }
    const TPracticeSettings& Practice() const { return FPractice; }
    const TPracticeRun& Run() const { return FPracticeRun; }
    // Whether card's text in language shows now, as the practice reveals it.
    bool Shows(TTextLanguage language, int card) const
    {
        const TReveal reveal = language == TTextLanguage::English ? FPractice.English : FPractice.Japanese;
        return FPracticeRun.Shows(reveal, language, card);
    }
    int SpeedTenths() const { return FSpeedTenths; }
    // The position last shown: by the running play, a seek or the opening.
    std::int64_t ShownPosition() const { return FShownPosition; }
    // The card a shadowing pause waits to play; -1 when none waits.
    int WaitingCard() const { return FShadow.isActive() ? FWaitingCard : -1; }

    // Where the learner is and how they practise, to be kept for the title: the last card,
    // speed, practice without the loop (it belongs to one sitting's cards) and automatic
    // pause. The font sizes are not the lesson's and stay 0.
    TTitleProgress SavedProgress() const;
    // Takes up the speed, practice and automatic pause kept for the title; a loop kept by
    // anyone is not taken up. The last card is only offered, by whoever shows the lesson.
    void RestoreProgress(const TTitleProgress& progress);

    // The open title's cards moved by stepMs, as one change that the undo takes back; the
    // first card never goes before the recording's start.
    void ShiftCards(int stepMs);
    // How far the learner has shifted the cards, in milliseconds.
    std::int64_t CardShiftMs() const { return FAdjustment.Timing().ShiftMs; }
    // The current card's edge moved by stepMs (see NudgedTiming); the card plays again from
    // its new start. Nothing without a current card or when the edge cannot move.
    void NudgeCardEdge(TCardEdge edge, int stepMs);
    // The cards laid over the speech: a card now at t goes to t * rate + offsetMs, as one
    // change; false when no card moved.
    bool SyncCards(double offsetMs, double rate);
    // Takes back the latest change of the cards' times; false when there is none.
    bool UndoCardChange();
    // Starts finding how the open title's cards lie over its recording's speech, on a thread
    // of CardSync's (which tells how far it is and can be cancelled). It ends with CardsSynced,
    // the cards moved as one change when the speech told where they belong, or CardSyncFailed;
    // with neither when cancelled or another title opened meanwhile. False when nothing can
    // play or a search runs.
    bool SyncCardsToSpeech();
    TCardSync& CardSync() { return *FCardSync; }

    // Plays card n as the learner asked for it (-1: from the top); from: a position inside
    // the card to start at instead of its start.
    void PlayCard(int n, std::optional<std::int64_t> from = std::nullopt);
    void Top() { PlayCard(-1); }
    // A pause goes on; otherwise chosen (a card of the list), or the current card, plays.
    void Here(std::optional<int> chosen = std::nullopt);
    void Next() { PlayCard(FCurrentCard + 1); }
    void Back() { PlayCard(FCurrentCard - 1); }
    void Stop();
    // Pauses a play, or lets a paused one go on.
    void Pause();
    void SetAutoPause(bool on);
    void SetSpeedTenths(int tenths);

    void SetPractice(const TPracticeSettings& practice);
    void StepRepeats();
    void StepShadowing();
    void StepEnglishReveal();
    void StepJapaneseReveal();
    // Loops cards first to last, or stops looping.
    void ToggleLoop(int first, int last);

    // The card at the position becomes current; a running play goes on from there.
    void SeekTo(std::int64_t position);
    // A word back or on (direction -1 or 1), or SeekStepMs without word times.
    void StepSeek(int direction);
    // A double click at offset (bytes) of shownText, the main text on screen: the card
    // speaking there plays from the word.
    void ClickAt(const std::string& shownText, int offset);

    // What the ticks keep moving besides the card: the caret, and a progress bar of BarWidth
    // pixels. Asked at each tick; without it neither is moved.
    struct TTickView {
        bool CaretMoves = false;
        int BarWidth = 0;
    };
    std::function<TTickView()> TickView;
    // One look at the play now, as each tick of the running play does.
    void TickNow();
    // Runs while a play runs, sleeping between the changes it shows.
    QTimer* TickTimer() { return &FTicks; }

Q_SIGNALS:
    // The learner chose a card to play (a key, a button, a click, a seek while playing).
    void CardChosen();
    // Card is current, at position; changed: it was not before.
    void CardShown(int card, std::int64_t position, bool changed);
    // The title's cards changed: what shows of them must be drawn anew.
    void CardsChanged();
    // A play from the top begins: the first card shows before any is current.
    void TopShown();
    // Card's play began (-1: from the top), by the learner's choice or as the practice goes on.
    void PlayStarted(int card);
    // A play runs, or has come to rest.
    void Running(bool on);
    // Where the play is, at each tick.
    void Progress(std::int64_t position);
    void PauseChanged(bool paused);
    void AutoPauseChanged(bool on);
    void PracticeChanged();
    void SpeedChanged(int tenths);
    // What the search for the cards' place found, in Japanese and English.
    void CardsSynced(const QString& message);
    void CardSyncFailed(const olve::TFailure& failure);
    // The learner's shift of the cards changed (by a step, an undo, or a sync that took it
    // in), or the title opened shifted.
    void CardShiftChanged(std::int64_t ms);
    // A seek moved what is shown to position.
    void Sought(std::int64_t position);
    void NoMoreCards();
    // A play failed for reason (the player's own words); nothing moved on from it.
    void PlayFailed(const QString& reason);

private:
    bool PlaysOneCard() const { return FAutoPause || FPractice.CardByCard(); }
    // Starts card n's play without counting it as the learner's choice.
    void StartCardPlay(int n, std::optional<std::int64_t> from);
    // The running play stops, takes the end the current card and practice give, and plays on.
    void RunToNewEnd();
    void MoveRunningPlayEnd();
    void PlayerNotify();
    void CheckPlayEnded();
    void PlayEnded();
    void NoteCardsPassed(std::int64_t position);
    void ShowCardAt(int card, std::int64_t position);
    void StartTicks();
    void StopTicks();
    // The running play at position: the cards it passed are heard, an end it reached goes on
    // as the practice says, and the first card holding the position is shown. The card shown,
    // or -1.
    int Tick(std::int64_t position);
    // How long the ticks may sleep after one at position on card: till the next card or word
    // changes, or the caret, the bar or the time shown would move.
    int NextWakeMs(std::int64_t position, int card);
    // Lays the card times kept for the title over its cards; a play from the top that has
    // begun starts again from the first card's new start.
    void RestoreCardTiming(const TCardTiming& kept);
    // The cards moved: a shift that changed is told, and a running play takes its card's
    // new end.
    void CardsMoved(std::int64_t shiftBefore);
    void FollowCardSync();
    // The current card shown again as it stands, after what shows of it has changed.
    void RefreshCard();
    // With OLVE_PLAY_LOG set, each play and each end it reaches is written to standard error
    // with the time since the lesson was made, for those who check what the player did.
    void LogPlay(const QString& line);

    std::unique_ptr<TOlveMediaPlayer> FPlayer;
    TPlayPackage* FPackage = nullptr;
    TCardTimeline FTimeline;
    TCardAdjustment FAdjustment;
    TCardSync* FCardSync = nullptr;
    // Titles opened so far, and the one the running search is for.
    int FOpenings = 0;
    int FSyncFor = -1;
    bool FCardUnitsStale = true;
    int FCurrentCard = -1;
    bool FAutoPause = false;
    int FSpeedTenths = NormalSpeedTenths;
    TPracticeSettings FPractice;
    TPracticeRun FPracticeRun;
    // The position the previous tick of the running play saw; -1 after a play began.
    std::int64_t FLastTickPosition = -1;
    std::int64_t FShownPosition = 0;
    // The running play was started by a card and has not yet ended or been stopped.
    bool FAwaitingEnd = false;
    // The shadowing pause before FWaitingCard plays.
    QTimer FShadow;
    int FWaitingCard = -1;
    QElapsedTimer FPlayLog;
    QTimer FTicks;
    bool FTicking = false;
};

// What the learner reads of a play that failed for reason (the player's own words).
TFailure PlayFailure(const QString& reason);

}  // namespace olve
