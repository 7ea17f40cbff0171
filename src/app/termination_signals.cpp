#include "app/termination_signals.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace olve {

namespace {

// The write end of the pair; a signal handler may only do async-signal-safe things, so it
// writes one byte and the GUI thread does the rest.
int SignalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(SignalPipe[1], &byte, 1);
}

}  // namespace

TTerminationSignals::TTerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), FOnSignal(std::move(onSignal))
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, SignalPipe) != 0)
        return;
    FNotifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = read(SignalPipe[0], &byte, 1);
        if (FOnSignal)
            FOnSignal();
    });
    struct sigaction action{};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

TTerminationSignals::~TTerminationSignals()
{
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
}

}  // namespace olve
