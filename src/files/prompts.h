#pragma once
#include <string>

namespace olve {

// The only way the storage and title layers speak to the user. The player answers with
// message boxes; tests record what was said and answer questions themselves.
// Texts are UTF-8.
class TPrompts {
public:
    virtual ~TPrompts() = default;
    virtual void Message(const std::string& text) = 0;
    // A yes/no question: true for yes.
    virtual bool Question(const std::string& text) = 0;
};

}  // namespace olve
