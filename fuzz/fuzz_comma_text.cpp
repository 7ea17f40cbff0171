// Comma text as it comes in title-file lines and card tags, and the card-text helpers that
// read those tags.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "codec/card_text.h"
#include "codec/comma_text.h"

using namespace olve;

namespace {

// Joining a split list gives it back, but for one documented loss: a trailing comma gives
// no final empty item, so a last empty item of several is dropped.
void CheckRoundTrip(const std::vector<std::string>& items)
{
    std::vector<std::string> expected = items;
    if (expected.size() > 1 && expected.back().empty())
        expected.pop_back();
    OLVE_FUZZ_CHECK(CommaTextSplit(CommaTextJoin(items)) == expected);
}

int CountNamed(const std::vector<std::string>& items, const std::string& name)
{
    int count = 0;
    for (const std::string& item : items)
        count += IsNamed(item, name) ? 1 : 0;
    return count;
}

void CheckTags(const std::string& text, const std::vector<std::string>& items)
{
    const std::string changed = SetTag(text, "SST", "17");
    if (CountNamed(items, "SST") <= 1)
        OLVE_FUZZ_CHECK(GetTag(changed, "sst") == "17");
    const std::string removed = SetTag(text, "SST", "");
    OLVE_FUZZ_CHECK(CountNamed(CommaTextSplit(removed), "SST") == std::max(CountNamed(items, "SST") - 1, 0));
}

void CheckCardText(const std::string& text)
{
    std::int32_t start = 0, length = 0;
    TextRangeOf(text, start, length);
    const std::string part = CardTextPart(text, text);
    OLVE_FUZZ_CHECK(part.size() <= text.size() + 3);
    const std::string expanded = ExpandLineBreaks(text);
    OLVE_FUZZ_CHECK(expanded.size() == text.size());
    int value = 0;
    if (ParseDecimal(text, value))
        OLVE_FUZZ_CHECK(std::to_string(value) == text || text[0] == '+' || text[0] == '0' || text.rfind("-0", 0) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> items = CommaTextSplit(text);
    CheckRoundTrip(items);
    CheckTags(text, items);
    CheckCardText(text);
    return 0;
}
