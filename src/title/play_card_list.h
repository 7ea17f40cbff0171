#pragma once
#include <vector>

#include "title/play_cards.h"

namespace olve {

// Cards held by value in one array that grows in steps.
class TPlayCardList : public TPlayCards {
public:
    using TNotifyEvent = std::function<void(TPlayCards&)>;
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    TPlayCardList() = default;
    TPlayCardList(const TPlayCardList&) = delete;
    TPlayCardList& operator=(const TPlayCardList&) = delete;
    ~TPlayCardList() override;

    void SetPicture(int i, const std::string& value) override;
    void SetSubText(int i, const std::string& value) override;
    void SetMainText(int i, const std::string& value) override;
    void SetDataText(int i, const std::string& value) override;
    void SetTimeFormat(int i, TOlveTimeFormat value) override;
    void SetObject(int i, std::int32_t value) override;
    void SetStartPos(int i, std::uint32_t value) override;
    void SetEndPos(int i, std::uint32_t value) override;

    TPlayCardItem GetCard(int i) const override;
    const TPlayCardItem& Card(int i) const;
    int Capacity() const override { return FCapacity; }
    int Count() const override { return static_cast<int>(FCards.size()); }
    void PutCard(int i, const TPlayCardItem& card) override;
    void SetCapacity(int n) override;
    void SetUpdateState(bool updating) override;

    std::uint8_t StartTrack(int i) const override;
    std::string StartPosText(int i) const override;
    std::int32_t StartUnits(int i) const override;
    std::uint8_t EndTrack(int i) const override;
    std::string EndPosText(int i) const override;
    std::int32_t EndUnits(int i) const override;
    std::string ShowText(int i) const override;
    std::int32_t LengthUnits(int i) const override;

    int Add(const TPlayCardItem& card) override;
    void Clear() override;
    void Delete(int i) override;
    void Exchange(int i, int j) override;
    void Insert(int i, const TPlayCardItem& card) override;

    // Unchecked and silent: callers pass valid indexes.
    virtual void ExchangeItems(int i, int j);
    virtual void InsertItem(int i, const TPlayCardItem& card);
    virtual void Changed();
    virtual void Changing();
    // By track (unsigned), then units (signed); one notification pair; not stable.
    virtual void Sort();

protected:
    void CheckIndex(int i) const;
    template <typename Setter>
    void GuardedSet(int i, Setter set);

private:
    void Grow();
    void QuickSort(int low, int high);
    bool KeyLess(int i, std::uint8_t track, std::int32_t units) const;
    bool KeyGreater(int i, std::uint8_t track, std::int32_t units) const;

    std::vector<TPlayCardItem> FCards;
    int FCapacity = 0;
};

}  // namespace olve
