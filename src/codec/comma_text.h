#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace olve {

// The one-line encoding of a list of strings used by card tags, title-file card lines and
// list-valued settings. Texts are code page 932 bytes; no byte of a two-byte character can
// be a space, a comma or a double quote, so the bytes are scanned one by one.
std::string CommaTextJoin(const std::vector<std::string>& items);
std::vector<std::string> CommaTextSplit(const std::string& text);

// The name of a "name=value" text: the part before its first "="; empty without "=".
std::string NameOf(const std::string& line);
// The part after the first "="; empty without "=".
std::string ValueOf(const std::string& line);
// "name=value".
std::string NamedLine(std::string_view name, std::string_view value);
// True when the text has an "=" and its name equals name, ignoring the case of ASCII letters.
bool IsNamed(const std::string& line, std::string_view name);

// The value of the first item of a comma text named name; false when there is none.
bool FindTag(const std::string& text, const std::string& name, std::string& value);
// The same, empty when there is none.
std::string GetTag(const std::string& text, const std::string& name);
// The comma text with the first item named name removed and, for a non-empty value,
// name=value appended at the end.
std::string SetTag(const std::string& text, const std::string& name, const std::string& value);

// A whole decimal integer that fits 32 bits, with an optional sign; false otherwise.
bool ParseDecimal(const std::string& text, int& value);
int DecimalOr(const std::string& text, int fallback);

}  // namespace olve
