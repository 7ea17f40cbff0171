#include "app/start_page.h"

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QTextDocument>
#include <QPushButton>
#include <QVBoxLayout>

#include "lesson/lesson_store.h"

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
    auto* hint = new QLabel(QStringLiteral("タイトル (.qzw)、または録音・録画と字幕をここにドロップ\n"
                                           "Drop a title, or a recording with its subtitles, here"),
                            this);
    hint->setObjectName("lbDropHint");
    hint->setAlignment(Qt::AlignCenter);
    QFont big = hint->font();
    big.setPointSize(big.pointSize() + 2);
    hint->setFont(big);
    layout->addWidget(hint);
    layout->addSpacing(12);
    layout->addWidget(new QLabel(QStringLiteral("最近のタイトル  Recent titles (Delete: 一覧から外す / remove)"), this));
    lbRecent = new QListWidget(this);
    lbRecent->setObjectName("lbRecent");
    lbRecent->installEventFilter(this);
    lbRecent->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* remove = new QAction(QStringLiteral("一覧から外す  Remove from the list"), lbRecent);
    connect(remove, &QAction::triggered, this, &TStartPage::RemoveCurrent);
    lbRecent->addAction(remove);
    connect(lbRecent, &QListWidget::itemActivated, this, &TStartPage::Activate);
    layout->addWidget(lbRecent, 1);
    btOpen = new QPushButton(QStringLiteral("開く… Open… (Ctrl+O)"), this);
    btOpen->setObjectName("btOpen");
    connect(btOpen, &QPushButton::clicked, this, [this] {
        if (OnOpenDialog)
            OnOpenDialog();
    });
    layout->addWidget(btOpen, 0, Qt::AlignHCenter);
    ShowRecent(FRecent.Items());
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
    if (watched == lbRecent && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        RemoveCurrent();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace olve
