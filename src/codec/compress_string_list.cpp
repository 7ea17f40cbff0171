#include "codec/compress_string_list.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "files/atomic_file.h"
#include "codec/delta_code.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

bool MakeFolderOf(const std::string& fileName)
{
    const std::size_t slash = fileName.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return true;
    const fs::path folder(fileName.substr(0, slash));
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
}

}  // namespace

std::optional<TFailure> TCompressStringList::LoadFromFile(const std::string& fileName)
{
    std::error_code ec;
    if (!fs::exists(fs::path(fileName), ec))
        return TFailure{TFailureKind::Missing, fileName + " がありません", {}};
    const TFailure notBdc{TFailureKind::Damaged, "BDC 形式のファイルとして読めません", "cannot be read as BDC data", fileName};
    try {
        TDeltaCode codec;
        if (!ReadWholeFile(fileName, codec.Coded) || !codec.Decode())
            return notBdc;
        SetText(std::string(codec.Plain.begin(), codec.Plain.end()));
        return std::nullopt;
    } catch (const std::exception&) {
        // An unreadable file loads nothing, as a file of the wrong format does.
        return notBdc;
    }
}

int TCompressStringList::SaveToFile(const std::string& fileName)
{
    if (fileName.empty() || !MakeFolderOf(fileName))
        return 1;
    TDeltaCode codec;
    try {
        const std::string text = Text();
        codec.Plain.assign(text.begin(), text.end());
        codec.Encode();
    } catch (const std::exception&) {
        return 1;
    }
    return WriteFileAtomically(fileName, codec.Coded.data(), codec.Coded.size());
}

}  // namespace olve
