#pragma once
// The "Statistics" window: the report of one or two histories side by side, and a
// histogram of the first one's daily log returns with the second's overlaid and the
// normal curve of the first's mean and standard deviation.

#include "analysis/DailyHistory.h"

#include <QWidget>

#include <vector>

class QCustomPlot;
class QTableWidget;

namespace tickforge {

class StatisticsWindow : public QWidget {
    Q_OBJECT

public:
    explicit StatisticsWindow(QWidget* parent = nullptr);

    // Fills the table and the histogram from histories (one or two; the first is drawn
    // as bars, the second as a line over them).
    void ShowHistories(const std::vector<DailyHistory>& histories);

    QTableWidget& Table() { return *table_; }
    QCustomPlot& Plot() { return *plot_; }

private:
    QTableWidget* table_;
    QCustomPlot* plot_;
};

}  // namespace tickforge
