#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "title/play_card_item.h"

namespace olve {

// The card list interface. The field setters and capacity do nothing here; concrete lists
// keep the cards. Every changing operation of a concrete list sends OnChanging before it
// touches the cards and OnChange after, unless an update bracket holds them back.
class TPlayCards {
public:
    virtual ~TPlayCards() = default;

    virtual void SetPicture(int, const std::string&) {}
    virtual void SetSubText(int, const std::string&) {}
    virtual void SetMainText(int, const std::string&) {}
    virtual void SetDataText(int, const std::string&) {}
    virtual void SetTimeFormat(int, TOlveTimeFormat) {}
    virtual void SetObject(int, std::int32_t) {}
    virtual void SetStartPos(int, std::uint32_t) {}
    virtual void SetEndPos(int, std::uint32_t) {}

    virtual TPlayCardItem GetCard(int i) const = 0;
    virtual int Capacity() const { return Count(); }
    virtual int Count() const = 0;
    virtual void PutCard(int i, const TPlayCardItem& card);
    virtual void SetCapacity(int) {}
    virtual void SetUpdateState(bool) {}

    virtual std::uint8_t StartTrack(int i) const = 0;
    virtual std::string StartPosText(int i) const = 0;
    virtual std::int32_t StartUnits(int i) const = 0;
    virtual std::uint8_t EndTrack(int i) const = 0;
    virtual std::string EndPosText(int i) const = 0;
    virtual std::int32_t EndUnits(int i) const = 0;
    // The part of MainText that card i shows; i must be valid.
    virtual std::string ShowText(int i) const = 0;
    virtual std::int32_t LengthUnits(int i) const = 0;

    // Returns the new card's index.
    virtual int Add(const TPlayCardItem& card);
    virtual void AddCards(const TPlayCards& source);
    virtual void Clear() = 0;
    virtual void Delete(int i) = 0;
    virtual void Exchange(int i, int j);
    virtual void Insert(int i, const TPlayCardItem& card) = 0;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    void AddRec(const TPlayCardItem& card) { Add(card); }
    void Assign(const TPlayCards& source);

protected:
    int FUpdateCount = 0;
};

// Holds BeginUpdate to its EndUpdate on every way out of a block.
class TUpdateBracket {
public:
    explicit TUpdateBracket(TPlayCards& cards) : FCards(cards) { FCards.BeginUpdate(); }
    ~TUpdateBracket() { FCards.EndUpdate(); }
    TUpdateBracket(const TUpdateBracket&) = delete;
    TUpdateBracket& operator=(const TUpdateBracket&) = delete;

private:
    TPlayCards& FCards;
};

}  // namespace olve
