#include "app/file_copy_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace olve {

namespace {

const char* const ChoiceCaptions[] = {
    "日時の新しいものだけコピーする",
    "上書きする",
    "名前を変えてコピーする",
    "コピーを中止する",
};

const QString Gap = QStringLiteral("\n\n");

QString FileNameOf(const QString& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QString FolderOf(const QString& path)
{
    return path.left(path.lastIndexOf('/') + 1);
}

QString SizeText(std::int64_t size)
{
    // "#,##0": thousands always grouped with commas, whatever the locale.
    return QStringLiteral("     ") + QLocale(QLocale::English).toString(static_cast<qlonglong>(size)) +
           QStringLiteral(" バイト");
}

// The packed fields as they are, so that no time zone can shift what the package says.
QString DateText(std::uint32_t dos)
{
    const QString text = QString::asprintf("%04u/%02u/%02u %02u:%02u:%02u", 1980 + (dos >> 25), (dos >> 21) & 15,
                                           (dos >> 16) & 31, (dos >> 11) & 31, (dos >> 5) & 63, (dos & 31) * 2);
    return QStringLiteral("     更新日時 ") + text;
}

bool IsPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') && !name.contains('\\');
}

}  // namespace

TdlgFileCopy::TdlgFileCopy(TPrompts& prompts, QWidget* parent) : QDialog(parent), FPrompts(prompts)
{
    setWindowTitle(QStringLiteral("ファイル コピー"));

    auto* choices = new QGroupBox(this);
    auto* choiceLayout = new QVBoxLayout(choices);
    rgChoice = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(ChoiceCaptions[i]), choices);
        button->setObjectName(QStringLiteral("rbChoice%1").arg(i));
        rgChoice->addButton(button, i);
        choiceLayout->addWidget(button);
    }
    connect(rgChoice, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            rgChoiceClick();
    });

    edOld = new QLineEdit(this);
    edOld->setObjectName(QStringLiteral("edOld"));
    edNew = new QLineEdit(this);
    edNew->setObjectName(QStringLiteral("edNew"));
    btnOK = new QPushButton(QStringLiteral("ＯＫ"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnAll = new QPushButton(QStringLiteral("以降すべて"), this);
    btnAll->setObjectName(QStringLiteral("btnAll"));
    connect(btnOK, &QPushButton::clicked, this, &TdlgFileCopy::btnOKClick);
    connect(btnAll, &QPushButton::clicked, this, &TdlgFileCopy::btnAllClick);
    meInfo = new QPlainTextEdit(this);
    meInfo->setObjectName(QStringLiteral("meInfo"));
    meInfo->setReadOnly(true);

    auto* names = new QGridLayout;
    names->addWidget(new QLabel(QStringLiteral("元からあるファイル"), this), 0, 0);
    names->addWidget(edOld, 0, 1);
    names->addWidget(new QLabel(QStringLiteral("コピーするファイル"), this), 1, 0);
    names->addWidget(edNew, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnOK);
    buttons->addWidget(btnAll);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("コピー先に同じ名前のファイルがあります"), this));
    left->addWidget(new QLabel(QStringLiteral("以下のいずれかを選択してください"), this));
    left->addWidget(choices);
    left->addLayout(names);
    left->addStretch();
    left->addLayout(buttons);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addWidget(meInfo, 1);

    resize(636, 312);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString TdlgFileCopy::InfoText(const TFileCopyRequest& request)
{
    const QString path = QString::fromStdString(request.NewPath);
    return Gap + QStringLiteral("ファイル名： ") + FileNameOf(path) + Gap + QStringLiteral("フォルダ名： ") +
           FolderOf(path) + Gap + QStringLiteral("元からあるファイル") + Gap + SizeText(request.ExistingSize) + Gap +
           DateText(request.ExistingDate) + Gap + QStringLiteral("コピーするファイル") + Gap +
           SizeText(request.EntrySize) + Gap + DateText(request.EntryDate) + Gap;
}

void TdlgFileCopy::Setup(const TFileCopyRequest& request)
{
    rgChoice->button(static_cast<int>(request.Choice))->setChecked(true);
    const QString name = FileNameOf(QString::fromStdString(request.NewPath));
    edOld->setText(name);
    edNew->setText(name);
    meInfo->setPlainText(InfoText(request));
    rgChoiceClick();
}

void TdlgFileCopy::Answer(TFileCopyRequest& request) const
{
    if (!FAnswered) {
        request.Choice = TCopyChoice::Cancel;
        request.ApplyToAll = false;
        return;
    }
    request.Choice = static_cast<TCopyChoice>(rgChoice->checkedId());
    request.OldName = edOld->text().toStdString();
    request.NewName = edNew->text().toStdString();
    request.ApplyToAll = FApplyToAll;
}

void TdlgFileCopy::rgChoiceClick()
{
    const bool rename = rgChoice->checkedId() == static_cast<int>(TCopyChoice::Rename);
    edOld->setEnabled(rename);
    edNew->setEnabled(rename);
}

// Renaming needs two different plain file names.
bool TdlgFileCopy::CanClose()
{
    if (rgChoice->checkedId() != static_cast<int>(TCopyChoice::Rename))
        return true;
    const QString oldName = edOld->text();
    const QString newName = edNew->text();
    if (IsPlainFileName(oldName) && IsPlainFileName(newName) && oldName.compare(newName, Qt::CaseInsensitive) != 0)
        return true;
    FPrompts.Message("ファイル名を変えてください");
    return false;
}

void TdlgFileCopy::btnOKClick()
{
    if (!CanClose())
        return;
    FAnswered = true;
    FApplyToAll = false;
    accept();
}

void TdlgFileCopy::btnAllClick()
{
    if (!CanClose())
        return;
    FAnswered = true;
    FApplyToAll = true;
    accept();
}

}  // namespace olve
