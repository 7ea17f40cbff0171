#pragma once
#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QTabWidget;

namespace olve {

// The help and about window: how to use the player, and the program's version.
class TFormHelp : public QDialog {
    Q_OBJECT
public:
    explicit TFormHelp(QWidget* parent = nullptr, const QString& version = QString(OLVE_VERSION));

    QString AboutText() const;
    QTabWidget* PageControl() const { return PageControl1; }

    static constexpr const char* HelpAddress = "https://olveplayer.example.org/help";
    static constexpr const char* SupportAddress = "https://olveplayer.example.org/support";

private:
    QTabWidget* PageControl1 = nullptr;
    QPlainTextEdit* mmAbout = nullptr;
};

}  // namespace olve
