#pragma once
// Two commands of the main window beside its controls: "Fit to data..." sets the panel
// from a real history's CSV file and shows its report; "Statistics" shows the report
// and the return histogram of the current history, beside the real one once fitted.
// Both are window shortcuts and the context menu of the panel area, so the window's
// controls and layout stay as they are.

#include "analysis/DailyHistory.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QWidget;

namespace tickforge {

class StatisticsWindow;
class TGenerator;

class AnalysisMenu : public QObject {
    Q_OBJECT

public:
    explicit AnalysisMenu(TGenerator& window);

    QAction& FitAction() { return *fit_; }
    QAction& StatisticsAction() { return *statistics_; }
    // The statistics window once shown, otherwise null.
    StatisticsWindow* Statistics() { return statisticsWindow_; }

public Q_SLOTS:
    void FitToData();
    void ShowStatistics();
    // An open statistics window follows the current history; with none left, it closes.
    void RefreshStatistics();

private:
    // The current history, if there is one, and the one last fitted to.
    std::vector<DailyHistory> Histories() const;

    TGenerator& window_;
    QAction* fit_;
    QAction* statistics_;
    StatisticsWindow* statisticsWindow_ = nullptr;
    std::optional<DailyHistory> real_;  // the history last fitted to
};

// The file dialog of "Fit to data...": a file name, or nothing when cancelled. An
// installed chooser answers instead (an empty function restores the dialog); returns
// the one it replaces.
using OpenFileChooser = std::function<std::optional<QString>(QWidget* parent)>;
OpenFileChooser SetOpenFileChooser(OpenFileChooser chooser);

}  // namespace tickforge
