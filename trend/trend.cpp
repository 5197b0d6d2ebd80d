#include "trend.h"
#include "ui_trend.h"

#include "config/fieldaccessibility.h"
#include "link/recordfile.h"
#include "link/statustelegram.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QToolTip>
#include <QWheelEvent>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

namespace {

constexpr int RedrawMs = 250;
constexpr std::array<qint64, 4> RangeMs = {60'000, 5 * 60'000, 15 * 60'000, 60 * 60'000};
// Channels 1 to 4, then the input voltage.
const std::array<QColor, StatusHistory::SeriesCount> Colours = {
    QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c), QColor(0x94, 0x67, 0xbd),
    QColor(0x40, 0x40, 0x40),
};
// The smallest range a zoom goes down to: a few telegrams.
constexpr qint64 SmallestRangeMs = 200;

// A value in hundredths with the main window's four characters and a unit: "3,00 A".
QString number(quint16 hundredths, const char *unit)
{
    return status::measurement(quint8(hundredths >> 8), quint8(hundredths & 0xFF), unit);
}

} // namespace

TTrend::TTrend(const StatusHistory &history, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , history_(history)
    , ui(new Ui::TTrend)
{
    ui->setupUi(this);
    texts_ = {ui->text1, ui->text2, ui->text3, ui->text4, ui->textUin};
    buildChart();
    // The range list is heard by its caption, not by its value.
    nameByCaptions({{ui->rangeList, ui->rangeLabel}});

    connect(ui->rangeList, &QComboBox::activated, this, [this](int index) { setRange(Range(index)); });
    connect(ui->pauseButton, &QPushButton::toggled, this, &TTrend::setPaused);
    connect(ui->liveButton, &QPushButton::clicked, this, &TTrend::backToLive);
    connect(ui->savePictureButton, &QPushButton::clicked, this, &TTrend::chooseAndSavePicture);
    connect(ui->saveDataButton, &QPushButton::clicked, this, &TTrend::chooseAndSaveData);
    connect(&timer_, &QTimer::timeout, this, &TTrend::tick);
    timer_.setInterval(RedrawMs);
    retranslate();
    updateRange();
}

TTrend::~TTrend()
{
    delete ui;
}

void TTrend::buildChart()
{
    chart_ = new QChart;
    chart_->legend()->hide();
    // Axis labels with a decimal comma, as the main window writes numbers.
    chart_->setLocale(QLocale(QLocale::German, QLocale::Germany));
    chart_->setLocalizeNumbers(true);
    chart_->setAnimationOptions(QChart::NoAnimation);
    timeAxis_ = new QDateTimeAxis;
    timeAxis_->setFormat(QStringLiteral("HH:mm:ss"));
    timeAxis_->setTickCount(6);
    currentAxis_ = new QValueAxis;
    currentAxis_->setLabelFormat(QStringLiteral("%.1f"));
    voltageAxis_ = new QValueAxis;
    voltageAxis_->setLabelFormat(QStringLiteral("%.1f"));
    columnAxis_ = new QValueAxis;
    columnAxis_->setVisible(false);
    chart_->addAxis(timeAxis_, Qt::AlignBottom);
    chart_->addAxis(columnAxis_, Qt::AlignBottom);
    chart_->addAxis(currentAxis_, Qt::AlignLeft);
    chart_->addAxis(voltageAxis_, Qt::AlignRight);
    // The time axis shows the time; an empty series keeps it attached to the plot.
    auto *timeCarrier = new QLineSeries;
    chart_->addSeries(timeCarrier);
    timeCarrier->attachAxis(timeAxis_);
    timeCarrier->attachAxis(currentAxis_);

    for (int ch = 0; ch < 4; ++ch) {
        rated_[size_t(ch)] = new QLineSeries;
        // Dashed pens need the raster painter: the series stay off OpenGL.
        rated_[size_t(ch)]->setPen(QPen(Colours[size_t(ch)], 1.5, Qt::DashLine));
        chart_->addSeries(rated_[size_t(ch)]);
        rated_[size_t(ch)]->attachAxis(columnAxis_);
        rated_[size_t(ch)]->attachAxis(currentAxis_);
    }
    const auto marks = [this](QColor colour, QScatterSeries::MarkerShape shape) {
        auto *s = new QScatterSeries;
        s->setMarkerShape(shape);
        s->setMarkerSize(10);
        s->setColor(colour);
        s->setBorderColor(colour.darker());
        chart_->addSeries(s);
        s->attachAxis(columnAxis_);
        s->attachAxis(currentAxis_);
        connect(s, &QScatterSeries::hovered, this, &TTrend::lampMarkHovered);
        return s;
    };
    lampsOn_ = marks(QColor(0xd3, 0x2f, 0x28), QScatterSeries::MarkerShapeTriangle);
    lampsOff_ = marks(QColor(0xfb, 0xf9, 0xfa), QScatterSeries::MarkerShapeCircle);

    view_ = new QChartView(chart_, ui->plotArea);
    view_->setObjectName(QStringLiteral("plot"));
    view_->setRenderHint(QPainter::Antialiasing, false);
    view_->setRubberBand(QChartView::HorizontalRubberBand);
    view_->setMinimumSize(640, 400);
    view_->viewport()->installEventFilter(this);
    ui->plotLayout->addWidget(view_);
    connect(columnAxis_, &QValueAxis::rangeChanged, this, &TTrend::axisRangeChanged);
}

void TTrend::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    timer_.start();
    redraw();
}

void TTrend::tick()
{
    if (!isVisible()) {
        timer_.stop();
        return;
    }
    updateRange();
    if (history_.revision() != drawnRevision_ || fromMs_ != drawnFrom_ || toMs_ != drawnTo_)
        redraw();
}

void TTrend::setRange(Range range)
{
    range_ = range;
    ui->rangeList->setCurrentIndex(int(range));
    backToLive();
}

void TTrend::setPaused(bool paused)
{
    if (paused && mode_ == Mode::Live)
        mode_ = Mode::Paused;
    else if (!paused)
        mode_ = Mode::Live;
    const QSignalBlocker block(ui->pauseButton);
    ui->pauseButton->setChecked(mode_ != Mode::Live);
    retranslate();
    updateRange();
    redraw();
}

void TTrend::zoomTo(qint64 fromMs, qint64 toMs)
{
    if (toMs - fromMs < SmallestRangeMs) {
        const qint64 middle = (fromMs + toMs) / 2;
        fromMs = middle - SmallestRangeMs / 2;
        toMs = fromMs + SmallestRangeMs;
    }
    mode_ = Mode::Zoomed;
    fromMs_ = fromMs;
    toMs_ = toMs;
    const QSignalBlocker block(ui->pauseButton);
    ui->pauseButton->setChecked(true);
    retranslate();
    redraw();
}

void TTrend::backToLive()
{
    mode_ = Mode::Live;
    const QSignalBlocker block(ui->pauseButton);
    ui->pauseButton->setChecked(false);
    retranslate();
    updateRange();
    redraw();
}

void TTrend::updateRange()
{
    if (mode_ != Mode::Live)
        return;
    qint64 end = QDateTime::currentMSecsSinceEpoch();
    if (!history_.isEmpty())
        end = std::max(end, history_.timeMs(history_.size() - 1) + 1);
    const qint64 span = range_ == Whole ? std::max<qint64>(1000, end - (history_.isEmpty() ? end : history_.timeMs(0)))
                                        : RangeMs[size_t(range_)];
    // The range moves on in whole pixel columns: between two steps a steady module leaves
    // every column as it was, and nothing needs to be laid out again.
    const int columns = std::max(1, int(chart_->plotArea().width()));
    const qint64 step = std::max<qint64>(1, span / columns);
    toMs_ = (end + step - 1) / step * step;
    fromMs_ = range_ == Whole && !history_.isEmpty() ? history_.timeMs(0) : toMs_ - span;
}

void TTrend::redraw()
{
    QElapsedTimer clock;
    clock.start();
    updateRange();
    drawnRevision_ = history_.revision();
    drawnFrom_ = fromMs_;
    drawnTo_ = toMs_;
    const int columns = std::max(1, int(chart_->plotArea().width()));
    // Channels 3 and 4 leave the plot while a two-channel module reports.
    const bool four = history_.isEmpty() || isFourChannel(history_.record(history_.size() - 1).variant);

    // The series are drawn in pixel columns on a hidden axis that stays put while the time
    // moves on: only their points change, and Qt Charts lays each series out once.
    settingAxes_ = true;
    timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(fromMs_), QDateTime::fromMSecsSinceEpoch(toMs_));
    if (columnAxis_->min() != 0 || columnAxis_->max() != columns)
        columnAxis_->setRange(0, columns);
    drawnColumns_ = columns;

    std::array<std::vector<QList<QPointF>>, StatusHistory::SeriesCount> lines;
    double top = 1, uLow = 1e9, uTop = 0;
    for (int s = 0; s < StatusHistory::SeriesCount; ++s) {
        if (!four && (s == StatusHistory::I3 || s == StatusHistory::I4))
            continue;
        for (const StatusHistory::Bucket &b : history_.reduce(StatusHistory::Series(s), fromMs_, toMs_, columns)) {
            if (b.startsSegment || lines[size_t(s)].empty())
                lines[size_t(s)].emplace_back();
            // Hundredths to amperes and volts.
            const double x = b.column + 0.5, low = b.min * 0.01, high = b.max * 0.01;
            lines[size_t(s)].back().append(QPointF(x, low));
            if (b.max != b.min)
                lines[size_t(s)].back().append(QPointF(x, high));
            if (s == StatusHistory::Uin) {
                uLow = std::min(uLow, low);
                uTop = std::max(uTop, high);
            } else {
                top = std::max(top, high);
            }
        }
    }
    const std::array<quint8, 4> rated = drawRated(four, columns);
    for (quint8 a : rated)
        top = std::max(top, double(a));
    // The current axis holds the rated currents and every value shown; the voltage moves
    // little around its level, so its axis spans what is shown.
    fitAxis(currentAxis_, 0, top);
    if (uTop < uLow)
        uLow = 0, uTop = 30;
    fitAxis(voltageAxis_, uLow, uTop);
    settingAxes_ = false;

    for (int s = 0; s < StatusHistory::SeriesCount; ++s)
        drawSeries(StatusHistory::Series(s), lines[size_t(s)]);
    drawLampEvents(columns);
    updateTexts(four);
    lastRedrawNs_ = clock.nsecsElapsed();
}

void TTrend::fitAxis(QValueAxis *axis, double low, double high)
{
    // A new range only when the values leave the present one or fill less than a third of
    // it: every change of an axis lays out all its series again.
    const double span = std::max(high - low, 0.5);
    const bool outside = low < axis->min() || high > axis->max();
    const bool loose = axis->max() - axis->min() > 3 * span + 1;
    if (!outside && !loose)
        return;
    const double margin = span * 0.1;
    axis->setRange(low <= 0 ? 0 : std::max(0.0, low - margin), high + margin);
    axis->applyNiceNumbers();
}

void TTrend::drawSeries(StatusHistory::Series series, const std::vector<QList<QPointF>> &lines)
{
    auto &pool = segments_[size_t(series)];
    while (pool.size() < lines.size()) {
        auto *line = new QLineSeries;
        static const char *const names[] = {"i1", "i2", "i3", "i4", "uin"};
        line->setObjectName(QLatin1String(names[series]));
        line->setPen(QPen(Colours[size_t(series)], 1.5));
        chart_->addSeries(line);
        line->attachAxis(columnAxis_);
        line->attachAxis(series == StatusHistory::Uin ? voltageAxis_ : currentAxis_);
        pool.push_back(line);
    }
    for (size_t i = 0; i < pool.size(); ++i) {
        if (i < lines.size()) {
            if (pool[i]->points() != lines[i])
                pool[i]->replace(lines[i]);
        }
        else if (pool[i]->count() > 0)
            pool[i]->clear();
    }
}

std::array<quint8, 4> TTrend::drawRated(bool four, int columns)
{
    const bool any = !history_.isEmpty() && !history_.silentNow();
    const monitorrecord::Record last = history_.isEmpty() ? monitorrecord::Record() : history_.record(history_.size() - 1);
    std::array<quint8, 4> shown{};
    for (int ch = 0; ch < 4; ++ch) {
        QList<QPointF> points;
        // A rated current of 0 means the channel is off: no line.
        if (any && last.rated[size_t(ch)] > 0 && (four || ch < 2)) {
            shown[size_t(ch)] = last.rated[size_t(ch)];
            points = {QPointF(0, shown[size_t(ch)]), QPointF(columns, shown[size_t(ch)])};
        }
        if (rated_[size_t(ch)]->points() != points)
            rated_[size_t(ch)]->replace(points);
    }
    return shown;
}

void TTrend::drawLampEvents(int columns)
{
    // One mark per lamp, direction and column at most, so that a flickering lamp does not
    // flood the plot.
    shownOn_.clear();
    shownOff_.clear();
    const auto &events = history_.lampEvents();
    const auto first = std::lower_bound(events.begin(), events.end(), fromMs_,
                                        [](const StatusHistory::LampEvent &e, qint64 t) { return e.timeMs < t; });
    qint64 lastColumn = -1;
    std::array<bool, 2 * monitorrecord::LampCount> taken{};
    QList<QPointF> on, off;
    for (auto it = first; it != events.end() && it->timeMs < toMs_; ++it) {
        const double x = columnOf(it->timeMs);
        const qint64 column = qint64(x);
        if (column != lastColumn)
            taken = {};
        lastColumn = column;
        bool &seen = taken[size_t(it->lamp * 2 + it->on)];
        if (seen)
            continue;
        seen = true;
        (it->on ? shownOn_ : shownOff_).push_back(*it);
        (it->on ? on : off).append(QPointF(x, 0));
    }
    if (lampsOn_->points() != on)
        lampsOn_->replace(on);
    if (lampsOff_->points() != off)
        lampsOff_->replace(off);
}

double TTrend::columnOf(qint64 timeMs) const
{
    return double(timeMs - fromMs_) * drawnColumns_ / double(std::max<qint64>(1, toMs_ - fromMs_));
}

void TTrend::updateTexts(bool four)
{
    const bool live = !history_.isEmpty() && !history_.silentNow();
    for (int s = 0; s < StatusHistory::SeriesCount; ++s) {
        const auto series = StatusHistory::Series(s);
        const char *unit = series == StatusHistory::Uin ? " V" : " A";
        QLabel *text = texts_[size_t(s)];
        text->setVisible(four || (series != StatusHistory::I3 && series != StatusHistory::I4));
        QString now = QStringLiteral("–");
        if (live && history_.hasValue(series, history_.size() - 1))
            now = number(history_.value(series, history_.size() - 1), unit);
        // The extremes of the visible range: one column over the range is exact.
        quint16 min = 0xFFFF, max = 0;
        bool any = false;
        for (const StatusHistory::Bucket &b : history_.reduce(series, fromMs_, toMs_, 1)) {
            min = std::min(min, b.min);
            max = std::max(max, b.max);
            any = true;
        }
        const QString range = any ? tr("min %1, max %2").arg(number(min, unit), number(max, unit))
                                  : tr("keine Werte im sichtbaren Bereich");
        const QString line = QStringLiteral("%1: %2 (%3)").arg(seriesName(s), now, range);
        if (text->text() != line)
            text->setText(line);
        text->setAccessibleName(line);
    }
}

QString TTrend::seriesName(int series) const
{
    if (series == StatusHistory::Uin)
        return tr("Eingangsspannung");
    return tr("Kanal %1").arg(series + 1);
}

QString TTrend::lampEventName(const StatusHistory::LampEvent &e) const
{
    QString lamp;
    if (e.lamp < status::PowerGood) {
        const int channel = e.lamp / 2 + 1;
        lamp = e.lamp % 2 == 0 ? tr("Überstrom Kanal %1").arg(channel) : tr("Kanal %1 ausgelöst").arg(channel);
    } else {
        lamp = e.lamp == status::PowerGood ? tr("Uin < Power Good") : tr("Gerätefehler");
    }
    const QString time = QDateTime::fromMSecsSinceEpoch(e.timeMs).toString(QStringLiteral("HH:mm:ss,zzz"));
    return (e.on ? tr("%1: %2 ein") : tr("%1: %2 aus")).arg(time, lamp);
}

void TTrend::lampMarkHovered(const QPointF &point, bool state)
{
    if (!state) {
        QToolTip::hideText();
        return;
    }
    const bool on = sender() == lampsOn_;
    const auto &shown = on ? shownOn_ : shownOff_;
    // Every event at the mark's place, nearest first.
    QStringList names;
    for (const StatusHistory::LampEvent &e : shown) {
        if (std::abs(columnOf(e.timeMs) - point.x()) <= 5)
            names << lampEventName(e);
    }
    if (!names.isEmpty())
        QToolTip::showText(QCursor::pos(), names.join(QLatin1Char('\n')), view_);
}

void TTrend::axisRangeChanged()
{
    // The rubber band (or its right-click zoom-out) moved the time axis.
    if (settingAxes_)
        return;
    const double span = double(toMs_ - fromMs_) / std::max(1, drawnColumns_);
    zoomTo(fromMs_ + qint64(columnAxis_->min() * span), fromMs_ + qint64(columnAxis_->max() * span));
}

bool TTrend::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view_->viewport() && event->type() == QEvent::Wheel) {
        // The wheel zooms about the time under the mouse: in by a fifth a notch, out likewise.
        const auto *wheel = static_cast<QWheelEvent *>(event);
        const double notches = wheel->angleDelta().y() / 120.0;
        if (notches == 0)
            return true;
        const QRectF area = chart_->plotArea();
        const double at = std::clamp((wheel->position().x() - area.left()) / std::max(1.0, area.width()), 0.0, 1.0);
        const double factor = std::pow(0.8, notches);
        const double span = double(toMs_ - fromMs_);
        const double centre = double(fromMs_) + at * span;
        const double newSpan = span * factor;
        zoomTo(qint64(centre - at * newSpan), qint64(centre + (1 - at) * newSpan));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TTrend::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslate();
        redraw();
    }
    QWidget::changeEvent(event);
}

void TTrend::retranslate()
{
    ui->pauseButton->setText(mode_ == Mode::Live ? tr("Anhalten") : tr("Fortsetzen"));
    ui->liveButton->setToolTip(tr("Zurück zur Gegenwart mit dem gewählten Bereich"));
    currentAxis_->setTitleText(tr("Strom (A)"));
    voltageAxis_->setTitleText(tr("Spannung (V)"));
    timeAxis_->setTitleText(tr("Uhrzeit"));
    view_->setAccessibleName(tr("Verlauf der Ströme und der Eingangsspannung"));
    ui->pauseButton->setAccessibleName(ui->pauseButton->text());
}

bool TTrend::savePicture(const QString &path, QString *error)
{
    redraw();
    const QPixmap picture = view_->grab();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.flush()) {
        if (error)
            *error = file.error() != QFile::NoError ? file.errorString() : tr("Das Bild ließ sich nicht schreiben.");
        return false;
    }
    return true;
}

bool TTrend::saveData(const QString &path, QString *error)
{
    RecordFile file;
    bool ok = file.open(path);
    const qint64 end = history_.lowerBound(toMs_);
    for (qint64 i = history_.lowerBound(fromMs_); ok && i < end; ++i)
        ok = file.write(history_.record(i));
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

// "verlauf-<date>_<time>.<suffix>": a new name for every save.
static QString proposedName(const char *suffix)
{
    return QStringLiteral("verlauf-%1.%2")
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")), QLatin1String(suffix));
}

void TTrend::chooseAndSavePicture()
{
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Bild speichern"), proposedName("png"), tr("PNG-Bilder (*.png)"));
    QString error;
    if (!path.isEmpty() && !savePicture(path, &error))
        showError(tr("Das Bild wurde nicht gespeichert: %1: %2").arg(path, error));
}

void TTrend::chooseAndSaveData()
{
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Daten speichern"), proposedName("csv"), tr("CSV-Dateien (*.csv)"));
    QString error;
    if (!path.isEmpty() && !saveData(path, &error))
        showError(tr("Die Daten wurden nicht gespeichert: %1: %2").arg(path, error));
}

void TTrend::showError(const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
