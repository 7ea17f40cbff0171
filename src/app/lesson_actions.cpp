#include "app/lesson_actions.h"

#include <QFileDialog>
#include <QWidget>
#include <iterator>
#include <utility>

#include "app/tool_glyphs.h"
#include "lesson/lesson_player.h"

namespace olve {

TLessonActions::TLessonActions(TLessonPlayer& lesson, QWidget* owner, TLessonActionCalls calls)
    : FLesson(lesson), FCalls(std::move(calls))
{
    auto make = [owner](QAction*& action, const char* name, const QString& hint, TGlyph glyph, auto slot) {
        action = new QAction(GlyphIcon(glyph), QString(), owner);
        action->setObjectName(name);
        action->setToolTip(hint);
        QObject::connect(action, &QAction::triggered, owner, slot);
    };
    make(acPlay, "acPlay", "ここをもう一度 play [H]ere", TGlyph::Here, [this] { FLesson.Here(FCalls.ChosenCard()); });
    make(acNext, "acNext", "つぎ play [N]ext", TGlyph::Next, [this] { FLesson.Next(); });
    make(acBack, "acBack", "もどる play [B]ack", TGlyph::Back, [this] { FLesson.Back(); });
    make(acTop, "acTop", "はじめから play from [T]op", TGlyph::Top, [this] { FLesson.Top(); });
    make(acStop, "acStop", "止める [S]top", TGlyph::Stop, [this] { FLesson.Stop(); });
    make(acPause, "acPause", "ポーズ [P]ause on", TGlyph::Pause, [this] { FLesson.Pause(); });
    make(acAutoPause, "acAutoPause", "ポーズ [P]ause on", TGlyph::AutoPauseOff,
         [this] { FLesson.SetAutoPause(!FLesson.AutoPause()); });
    make(acPlayList, "acPlayList", "項目一覧からピンポイント再生", TGlyph::List, [this] { FCalls.ShowCardMenu(); });
    acPause->setCheckable(true);

    acExportCard = new QAction(QStringLiteral("このカードを書き出す…  Export this card…"), owner);
    acExportCard->setObjectName("acExportCard");
    QObject::connect(acExportCard, &QAction::triggered, owner, [this, owner] {
        const QString folder = QFileDialog::getExistingDirectory(owner->window(), QStringLiteral("書き出し先  Export to"));
        if (!folder.isEmpty())
            FCalls.ExportCard(folder);
    });

    QObject::connect(&lesson, &TLessonPlayer::PauseChanged, acPause, &QAction::setChecked);
    QObject::connect(&lesson, &TLessonPlayer::AutoPauseChanged, owner, [this](bool on) { ShowAutoPause(on); });
}

void TLessonActions::Enable(bool on)
{
    for (QAction* action : {acTop, acBack, acPlay, acPlayList, acNext, acStop, acPause, acAutoPause, acExportCard})
        action->setEnabled(on);
}

bool TLessonActions::Run(TKeyCommand command) const
{
    // In the order of the commands Play to Next.
    QAction* const actions[] = {acPlay, acStop, acPause, acTop, acPlayList, acAutoPause, acBack, acNext};
    const int index = static_cast<int>(command) - static_cast<int>(TKeyCommand::Play);
    if (index < 0 || index >= static_cast<int>(std::size(actions)))
        return false;
    if (actions[index]->isEnabled())
        actions[index]->trigger();
    return true;
}

void TLessonActions::ShowAutoPause(bool on)
{
    acAutoPause->setIcon(GlyphIcon(on ? TGlyph::AutoPauseOn : TGlyph::AutoPauseOff));
    acAutoPause->setToolTip(on ? "オートポーズ autopause off" : "オートポーズ autopause on");
}

}  // namespace olve
