#include "app/main_window.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>

#include "media/content_class.h"
#include "media/device_error.h"
#include "app/startup_check.h"
#include "storage/comma_text.h"
#include "storage/compress_string_list.h"
#include "storage/cp932_text.h"
#include "storage/data_file.h"
#include "storage/file_train.h"
#include "storage/letter_case_path.h"
#include "storage/title_paths.h"
#include "storage/train_extract.h"
#include "storage/virtual_cd.h"
#include "title/setting_lines.h"

namespace olve {

namespace {

const char* const LineBreaks = "\r\n\r\n";

bool IsPackage(const QString& path)
{
    return QFileInfo(path).suffix().compare("qzw", Qt::CaseInsensitive) == 0;
}

// A value of a title file's settings, read from the file itself.
std::string TitleFileValue(const QString& titlePath, const char* name, TPrompts& prompts)
{
    TCompressStringList lines(prompts);
    lines.LoadFromFile(titlePath.toStdString());
    const int i = IndexOfName(lines, name);
    return i < 0 ? std::string() : ValueOf(lines[i]);
}

// The path as it exists, in whatever letter case; as given when nothing matches.
QString PathIgnoringCase(const QString& path)
{
    const std::string found = ExistingPathIgnoringCase(path.toStdString());
    return found.empty() ? path : QString::fromStdString(found);
}

// A stored path (code page 932, "\" between folders) on this file system: relative paths
// start at the program's folder, and a name not found as written is looked up ignoring
// letter case.
QString LocalPath(const std::string& stored, const QString& programFolder)
{
    QString path = QString::fromStdString(Cp932ToUtf8(stored));
    path.replace('\\', '/');
    if (path.isEmpty())
        return path;
    if (QFileInfo(path).isRelative())
        path = programFolder + "/" + path;
    return PathIgnoringCase(path);
}

bool HasSubText(const TPlayCardList& cards)
{
    for (int i = 0; i < cards.Count(); ++i) {
        const std::string& text = cards.Card(i).SubText;
        for (char c : text)
            if (static_cast<unsigned char>(c) > ' ')
                return true;
    }
    return false;
}

}  // namespace

bool TForm1::OpenTitlePackage(const QString& packagePath)
{
    if (FClosing)
        return false;
    ++FOpening;
    const bool opened = InstallAndOpen(packagePath);
    --FOpening;
    // The window was to close while this ran: it closes now that nothing is being written.
    if (FClosing && FOpening == 0)
        close();
    return opened;
}

bool TForm1::InstallAndOpen(const QString& packagePath)
{
    if (FPlayer->DeviceID() != 0)
        FPlayer->Close();
    TStringList written;
    TExtractOutcome outcome;
    const TExtractUi ui{FExtractFeedback.get(), FCopyQuestion.get(), &FPrompts};
    const bool installed =
        ExtractFileTrain(ui, packagePath.toStdString(), ProgramFolder().toStdString(), written, 1, true, &outcome);
    // Whatever was written is removed on close, however the installation ended.
    if (installed)
        RemoveInstalledFiles(FInstalledFiles.Add(written.Lines(), outcome));
    if (FClosing)
        return false;
    if (!installed) {
        raise();
        activateWindow();
        FPrompts.Message(packagePath.toStdString() + LineBreaks + "のインストールに失敗しました");
        return false;
    }
    QString message;
    const bool opened = OpenPackagedTitle(packagePath, message);
    if (!opened)
        FPrompts.Message(message.toStdString());
    return opened;
}

bool TForm1::OpenPackagedTitle(const QString& packagePath, QString& message)
{
    message = QString("失敗しました") + LineBreaks + "failed in installing" + LineBreaks + packagePath;
    std::vector<TTrainName> names;
    std::string header;
    ReadFileTrainNames(packagePath.toStdString(), names, header);
    for (const TTrainName& entry : names) {
        if (entry.Name.empty() || !QString::fromStdString(entry.Name).endsWith(".qzc", Qt::CaseInsensitive))
            continue;
        message.clear();
        try {
            // Installed with the header folder, as ExtractFileTrain places it.
            QString installed = PathIgnoringCase(ProgramFolder() + "/" + QString::fromStdString(entry.Name));
            const QString headed = PathIgnoringCase(ProgramFolder() + "/" +
                                                 QString::fromStdString(Cp932ToUtf8(header)).replace('\\', '/') + "/" +
                                                 QString::fromStdString(entry.Name));
            if (!header.empty() && !QFileInfo::exists(installed) && QFileInfo::exists(headed))
                installed = headed;
            OpenTitle(installed);
        } catch (const std::exception&) {
            // Opening reports its own failures; whatever happened, the package is installed.
        }
        return true;
    }
    return false;
}

bool TForm1::OpenTitle(const QString& titlePath)
{
    if (!QFileInfo(titlePath).isFile())
        return false;
    SetAutoPause(false);
    const std::string serial = TitleFileValue(titlePath, "VolSerialNum", FPrompts);
    if (serial.empty())
        return false;

    std::string media;
    {
        const std::string ini = FindVirtualCD(serial, PathIgnoringCase(ProgramFolder() + "/vcd").toStdString() + "/");
        TDataFile vcd(ini, FPrompts);
        vcd.ReadOnly = true;
        TStringList files;
        vcd.ReadSection("files", files);
        if (files.Count() > 0)
            media = ValueOf(files[0]);
        vcd.Close();
    }
    const QString mediaPath = LocalPath(media, ProgramFolder());
    if (mediaPath.isEmpty() || !QFileInfo::exists(mediaPath)) {
        if (FStartPackage.isEmpty())
            FPrompts.Message(std::string("ファイルが見つかりません") + LineBreaks + "file not exist" + LineBreaks + "< " +
                             mediaPath.toStdString() + " >");
        return false;
    }

    FPlayer->FileName = mediaPath;
    try {
        FPlayer->Open();
    } catch (const EMCIDeviceError&) {
        FPrompts.Message("デバイスエラー");
    }
    if (FPlayer->DeviceID() == 0) {
        std::string text = std::string("ファイルが開けません") + LineBreaks + "file can not open" + LineBreaks + mediaPath.toStdString();
        if (QFileInfo(mediaPath).suffix().compare("wmv", Qt::CaseInsensitive) == 0)
            text += std::string(LineBreaks) + "マイクロソフトのメディアプレーヤー最新版をインストールすると解決する場合があります" + LineBreaks;
        FPrompts.Message(text);
        return false;
    }

    FTitleFolder = QString::fromStdString(olve::TitleFolder((ProgramFolder() + "/").toStdString(), serial));
    FPackage->LoadFromFile(titlePath.toStdString(), false, mtVirtualCD);
    FCardUnitsStale = true;
    FLastCaret = -1;
    FPackage->TimeFormat = otfTrackMilliseconds;
    sgCards->setRowCount(FPackage->MainCards.Count() + 1);
    if (FPackage->GetSetting("MTxInd") == "itOlve")
        FMainView->SetTextIndent(itStandard);
    for (int i = 0; i < FPackage->MainCards.Count(); ++i)
        FPackage->MainCards.SetTimeFormat(i, otfTrackMilliseconds);
    for (int i = 0; i < FPackage->VcdCards.Count(); ++i)
        FPackage->VcdCards.SetTimeFormat(i, otfTrackMilliseconds);
    FShowCursor = FPackage->GetSetting("CsrShw") != "Off";
    FShowUnderline = FPackage->GetSetting("UlnShw") != "Off";
    ShowProgress(0);
    if (FDisplayMode != 4 && FDisplayMode != 5)
        FSubView->setVisible(HasSubText(FPackage->MainCards));

    const bool list = FPackage->GetSetting("MonSty") == "msList";
    if (ContentClassOfFile(mediaPath) == "video") {
        SetDisplayMode(list ? 5 : 2);
        FPlayer->SetDisplay(pnPic);
        FPlayer->SetDisplayRect(QRect());
        const QRect natural = FPlayer->DisplayRect();
        FVideoWidth = natural.right() + 1;
        FVideoHeight = natural.bottom() + 1;
        FitVideo();
    } else if (HasPictures()) {
        if (list) {
            SetDisplayMode(5);
        } else {
            SetDisplayMode(2);
            const std::string align = FPackage->GetSetting("ImgAln");
            SetDisplayMode(align == "alTop" || align == "alBottom" ? 3 : 1);
        }
    } else {
        SetDisplayMode(list ? 4 : 0);
    }
    ShowTextPane(!(FPackage->GetSetting("MTxShw") == "Off" && FPackage->GetSetting("STxShw") == "Off"));
    setWindowTitle(GetTitleName(titlePath) + " - " + ApplicationTitle);
    EnablePlayControls(true);
    PlayCard(-1);
    return true;
}

QString TForm1::GetTitleName(const QString& titlePath) const
{
    if (!QFileInfo(titlePath).isFile())
        return {};
    const std::string name = TitleFileValue(titlePath, "VolFileTitle", FPrompts);
    if (!name.empty())
        return QString::fromStdString(Cp932ToUtf8(name));
    return QFileInfo(titlePath).completeBaseName();
}

void TForm1::RemoveInstalledFiles(const std::vector<std::string>& files)
{
    const QString root = QDir(ProgramFolder()).canonicalPath();
    for (const std::string& file : files) {
        const QString path = QString::fromStdString(file);
        // Only what lies below the program's folder is ours to remove.
        const QString folder = QFileInfo(path).absolutePath();
        const QString canonical = QDir(folder).canonicalPath();
        if (canonical.isEmpty() || (canonical != root && !canonical.startsWith(root + "/")))
            continue;
        QFile::remove(path);
        QDir dir(canonical);
        while (dir.absolutePath() != root && dir.absolutePath().startsWith(root + "/")) {
            const QString name = dir.dirName();
            if (!dir.cdUp() || !dir.rmdir(name))
                break;
        }
    }
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    DropFiles(paths);
}

void TForm1::DropFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    raise();
    activateWindow();
    QStringList packages;
    for (const QString& path : paths)
        if (IsPackage(path))
            packages << path;
    if (packages.size() == 1) {
        if (FPlayer->DeviceID() != 0)
            FPlayer->Close();
        FMainView->ResetUnderline();
        FMainView->SetDisplayText(std::string());
        OpenTitlePackage(packages.first());
    } else {
        QApplication::beep();
        const QString suffix = QFileInfo(paths.first()).suffix();
        FPrompts.Message("この拡張子 <" + (suffix.isEmpty() ? std::string() : "." + suffix.toStdString()) +
                         "> のファイルには対応していません");
    }
    QApplication::restoreOverrideCursor();
}

}  // namespace olve
