// A data file (the settings file, "vcd.ini") loaded from any bytes, read section by section,
// written to and saved; what was saved must load back as it was.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "codec/data_file.h"

using namespace olve;

namespace {

void ReadEverySection(const TDataFile& file)
{
    for (const std::string& line : file.Lines()) {
        if (line.empty() || line[0] != '[')
            continue;
        const std::size_t close = line.find(']');
        const std::string section = line.substr(1, close == std::string::npos ? line.npos : close - 1);
        TStringList lines;
        file.ReadSection(section, lines);
        for (const std::string& entry : lines.Lines()) {
            const std::size_t eq = entry.find('=');
            if (eq != std::string::npos)
                file.ReadString(section, entry.substr(0, eq), "");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The second bit of the first byte picks the name that keeps repeated keys in "[files]".
    const bool vcd = size > 0 && (data[0] & 2) != 0;
    const std::string path = (fuzz::Scratch() / (vcd ? "vcd.ini" : "olveplayer.dat")).string();
    fuzz::WriteStoredText(path, data, size);
    std::vector<std::string> saved;
    {
        TDataFile file(path);
        ReadEverySection(file);
        file.WriteString("files", "code", "K100");
        file.WriteInteger("Form2", "Left", -120);
        file.WriteString("Form2", "Caption", "Player Olve / Rindale");
        file.Close();
        saved = file.Lines();
    }
    TDataFile reloaded(path);
    OLVE_FUZZ_CHECK(reloaded.Lines() == saved);
    return 0;
}
