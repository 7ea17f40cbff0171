// The learner's practice controls: repeat, shadowing pause, loop and when each language's
// text shows. The rules live in the practice run; this part shows them in the tool bar and
// starts the plays they ask for.
#include "app/main_window.h"

#include <QFont>
#include <QTableWidget>
#include <algorithm>

#include "app/tool_bar_widgets.h"

namespace olve {

namespace {

constexpr int PracticeFontPoints = 8;
constexpr int PracticeButtonHeight = 30;

QString RepeatText(int repeats)
{
    return repeats == 0 ? QStringLiteral("∞回") : QStringLiteral("%1回").arg(repeats);
}

QString ShadowText(int tenths)
{
    static const char* const texts[] = {"‖0", "‖½", "‖1", "‖1½", "‖2"};
    return QString::fromUtf8(texts[std::clamp(tenths / 5, 0, 4)]);
}

QString RevealHint(TReveal reveal)
{
    switch (reveal) {
    case TReveal::Shown:
        return QStringLiteral("表示 shown");
    case TReveal::AfterHearing:
        return QStringLiteral("聞いてから表示 shown once heard");
    case TReveal::Hidden:
        break;
    }
    return QStringLiteral("隠す hidden");
}

// The language's glyph with the reveal's mark: plain shown, "?" once heard, struck out hidden.
void ShowReveal(QToolButton* button, const QString& glyph, TReveal reveal, const QString& name, char key)
{
    button->setText(reveal == TReveal::AfterHearing ? glyph + "?" : glyph);
    QFont font = button->font();
    font.setStrikeOut(reveal == TReveal::Hidden);
    button->setFont(font);
    button->setToolTip(QStringLiteral("%1: %2 [%3]").arg(name, RevealHint(reveal)).arg(QChar(key)));
}

}  // namespace

void TForm1::CreatePracticeButtons()
{
    auto make = [this](QToolButton*& b, const char* name, int width, void (TForm1::*step)()) {
        b = new QToolButton(pnToolBar);
        b->setObjectName(name);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(width, PracticeButtonHeight);
        QFont small = b->font();
        small.setPointSize(PracticeFontPoints);
        b->setFont(small);
        connect(b, &QToolButton::clicked, this, step);
    };
    make(sbRepeat, "sbRepeat", 28, &TForm1::StepRepeats);
    make(sbShadow, "sbShadow", 30, &TForm1::StepShadowing);
    make(sbRevealEnglish, "sbRevealEnglish", 24, &TForm1::StepEnglishReveal);
    make(sbRevealJapanese, "sbRevealJapanese", 24, &TForm1::StepJapaneseReveal);
    make(sbLoop, "sbLoop", 24, &TForm1::ToggleLoop);
    sbLoop->setText(QStringLiteral("↺"));
    sbLoop->setCheckable(true);
    tmShadow = new QTimer(this);
    tmShadow->setObjectName("tmShadow");
    tmShadow->setSingleShot(true);
    connect(tmShadow, &QTimer::timeout, this, [this] { StartCardPlay(FWaitingCard, std::nullopt); });
    ShowPractice();
}

void TForm1::ShowPractice()
{
    sbRepeat->setText(RepeatText(FPractice.Repeats));
    sbRepeat->setToolTip(FPractice.Repeats == 0
                             ? QStringLiteral("くり返し: 止めるまで [R]\nRepeat each card until stopped [R]")
                             : QStringLiteral("くり返し: %1 回 [R]\nRepeat each card %1 time(s) [R]").arg(FPractice.Repeats));
    const QString factor = QString::number(FPractice.ShadowTenths / 10.0);
    sbShadow->setText(ShadowText(FPractice.ShadowTenths));
    sbShadow->setToolTip(
        FPractice.ShadowTenths == 0
            ? QStringLiteral("シャドーイングの間: なし [W]\nShadowing pause: off [W]")
            : QStringLiteral("シャドーイングの間: カードの長さ × %1 [W]\nShadowing pause: the card's length × %1, then on [W]")
                  .arg(factor));
    ShowReveal(sbRevealEnglish, QStringLiteral("英"), FPractice.English, QStringLiteral("英文 English"), 'E');
    ShowReveal(sbRevealJapanese, QStringLiteral("訳"), FPractice.Japanese, QStringLiteral("訳 Japanese"), 'J');
    sbLoop->setChecked(FPractice.Loop);
    sbLoop->setToolTip(FPractice.Loop ? QStringLiteral("ループ: カード %1–%2 [O]\nLoop cards %1–%2 until stopped [O]")
                                            .arg(FPracticeRun.LoopFirst() + 1)
                                            .arg(FPracticeRun.LoopLast() + 1)
                                      : QStringLiteral("ループ: なし [O]\nLoop: off [O]"));
}

void TForm1::SetPractice(const TPracticeSettings& practice)
{
    const bool wasByCard = FPractice.CardByCard();
    FPractice = practice;
    if (wasByCard != FPractice.CardByCard())
        MoveRunningPlayEnd();
    ShowPractice();
    RefreshCard();
}

void TForm1::StepRepeats()
{
    TPracticeSettings practice = FPractice;
    practice.Repeats = NextRepeats(practice.Repeats);
    SetPractice(practice);
}

void TForm1::StepShadowing()
{
    TPracticeSettings practice = FPractice;
    practice.ShadowTenths = NextShadowTenths(practice.ShadowTenths);
    SetPractice(practice);
}

void TForm1::StepEnglishReveal()
{
    TPracticeSettings practice = FPractice;
    practice.English = NextReveal(practice.English);
    SetPractice(practice);
}

void TForm1::StepJapaneseReveal()
{
    TPracticeSettings practice = FPractice;
    practice.Japanese = NextReveal(practice.Japanese);
    SetPractice(practice);
}

// The loop takes the cards chosen in the card list, or else the current card.
void TForm1::ToggleLoop()
{
    TPracticeSettings practice = FPractice;
    practice.Loop = !practice.Loop;
    if (practice.Loop) {
        const int current = std::max(FCurrentCard, 0);
        int first = current;
        int last = current;
        for (const QTableWidgetSelectionRange& range : sgCards->selectedRanges()) {
            if (IsCardList(FDisplayMode) && range.bottomRow() > range.topRow()) {
                first = std::max(range.topRow(), 1) - 1;
                last = range.bottomRow() - 1;
            }
        }
        FPracticeRun.SetLoopRange(first, last);
    }
    SetPractice(practice);
}

// A play that ran through the cards is cut to the current card's end when practice begins to
// go card by card, and runs on again when it stops doing so.
void TForm1::MoveRunningPlayEnd()
{
    if (!FPlayer || FPlayer->DeviceID() == 0 || FPlayer->Mode() != mpPlaying || FPackage->MainCards.Count() == 0)
        return;
    FPracticeRun.Begin(std::max(FCurrentCard, 0));
    FPlayer->SetNotify(false);
    FPlayer->Stop();
    FPlayer->SetEndPos(static_cast<int>(Timeline().AutoPauseEnd(FCurrentCard, PlaysOneCard(), FPlayer->Length())));
    FPlayer->SetNotify(true);
    FPlayer->Play();
    anPlaying->SetActive(true);
}

// A play that reached its end: the card has been heard, and the practice says what follows.
void TForm1::PlayEnded()
{
    const int card = FCurrentCard;
    if (!FPractice.CardByCard()) {
        FPracticeRun.MarkHeard(card, FPractice);
        RefreshCard();
        return;
    }
    const TNextPlay next = FPracticeRun.CardEnded(FPractice, Timeline(), FAutoPause, SpeedFactor(FSpeedTenths));
    RefreshCard();
    if (next.Stop)
        return;
    FWaitingCard = next.Card;
    if (next.WaitMs > 0)
        tmShadow->start(static_cast<int>(std::min<std::int64_t>(next.WaitMs, 1 << 30)));
    else
        StartCardPlay(next.Card, std::nullopt);
}

// The current card shown again as it stands, after what shows of it has changed.
void TForm1::RefreshCard()
{
    if (FCurrentCard < 0 || FCurrentCard >= FPackage->MainCards.Count() || IsCardList(FDisplayMode))
        return;
    const TCardTimeline& timeline = Timeline();
    const std::int64_t start = timeline.StartOf(FCurrentCard);
    const std::int64_t last = std::max(start, timeline.EndOf(FCurrentCard) - 1);
    const std::int64_t position = FPlayer->DeviceID() != 0 ? FPlayer->Position() : start;
    ShowCard(FCurrentCard, std::clamp(position, start, last));
}

}  // namespace olve
