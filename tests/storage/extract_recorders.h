#pragma once
// Stand-ins for the player's dialogs while installing: they record what they were asked and
// answer from a queue.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "filetrain/extract_feedback.h"
#include "filetrain/file_copy_question.h"

namespace train_test {

class TRecordingFeedback : public olve::TExtractFeedback {
public:
    int Busy = 0;
    int BusyCalls = 0;
    int Processed = 0;
    std::vector<std::string> Captions;
    std::vector<int> Maximums;
    int Steps = 0;
    int Hidden = 0;
    std::function<void()> OnStep;

    void BeginBusy() override
    {
        ++Busy;
        ++BusyCalls;
    }
    void EndBusy() override { --Busy; }
    void ProcessMessages() override { ++Processed; }
    void ShowProgress(const std::string& caption, int maximum) override
    {
        Captions.push_back(caption);
        Maximums.push_back(maximum);
    }
    void StepProgress() override
    {
        ++Steps;
        if (OnStep)
            OnStep();
    }
    void HideProgress() override { ++Hidden; }
};

class TAnsweringQuestion : public olve::TFileCopyQuestion {
public:
    struct TAnswer {
        TAnswer(olve::TCopyChoice choice, bool applyToAll = false, std::string oldName = "", std::string newName = "")
            : Choice(choice), ApplyToAll(applyToAll), OldName(std::move(oldName)), NewName(std::move(newName))
        {
        }
        olve::TCopyChoice Choice;
        bool ApplyToAll;
        std::string OldName;  // empty: keep the offered name
        std::string NewName;
    };
    std::vector<olve::TFileCopyRequest> Asked;
    std::vector<TAnswer> Answers;

    void Ask(olve::TFileCopyRequest& request) override
    {
        Asked.push_back(request);
        if (Answers.empty()) {
            request.Choice = olve::TCopyChoice::Cancel;
            request.ApplyToAll = false;
            return;
        }
        const TAnswer answer = Answers.front();
        Answers.erase(Answers.begin());
        request.Choice = answer.Choice;
        request.ApplyToAll = answer.ApplyToAll;
        if (!answer.OldName.empty())
            request.OldName = answer.OldName;
        if (!answer.NewName.empty())
            request.NewName = answer.NewName;
    }
};

}  // namespace train_test
