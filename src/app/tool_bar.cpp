#include "app/tool_bar.h"

#include <QApplication>
#include <QMouseEvent>
#include <utility>

#include "app/overflow_button.h"
#include "app/place_labels.h"
#include "app/practice_buttons.h"
#include "app/tool_bar_widgets.h"
#include "app/tool_glyphs.h"
#include "app/volume_bar.h"
#include "lesson/lesson_player.h"
#include "timing/place_text.h"
#include "timing/playback_speed.h"
#include "title/card_seek.h"

namespace olve {

namespace {

constexpr int ButtonSize = 30;
constexpr int SpeedButtonWidth = 36;
constexpr int MinProgressWidth = 24;
// The progress bar keeps this much before a control makes way for it.
constexpr int EasyProgressWidth = 100;
constexpr int MaxProgressWidth = 140;
constexpr int LeftMargin = 4;
constexpr int RightMargin = 8;
constexpr int ProgressGap = 8;
constexpr int RightGap = 4;
// The speaker with its gaps.
constexpr int SpeakerWidth = 34;
constexpr int OverflowWidth = 24;
constexpr int ProgressHeight = 15;

}  // namespace

TToolBar::TToolBar(TLessonPlayer& lesson, TToolBarCalls calls, QWidget* window)
    : QWidget(window), FLesson(lesson), FCalls(std::move(calls)), FActions(lesson, this, FCalls.Actions)
{
    setObjectName("pnToolBar");
    imTop = new TToolBarBackground(this);
    CreateButtons();
    CreateSpeed();
    FPracticeButtons = std::make_unique<TPracticeButtons>(this, FLesson, [this] { FCalls.ToggleLoop(); });
    // Controls a narrow window has no room for wait in the overflow menu, in the bar's order.
    sbOverflow = new TOverflowButton(this, QSize(OverflowWidth, ButtonSize), [this] {
        const TPracticeButtons& p = *FPracticeButtons;
        return QList<QWidget*>{sbPause, sbAutoPause, Image3, sbSpeed, p.sbRepeat, p.sbShadow,
                               p.sbRevealEnglish, p.sbRevealJapanese, p.sbLoop, sbOpen, sbOnlineHelp};
    }, [this] { ShowVolumeBar(); });
    CreateSpeaker();
    CreateProgress();
    CreateMotto();
    tbVolume = new TVolumeBar(FLesson.Player(), window);
    FollowLesson();
    // The volume bar goes once the pointer leaves it, wherever the pointer is.
    qApp->installEventFilter(this);
}

TToolBar::~TToolBar()
{
    qApp->removeEventFilter(this);
}

void TToolBar::CreateButtons()
{
    auto button = [this](QToolButton*& b, const char* name, QAction* action) {
        b = new QToolButton(this);
        b->setObjectName(name);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIconSize(QSize(22, 22));
        b->setFixedSize(ButtonSize, ButtonSize);
        if (action)
            b->setDefaultAction(action);
    };
    const TLessonActions& a = FActions;
    button(sbPlayTop, "sbPlayTop", a.acTop);
    button(SpeedButton6, "SpeedButton6", a.acBack);
    button(SpeedButton1, "SpeedButton1", a.acPlay);
    button(sbItemList, "sbItemList", a.acPlayList);
    button(SpeedButton2, "SpeedButton2", a.acNext);
    button(SpeedButton4, "SpeedButton4", a.acStop);
    button(sbPause, "sbPause", a.acPause);
    button(sbAutoPause, "sbAutoPause", a.acAutoPause);
    button(sbOnlineHelp, "sbOnlineHelp", nullptr);
    button(sbOpen, "sbOpen", nullptr);
    sbOnlineHelp->setIcon(GlyphIcon(TGlyph::Help));
    sbOpen->setIcon(GlyphIcon(TGlyph::Open));
    // The card menu button's own menu (right click) exports the current card to a flashcard
    // program; the card menu itself lists the cards alone.
    sbItemList->setContextMenuPolicy(Qt::ActionsContextMenu);
    sbItemList->addAction(a.acExportCard);
    sbOpen->setToolTip("開く  Open a title, or a recording with its subtitles (Ctrl+O)");
    connect(sbOpen, &QToolButton::clicked, this, [this] { FCalls.Open(); });
    sbAutoPause->setToolTip("オートポーズ [A]utopause");
    sbOnlineHelp->setToolTip("利用案内");
    connect(sbOnlineHelp, &QToolButton::clicked, this, [this] { FCalls.Help(); });
}

void TToolBar::CreateSpeed()
{
    sbSpeed = new QToolButton(this);
    sbSpeed->setObjectName("sbSpeed");
    sbSpeed->setAutoRaise(true);
    sbSpeed->setFocusPolicy(Qt::NoFocus);
    sbSpeed->setFixedSize(SpeedButtonWidth, ButtonSize);
    connect(sbSpeed, &QToolButton::clicked, this, [this] { FLesson.SetSpeedTenths(CycleSpeedTenths(FLesson.SpeedTenths())); });
    ShowSpeed();
}

void TToolBar::CreateSpeaker()
{
    Image3 = new QLabel(this);
    Image3->setObjectName("Image3");
    Image3->setPixmap(GlyphPixmap(TGlyph::Speaker, 20));
    Image3->setFixedSize(22, 22);
    Image3->setMouseTracking(true);
}

void TToolBar::CreateProgress()
{
    imPlayer = new TProgressBar(this);
    imPlayer->setFixedSize(MaxProgressWidth, ProgressHeight);
    anPlaying = new TPlayingAnimation(this);
    FPlace = std::make_unique<TPlaceLabels>(this);
    imPlayer->OnSeek = [this](int x) {
        if (FLesson.CanPlay())
            FLesson.SeekTo(PositionAtX(x, imPlayer->width(), FLesson.Player().Length()));
    };
}

void TToolBar::CreateMotto()
{
    lbPAT2 = new QLabel("English listening, card by card", this);
    lbPAT2->setObjectName("lbPAT2");
    lbPAT1 = new QLabel(lbPAT2->text(), this);
    lbPAT1->setObjectName("lbPAT1");
    for (auto [label, colour] : {std::pair{lbPAT1, QColor(192, 192, 192)}, std::pair{lbPAT2, QColor(0, 0, 128)}}) {
        QFont italic = label->font();
        italic.setItalic(true);
        italic.setPointSize(9);
        label->setFont(italic);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, colour);
        label->setPalette(p);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

void TToolBar::FollowLesson()
{
    TLessonPlayer* lesson = &FLesson;
    connect(lesson, &TLessonPlayer::CardShown, this, [this] {
        if (ShowCounter())
            FitPlaceLabels();
    });
    connect(lesson, &TLessonPlayer::Running, anPlaying, &TPlayingAnimation::SetActive);
    connect(lesson, &TLessonPlayer::Progress, this, &TToolBar::ShowProgress);
    connect(lesson, &TLessonPlayer::Sought, this, &TToolBar::ShowProgress);
    connect(lesson, &TLessonPlayer::PracticeChanged, this, [this] { FPracticeButtons->Show(); });
    connect(lesson, &TLessonPlayer::SpeedChanged, this, &TToolBar::ShowSpeed);
}

std::array<QWidget*, ToolControlCount> TToolBar::ToolControls() const
{
    const TPracticeButtons& p = *FPracticeButtons;
    return {sbOnlineHelp, p.sbLoop, p.sbShadow, p.sbRevealJapanese, p.sbRevealEnglish, p.sbRepeat,
            sbSpeed,      sbOpen,   sbAutoPause, sbPause,          Image3};
}

TToolBarWidths TToolBar::ToolBarWidths(int counter, int time) const
{
    TToolBarWidths widths;
    widths.Fixed = LeftMargin + 6 * ButtonSize + ProgressGap + RightGap + RightMargin;
    const auto controls = ToolControls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        widths.Controls[i] = controls[i] == Image3 ? SpeakerWidth : controls[i]->width();
    widths.Overflow = OverflowWidth;
    widths.Counter = counter;
    widths.Time = time;
    widths.MinProgress = MinProgressWidth;
    widths.EasyProgress = EasyProgressWidth;
    widths.MaxProgress = MaxProgressWidth;
    return widths;
}

int TToolBar::FullWidth() const
{
    const int cards = FLesson.CardCount();
    TOlveMediaPlayer& player = FLesson.Player();
    const std::int64_t length = player.DeviceID() != 0 ? player.Length() : 0;
    const int counter = TPlaceLabels::WidthOf(FPlace->Counter(), CardCounterText(cards - 1, cards));
    const int time = TPlaceLabels::WidthOf(FPlace->Time(), length > 0 ? PlaceTimeText(length, length) : std::string());
    return FullToolBarWidth(ToolBarWidths(counter, time));
}

void TToolBar::LayOut(int width)
{
    setGeometry(0, 0, width, Height);
    imTop->setGeometry(rect());
    imTop->lower();
    const TToolBarPlan plan = PlanToolBar(width, ToolBarWidths(TPlaceLabels::Width(FPlace->Counter()), TPlaceLabels::Width(FPlace->Time())));
    const auto controls = ToolControls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        controls[i]->setVisible(!plan.Overflowed[i]);
    const int left = LayOutLeft(plan);
    sbOverflow->setVisible(plan.Overflows());
    const int right = LayOutRight();
    lbPAT2->adjustSize();
    lbPAT2->move(right - RightGap - lbPAT2->width(), ButtonSize + 2 - lbPAT2->height());
    lbPAT1->adjustSize();
    lbPAT1->move(lbPAT2->x() + 1, lbPAT2->y() + 1);
    lbPAT2->setVisible(lbPAT2->x() > left + 8);
    lbPAT1->setVisible(lbPAT2->isVisible());
    lbPAT1->raise();
    lbPAT2->raise();
}

// The play buttons, the speaker, the progress bar, speed, practice and the place labels from
// the left; returns where they end.
int TToolBar::LayOutLeft(const TToolBarPlan& plan)
{
    int x = LeftMargin;
    for (QToolButton* b : {sbPlayTop, SpeedButton6, SpeedButton1, sbItemList, SpeedButton2, SpeedButton4, sbPause, sbAutoPause}) {
        if (b->isHidden())
            continue;
        b->move(x, 2);
        x += ButtonSize;
    }
    if (!Image3->isHidden()) {
        Image3->move(x + 6, 6);
        x += SpeakerWidth;
    }
    imPlayer->setFixedWidth(plan.Middle.Progress);
    imPlayer->move(x, 13 - (ProgressHeight - 7) / 2);
    anPlaying->setGeometry(imPlayer->x(), 2, imPlayer->width(), 1);
    x = imPlayer->x() + imPlayer->width() + ProgressGap;
    const TPracticeButtons& p = *FPracticeButtons;
    for (QToolButton* b : {sbSpeed, p.sbRepeat, p.sbShadow, p.sbRevealEnglish, p.sbRevealJapanese, p.sbLoop}) {
        if (b->isHidden())
            continue;
        b->move(x, 2);
        x += b->width();
    }
    return FPlace->LayOut(x, plan.Middle.Counter, plan.Middle.Time);
}

// The overflow, help and open buttons from the right; returns where they begin.
int TToolBar::LayOutRight()
{
    int right = width() - RightMargin;
    for (QToolButton* b : {static_cast<QToolButton*>(sbOverflow), sbOnlineHelp, sbOpen}) {
        if (b->isHidden())
            continue;
        right -= b->width();
        b->move(right, 2);
    }
    return right;
}

void TToolBar::EnablePlayControls(bool on)
{
    FActions.Enable(on);
    imPlayer->setVisible(on);
}

int TToolBar::ProgressWidth() const
{
    return imPlayer->width();
}

QPoint TToolBar::CardMenuPlace() const
{
    return sbItemList->mapToGlobal(QPoint(0, sbItemList->height()));
}

void TToolBar::ShowSpeed()
{
    const QString value = QString::fromStdString(SpeedText(FLesson.SpeedTenths()));
    sbSpeed->setText(value);
    sbSpeed->setToolTip(QString("話す速さ %1 ([ 遅く  ] 速く  \\ 元の速さ)\nSpeed %1 ([ slower  ] faster  \\ normal)")
                            .arg(value));
}

void TToolBar::ShowVolumeBar()
{
    // From the overflow menu when the speaker has made way for a narrow window.
    const QWidget* anchor = Image3->isHidden() ? static_cast<QWidget*>(sbOverflow) : Image3;
    tbVolume->ShowUnder(anchor, height());
}

bool TToolBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == Image3)
            ShowVolumeBar();
        else
            tbVolume->HideAway(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

void TToolBar::ShowProgress(std::int64_t position)
{
    ShowPlace(position);
    TOlveMediaPlayer& player = FLesson.Player();
    const int length = player.DeviceID() != 0 ? player.Length() : 0;
    const int width = length < 1 ? 0 : static_cast<int>(position * imPlayer->width() / length);
    if (width == FLastProgressWidth)
        return;
    FLastProgressWidth = width;
    imPlayer->SetBarWidth(width);
}

void TToolBar::ShowPlace(std::int64_t position)
{
    TOlveMediaPlayer& player = FLesson.Player();
    const std::int64_t length = player.DeviceID() != 0 ? player.Length() : 0;
    const bool time = TPlaceLabels::Show(FPlace->Time(), length > 0 ? PlaceTimeText(position, length) : std::string());
    if (ShowCounter() || time)
        FitPlaceLabels();
}

void TToolBar::FitPlaceLabels()
{
    if (FPlace->Fit())
        LayOut(width());
}

bool TToolBar::ShowCounter()
{
    const int count = FLesson.CardCount();
    return TPlaceLabels::Show(FPlace->Counter(),
                              FLesson.Player().DeviceID() != 0 ? CardCounterText(FLesson.CurrentCard(), count) : std::string());
}

}  // namespace olve
