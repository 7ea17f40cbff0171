#include "app/start_page.h"

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTextDocument>
#include <QPushButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "lesson/lesson_store.h"
#include "lesson/series_record.h"

namespace olve {

namespace {

constexpr int PackageRole = Qt::UserRole;

}  // namespace

TStartPage::TStartPage(TLessonStore& store, QWidget* parent) : QWidget(parent), FStore(store), FRecent(store.Recent())
{
    setObjectName("StartPage");
    setAutoFillBackground(true);
    // The window itself is black behind pictures and video; the page is drawn as a page.
    QPalette page = palette();
    page.setColor(QPalette::Window, QColor(236, 242, 250));
    page.setColor(QPalette::WindowText, QColor(32, 32, 48));
    setPalette(page);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    auto* hint = new QLabel(QStringLiteral("タイトル (.qzw)、録音・録画と字幕、またはそのフォルダーをここにドロップ\n"
                                           "Drop a title, a recording with its subtitles, or a folder of them, here"),
                            this);
    hint->setObjectName("lbDropHint");
    // The window may be narrower than the hint in either language.
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignCenter);
    QFont big = hint->font();
    big.setPointSize(big.pointSize() + 2);
    hint->setFont(big);
    layout->addWidget(hint);
    layout->addSpacing(12);
    lbRecent = AddList("lbRecent", QStringLiteral("最近のタイトル  Recent titles (Delete: 一覧から外す / remove)"));
    connect(lbRecent, &QListWidget::itemActivated, this, &TStartPage::Activate);
    lbSeries = AddList("lbSeries", QStringLiteral("シリーズ  Series (Delete: 一覧から外す / remove)"));
    connect(lbSeries, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item && OnOpenSeries)
            OnOpenSeries(item->data(PackageRole).toString());
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btOpen = AddButton("btOpen", QStringLiteral("開く… Open… (Ctrl+O)"), &OnOpenDialog);
    btOpenFolder = AddButton("btOpenFolder", QStringLiteral("フォルダーを開く… Open a folder…"), &OnOpenFolderDialog);
    buttons->addWidget(btOpen);
    buttons->addWidget(btOpenFolder);
    buttons->addStretch();
    layout->addLayout(buttons);
    ShowSeries();
    ShowRecent(FRecent.Items());
}

QListWidget* TStartPage::AddList(const QString& name, const QString& heading)
{
    auto* label = new QLabel(heading, this);
    label->setObjectName(name + "Heading");
    layout()->addWidget(label);
    auto* list = new QListWidget(this);
    list->setObjectName(name);
    list->installEventFilter(this);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* remove = new QAction(QStringLiteral("一覧から外す  Remove from the list"), list);
    connect(remove, &QAction::triggered, this, [this, list] { list == lbRecent ? RemoveCurrent() : RemoveSeries(); });
    list->addAction(remove);
    static_cast<QVBoxLayout*>(layout())->addWidget(list, 1);
    return list;
}

QPushButton* TStartPage::AddButton(const QString& name, const QString& text, const std::function<void()>* call)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, [call] {
        if (*call)
            (*call)();
    });
    return button;
}

void TStartPage::ShowSeries()
{
    lbSeries->clear();
    for (const TSeriesEntry& entry : ListSeries(FStore.DataFolder())) {
        auto* item = new QListWidgetItem(QString::fromUtf8(SeriesLabel(entry.Series)), lbSeries);
        item->setData(PackageRole, QString::fromStdString(entry.Record));
        const QString folder = QString::fromStdString(entry.Series.Folder);
        item->setToolTip(Qt::convertFromPlainText(folder));
        if (!SeriesFolderExists(entry.Series)) {
            item->setForeground(Qt::gray);
            item->setToolTip(Qt::convertFromPlainText(QStringLiteral("見つかりません  missing: ") + folder));
        }
    }
    // A learner without series sees no empty list for them.
    lbSeries->setVisible(lbSeries->count() > 0);
    findChild<QLabel*>("lbSeriesHeading")->setVisible(lbSeries->count() > 0);
}

void TStartPage::RemoveSeries()
{
    if (QListWidgetItem* item = lbSeries->currentItem()) {
        RemoveSeriesRecord(FStore.DataFolder(), item->data(PackageRole).toString().toStdString());
        ShowSeries();
    }
}

void TStartPage::Remember(const QString& package, const QString& titleName)
{
    FRecent.Add(QFileInfo(package).absoluteFilePath().toStdString(), titleName.toStdString());
    SaveRecent();
}

void TStartPage::SaveRecent()
{
    FStore.SaveRecent(FRecent);
    ShowRecent(FRecent.Items());
}

void TStartPage::ShowRecent(const std::vector<TRecentTitle>& recent)
{
    lbRecent->clear();
    for (const TRecentTitle& title : recent) {
        const QString package = QString::fromStdString(title.Package);
        const QString name = title.Name.empty() ? QFileInfo(package).completeBaseName() : QString::fromStdString(title.Name);
        auto* item = new QListWidgetItem(name + "    " + package, lbRecent);
        item->setData(PackageRole, package);
        if (!QFileInfo::exists(package)) {
            item->setForeground(Qt::gray);
            // A tip is read as markup when it looks like it: the name is always given as text.
            item->setToolTip(Qt::convertFromPlainText(QStringLiteral("見つかりません  missing: ") + package));
        }
    }
}

void TStartPage::Activate(QListWidgetItem* item)
{
    if (item && OnOpenRecent)
        OnOpenRecent(item->data(PackageRole).toString());
}

void TStartPage::RemoveCurrent()
{
    QListWidgetItem* item = lbRecent->currentItem();
    if (!item)
        return;
    FRecent.Remove(item->data(PackageRole).toString().toStdString());
    SaveRecent();
}

bool TStartPage::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == lbRecent || watched == lbSeries) && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        watched == lbRecent ? RemoveCurrent() : RemoveSeries();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace olve
