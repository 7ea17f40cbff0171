#pragma once
#include <string>
#include <vector>

namespace olve {

// Names as a person orders them: runs of ASCII digits compare as numbers ("ep2" before
// "ep10", "ep007" with "ep7"), the rest by Unicode case folding ("Ep" with "ep"). Names that
// are equal that way ("ep01" and "ep1") fall back to their bytes, so the order never depends
// on the order a folder lists them in. UTF-8; bytes that are not UTF-8 still order.
int CompareNaturally(const std::string& a, const std::string& b);
bool NaturallyBefore(const std::string& a, const std::string& b);

void SortNaturally(std::vector<std::string>& names);

}  // namespace olve
