#include "title/setting_lines.h"

#include "codec/comma_text.h"

namespace olve {

int IndexOfName(const TStringList& lines, std::string_view name)
{
    for (int i = 0; i < lines.Count(); ++i)
        if (IsNamed(lines[i], name))
            return i;
    return -1;
}

void SetValueOrDelete(TStringList& lines, std::string_view name, std::string_view value)
{
    const int i = IndexOfName(lines, name);
    if (i < 0) {
        if (!value.empty())
            lines.Add(NamedLine(name, value));
    } else if (value.empty()) {
        lines.Delete(i);
    } else {
        lines.Put(i, NamedLine(name, value));
    }
}

void SetOrInsertFirst(TStringList& lines, std::string_view name, std::string_view value)
{
    const int i = IndexOfName(lines, name);
    if (i < 0)
        lines.Insert(0, NamedLine(name, value));
    else
        lines.Put(i, NamedLine(name, value));
}

}  // namespace olve
