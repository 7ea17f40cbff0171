#include "title/play_card_list.h"

#include <utility>

#include "codec/card_text.h"
#include "timing/positions.h"
#include "title/list_error.h"
#include "title/play_card_text.h"

namespace olve {

TPlayCardList::~TPlayCardList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TPlayCardList::CheckIndex(int i) const
{
    if (i < 0 || i >= Count())
        throw EListError(i);
}

void TPlayCardList::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange(*this);
}

void TPlayCardList::Changing()
{
    if (FUpdateCount == 0 && OnChanging)
        OnChanging(*this);
}

void TPlayCardList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

template <typename Setter>
void TPlayCardList::GuardedSet(int i, Setter set)
{
    CheckIndex(i);
    Changing();
    set(FCards[i]);
    Changed();
}

void TPlayCardList::SetPicture(int i, const std::string& value)
{
    GuardedSet(i, [&](TPlayCardItem& c) { c.Picture = value; });
}

void TPlayCardList::SetSubText(int i, const std::string& value)
{
    GuardedSet(i, [&](TPlayCardItem& c) { c.SubText = value; });
}

void TPlayCardList::SetMainText(int i, const std::string& value)
{
    GuardedSet(i, [&](TPlayCardItem& c) { c.MainText = value; });
}

void TPlayCardList::SetDataText(int i, const std::string& value)
{
    GuardedSet(i, [&](TPlayCardItem& c) { c.DataText = value; });
}

void TPlayCardList::SetTimeFormat(int i, TOlveTimeFormat value)
{
    GuardedSet(i, [&](TPlayCardItem& c) { c.TimeFormat = value; });
}

void TPlayCardList::SetObject(int i, std::int32_t value)
{
    GuardedSet(i, [&](TPlayCardItem& c) { c.Object = value; });
}

void TPlayCardList::SetStartPos(int i, std::uint32_t value)
{
    GuardedSet(i, [&](TPlayCardItem& c) { c.StartPos = value; });
}

void TPlayCardList::SetEndPos(int i, std::uint32_t value)
{
    GuardedSet(i, [&](TPlayCardItem& c) { c.EndPos = value; });
}

TPlayCardItem TPlayCardList::GetCard(int i) const
{
    return Card(i);
}

const TPlayCardItem& TPlayCardList::Card(int i) const
{
    CheckIndex(i);
    return FCards[i];
}

void TPlayCardList::PutCard(int i, const TPlayCardItem& card)
{
    CheckIndex(i);
    Changing();
    TPlayCardItem& c = FCards[i];
    c.MainText = card.MainText;
    c.SubText = card.SubText;
    c.DataText = card.DataText;
    c.Picture = card.Picture;
    c.StartPos = card.StartPos;
    c.EndPos = card.EndPos;
    c.TimeFormat = card.TimeFormat;
    c.Object = card.Object;
    Changed();
}

void TPlayCardList::SetCapacity(int n)
{
    FCapacity = n;
    FCards.reserve(static_cast<std::size_t>(std::max(n, 0)));
}

void TPlayCardList::Grow()
{
    const int delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
    SetCapacity(FCapacity + delta);
}

std::uint8_t TPlayCardList::StartTrack(int i) const
{
    return static_cast<std::uint8_t>(Card(i).StartPos & 255);
}

std::string TPlayCardList::StartPosText(int i) const
{
    const TPlayCardItem& c = Card(i);
    return PositionText(c.StartPos, c.TimeFormat);
}

std::int32_t TPlayCardList::StartUnits(int i) const
{
    const TPlayCardItem& c = Card(i);
    return static_cast<std::int32_t>(ToPlayerUnits(c.StartPos, c.TimeFormat));
}

std::uint8_t TPlayCardList::EndTrack(int i) const
{
    return static_cast<std::uint8_t>(Card(i).EndPos & 255);
}

std::string TPlayCardList::EndPosText(int i) const
{
    const TPlayCardItem& c = Card(i);
    return PositionText(c.EndPos, c.TimeFormat);
}

std::int32_t TPlayCardList::EndUnits(int i) const
{
    const TPlayCardItem& c = Card(i);
    return static_cast<std::int32_t>(ToPlayerUnits(c.EndPos, c.TimeFormat));
}

std::string TPlayCardList::ShowText(int i) const
{
    return CardTextPart(FCards[i].MainText, FCards[i].DataText);
}

std::int32_t TPlayCardList::LengthUnits(int i) const
{
    // Units are 32-bit; the difference wraps as it does in 32 bits rather than overflowing.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(EndUnits(i)) - static_cast<std::uint32_t>(StartUnits(i)));
}

int TPlayCardList::Add(const TPlayCardItem& card)
{
    const int index = Count();
    InsertItem(index, card);
    return index;
}

void TPlayCardList::Clear()
{
    if (FCards.empty())
        return;
    Changing();
    FCards.clear();
    FCards.shrink_to_fit();
    FCapacity = 0;
    Changed();
}

void TPlayCardList::Delete(int i)
{
    CheckIndex(i);
    Changing();
    FCards.erase(FCards.begin() + i);
    Changed();
}

void TPlayCardList::Exchange(int i, int j)
{
    CheckIndex(i);
    CheckIndex(j);
    Changing();
    ExchangeItems(i, j);
    Changed();
}

void TPlayCardList::Insert(int i, const TPlayCardItem& card)
{
    if (i < 0 || i > Count())
        throw EListError(i);
    if (i < Count()) {
        InsertItem(i, card);
    } else if (Count() == 0) {
        Add(card);
    } else {
        // An append that sends two notification pairs.
        InsertItem(i - 1, card);
        Exchange(i - 1, i);
    }
}

void TPlayCardList::ExchangeItems(int i, int j)
{
    std::swap(FCards[i], FCards[j]);
}

void TPlayCardList::InsertItem(int i, const TPlayCardItem& card)
{
    Changing();
    if (Count() == FCapacity)
        Grow();
    FCards.insert(FCards.begin() + i, card);
    Changed();
}

bool TPlayCardList::KeyLess(int i, std::uint8_t track, std::int32_t units) const
{
    const std::uint8_t t = StartTrack(i);
    return t < track || (t == track && StartUnits(i) < units);
}

bool TPlayCardList::KeyGreater(int i, std::uint8_t track, std::int32_t units) const
{
    const std::uint8_t t = StartTrack(i);
    return t > track || (t == track && StartUnits(i) > units);
}

void TPlayCardList::QuickSort(int low, int high)
{
    while (low < high) {
        int i = low;
        int j = high;
        const int p = (low + high) >> 1;
        const std::uint8_t track = StartTrack(p);
        const std::int32_t units = StartUnits(p);
        do {
            while (KeyLess(i, track, units))
                ++i;
            while (KeyGreater(j, track, units))
                --j;
            if (i <= j) {
                ExchangeItems(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (low < j)
            QuickSort(low, j);
        low = i;
    }
}

void TPlayCardList::Sort()
{
    if (Count() < 2)
        return;
    Changing();
    QuickSort(0, Count() - 1);
    Changed();
}

}  // namespace olve
