// The learner's practice controls: repeat, shadowing pause, loop and when each language's
// text shows. The lesson player keeps and runs them; this part shows them in the tool bar.
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
    auto make = [this](QToolButton*& b, const char* name, int width, auto step) {
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
    make(sbRepeat, "sbRepeat", 28, [this] { FLesson->StepRepeats(); });
    make(sbShadow, "sbShadow", 30, [this] { FLesson->StepShadowing(); });
    make(sbRevealEnglish, "sbRevealEnglish", 24, [this] { FLesson->StepEnglishReveal(); });
    make(sbRevealJapanese, "sbRevealJapanese", 24, [this] { FLesson->StepJapaneseReveal(); });
    make(sbLoop, "sbLoop", 24, [this] { ToggleLoop(); });
    sbLoop->setText(QStringLiteral("↺"));
    sbLoop->setCheckable(true);
    ShowPractice();
}

void TForm1::ShowPractice()
{
    const TPracticeSettings& practice = FLesson->Practice();
    sbRepeat->setText(RepeatText(practice.Repeats));
    sbRepeat->setToolTip(practice.Repeats == 0
                             ? QStringLiteral("くり返し: 止めるまで [R]\nRepeat each card until stopped [R]")
                             : QStringLiteral("くり返し: %1 回 [R]\nRepeat each card %1 time(s) [R]").arg(practice.Repeats));
    const QString factor = QString::number(practice.ShadowTenths / 10.0);
    sbShadow->setText(ShadowText(practice.ShadowTenths));
    sbShadow->setToolTip(
        practice.ShadowTenths == 0
            ? QStringLiteral("シャドーイングの間: なし [W]\nShadowing pause: off [W]")
            : QStringLiteral("シャドーイングの間: カードの長さ × %1 [W]\nShadowing pause: the card's length × %1, then on [W]")
                  .arg(factor));
    ShowReveal(sbRevealEnglish, QStringLiteral("英"), practice.English, QStringLiteral("英文 English"), 'E');
    ShowReveal(sbRevealJapanese, QStringLiteral("訳"), practice.Japanese, QStringLiteral("訳 Japanese"), 'J');
    sbLoop->setChecked(practice.Loop);
    sbLoop->setToolTip(practice.Loop ? QStringLiteral("ループ: カード %1–%2 [O]\nLoop cards %1–%2 until stopped [O]")
                                            .arg(FLesson->Run().LoopFirst() + 1)
                                            .arg(FLesson->Run().LoopLast() + 1)
                                      : QStringLiteral("ループ: なし [O]\nLoop: off [O]"));
}

// The loop takes the cards chosen in the card list, or else the current card.
void TForm1::ToggleLoop()
{
    const int current = std::max(CurrentCard(), 0);
    int first = current;
    int last = current;
    for (const QTableWidgetSelectionRange& range : sgCards->selectedRanges()) {
        if (IsCardList(FDisplayMode) && range.bottomRow() > range.topRow()) {
            first = std::max(range.topRow(), 1) - 1;
            last = range.bottomRow() - 1;
        }
    }
    FLesson->ToggleLoop(first, last);
}

}  // namespace olve
