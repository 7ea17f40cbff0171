#pragma once
#include <string>
#include <vector>

#include "files/prompts.h"
#include "title/time_format_change.h"

// Records every message and question; answers questions with the queued answers (yes when
// none are left).
class TRecordingPrompts : public olve::TPrompts {
public:
    std::vector<std::string> Said;
    std::vector<bool> Answers;

    void Message(const std::string& text) override { Said.push_back(text); }
    bool Question(const std::string& text) override
    {
        Said.push_back(text);
        if (Answers.empty())
            return true;
        const bool answer = Answers.front();
        Answers.erase(Answers.begin());
        return answer;
    }
    // Asks a title's change of time format as a question of these prompts.
    olve::TTimeFormatConsent Consent()
    {
        return [this](const olve::TTimeFormatChange& change) { return Question(olve::QuestionText(change)); };
    }
};
