#pragma once
#include <QWidget>
#include <functional>

#include "app/link_box.h"
#include "app/link_box_server.h"
#include "storage/prompts.h"

namespace olve {

// The player's main window.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // programPath: the running executable, whose folder holds the settings file.
    TForm1(const QString& programPath, TPrompts& prompts, QWidget* parent = nullptr);

    // Starts answering other starts of the program on socketPath.
    bool ListenForHandOvers(const QString& socketPath);

    // Called with a package path handed over by another start.
    std::function<void(const QString&)> OpenTitlePackage;

    TLinkBox* LinkBox() const { return FLinkBox; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate();
    void ReadBounds();
    void FormActivate();
    void LinkBoxChange();

    QString FProgramPath;
    TPrompts& FPrompts;
    QWidget* pnText = nullptr;
    TLinkBox* FLinkBox = nullptr;
    TLinkBoxServer* FLinkBoxServer = nullptr;
    bool FActivated = false;
};

}  // namespace olve
