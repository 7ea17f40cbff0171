#include "installed_title.h"

#include <filesystem>

#include "storage/comma_text.h"
#include "storage/cp932_text.h"
#include "storage/data_file.h"
#include "storage/file_train.h"
#include "storage/train_entry_name.h"
#include "storage/train_extract.h"
#include "storage/virtual_cd.h"

using namespace olve;

namespace {

std::string FirstTitleEntry(const std::string& package)
{
    TTrainFiles files;
    std::string header;
    ReadFileTrain(package, files, header);
    for (int i = 0; i < files.Count(); ++i) {
        const std::string& name = files.Items(i)->Name;
        if (name.size() > 4 && SameAsciiIgnoringCase(name.substr(name.size() - 4), ".qzc"))
            return name;
    }
    return std::string();
}

std::string LocalPath(const std::string& programFolder, const std::string& stored)
{
    std::string relative;
    return LocalEntryPath(stored, relative) ? programFolder + relative : std::string();
}

}  // namespace

TInstalledTitle InstallAndOpen(const std::string& package, const std::string& programFolder, TPlayPackage& title,
                               TPrompts& prompts)
{
    TInstalledTitle installed;
    TExtractUi ui;
    TStringList written;
    if (!ExtractFileTrain(ui, package, programFolder, written, 1, true))
        return installed;
    installed.TitleFile = LocalPath(programFolder, FirstTitleEntry(package));
    if (installed.TitleFile.empty() || !title.LoadFromFile(installed.TitleFile, false, mtVirtualCD))
        return installed;
    installed.Loaded = true;
    title.TimeFormat = otfTrackMilliseconds;
    installed.Code = title.GetSetting("VolSerialNum");
    installed.VcdIni = FindVirtualCD(installed.Code, programFolder + "vcd/");
    TDataFile ini(installed.VcdIni, prompts);
    ini.ReadOnly = true;
    TStringList files;
    ini.ReadSection("files", files);
    ini.Close();
    if (files.Count() > 0) {
        installed.MediaName = ValueOf(files[0]);
        installed.MediaPath = LocalPath(programFolder, installed.MediaName);
    }
    return installed;
}
