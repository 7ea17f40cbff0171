#pragma once
#include <QString>
#include <optional>

#include "app/hand_over_protocol.h"

namespace olve {

enum THandOverResult {
    hoHandedOver = 0,
    hoNoWindow = 1,
    hoNoBox = 2,
    hoBusy = 3,
};

// Hands text to the hand-over box of the instance listening on socketPath, when that
// instance's window is of class className and its caption contains captionPart.
int SendToRunningInstance(const QString& socketPath, const QString& className, const QString& captionPart,
                          const QString& text);

// Restores the running instance's window and brings it forward; false when none answers.
bool RaiseRunningInstance(const QString& socketPath);

// What the instance on socketPath says of its window and box; nothing when none answers
// within timeoutMs (capped at the usual reply time of a few seconds).
std::optional<THandOverReply> QueryRunningInstance(const QString& socketPath, int timeoutMs = 5000);
bool InstanceAnswers(const QString& socketPath, int timeoutMs = 5000);

}  // namespace olve
