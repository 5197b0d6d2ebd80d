// The run's history of status telegrams: exact reduction to columns, segments for silence
// and for a change of channel count, lamp events; and the recording file and its failures.
#include "link/recordfile.h"
#include "link/statushistory.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/mount.h>
#include <unistd.h>

using Series = StatusHistory::Series;

namespace {

const qint64 T0 = QDateTime(QDate(2026, 12, 1), QTime(14, 0), Qt::UTC).toMSecsSinceEpoch();

monitorrecord::Record sample(qint64 ms, quint16 i1, ModuleVariant variant = ModuleVariant::FourChannel10A)
{
    monitorrecord::Record r;
    r.time = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    r.variant = variant;
    r.channels = isFourChannel(variant) ? 4 : 2;
    r.current = {i1, quint16(i1 / 2), quint16(1000 - i1 % 1000), 7};
    r.maxCurrent = {quint16(i1 + 1), 2, 3, 4};
    r.uin = quint16(2400 - i1 % 100);
    r.uinMin = 2300;
    r.rated = {6, 10, 0, 15};
    return r;
}

// The extremes by brute force: every sample, its column by the documented rule.
struct Expected
{
    int column;
    quint16 min, max;
};

} // namespace

class TestStatusHistory : public QObject
{
    Q_OBJECT

private slots:
    void reductionIsExact_data();
    void reductionIsExact();
    void silenceIsAGapNotZeros();
    void channels34AbsentForTwoChannelModule();
    void lampEvents();
    void recordRoundTrip();
    void clockSetBackKeepsOrder();
    void dayFitsInMemoryBudget();

    void recordFileWritesHeaderAndLines();
    void recordFileWriteFailure_data();
    void recordFileWriteFailure();
};

void TestStatusHistory::reductionIsExact_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("columns");
    QTest::addColumn<qint64>("fromOffset");
    QTest::addColumn<qint64>("toOffset");

    // Telegrams 32 ms apart with jitter; ranges that start and end between samples, that
    // cover a few summaries or many of both sizes, more columns than samples and fewer.
    QTest::newRow("one minute, 1000 columns") << 2000 << 1000 << qint64(0) << qint64(60000);
    QTest::newRow("range inside, odd ends") << 20000 << 777 << qint64(12345) << qint64(500001);
    QTest::newRow("fewer samples than columns") << 50 << 1200 << qint64(-100) << qint64(2000);
    QTest::newRow("whole run, few columns") << 30000 << 7 << qint64(0) << qint64(30000 * 33);
    QTest::newRow("range beyond the end") << 9000 << 640 << qint64(100000) << qint64(900000);
    QTest::newRow("one column") << 10000 << 1 << qint64(1) << qint64(200000);
}

void TestStatusHistory::reductionIsExact()
{
    QFETCH(int, samples);
    QFETCH(int, columns);
    QFETCH(qint64, fromOffset);
    QFETCH(qint64, toOffset);

    QRandomGenerator rng(samples + columns);
    StatusHistory h;
    std::vector<qint64> times;
    std::vector<quint16> values;
    qint64 t = T0;
    for (int i = 0; i < samples; ++i) {
        t += 28 + rng.bounded(9);
        const quint16 v = quint16(rng.bounded(1200));
        times.push_back(t);
        values.push_back(v);
        h.append(sample(t, v));
        // A silence now and then: the reduction splits the column there.
        if (rng.bounded(1500) == 0)
            h.breakHere(t + 500);
    }

    const qint64 from = T0 + fromOffset, to = T0 + toOffset;
    std::map<int, Expected> expected;
    for (int i = 0; i < samples; ++i) {
        if (times[size_t(i)] < from || times[size_t(i)] >= to)
            continue;
        const int c = int((times[size_t(i)] - from) * columns / (to - from));
        auto [it, fresh] = expected.try_emplace(c, Expected{c, values[size_t(i)], values[size_t(i)]});
        it->second.min = std::min(it->second.min, values[size_t(i)]);
        it->second.max = std::max(it->second.max, values[size_t(i)]);
    }

    // A column split by a segment boundary has several buckets; together they give the
    // column's extremes.
    std::map<int, Expected> got;
    for (const StatusHistory::Bucket &b : h.reduce(StatusHistory::I1, from, to, columns)) {
        QVERIFY(b.column >= 0 && b.column < columns);
        QVERIFY(b.min <= b.max);
        auto [it, fresh] = got.try_emplace(b.column, Expected{b.column, b.min, b.max});
        it->second.min = std::min(it->second.min, b.min);
        it->second.max = std::max(it->second.max, b.max);
    }
    QCOMPARE(got.size(), expected.size());
    for (const auto &[c, e] : expected) {
        QVERIFY2(got.count(c), qPrintable(QStringLiteral("column %1 missing").arg(c)));
        QCOMPARE(got[c].min, e.min);
        QCOMPARE(got[c].max, e.max);
    }
}

void TestStatusHistory::silenceIsAGapNotZeros()
{
    StatusHistory h;
    QVERIFY(h.silentNow());
    for (int i = 0; i < 100; ++i)
        h.append(sample(T0 + i * 32, 300));
    QVERIFY(!h.silentNow());
    h.breakHere(T0 + 4200);
    h.breakHere(T0 + 5200);   // the watchdog blanks again: still one gap
    QVERIFY(h.silentNow());
    for (int i = 0; i < 100; ++i)
        h.append(sample(T0 + 10000 + i * 32, 500));

    QCOMPARE(h.size(), qint64(200));   // nothing was stored for the silence
    const auto buckets = h.reduce(StatusHistory::I1, T0, T0 + 14000, 140);
    int starts = 0;
    for (const StatusHistory::Bucket &b : buckets) {
        QVERIFY(b.min == 300 || b.min == 500);   // no zeros in the gap
        QVERIFY(b.column < 33 || b.column >= 100);
        starts += b.startsSegment;
        if (b.startsSegment)
            QCOMPARE(b.column == 0 ? 300 : 500, int(b.min));
    }
    QCOMPARE(starts, 2);
    // A range that begins inside a segment starts a line too.
    const auto late = h.reduce(StatusHistory::I1, T0 + 1000, T0 + 2000, 10);
    QVERIFY(!late.empty());
    QVERIFY(late.front().startsSegment);
    QCOMPARE(std::count_if(late.begin(), late.end(), [](auto &b) { return b.startsSegment; }), 1);
}

void TestStatusHistory::channels34AbsentForTwoChannelModule()
{
    StatusHistory h;
    for (int i = 0; i < 50; ++i)
        h.append(sample(T0 + i * 32, 100, ModuleVariant::FourChannel10A));
    for (int i = 50; i < 100; ++i)
        h.append(sample(T0 + i * 32, 200, ModuleVariant::TwoChannel10A));
    for (int i = 100; i < 150; ++i)
        h.append(sample(T0 + i * 32, 300, ModuleVariant::FourChannel6A));

    QVERIFY(h.hasValue(StatusHistory::I3, 10));
    QVERIFY(!h.hasValue(StatusHistory::I3, 60));
    QVERIFY(!h.hasValue(StatusHistory::I4, 99));
    QVERIFY(h.hasValue(StatusHistory::I2, 60));
    QVERIFY(h.hasValue(StatusHistory::Uin, 60));

    // Channel 3 has values in the first and the last third only, and no line joins them.
    const auto i3 = h.reduce(StatusHistory::I3, T0, T0 + 150 * 32, 150);
    QCOMPARE(i3.size(), size_t(100));
    QCOMPARE(std::count_if(i3.begin(), i3.end(), [](auto &b) { return b.startsSegment; }), 2);
    for (const auto &b : i3)
        QVERIFY(b.column < 50 || b.column >= 100);
    // Channel 1 goes on, but in three pieces.
    const auto i1 = h.reduce(StatusHistory::I1, T0, T0 + 150 * 32, 150);
    QCOMPARE(i1.size(), size_t(150));
    QCOMPARE(std::count_if(i1.begin(), i1.end(), [](auto &b) { return b.startsSegment; }), 3);
}

void TestStatusHistory::lampEvents()
{
    StatusHistory h;
    auto r = sample(T0, 100);
    h.append(r);
    r.time = r.time.addMSecs(32);
    r.lamps[0] = true;   // overcurrent channel 1 on
    h.append(r);
    r.time = r.time.addMSecs(32);
    r.lamps[1] = true;   // channel 1 tripped
    h.append(r);
    r.time = r.time.addMSecs(32);
    r.lamps[0] = false;
    h.append(r);
    h.breakHere(T0 + 2000);   // silence: what was on goes off
    r.time = r.time.addMSecs(5000);
    h.append(r);   // the trip lamp again after the silence

    const std::vector<std::tuple<qint64, int, bool>> expected = {
        {T0 + 32, 0, true}, {T0 + 64, 1, true}, {T0 + 96, 0, false}, {T0 + 2000, 1, false}, {T0 + 5096, 1, true},
    };
    QCOMPARE(h.lampEvents().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto &e = h.lampEvents()[i];
        QCOMPARE(std::tuple(e.timeMs, e.lamp, e.on), expected[i]);
    }
}

void TestStatusHistory::recordRoundTrip()
{
    StatusHistory h;
    auto r = sample(T0 + 5, 1234, ModuleVariant::FourChannelTwoPort);
    r.lamps = {true, false, true, false, false, true, false, true, true, false};
    r.uinMin = 65535;
    h.append(r);
    auto two = sample(T0 + 40, 7, ModuleVariant::TwoChannel6A);
    h.append(two);

    const auto back = h.record(0);
    QCOMPARE(back.time.toMSecsSinceEpoch(), r.time.toMSecsSinceEpoch());
    QCOMPARE(back.variant, r.variant);
    QCOMPARE(back.channels, 4);
    QCOMPARE(back.current, r.current);
    QCOMPARE(back.maxCurrent, r.maxCurrent);
    QCOMPARE(back.uin, r.uin);
    QCOMPARE(back.uinMin, r.uinMin);
    QCOMPARE(back.rated, r.rated);
    QCOMPARE(back.lamps, r.lamps);
    QCOMPARE(h.record(1).channels, 2);
    QCOMPARE(h.record(1).variant, ModuleVariant::TwoChannel6A);
    // The same CSV line as the record itself but for the time zone the time is written in.
    const auto afterTime = [](const QByteArray &line) { return line.mid(line.indexOf(',')); };
    QCOMPARE(afterTime(monitorrecord::csvLine(h.record(1))), afterTime(monitorrecord::csvLine(two)));
}

void TestStatusHistory::clockSetBackKeepsOrder()
{
    StatusHistory h;
    h.append(sample(T0 + 1000, 1));
    h.append(sample(T0 + 500, 2));   // the system clock stepped back
    h.append(sample(T0 + 1100, 3));
    QCOMPARE(h.timeMs(1), T0 + 1000);
    QCOMPARE(h.lowerBound(T0 + 1001), qint64(2));
    QCOMPARE(h.reduce(StatusHistory::I1, T0, T0 + 2000, 1).front().max, quint16(3));
}

void TestStatusHistory::dayFitsInMemoryBudget()
{
    // A day at 31 telegrams a second in samples of 28 bytes, plus summaries: under 100 MB.
    const qint64 day = 31LL * 86400;
    const qint64 bytes = day * 28 + day / 16 * 20 + day / 256 * 20 + day / 4096 * 20;
    QVERIFY(bytes < 100LL * 1000 * 1000);
    // And the store really holds that size a sample: a chunk of 65536 samples is 1.8 MB.
    StatusHistory h;
    for (int i = 0; i < 70000; ++i)
        h.append(sample(T0 + i * 32, quint16(i % 1000)));
    QCOMPARE(h.size(), qint64(70000));
    QCOMPARE(h.value(StatusHistory::I1, 69999), quint16(69999 % 1000));
    QCOMPARE(h.timeMs(69999), T0 + 69999LL * 32);
}

void TestStatusHistory::recordFileWritesHeaderAndLines()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec.csv"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older file that is replaced\n");
    }
    RecordFile file;
    QVERIFY(file.open(path));
    const auto a = sample(T0, 300), b = sample(T0 + 32, 150, ModuleVariant::TwoChannel10A);
    QVERIFY(file.write(a));
    QVERIFY(file.write(b));
    // Already on disk before the file is closed: nothing waits in a buffer.
    QFile read(path);
    QVERIFY(read.open(QIODevice::ReadOnly));
    QCOMPARE(read.readAll(), monitorrecord::csvHeader() + monitorrecord::csvLine(a) + monitorrecord::csvLine(b));
    QCOMPARE(file.records(), qint64(2));
    file.close();
    QVERIFY(!file.isOpen());
    QVERIFY(!file.write(a));
}

void TestStatusHistory::recordFileWriteFailure_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("/dev/full") << QStringLiteral("/dev/full");
    QTest::newRow("small tmpfs") << QStringLiteral("tmpfs");
}

void TestStatusHistory::recordFileWriteFailure()
{
    QFETCH(QString, where);
    QTemporaryDir dir;
    QString path = where;
    bool mounted = false;
    if (where == QLatin1String("tmpfs")) {
        // A file system of 16 KiB fills after some hundred records.
        if (geteuid() != 0 || mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=16k") != 0)
            QSKIP("no tmpfs can be mounted here (needs root)");
        mounted = true;
        path = dir.filePath(QStringLiteral("rec.csv"));
    }
    RecordFile file;
    bool ok = file.open(path);
    qint64 written = 0;
    for (int i = 0; ok && i < 10000; ++i) {
        ok = file.write(sample(T0 + i * 32, quint16(i)));
        written += ok;
    }
    const QString reason = file.errorString();
    QByteArray contents;
    if (mounted) {
        QFile read(path);
        if (read.open(QIODevice::ReadOnly))
            contents = read.readAll();
        umount(QFile::encodeName(dir.path()).constData());
    }
    QVERIFY(!ok);
    QVERIFY2(reason.contains(QLatin1String("No space left on device")), qPrintable(reason));
    QVERIFY(!file.isOpen());
    QCOMPARE(file.records(), written);
    QVERIFY(mounted ? written > 50 : written == 0);
    if (mounted) {
        // Header and every record written so far, each complete: no part of a line at the end.
        QByteArray expected = monitorrecord::csvHeader();
        for (int i = 0; i < written; ++i)
            expected += monitorrecord::csvLine(sample(T0 + i * 32, quint16(i)));
        QCOMPARE(contents, expected);
    }
}

QTEST_GUILESS_MAIN(TestStatusHistory)
#include "tst_statushistory.moc"
