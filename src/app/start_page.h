#pragma once
#include <QWidget>
#include <functional>
#include <vector>

#include "title/recent_titles.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace olve {

// What an empty window shows: how to bring a title or a recording in, the titles opened last
// (a missing one greyed, removable), and the Open button.
class TStartPage : public QWidget {
    Q_OBJECT
public:
    explicit TStartPage(QWidget* parent = nullptr);

    void ShowRecent(const std::vector<TRecentTitle>& recent);
    QListWidget* RecentList() const { return lbRecent; }

    std::function<void(const QString& package)> OnOpenRecent;
    std::function<void(const QString& package)> OnRemoveRecent;
    std::function<void()> OnOpenDialog;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Activate(QListWidgetItem* item);
    void RemoveCurrent();

    QListWidget* lbRecent = nullptr;
    QPushButton* btOpen = nullptr;
};

}  // namespace olve
