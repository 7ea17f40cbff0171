#include <gtest/gtest.h>

#include "lesson/key_commands.h"

using namespace olve;

namespace {

struct TKeyCase {
    int Key;
    Qt::KeyboardModifiers Modifiers;
    quint32 ScanCode;
    TKeyCommand Expected;
};

}  // namespace

TEST(KeyCommands, EveryKeyOfTheMapRunsItsCommand)
{
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
    const TKeyCase cases[] = {
        {Qt::Key_Return, none, 0, TKeyCommand::Play},
        {Qt::Key_Enter, keypad, 0, TKeyCommand::Play},
        {Qt::Key_H, none, 0, TKeyCommand::Play},
        {Qt::Key_Escape, none, 0, TKeyCommand::Stop},
        {Qt::Key_S, none, 0, TKeyCommand::Stop},
        {Qt::Key_Space, none, 0, TKeyCommand::Pause},
        {Qt::Key_P, none, 0, TKeyCommand::Pause},
        {Qt::Key_Period, keypad, 0, TKeyCommand::Pause},
        {Qt::Key_Comma, keypad, 0, TKeyCommand::Pause},
        {Qt::Key_Home, none, 0, TKeyCommand::Top},
        {Qt::Key_T, none, 0, TKeyCommand::Top},
        {Qt::Key_0, none, 0, TKeyCommand::PlayList},
        {Qt::Key_L, none, 0, TKeyCommand::PlayList},
        {Qt::Key_1, none, 0, TKeyCommand::AutoPause},
        {Qt::Key_A, none, 0, TKeyCommand::AutoPause},
        {Qt::Key_B, none, 0, TKeyCommand::Back},
        {Qt::Key_Minus, none, 0, TKeyCommand::Back},
        {Qt::Key_N, none, 0, TKeyCommand::Next},
        {Qt::Key_Plus, none, 0, TKeyCommand::Next},
        {Qt::Key_Left, none, 0, TKeyCommand::SeekBack},
        {Qt::Key_Right, none, 0, TKeyCommand::SeekOn},
        {Qt::Key_F1, none, 0, TKeyCommand::MainFontSmaller},
        {Qt::Key_F2, none, 0, TKeyCommand::MainFontBigger},
        {Qt::Key_F3, none, 0, TKeyCommand::SubFontSmaller},
        {Qt::Key_F4, none, 0, TKeyCommand::SubFontBigger},
        {Qt::Key_BracketLeft, none, 0, TKeyCommand::Slower},
        {Qt::Key_BracketRight, none, 0, TKeyCommand::Faster},
        {Qt::Key_Backslash, none, 0, TKeyCommand::NormalSpeed},
        {Qt::Key_R, none, 0, TKeyCommand::StepRepeats},
        {Qt::Key_W, none, 0, TKeyCommand::StepShadowing},
        {Qt::Key_E, none, 0, TKeyCommand::StepEnglishReveal},
        {Qt::Key_J, none, 0, TKeyCommand::StepJapaneseReveal},
        {Qt::Key_O, none, 0, TKeyCommand::ToggleLoop},
        {Qt::Key_O, Qt::ControlModifier, 0, TKeyCommand::OpenDialog},
        {Qt::Key_G, none, 0, TKeyCommand::ResumeLastCard},
        {Qt::Key_Question, none, 0, TKeyCommand::Help},
        {Qt::Key_Z, none, 0, TKeyCommand::ShiftEarlier},
        {Qt::Key_X, none, 0, TKeyCommand::ShiftLater},
        {Qt::Key_Z, Qt::ShiftModifier, 0, TKeyCommand::ShiftSecondEarlier},
        {Qt::Key_X, Qt::ShiftModifier, 0, TKeyCommand::ShiftSecondLater},
        {Qt::Key_Z, Qt::ControlModifier, 0, TKeyCommand::UndoCardChange},
        {Qt::Key_C, none, 0, TKeyCommand::CardStartEarlier},
        {Qt::Key_V, none, 0, TKeyCommand::CardStartLater},
        {Qt::Key_C, Qt::ShiftModifier, 0, TKeyCommand::CardEndEarlier},
        {Qt::Key_V, Qt::ShiftModifier, 0, TKeyCommand::CardEndLater},
        {Qt::Key_Y, none, 0, TKeyCommand::SyncCards},
        {Qt::Key_U, none, 0, TKeyCommand::SwitchSentenceCards},
    };
    for (const TKeyCase& c : cases)
        EXPECT_EQ(KeyCommand(c.Key, c.Modifiers, c.ScanCode), c.Expected) << "key " << std::hex << c.Key;
    EXPECT_EQ(CardTimeStepMs(TKeyCommand::ShiftSecondEarlier), -1000);
    EXPECT_EQ(CardTimeStepMs(TKeyCommand::CardEndLater), 50);
    EXPECT_EQ(CardTimeStepMs(TKeyCommand::Play), 0);
}

TEST(KeyCommands, KeysOutsideTheMapAreLeftToOthers)
{
    // Period and comma pause only on the keypad: typed in a text they are text.
    EXPECT_EQ(KeyCommand(Qt::Key_Period, Qt::NoModifier), TKeyCommand::None);
    EXPECT_EQ(KeyCommand(Qt::Key_Comma, Qt::NoModifier), TKeyCommand::None);
    EXPECT_EQ(KeyCommand(Qt::Key_Q, Qt::NoModifier), TKeyCommand::None);
    EXPECT_EQ(KeyCommand(Qt::Key_F5, Qt::NoModifier), TKeyCommand::None);
    EXPECT_EQ(KeyCommand(Qt::Key_2, Qt::NoModifier), TKeyCommand::None);
}

TEST(KeyCommands, EqualsFollowsThePlaceOfItsKey)
{
    // On Japanese keyboards "=" is Shift with the minus key (scan code 20): back a card.
    EXPECT_EQ(KeyCommand(Qt::Key_Equal, Qt::ShiftModifier, 20), TKeyCommand::Back);
    // Elsewhere it shares the plus key, and where the place is unknown it goes on.
    EXPECT_EQ(KeyCommand(Qt::Key_Equal, Qt::NoModifier, 21), TKeyCommand::Next);
    EXPECT_EQ(KeyCommand(Qt::Key_Equal, Qt::NoModifier), TKeyCommand::Next);
}
