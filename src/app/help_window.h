#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>

class QPlainTextEdit;
class QTabWidget;
class QTableWidget;

namespace olve {

class TPrompts;

// The help and about window: how to use the player, the user guide, and the program's
// version. It is not modal: the player goes on taking keys and clicks while it is open.
class TFormHelp : public QDialog {
    Q_OBJECT
public:
    // guideFolders: where the user guide is looked for (UserGuideFolders); prompts tells the
    // user when it cannot be opened.
    TFormHelp(QWidget* parent, const QString& version, TPrompts& prompts, const QStringList& guideFolders);

    // Shows the window in front, or brings it there when it is already open.
    void Open();

    QString AboutText() const;
    QTabWidget* PageControl() const { return PageControl1; }
    // Two columns: the keys or mouse action, and what it does.
    QTableWidget* KeyTable() const { return tbKeys; }

private:
    QWidget* CreateUsagePage(TPrompts& prompts, const QStringList& guideFolders);
    QWidget* CreateAboutPage(const QString& version);

    QTabWidget* PageControl1 = nullptr;
    QTableWidget* tbKeys = nullptr;
    QPlainTextEdit* mmAbout = nullptr;
};

}  // namespace olve
