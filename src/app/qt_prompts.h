#pragma once
#include <QWidget>
#include <QPointer>

#include "files/prompts.h"

namespace olve {

// Message boxes for the lower layers. Every text shown is also written to standard error,
// so that a user who started the program from a terminal, or a script, can read it.
class TQtPrompts : public TPrompts {
public:
    void SetParent(QWidget* parent) { FParent = parent; }

    void Message(const std::string& text) override;
    bool Question(const std::string& text) override;

private:
    QPointer<QWidget> FParent;
};

}  // namespace olve
