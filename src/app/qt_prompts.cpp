#include "app/qt_prompts.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

namespace olve {

namespace {

// Messages name files and quote titles that anyone may have written: never read as markup.
QString Shown(const std::string& text)
{
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    return shown;
}

void ToStandardError(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
}

QString BoxTitle()
{
    const QString title = QApplication::applicationDisplayName();
    return title.isEmpty() ? QApplication::applicationName() : title;
}

}  // namespace

void TQtPrompts::Message(const std::string& text)
{
    const QString shown = Shown(text);
    ToStandardError(shown);
    QMessageBox box(QMessageBox::NoIcon, BoxTitle(), shown, QMessageBox::Ok, FParent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool TQtPrompts::Question(const std::string& text)
{
    const QString shown = Shown(text);
    ToStandardError(shown);
    QMessageBox box(QMessageBox::Question, BoxTitle(), shown, QMessageBox::Yes | QMessageBox::No, FParent);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace olve
