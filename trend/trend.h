#pragma once

#include "link/statushistory.h"

#include <QList>
#include <QPointF>
#include <QTimer>
#include <QWidget>
#include <array>
#include <vector>

class QChart;
class QChartView;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace Ui { class TTrend; }

// The trend window: the output currents and the input voltage of the run's history against
// time, the rated currents as dashed lines and the lamps' events as marks on the time axis;
// beside the plot one text per series with its value now and its extremes over the visible
// range. Redrawn four times a second at most, from the history reduced to the plot's pixel
// columns, so that a long range costs what a short one costs.
class TTrend : public QWidget
{
    Q_OBJECT

public:
    // The visible range's length, in the order of the range list; Whole is the whole run.
    enum Range { OneMinute, FiveMinutes, FifteenMinutes, SixtyMinutes, Whole };

    explicit TTrend(const StatusHistory &history, QWidget *parent = nullptr);
    ~TTrend() override;

    void setRange(Range range);
    // Paused, the visible range stands still while the history grows.
    void setPaused(bool paused);
    bool isLive() const { return mode_ == Mode::Live; }
    // Shows fromMs..toMs, as a rubber band or the mouse wheel does.
    void zoomTo(qint64 fromMs, qint64 toMs);
    // Follows the present again with the chosen range.
    void backToLive();

    // The visible range now, in milliseconds since the epoch.
    qint64 visibleFrom() const { return fromMs_; }
    qint64 visibleTo() const { return toMs_; }

    // Draws from the history now (the timer does it on its own while the window is shown).
    void redraw();
    // How long the last redraw took, for the benchmark.
    qint64 lastRedrawNs() const { return lastRedrawNs_; }

    // The plot as a PNG file; the visible range's records as CSV (the monitor's format).
    // Both give the system's reason of a failure in *error.
    bool savePicture(const QString &path, QString *error = nullptr);
    bool saveData(const QString &path, QString *error = nullptr);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    enum class Mode { Live, Paused, Zoomed };

    void buildChart();
    void tick();
    void updateRange();
    void drawSeries(StatusHistory::Series series, const std::vector<QList<QPointF>> &lines);
    // The rated currents' lines; gives the rated current of each channel drawn (0: none).
    std::array<quint8, 4> drawRated(bool four, int columns);
    void drawLampEvents(int columns);
    static void fitAxis(QValueAxis *axis, double low, double high);
    // Where timeMs lies on the hidden column axis.
    double columnOf(qint64 timeMs) const;
    void updateTexts(bool four);
    void retranslate();
    QString seriesName(int series) const;
    QString lampEventName(const StatusHistory::LampEvent &event) const;
    void lampMarkHovered(const QPointF &point, bool state);
    void axisRangeChanged();
    void chooseAndSavePicture();
    void chooseAndSaveData();
    void showError(const QString &text);

    const StatusHistory &history_;
    Ui::TTrend *ui;
    QChart *chart_ = nullptr;
    QChartView *view_ = nullptr;
    QDateTimeAxis *timeAxis_ = nullptr;
    QValueAxis *currentAxis_ = nullptr;
    QValueAxis *voltageAxis_ = nullptr;
    QValueAxis *columnAxis_ = nullptr;   // hidden: the series' x, in pixel columns
    int drawnColumns_ = 1;
    // One line per segment of each series: Qt Charts draws no gap inside a series.
    std::array<std::vector<QLineSeries *>, StatusHistory::SeriesCount> segments_;
    std::array<QLineSeries *, 4> rated_{};
    QScatterSeries *lampsOn_ = nullptr;
    QScatterSeries *lampsOff_ = nullptr;
    std::vector<StatusHistory::LampEvent> shownOn_, shownOff_;
    std::array<QLabel *, StatusHistory::SeriesCount> texts_{};

    QTimer timer_;
    Mode mode_ = Mode::Live;
    Range range_ = OneMinute;
    qint64 fromMs_ = 0;
    qint64 toMs_ = 0;
    quint64 drawnRevision_ = ~quint64(0);
    qint64 drawnFrom_ = 0, drawnTo_ = 0;
    bool settingAxes_ = false;
    qint64 lastRedrawNs_ = 0;
};
