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
// (a missing one greyed, removable), the series of the library with the place in each (one
// whose folder is gone greyed, removable), and the Open buttons. It keeps the recent titles
// in store.
class TStartPage : public QWidget {
    Q_OBJECT
public:
    explicit TStartPage(TLessonStore& store, QWidget* parent = nullptr);

    // A title opened from package: it comes first in the recent titles, which are kept.
    void Remember(const QString& package, const QString& titleName);
    const TRecentTitles& Recent() const { return FRecent; }
    void ShowRecent(const std::vector<TRecentTitle>& recent);
    QListWidget* RecentList() const { return lbRecent; }
    // Lists the series of the library again, as they are kept now.
    void ShowSeries();
    QListWidget* SeriesList() const { return lbSeries; }

    std::function<void(const QString& package)> OnOpenRecent;
    std::function<void()> OnOpenDialog;
    // A series chosen: its record in the library.
    std::function<void(const QString& record)> OnOpenSeries;
    std::function<void()> OnOpenFolderDialog;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Activate(QListWidgetItem* item);
    void RemoveCurrent();
    void SaveRecent();
    QListWidget* AddList(const QString& name, const QString& heading);
    void RemoveSeries();
    QPushButton* AddButton(const QString& name, const QString& text, const std::function<void()>* call);

    QListWidget* lbRecent = nullptr;
    QListWidget* lbSeries = nullptr;
    QPushButton* btOpen = nullptr;
    QPushButton* btOpenFolder = nullptr;
    TLessonStore& FStore;
    TRecentTitles FRecent;
};

}  // namespace olve
