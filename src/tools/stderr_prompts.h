#pragma once
#include <iostream>

#include "files/prompts.h"

namespace olve {

// The tool's user is a terminal or a script: messages go to standard error and every
// question is answered no, so that nothing is changed behind the caller's back.
class TStderrPrompts : public TPrompts {
public:
    void Message(const std::string& text) override { std::cerr << text << "\n"; }
    bool Question(const std::string& text) override
    {
        std::cerr << text << " (no)\n";
        return false;
    }
};

}  // namespace olve
