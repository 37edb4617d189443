#include "StatisticsWindow.h"

#include "analysis/HistoryReport.h"

#include <QHeaderView>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace tickforge {

namespace {

// Bin edges shared by every history, so the densities compare bin by bin.
struct Bins {
    double low = 0.0;
    double width = 1.0;
    int count = 1;
};

Bins BinsFor(const std::vector<std::vector<double>>& samples)
{
    double low = INFINITY, high = -INFINITY;
    std::size_t most = 0;
    for (const auto& sample : samples) {
        for (const double value : sample) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
        most = std::max(most, sample.size());
    }
    Bins bins;
    bins.count = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(most))), 10, 60);
    if (!(high > low))
        return {std::isfinite(low) ? low - 0.5 : -0.5, 1.0 / bins.count, bins.count};
    bins.low = low;
    bins.width = (high - low) / bins.count;
    return bins;
}

// Density per bin: count / (values x bin width), at the bins' centres.
void Density(const std::vector<double>& values, const Bins& bins, QVector<double>& keys, QVector<double>& density)
{
    keys.clear();
    density.fill(0.0, bins.count);
    for (int b = 0; b < bins.count; ++b)
        keys << bins.low + (b + 0.5) * bins.width;
    for (const double value : values) {
        const int b = std::clamp(static_cast<int>((value - bins.low) / bins.width), 0, bins.count - 1);
        density[b] += 1.0 / (static_cast<double>(values.size()) * bins.width);
    }
}

}  // namespace

StatisticsWindow::StatisticsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), table_(new QTableWidget(this)), plot_(new QCustomPlot(this))
{
    setObjectName(QStringLiteral("StatisticsWindow"));
    setWindowTitle(tr("Statistics"));
    table_->setObjectName(QStringLiteral("tblReport"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    plot_->setObjectName(QStringLiteral("plotReturns"));
    plot_->setMinimumSize(360, 240);
    plot_->xAxis->setLabel(tr("Daily log return"));
    plot_->yAxis->setLabel(tr("Density"));
    plot_->legend->setVisible(true);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(table_);
    splitter->addWidget(plot_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter);
    resize(560, 680);
}

void StatisticsWindow::ShowHistories(const std::vector<DailyHistory>& histories)
{
    std::vector<std::vector<ReportLine>> columns;
    for (const DailyHistory& history : histories)
        columns.push_back(ReportLines(MakeReport(history)));
    table_->clear();
    table_->setColumnCount(static_cast<int>(columns.size()));
    table_->setRowCount(columns.empty() ? 0 : static_cast<int>(columns.front().size()) - 1);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        // The first line names the history: it heads the column.
        table_->setHorizontalHeaderItem(static_cast<int>(c),
                                        new QTableWidgetItem(QString::fromStdString(columns[c].front().text)));
        for (std::size_t row = 1; row < columns[c].size(); ++row) {
            if (c == 0)
                table_->setVerticalHeaderItem(static_cast<int>(row - 1),
                                              new QTableWidgetItem(QString::fromStdString(columns[c][row].label)));
            auto* item = new QTableWidgetItem(QString::fromStdString(columns[c][row].text));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(static_cast<int>(row - 1), static_cast<int>(c), item);
        }
    }

    plot_->clearPlottables();
    std::vector<std::vector<double>> returns;
    for (const DailyHistory& history : histories)
        returns.push_back(LogReturns(history));
    if (returns.empty() || returns.front().size() < 2) {
        plot_->replot();
        return;
    }
    const Bins bins = BinsFor(returns);
    QVector<double> keys, density;

    Density(returns[0], bins, keys, density);
    auto* bars = new QCPBars(plot_->xAxis, plot_->yAxis);
    bars->setName(QString::fromStdString(histories[0].source));
    bars->setWidth(bins.width);
    bars->setBrush(QColor(70, 120, 200, 150));
    bars->setData(keys, density, true);

    if (returns.size() > 1) {
        Density(returns[1], bins, keys, density);
        QCPGraph* overlay = plot_->addGraph();
        overlay->setName(QString::fromStdString(histories[1].source));
        overlay->setLineStyle(QCPGraph::lsStepCenter);
        overlay->setPen(QPen(QColor(220, 90, 30), 2));
        overlay->setData(keys, density, true);
    }

    const HistoryReport first = MakeReport(histories[0]);
    QVector<double> x, y;
    constexpr int Points = 200;
    for (int i = 0; i <= Points; ++i) {
        const double r = bins.low + bins.width * bins.count * i / Points;
        const double z = (r - first.meanReturn) / first.sdReturn;
        x << r;
        y << std::exp(-0.5 * z * z) / (first.sdReturn * std::sqrt(2.0 * M_PI));
    }
    QCPGraph* normal = plot_->addGraph();
    normal->setName(tr("Normal, same mean and sd"));
    normal->setPen(QPen(Qt::black, 1.5, Qt::DashLine));
    normal->setData(x, y, true);
    plot_->rescaleAxes();
    plot_->replot();
}

}  // namespace tickforge
