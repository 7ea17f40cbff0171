#pragma once
#include <QtGlobal>
#include <Qt>

namespace olve {

// What a key asks of the player, before any widget runs it.
enum class TKeyCommand {
    None,
    // Play to Next are the tool bar's actions, in the order the window lists them.
    Play,
    Stop,
    Pause,
    Top,
    PlayList,
    AutoPause,
    Back,
    Next,
    SeekBack,
    SeekOn,
    MainFontSmaller,
    MainFontBigger,
    SubFontSmaller,
    SubFontBigger,
    Slower,
    Faster,
    NormalSpeed,
    StepRepeats,
    StepShadowing,
    StepEnglishReveal,
    StepJapaneseReveal,
    OpenDialog,
    ToggleLoop,
    ResumeLastCard,
    Help,
    // The open title's cards 50 ms or 1 s earlier or later, the latest change to them taken
    // back, the current card's edges 50 ms earlier or later, and the cards laid over the speech.
    ShiftEarlier,
    ShiftLater,
    ShiftSecondEarlier,
    ShiftSecondLater,
    UndoCardChange,
    CardStartEarlier,
    CardStartLater,
    CardEndEarlier,
    CardEndLater,
    SyncCards,
    // The open title of the learner's own material made again with one card per sentence, or
    // back to one card per cue.
    SwitchSentenceCards,
};

// The key map: None for keys it does not take. scanCode: the key's place on the keyboard
// where known (tells "=" on the minus key of Japanese keyboards from "=" on the plus key of
// others).
TKeyCommand KeyCommand(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode = 0);

// How far a key that moves cards or a card's edge moves it, in milliseconds (negative:
// earlier); 0 for other commands.
int CardTimeStepMs(TKeyCommand command);

}  // namespace olve
