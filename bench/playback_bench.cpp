// The player's 30 ms tick and the N key with a title of 5000 cards, in a real main window
// (offscreen) playing generated media through a fake sink. Prints, beside their goals:
// - one tick while playing when the current card stays (goal under 50 µs) and when it
//   changes (goal under 1 ms), with the card near the start, the middle and the end of the
//   title, since each tick scans the cards from the first;
// - the time from a key press N to the next card's text in the main view (goal under
//   40 ms), when stopped after a card (automatic pause) and while playing, and when the
//   view has painted it.
// Ticks are timed as the window's own 30 ms timer runs them, and run back to back for the
// cost with warm caches; the parts of an unchanged tick are timed one by one. Key presses
// go through the application as real key events when the window is active.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextCursor>
#include <QThread>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/picture_pane.h"
#include "app/text_pane.h"
#include "codec/card_text.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "support/test_package.h"
#include "timing/positions.h"

using namespace olve;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int CardCount = 5000;
constexpr int CardMs = 100;

double MicrosecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

struct TFigures {
    std::vector<double> Values;
    void Add(double v) { Values.push_back(v); }
    double Quantile(double q)
    {
        if (Values.empty())
            return 0;
        std::sort(Values.begin(), Values.end());
        return Values[std::min(Values.size() - 1, static_cast<std::size_t>(q * double(Values.size())))];
    }
};

void Print(const char* what, TFigures& f, double scale, const char* unit, double goal)
{
    const double median = f.Quantile(0.5) / scale;
    std::printf("%-54s median %8.1f %s  p90 %8.1f  max %8.1f  (n=%zu)  goal < %g %s: %s\n", what, median, unit,
                f.Quantile(0.9) / scale, f.Quantile(1.0) / scale, f.Values.size(), goal, unit,
                f.Values.empty() ? "NO DATA" : median < goal ? "met" : "MISSED");
}

bool WaitUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

// 5000 cards of 100 ms on one 8 kHz tone (a small file for 500 s); every other card has a
// spoken range, as word-timed titles do.
TTestTitle BenchTitle(const std::string& media)
{
    TTestTitle title;
    title.Serial = "B5000";
    title.Name = "Benchmark";
    title.Media = "tone.wav";
    title.MediaSource = media;
    title.MediaSeconds = CardCount * CardMs / 1000 + 1;
    for (int i = 0; i < CardCount; ++i) {
        TTestCard card;
        card.Main = "Sentence number " + std::to_string(i + 1) + " is spoken here, slowly and clearly, for the learner.";
        card.Sub = "これは " + std::to_string(i + 1) + " 番目の文です。";
        card.Data = i % 2 ? "SST=9,SLG=7,TAG=x" : "";
        card.StartMs = i * CardMs;
        card.EndMs = (i + 1) * CardMs;
        title.Cards.push_back(card);
    }
    return title;
}

// Records when the main view first painted while showing the awaited text.
class TPaintWatch : public QObject {
public:
    TNewULEditNet* View = nullptr;
    std::string Awaited;
    std::optional<Clock::time_point> Painted;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !Painted && View->DisplayText() == Awaited)
            Painted = Clock::now();
        return QObject::eventFilter(watched, event);
    }
};

class TBench {
public:
    bool Open()
    {
        const std::string media = FPackages / "tone8k.wav";
        const bool made = MakeMedia("audiotestsrc wave=sine freq=440 samplesperbuffer=800 num-buffers=" +
                                        std::to_string((CardCount * CardMs + 1000) / 100) +
                                        " ! audio/x-raw,rate=8000,channels=1 ! wavenc ! filesink location={out}",
                                    media);
        if (!made) {
            std::fprintf(stderr, "cannot make the media\n");
            return false;
        }
        const std::string package = MakeTestPackage(FPackages.Path().string(), BenchTitle(media));
        FForm = std::make_unique<TForm1>(QString::fromStdString(FProgram / "olveplayer"), QStringList{"NoTie"}, FPrompts);
        FForm->Player().AudioSink = "fakesink sync=true";
        FForm->show();
        const auto start = Clock::now();
        auto shown = std::make_shared<std::optional<bool>>();
        QObject::connect(FForm.get(), &TForm1::PackageOpened, [shown](const QString&, bool opened) { *shown = opened; });
        if (!FForm->OpenTitlePackage(QString::fromStdString(package)) ||
            !WaitUntil([shown] { return shown->has_value(); }, 30000) || !**shown ||
            FForm->Package().MainCards.Count() != CardCount) {
            std::fprintf(stderr, "cannot open the title: %s\n", FPrompts.Said.empty() ? "" : FPrompts.Said.back().c_str());
            return false;
        }
        // Windows that opening showed took the activation, and nothing gives it back offscreen.
        FForm->windowHandle()->requestActivate();
        WaitUntil([this] { return FForm->isActiveWindow(); }, 2000);
        std::printf("Title of %d cards of %d ms, opened in %.0f ms; display mode %d; window %s\n", CardCount, CardMs,
                    MicrosecondsSince(start) / 1000, static_cast<int>(FForm->DisplayMode()),
                    FForm->isActiveWindow() ? "active" : "not active (keys are given to FormKeyDown)");
        // The window's timer runs the tick through a stopwatch.
        QObject::disconnect(FForm->Lesson().TickTimer(), &QTimer::timeout, &FForm->Lesson(), nullptr);
        QObject::connect(FForm->Lesson().TickTimer(), &QTimer::timeout, FForm.get(), [this] { TimedTick(); });
        FPaints.View = FForm->TextPane()->MainView();
        FForm->TextPane()->MainView()->viewport()->installEventFilter(&FPaints);
        return WaitUntil([this] { return FForm->Lesson().CurrentCard() >= 0; }, 5000);
    }

    // Plays on from card first for ms and sorts the ticks by whether the card changed: the
    // window's own ticks at the timer's pace, or ticks run by hand back to back (every 2 ms,
    // which keeps the timer from firing), where caches stay warm.
    void Ticks(int first, int ms, bool backToBack, TFigures& unchanged, TFigures& changed)
    {
        FForm->Lesson().SetAutoPause(false);
        FForm->Lesson().PlayCard(first);
        FUnchanged = &unchanged;
        FChanged = &changed;
        QElapsedTimer run;
        run.start();
        while (run.elapsed() < ms && FForm->Player().Mode() == mpPlaying) {
            QElapsedTimer gap;
            gap.start();
            while (gap.elapsed() < (backToBack ? 2 : 30))
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            if (backToBack)
                TimedTick();
        }
        FUnchanged = FChanged = nullptr;
        FForm->FormKeyDown(Qt::Key_Escape, Qt::NoModifier);
        WaitUntil([this] { return FForm->Player().Mode() != mpPlaying; }, 2000);
    }

    // Presses N on card k and waits for card k + 1's text; false when it never came.
    bool KeyToText(int k, bool autoPause, TFigures& text, TFigures& painted)
    {
        FForm->Lesson().SetAutoPause(autoPause);
        FForm->Lesson().PlayCard(k);
        if (autoPause) {
            if (!WaitUntil([&] { return FForm->Lesson().CurrentCard() == k && FForm->Player().Mode() == mpStopped; }, 3000))
                return false;
            QThread::msleep(20);
        } else if (!WaitUntil([&] { return FForm->Lesson().CurrentCard() == k; }, 3000)) {
            return false;
        }
        QCoreApplication::processEvents();
        const std::string next = ExpandLineBreaks(FForm->Package().MainCards.Card(k + 1).MainText);
        FPaints.Awaited = next;
        FPaints.Painted.reset();
        const auto start = Clock::now();
        Press(Qt::Key_N, "n");
        bool shown = false;
        while (MicrosecondsSince(start) < 1e6) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (!shown && FForm->TextPane()->MainView()->DisplayText() == next) {
                shown = true;
                text.Add(MicrosecondsSince(start));
            }
            if (shown && FPaints.Painted) {
                painted.Add(std::chrono::duration<double, std::micro>(*FPaints.Painted - start).count());
                break;
            }
        }
        FForm->FormKeyDown(Qt::Key_Escape, Qt::NoModifier);
        WaitUntil([this] { return FForm->Player().Mode() != mpPlaying; }, 2000);
        return shown;
    }

    // What an unchanged tick is made of, each part timed on its own while the last cards play.
    void Breakdown()
    {
        FForm->Lesson().SetAutoPause(false);
        FForm->Lesson().PlayCard(CardCount - 81);
        if (!WaitUntil([this] { return FForm->Lesson().CurrentCard() >= CardCount - 81; }, 3000))
            return;
        // The window's ticks would change the texts under the parts' feet.
        FSuspended = true;
        TOlveMediaPlayer& player = FForm->Player();
        TNewULEditNet* main = FForm->TextPane()->MainView();
        TNewULEditNet* sub = FForm->TextPane()->SubView();
        const TUndoPlayCardList& cards = FForm->Package().MainCards;
        const TPlayCardItem& card = cards.Card(FForm->Lesson().CurrentCard());
        const int r0 = main->UnderlineStart();
        const int r1 = main->UnderlineLength();
        std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
        for (int i = 0; i < cards.Count(); ++i)
            ranges.emplace_back(ToPlayerUnits(cards.Card(i).StartPos, player.MTimeFormat()),
                                ToPlayerUnits(cards.Card(i).EndPos, player.MTimeFormat()));
        volatile std::int64_t sink = 0;
        int moves = 0;
        const std::vector<std::pair<const char*, std::function<void()>>> parts = {
            {"player position", [&] { sink = player.Position(); }},
            {"player mode and timer restart", [&] { sink = player.Mode(); FForm->Lesson().TickTimer()->start(); }},
            {"scan of 5000 cards",
             [&] {
                 const std::int64_t p = player.EndPos() - 1;
                 for (int i = 0; i < cards.Count(); ++i) {
                     const TPlayCardItem& c = cards.Card(i);
                     if (ToPlayerUnits(c.StartPos, player.MTimeFormat()) <= p && p < ToPlayerUnits(c.EndPos, player.MTimeFormat()))
                         sink = i;
                 }
             }},
            {"for comparison: scan of 5000 ranges in one array",
             [&] {
                 const std::int64_t p = player.EndPos() - 1;
                 for (std::size_t i = 0; i < ranges.size(); ++i)
                     if (ranges[i].first <= p && p < ranges[i].second)
                         sink = static_cast<std::int64_t>(i);
             }},
            {"card at the position (the window's timeline)",
             [&] { sink = FForm->Lesson().Timeline().CardAt(player.EndPos() - 1, player.EndPos()); }},
            {"shown main text compared", [&] { sink = ExpandLineBreaks(card.MainText) == main->DisplayText(); }},
            {"same sub text set", [&] { sub->SetDisplayText(card.SubText); }},
            {"no picture shown", [&] { FForm->PicturePane()->ShowPicture(card.Picture); }},
            {"caret placed (title shows the caret)",
             [&] {
                 QTextCursor caret = main->textCursor();
                 caret.setPosition(main->ViewPosition(r0 + r1 / 2 + (++moves % 2)));
                 main->setTextCursor(caret);
                 main->setCursorWidth(1);
             }},
            {"caret hidden, ScrollToChar (or not)", [&] { main->setCursorWidth(0); main->ScrollToChar(r0 + r1 / 2); }},
            {"underline set, UpdateUnderline", [&] {
                 main->SetUnderlineStart(r0);
                 main->SetUnderlineLength(r1);
                 main->SetShowUnderline(true);
                 main->UpdateUnderline();
             }},
        };
        // Paced: all parts in tick order after each 30 ms pause, as the timer runs them.
        // Warm: each part many times in a row.
        std::vector<TFigures> paced(parts.size());
        std::vector<TFigures> warm(parts.size());
        for (int round = 0; round < 100; ++round) {
            QElapsedTimer gap;
            gap.start();
            while (gap.elapsed() < 30)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            for (std::size_t i = 0; i < parts.size(); ++i) {
                const auto start = Clock::now();
                parts[i].second();
                paced[i].Add(MicrosecondsSince(start));
            }
        }
        for (std::size_t i = 0; i < parts.size(); ++i)
            for (int n = 0; n < 300; ++n) {
                const auto start = Clock::now();
                parts[i].second();
                warm[i].Add(MicrosecondsSince(start));
            }
        std::printf("An unchanged tick, part by part (medians):\n  %-50s %9s %9s\n", "", "paced", "warm");
        for (std::size_t i = 0; i < parts.size(); ++i)
            std::printf("  %-50s %6.2f us %6.2f us\n", parts[i].first, paced[i].Quantile(0.5), warm[i].Quantile(0.5));
        FSuspended = false;
        FForm->FormKeyDown(Qt::Key_Escape, Qt::NoModifier);
        WaitUntil([this] { return FForm->Player().Mode() != mpPlaying; }, 2000);
    }

private:
    void TimedTick()
    {
        if (FSuspended)
            return;
        const int before = FForm->Lesson().CurrentCard();
        const auto start = Clock::now();
        FForm->Lesson().TickNow();
        const double us = MicrosecondsSince(start);
        if (FUnchanged)
            (FForm->Lesson().CurrentCard() == before ? FUnchanged : FChanged)->Add(us);
    }

    void Press(int key, const char* text)
    {
        if (!FForm->isActiveWindow()) {
            FForm->FormKeyDown(key, Qt::NoModifier);
            return;
        }
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : FForm.get();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &release);
    }

    TTempFolder FProgram;
    TTempFolder FPackages;
    TRecordingPrompts FPrompts;
    std::unique_ptr<TForm1> FForm;
    TPaintWatch FPaints;
    TFigures* FUnchanged = nullptr;
    TFigures* FChanged = nullptr;
    bool FSuspended = false;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TBench bench;
    if (!bench.Open())
        return 1;

    struct TRegion {
        const char* Name;
        int First;
    };
    const TRegion regions[] = {{"near card 1", 0}, {"near card 2500", 2490}, {"near card 5000", CardCount - 31}};
    for (const bool backToBack : {false, true}) {
        std::printf("%s\n", backToBack ? "Ticks run back to back, every 2 ms (warm caches):"
                                       : "Ticks of the window's timer, every 30 ms:");
        TFigures allChanged;
        for (const TRegion& region : regions) {
            TFigures unchanged;
            TFigures changed;
            bench.Ticks(region.First, 3000, backToBack, unchanged, changed);
            Print((std::string("  tick, card unchanged, ") + region.Name).c_str(), unchanged, 1, "us", 50);
            Print((std::string("  tick, card changed, ") + region.Name).c_str(), changed, 1, "us", 1000);
            allChanged.Values.insert(allChanged.Values.end(), changed.Values.begin(), changed.Values.end());
        }
        Print("  tick, card changed, all", allChanged, 1, "us", 1000);
    }
    bench.Breakdown();

    for (const bool autoPause : {true, false}) {
        TFigures text;
        TFigures painted;
        int missed = 0;
        for (int k = 7; k < CardCount - 1; k += 250)
            missed += bench.KeyToText(k, autoPause, text, painted) ? 0 : 1;
        const char* when = autoPause ? "stopped after a card" : "playing";
        Print((std::string("key N to next card's text, ") + when).c_str(), text, 1000, "ms", 40);
        Print((std::string("key N to next card painted, ") + when).c_str(), painted, 1000, "ms", 40);
        if (missed)
            std::printf("  %d presses never showed the next card\n", missed);
    }
    return 0;
}
