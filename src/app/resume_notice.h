#pragma once
#include <QLabel>

namespace olve {

// The notice at the foot of the English text that offers to go on from the card the learner
// reached last time.
class TResumeNotice : public QLabel {
    Q_OBJECT
public:
    explicit TResumeNotice(QWidget* textPane);

    // Offers lastCard of count cards; the first card, or one the title no longer has, is no
    // offer and withdraws any shown.
    void Offer(int lastCard, int count);
    void Withdraw();
    // The card offered; -1 without an offer.
    int Card() const { return FCard; }
    // Lays the notice along the bottom of a text view ending at bottom.
    void Place(int bottom, int width);

private:
    int FCard = -1;
};

}  // namespace olve
