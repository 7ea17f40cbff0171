#pragma once
#include <string>
#include <string_view>

#include "codec/string_list.h"

namespace olve {

// Lists of "name=value" lines, names matched without regard to the case of ASCII letters.

// The index of the first line named name, or -1.
int IndexOfName(const TStringList& lines, std::string_view name);
// Replaces the line named name (deleting it for an empty value), or appends name=value
// when there is none and the value is not empty.
void SetValueOrDelete(TStringList& lines, std::string_view name, std::string_view value);
// Replaces the line named name, or inserts name=value as the first line.
void SetOrInsertFirst(TStringList& lines, std::string_view name, std::string_view value);

}  // namespace olve
