// The trend window and the recording, in the whole program against the module simulator on
// a pty: what the window shows and what the file holds are the telegrams that were sent.
#include "app/form1.h"
#include "app/fuseapplication.h"
#include "link/monitorrecord.h"
#include "simulatorprocess.h"
#include "trend/recording.h"
#include "trend/trend.h"
#include "windowcontrols.h"

#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <sys/mount.h>
#include <unistd.h>

namespace {

// The system's reason for a full disk, in the words of the language the tool runs in
// (Qt's own translation of it).
QString noSpaceReason()
{
    return QCoreApplication::translate("QIODevice", "No space left on device");
}


const QStringList FourChannel{"--variant", "17", "--rate", "31", "--status1", "00", "--status2", "00",
                              "--currents", "300,150,1234,0", "--max", "1000,7,1234,50",
                              "--uin", "2400", "--uin-min", "2395", "--rated", "6,10,0,0"};

QList<QStringList> csvRows(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> rows;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (!line.isEmpty())
            rows << QString::fromUtf8(line.chopped(line.endsWith('\r') ? 1 : 0)).split(QLatin1Char(','));
    }
    return rows;
}

const char *const SeriesNames[] = {"i1", "i2", "i3", "i4", "uin"};

// The lines drawn for one series, a segment each.
QList<QLineSeries *> lines(TTrend *trend, int series)
{
    auto *view = trend->findChild<QChartView *>(QStringLiteral("plot"));
    QList<QLineSeries *> found;
    for (QAbstractSeries *s : view->chart()->series()) {
        auto *line = qobject_cast<QLineSeries *>(s);
        if (line && line->objectName() == QLatin1String(SeriesNames[series]) && line->count() > 0)
            found << line;
    }
    return found;
}

int drawnPoints(TTrend *trend, int series)
{
    int points = 0;
    for (QLineSeries *line : lines(trend, series))
        points += line->count();
    return points;
}

} // namespace

class tst_Trend : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SimulatorProcess::useTemporaryDataHome(); }
    void init();
    void cleanup();

    void menuExtras();
    void textsShowTheTelegramsValues();
    void twoChannelModuleLeavesChannels34Out();
    void silenceIsAGapInThePlot();
    void pauseZoomAndBackToLive();
    void recordingHoldsEveryTelegram();
    void recordingStopsOnAFullDisk();
    void recordingCannotStart();
    void closingTheProgramEndsTheRecording();
    void savePictureAndData();

private:
    void waitForSamples(qint64 n);

    std::unique_ptr<FuseApplication> app;
    SimulatorProcess sim;
    QTemporaryDir dir;
};

void tst_Trend::init()
{
    app = std::make_unique<FuseApplication>();
    app->show();
}

void tst_Trend::cleanup()
{
    app.reset();
    sim.stop();
}

void tst_Trend::waitForSamples(qint64 n)
{
    QTRY_VERIFY_WITH_TIMEOUT(app->history.size() >= n, PatienceMs);
}

void tst_Trend::menuExtras()
{
    auto *extras = ctl<QMenu>(app->Form1.get(), "Extras1");
    const QList<QAction *> menus = ctl<QMenuBar>(app->Form1.get(), "MainMenu1")->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus[0]->text(), QStringLiteral("Datei"));
    QCOMPARE(menus[1]->menu(), extras);
    QCOMPARE(extras->title(), QStringLiteral("Extras"));
    QStringList items;
    for (QAction *a : extras->actions())
        items << a->objectName() + QLatin1Char('=') + a->text();
    QCOMPARE(items, QStringList({"Verbindung1=Verbindung...", "Verlauf1=Verlauf...",
                                 "Aufzeichnung1=Aufzeichnung starten..."}));

    // "Verlauf..." opens the one trend window.
    QVERIFY(!app->trend->isVisible());
    ctl<QAction>(app->Form1.get(), "Verlauf1")->trigger();
    QVERIFY(app->trend->isVisible());
    QCOMPARE(app->trend->windowTitle(), QStringLiteral("Verlauf"));

    // A running recording's item says how to end it, in both languages, also after a switch.
    auto *item = ctl<QAction>(app->Form1.get(), "Aufzeichnung1");
    QVERIFY(app->recording->start(dir.filePath(QStringLiteral("menu.csv"))));
    QCOMPARE(item->text(), QStringLiteral("Aufzeichnung beenden"));
    app->Form1->englischClick();
    QCOMPARE(extras->title(), QStringLiteral("Tools"));
    QCOMPARE(item->text(), QStringLiteral("Stop recording"));
    QCOMPARE(ctl<QAction>(app->Form1.get(), "Verlauf1")->text(), QStringLiteral("Trend..."));
    QCOMPARE(app->trend->windowTitle(), QStringLiteral("Trend"));
    item->trigger();   // stops
    QVERIFY(!app->recording->isRunning());
    QCOMPARE(item->text(), QStringLiteral("Start recording..."));
    app->Form1->deutschClick();
    QCOMPARE(item->text(), QStringLiteral("Aufzeichnung starten..."));
}

void tst_Trend::textsShowTheTelegramsValues()
{
    QVERIFY(sim.start(FourChannel));
    app->trend->show();
    waitForSamples(10);
    QVERIFY(sim.commandOk(QStringLiteral("current 1 1000")));
    QTRY_VERIFY_WITH_TIMEOUT(app->history.value(StatusHistory::I1, app->history.size() - 1) == 1000, PatienceMs);
    QVERIFY(sim.commandOk(QStringLiteral("current 1 0")));
    QTRY_VERIFY_WITH_TIMEOUT(app->history.value(StatusHistory::I1, app->history.size() - 1) == 0, PatienceMs);
    app->trend->redraw();
    QCOMPARE(ctl<QLabel>(app->trend.get(), "text1")->text(), QStringLiteral("Kanal 1: 0,00 A (min 0,00 A, max 10,0 A)"));
    QCOMPARE(ctl<QLabel>(app->trend.get(), "text2")->text(), QStringLiteral("Kanal 2: 1,50 A (min 1,50 A, max 1,50 A)"));
    QCOMPARE(ctl<QLabel>(app->trend.get(), "text3")->text(), QStringLiteral("Kanal 3: 12,3 A (min 12,3 A, max 12,3 A)"));
    QCOMPARE(ctl<QLabel>(app->trend.get(), "textUin")->text(),
             QStringLiteral("Eingangsspannung: 24,0 V (min 24,0 V, max 24,0 V)"));
    // Screen readers read the same text.
    QCOMPARE(ctl<QLabel>(app->trend.get(), "text1")->accessibleName(), ctl<QLabel>(app->trend.get(), "text1")->text());
    QVERIFY(drawnPoints(app->trend.get(), StatusHistory::I1) > 0);

    app->Form1->englischClick();
    QCOMPARE(ctl<QLabel>(app->trend.get(), "text1")->text(), QStringLiteral("Channel 1: 0,00 A (min 0,00 A, max 10,0 A)"));
    QCOMPARE(ctl<QLabel>(app->trend.get(), "textUin")->text(),
             QStringLiteral("Input voltage: 24,0 V (min 24,0 V, max 24,0 V)"));
    app->Form1->deutschClick();
}

void tst_Trend::twoChannelModuleLeavesChannels34Out()
{
    QVERIFY(sim.start(FourChannel));
    app->trend->show();
    waitForSamples(5);
    app->trend->redraw();
    QVERIFY(ctl<QLabel>(app->trend.get(), "text3")->isVisible());
    QVERIFY(drawnPoints(app->trend.get(), StatusHistory::I3) > 0);

    QVERIFY(sim.commandOk(QStringLiteral("variant 11")));
    QTRY_VERIFY_WITH_TIMEOUT(app->history.record(app->history.size() - 1).channels == 2, PatienceMs);
    app->trend->redraw();
    QVERIFY(!ctl<QLabel>(app->trend.get(), "text3")->isVisible());
    QVERIFY(!ctl<QLabel>(app->trend.get(), "text4")->isVisible());
    QCOMPARE(drawnPoints(app->trend.get(), StatusHistory::I3), 0);
    QCOMPARE(drawnPoints(app->trend.get(), StatusHistory::I4), 0);
    QVERIFY(drawnPoints(app->trend.get(), StatusHistory::I2) > 0);

    // And back when a four-channel module reports again.
    QVERIFY(sim.commandOk(QStringLiteral("variant 19")));
    QTRY_VERIFY_WITH_TIMEOUT(app->history.record(app->history.size() - 1).channels == 4, PatienceMs);
    app->trend->redraw();
    QVERIFY(ctl<QLabel>(app->trend.get(), "text3")->isVisible());
}

void tst_Trend::silenceIsAGapInThePlot()
{
    QVERIFY(sim.start(FourChannel));
    waitForSamples(10);
    QVERIFY(sim.commandOk(QStringLiteral("silence")));
    QTRY_VERIFY_WITH_TIMEOUT(app->history.silentNow(), PatienceMs);   // the watchdog blanked
    const qint64 before = app->history.size();
    QVERIFY(sim.commandOk(QStringLiteral("resume")));
    waitForSamples(before + 10);
    app->trend->show();
    app->trend->redraw();
    // Two lines for channel 1, none of them through zero.
    const QList<QLineSeries *> drawn = lines(app->trend.get(), StatusHistory::I1);
    QCOMPARE(drawn.size(), 2);
    for (QLineSeries *line : drawn)
        for (const QPointF &p : line->points())
            QCOMPARE(p.y(), 3.0);
    // While silent the texts have no value now.
    QVERIFY(sim.commandOk(QStringLiteral("silence")));
    QTRY_VERIFY_WITH_TIMEOUT(app->history.silentNow(), PatienceMs);
    app->trend->redraw();
    QCOMPARE(ctl<QLabel>(app->trend.get(), "text1")->text(), QStringLiteral("Kanal 1: – (min 3,00 A, max 3,00 A)"));
}

void tst_Trend::pauseZoomAndBackToLive()
{
    QVERIFY(sim.start(FourChannel));
    app->trend->show();
    waitForSamples(5);
    TTrend *trend = app->trend.get();
    QVERIFY(trend->isLive());
    QCOMPARE(trend->visibleTo() - trend->visibleFrom(), qint64(60000));
    // Live, the view follows the present on its own.
    const qint64 shown = trend->visibleTo();
    QTest::qWait(600);
    QVERIFY(trend->visibleTo() >= shown + 250);

    ctl<QPushButton>(trend, "pauseButton")->click();
    QVERIFY(!trend->isLive());
    QCOMPARE(ctl<QPushButton>(trend, "pauseButton")->text(), QStringLiteral("Fortsetzen"));
    const qint64 to = trend->visibleTo();
    const qint64 size = app->history.size();
    waitForSamples(size + 10);   // the history grows while the plot stands
    QTest::qWait(300);
    QCOMPARE(trend->visibleTo(), to);

    // The wheel zooms in about the mouse, by a fifth a notch.
    auto *view = trend->findChild<QChartView *>(QStringLiteral("plot"));
    const QPointF centre = view->chart()->plotArea().center();
    QWheelEvent wheel(centre, view->mapToGlobal(centre.toPoint()), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view->viewport(), &wheel);
    QVERIFY(qAbs(trend->visibleTo() - trend->visibleFrom() - 48000) <= 2);

    trend->zoomTo(to - 2000, to - 1000);
    QCOMPARE(trend->visibleFrom(), to - 2000);
    QTest::qWait(300);
    QCOMPARE(trend->visibleTo(), to - 1000);

    // Back to live in one click, with the chosen range.
    trend->setRange(TTrend::FifteenMinutes);
    trend->zoomTo(to - 2000, to - 1000);
    ctl<QPushButton>(trend, "liveButton")->click();
    QVERIFY(trend->isLive());
    QCOMPARE(trend->visibleTo() - trend->visibleFrom(), qint64(15 * 60000));
    QVERIFY(trend->visibleTo() >= app->history.timeMs(app->history.size() - 1));
    QCOMPARE(ctl<QPushButton>(trend, "pauseButton")->text(), QStringLiteral("Anhalten"));

    trend->setRange(TTrend::Whole);
    QCOMPARE(trend->visibleFrom(), app->history.timeMs(0));
}

void tst_Trend::recordingHoldsEveryTelegram()
{
    QVERIFY(sim.start(FourChannel));
    waitForSamples(3);
    QVERIFY(sim.commandOk(QStringLiteral("rate 0")));
    QTest::qWait(400);
    const QString path = dir.filePath(QStringLiteral("rec.csv"));
    QVERIFY(app->recording->start(path));
    const qint64 made = sim.command(QStringLiteral("count")).first().section(' ', 1).toLongLong();

    QVERIFY(sim.commandOk(QStringLiteral("rate 31")));
    // Five sets of values, each for a while; channel 1 and then the voltage move together.
    for (int k = 1; k <= 5; ++k) {
        QVERIFY(sim.commandOk(QStringLiteral("current 1 %1").arg(300 + k)));
        QVERIFY(sim.commandOk(QStringLiteral("uin %1").arg(2400 + k)));
        QTest::qWait(300);
    }
    QVERIFY(sim.commandOk(QStringLiteral("rate 0")));
    QTest::qWait(500);
    const qint64 sent = sim.command(QStringLiteral("count")).first().section(' ', 1).toLongLong() - made;
    app->recording->stop();

    const QList<QStringList> rows = csvRows(path);
    QVERIFY(sent > 40);
    QCOMPARE(rows.size() - 1, int(sent));
    QCOMPARE(rows.first(), monitorrecord::columnNames());
    const int i1 = int(rows.first().indexOf("i1")), uin = int(rows.first().indexOf("uin"));
    double last = 0;
    for (int r = 1; r < rows.size(); ++r) {
        const QStringList &row = rows[r];
        QCOMPARE(row.size(), rows.first().size());
        QCOMPARE(row[1], QStringLiteral("FourChannel10A"));
        const double current = row[i1].toDouble();
        // Each record is a telegram the simulator sent: one of the value sets, in order.
        QVERIFY2(current >= 3.00 && current <= 3.05, qPrintable(row[i1]));
        QVERIFY(current >= last);
        last = current;
        // The voltage is set just after the current: a telegram between the two commands
        // carries the new current with the voltage before.
        const int k = qRound((current - 3.0) * 100), kU = qRound((row[uin].toDouble() - 24.0) * 100);
        QVERIFY2(kU == k || kU == k - 1, qPrintable(row.join(',')));
        QCOMPARE(row.mid(3, 13).join(','), QStringLiteral("1.50,12.34,0.00,10.00,0.07,12.34,0.50,%1,23.95,6,10,0,0")
                                               .arg(row[uin]));
    }
    QCOMPARE(rows.last()[i1], QStringLiteral("3.05"));
}

void tst_Trend::recordingStopsOnAFullDisk()
{
    if (geteuid() != 0)
        QSKIP("mounting a small tmpfs needs root");
    QTemporaryDir small;
    const QByteArray where = QFile::encodeName(small.path());
    QVERIFY(mount("tmpfs", where.constData(), "tmpfs", 0, "size=8k") == 0);
    const auto unmount = qScopeGuard([&] { umount(where.constData()); });

    QVERIFY(sim.start(FourChannel));
    waitForSamples(3);
    const QString path = small.filePath(QStringLiteral("full.csv"));
    QSignalSpy failed(app->recording.get(), &Recording::failed);
    const QRect geometry = app->Form1->geometry();
    const QString title = app->Form1->windowTitle();
    QVERIFY(app->recording->start(path));
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, PatienceMs);

    // Stopped, said so at once naming the file and the reason, the menu item back.
    QVERIFY(!app->recording->isRunning());
    const QString text = failed.first().first().toString();
    QVERIFY2(text.contains(path) && text.contains(noSpaceReason()), qPrintable(text));
    auto *box = app->Form1->findChild<QMessageBox *>(QStringLiteral("recordingMessage"));
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->text(), text);
    QCOMPARE(ctl<QAction>(app->Form1.get(), "Aufzeichnung1")->text(), QStringLiteral("Aufzeichnung starten..."));
    // Nothing else broke: the main window as it was, the history goes on.
    QCOMPARE(app->Form1->geometry(), geometry);
    QCOMPARE(app->Form1->windowTitle(), title);
    const qint64 size = app->history.size();
    waitForSamples(size + 10);
    QCOMPARE(ctl<QLabel>(app->Form1.get(), "i1")->text(), QStringLiteral("3,00 Adc"));
    QCOMPARE(failed.size(), 1);
    // Every record before the failure is complete on disk.
    const QList<QStringList> rows = csvRows(path);
    QVERIFY(rows.size() > 10);
    QCOMPARE(rows.first(), monitorrecord::columnNames());
    box->close();
}

void tst_Trend::recordingCannotStart()
{
    QSignalSpy failed(app->recording.get(), &Recording::failed);
    const QString path = dir.filePath(QStringLiteral("no/such/folder/rec.csv"));
    QVERIFY(!app->recording->start(path));
    QCOMPARE(failed.size(), 1);
    QVERIFY(failed.first().first().toString().contains(path));
    QVERIFY(!app->recording->isRunning());
    QCOMPARE(ctl<QAction>(app->Form1.get(), "Aufzeichnung1")->text(), QStringLiteral("Aufzeichnung starten..."));
    // The proposed name carries date and time.
    QCOMPARE(QFileInfo(Recording::proposedName(QDateTime(QDate(2026, 12, 11), QTime(14, 3, 7)))).fileName(),
             QStringLiteral("aufzeichnung-2026-12-11_14-03-07.csv"));
}

void tst_Trend::closingTheProgramEndsTheRecording()
{
    QVERIFY(sim.start(FourChannel));
    const QString path = dir.filePath(QStringLiteral("closed.csv"));
    QVERIFY(app->recording->start(path));
    QTRY_VERIFY_WITH_TIMEOUT(app->recording->records() >= 10, PatienceMs);
    // Every record is on disk while the recording runs, not only at its end.
    QTRY_VERIFY(csvRows(path).size() - 1 == app->recording->records());
    const qint64 records = app->recording->records();
    app.reset();
    const QList<QStringList> rows = csvRows(path);
    QCOMPARE(rows.size() - 1, int(records));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray written = f.readAll();
    QVERIFY(written.endsWith('\n'));
    QVERIFY(!written.contains('\r'));
}

void tst_Trend::savePictureAndData()
{
    QVERIFY(sim.start(FourChannel));
    app->trend->show();
    waitForSamples(20);
    app->trend->zoomTo(app->history.timeMs(5), app->history.timeMs(15));
    const QString png = dir.filePath(QStringLiteral("plot.png"));
    QVERIFY(app->trend->savePicture(png));
    QImage image(png);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() >= 640);

    const QString csv = dir.filePath(QStringLiteral("data.csv"));
    QVERIFY(app->trend->saveData(csv));
    // Exactly the records of the visible range (telegrams of one read share their time).
    const qint64 first = app->history.lowerBound(app->history.timeMs(5));
    const qint64 end = app->history.lowerBound(app->history.timeMs(15));
    QByteArray expected = monitorrecord::csvHeader();
    for (qint64 i = first; i < end; ++i)
        expected += monitorrecord::csvLine(app->history.record(i));
    QFile saved(csv);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), expected);
    const QList<QStringList> rows = csvRows(csv);
    // Telegrams read together share a time, so the range may hold fewer than ten records.
    QCOMPARE(rows.size() - 1, int(end - first));
    QVERIFY(end > first);
    QCOMPARE(rows[1][2], QStringLiteral("3.00"));

    QString error;
    QVERIFY(!app->trend->saveData(QStringLiteral("/dev/full"), &error));
    QVERIFY2(error.contains(noSpaceReason()), qPrintable(error));
}

QTEST_MAIN(tst_Trend)
#include "tst_trend.moc"
