#include "codec/data_file.h"

#include <filesystem>
#include <system_error>

#include "codec/cp932_text.h"

namespace olve {

namespace {

std::string NameOf(const std::string& line)
{
    const std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

bool IsHeader(const std::string& line)
{
    return !line.empty() && line[0] == '[';
}

std::string BaseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TDataFile::TDataFile(const std::string& fileName)
    : FFileName(fileName)
{
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(fileName, ec);
    if (std::filesystem::is_regular_file(status))
        LoadFromFile(fileName);  // one that does not decode reads as empty, as a new file does
    else if (std::filesystem::exists(status))
        // Opening a pipe waits for a writer, and reading a device may never end.
        ReadOnly = true;
}

std::optional<TFailure> DataFileRefusal(const std::string& fileName)
{
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(fileName, ec);
    if (!std::filesystem::exists(status) || std::filesystem::is_regular_file(status))
        return std::nullopt;
    return TFailure{TFailureKind::Refused, "普通のファイルではないので使いません", "not a regular file: it is left as it is",
                    fileName, TSubjectPlace::Above};
}

int TDataFile::FindHeader(const std::string& section) const
{
    const std::string header = "[" + section + "]";
    for (int i = 0; i < Count(); ++i)
        if (SameTextIgnoringCase((*this)[i], header))
            return i;
    return -1;
}

// Index of the line after the section's last line: the next header, or the end.
int TDataFile::SectionEnd(int header) const
{
    int i = header + 1;
    while (i < Count() && !IsHeader((*this)[i]))
        ++i;
    return i;
}

void TDataFile::ReadSection(const std::string& section, TStringList& lines) const
{
    lines.BeginUpdate();
    lines.Clear();
    const int header = FindHeader(section);
    if (header >= 0) {
        const int end = SectionEnd(header);
        for (int i = header + 1; i < end; ++i)
            if (!(*this)[i].empty())
                lines.Add((*this)[i]);
    }
    lines.EndUpdate();
}

std::string TDataFile::ReadString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const
{
    TStringList lines;
    ReadSection(section, lines);
    for (const std::string& line : lines.Lines())
        if (line.find('=') != std::string::npos && SameTextIgnoringCase(NameOf(line), key))
            return line.substr(line.find('=') + 1);
    return defaultValue;
}

bool TDataFile::KeepsRepeatedKeys(const std::string& section) const
{
    return SameAsciiIgnoringCase(BaseName(FFileName), "vcd.ini") && SameTextIgnoringCase(section, "files");
}

int TDataFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string entry = key + "=" + value;
    TStringList lines;
    ReadSection(section, lines);
    for (const std::string& line : lines.Lines())
        if (SameTextIgnoringCase(line, entry))
            return -1;

    const int header = FindHeader(section);
    if (header < 0) {
        Add("[" + section + "]");
        return Add(entry);
    }
    const int end = SectionEnd(header);
    if (!KeepsRepeatedKeys(section)) {
        for (int i = header + 1; i < end; ++i) {
            if (NameOf((*this)[i]) == key && (*this)[i].find('=') != std::string::npos) {
                Put(i, entry);
                return i;
            }
        }
    }
    Insert(end, entry);
    return end;
}

int TDataFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

void TDataFile::Close()
{
    if (!ReadOnly && !FFileName.empty())
        SaveToFile(FFileName);
}

}  // namespace olve
