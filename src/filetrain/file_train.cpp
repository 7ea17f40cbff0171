#include "filetrain/file_train.h"

#include "filetrain/file_train_reader.h"
#include "filetrain/train_entry_name.h"

namespace olve {

int TTrainFiles::Add(const std::string& name, std::int32_t size, std::int64_t offset, std::int32_t storedSize)
{
    if (size < 0 || storedSize < 0 || offset < 0)
        return -1;
    FItems.push_back(TTrainFileItem{name, size, offset, storedSize});
    return Count() - 1;
}

const TTrainFileItem* TTrainFiles::Items(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return &FItems[static_cast<std::size_t>(index)];
}

bool ReadFileTrain(const std::string& fileName, TTrainFiles& files, std::string& header, bool* truncated)
{
    if (truncated)
        *truncated = false;
    files.Clear();
    header.clear();
    TFileTrainReader reader;
    if (!reader.Open(fileName) || !reader.ReadHeader(header))
        return false;
    TTrainEntry entry;
    for (;;) {
        switch (reader.Next(entry)) {
        case TEntryRead::Entry:
            files.Add(entry.Name, entry.Size, entry.DataOffset, entry.StoredSize());
            break;
        case TEntryRead::WrongTag:
            return false;
        case TEntryRead::End:
            return true;
        case TEntryRead::Truncated:
            if (truncated)
                *truncated = true;
            return true;
        }
    }
}

bool ReadFileTrainNames(const std::string& fileName, std::vector<TTrainName>& names, std::string& header)
{
    names.clear();
    TTrainFiles files;
    const bool result = ReadFileTrain(fileName, files, header);
    for (int i = 0; i < files.Count(); ++i) {
        TTrainName name;
        LocalEntryPath(files.Items(i)->Name, name.Name);
        name.Size = files.Items(i)->Size;
        names.push_back(name);
    }
    return result;
}

}  // namespace olve
