#include "lesson/key_commands.h"

namespace olve {

namespace {

// The small step of a shift or a nudge, and the large step of a shift.
constexpr int CardStepMs = 50;
constexpr int CardSecondStepMs = 1000;

// The key right of "0" gives "=" with Shift on Japanese keyboards: it is the minus key.
constexpr quint32 MinusKeyScanCode = 20;

TKeyCommand PlayKeyCommand(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_H:
        return TKeyCommand::Play;
    case Qt::Key_Escape:
    case Qt::Key_S:
        return TKeyCommand::Stop;
    case Qt::Key_Space:
    case Qt::Key_P:
        return TKeyCommand::Pause;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return modifiers & Qt::KeypadModifier ? TKeyCommand::Pause : TKeyCommand::None;
    case Qt::Key_Home:
    case Qt::Key_T:
        return TKeyCommand::Top;
    case Qt::Key_0:
    case Qt::Key_L:
        return TKeyCommand::PlayList;
    case Qt::Key_1:
    case Qt::Key_A:
        return TKeyCommand::AutoPause;
    case Qt::Key_B:
    case Qt::Key_Minus:
        return TKeyCommand::Back;
    case Qt::Key_N:
    case Qt::Key_Plus:
        return TKeyCommand::Next;
    case Qt::Key_Equal:
        return scanCode == MinusKeyScanCode ? TKeyCommand::Back : TKeyCommand::Next;
    case Qt::Key_Left:
        return TKeyCommand::SeekBack;
    case Qt::Key_Right:
        return TKeyCommand::SeekOn;
    default:
        return TKeyCommand::None;
    }
}

TKeyCommand SettingKeyCommand(int key, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_F1:
        return TKeyCommand::MainFontSmaller;
    case Qt::Key_F2:
        return TKeyCommand::MainFontBigger;
    case Qt::Key_F3:
        return TKeyCommand::SubFontSmaller;
    case Qt::Key_F4:
        return TKeyCommand::SubFontBigger;
    case Qt::Key_BracketLeft:
        return TKeyCommand::Slower;
    case Qt::Key_BracketRight:
        return TKeyCommand::Faster;
    case Qt::Key_Backslash:
        return TKeyCommand::NormalSpeed;
    case Qt::Key_R:
        return TKeyCommand::StepRepeats;
    case Qt::Key_W:
        return TKeyCommand::StepShadowing;
    case Qt::Key_E:
        return TKeyCommand::StepEnglishReveal;
    case Qt::Key_J:
        return TKeyCommand::StepJapaneseReveal;
    case Qt::Key_O:
        return modifiers & Qt::ControlModifier ? TKeyCommand::OpenDialog : TKeyCommand::ToggleLoop;
    case Qt::Key_G:
        return TKeyCommand::ResumeLastCard;
    case Qt::Key_Question:
        return TKeyCommand::Help;
    default:
        return TKeyCommand::None;
    }
}

TKeyCommand CardTimeKeyCommand(int key, Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_Z:
        if (modifiers & Qt::ControlModifier)
            return TKeyCommand::UndoCardChange;
        return shift ? TKeyCommand::ShiftSecondEarlier : TKeyCommand::ShiftEarlier;
    case Qt::Key_X:
        return shift ? TKeyCommand::ShiftSecondLater : TKeyCommand::ShiftLater;
    case Qt::Key_C:
        return shift ? TKeyCommand::CardEndEarlier : TKeyCommand::CardStartEarlier;
    case Qt::Key_V:
        return shift ? TKeyCommand::CardEndLater : TKeyCommand::CardStartLater;
    case Qt::Key_Y:
        return TKeyCommand::SyncCards;
    case Qt::Key_U:
        return TKeyCommand::SwitchSentenceCards;
    default:
        return TKeyCommand::None;
    }
}

}  // namespace

TKeyCommand KeyCommand(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    const TKeyCommand play = PlayKeyCommand(key, modifiers, scanCode);
    if (play != TKeyCommand::None)
        return play;
    const TKeyCommand setting = SettingKeyCommand(key, modifiers);
    return setting != TKeyCommand::None ? setting : CardTimeKeyCommand(key, modifiers);
}

}  // namespace olve

namespace olve {

int CardTimeStepMs(TKeyCommand command)
{
    switch (command) {
    case TKeyCommand::ShiftEarlier:
    case TKeyCommand::CardStartEarlier:
    case TKeyCommand::CardEndEarlier:
        return -CardStepMs;
    case TKeyCommand::ShiftLater:
    case TKeyCommand::CardStartLater:
    case TKeyCommand::CardEndLater:
        return CardStepMs;
    case TKeyCommand::ShiftSecondEarlier:
        return -CardSecondStepMs;
    case TKeyCommand::ShiftSecondLater:
        return CardSecondStepMs;
    default:
        return 0;
    }
}

}  // namespace olve
