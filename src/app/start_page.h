#pragma once
#include <QWidget>
#include <functional>
#include <vector>

#include "title/recent_titles.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace olve {

class TLessonStore;

// What an empty window shows: how to bring a title or a recording in, the titles opened last
// (a missing one greyed, removable), and the Open button. It keeps the recent titles in store.
class TStartPage : public QWidget {
    Q_OBJECT
public:
    explicit TStartPage(TLessonStore& store, QWidget* parent = nullptr);

    // A title opened from package: it comes first in the recent titles, which are kept.
    void Remember(const QString& package, const QString& titleName);
    const TRecentTitles& Recent() const { return FRecent; }
    void ShowRecent(const std::vector<TRecentTitle>& recent);
    QListWidget* RecentList() const { return lbRecent; }

    std::function<void(const QString& package)> OnOpenRecent;
    std::function<void()> OnOpenDialog;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Activate(QListWidgetItem* item);
    void RemoveCurrent();
    void SaveRecent();

    QListWidget* lbRecent = nullptr;
    QPushButton* btOpen = nullptr;
    TLessonStore& FStore;
    TRecentTitles FRecent;
};

}  // namespace olve
