#include <gtest/gtest.h>

#include <QDialog>
#include <QTimer>
#include <csignal>

#include "app/termination_signals.h"

using namespace olve;

namespace {

// Ends the dialog with this code when nothing else has ended it by then.
constexpr int TimedOut = 7;

int Answer(QDialog& dialog)
{
    QTimer::singleShot(5000, &dialog, [&dialog] { dialog.done(TimedOut); });
    return dialog.exec();
}

}  // namespace

// Nothing on the way out waits for an answer: the dialog open at the signal and every dialog
// opened later return as if cancelled.
TEST(TerminationSignals, DismissEveryDialogThenCallBack)
{
    TTerminationSignals signals;
    int calls = 0;
    signals.SetOnSignal([&calls] { ++calls; });
    QDialog open;
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    EXPECT_EQ(Answer(open), QDialog::Rejected);
    EXPECT_TRUE(signals.Received());
    EXPECT_EQ(calls, 1);
    QDialog later;
    EXPECT_EQ(Answer(later), QDialog::Rejected);
}
