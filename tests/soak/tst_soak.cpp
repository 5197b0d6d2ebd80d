// The main window at full line rate for a while: every telegram the module sends is
// decoded, and memory does not grow. FUSE_SOAK_SECONDS sets the length (default 120); the
// figures (telegrams sent and decoded, resident memory at start, at most and at the end) are
// printed at the end for the README.
#include "config/sharedstate.h"
#include "app/form1.h"
#include "link/serialline.h"
#include "link/statustelegram.h"
#include "link/telegramassembler.h"
#include "processfigures.h"
#include "simulatorprocess.h"

#include "windowcontrols.h"
#include <QtTest>

// Decodes a copy of the byte stream the main window's reads deliver, so the test knows
// how many telegrams the window has taken in.
struct Counter {
    TelegramAssembler assembler;
    qint64 valid = 0;
    qint64 bytes = 0;

    void take(const QByteArray &got)
    {
        bytes += got.size();
        for (char b : got) {
            if (assembler.baue_string(quint8(b))
                && status::decode(assembler.takeFrame()).outcome == status::Decoded::Valid)
                ++valid;
        }
    }
};

class tst_Soak : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SimulatorProcess::useTemporaryDataHome(); }
    void fullLineRate();
};

void tst_Soak::fullLineRate()
{
    const int seconds = qEnvironmentVariableIsSet("FUSE_SOAK_SECONDS")
        ? qEnvironmentVariableIntValue("FUSE_SOAK_SECONDS") : 120;
    SimulatorProcess sim;
    QVERIFY(sim.start({"--variant", "17", "--rate", "31", "--moving"}));
    SharedState state;
    SerialLine line;
    Counter counter;
    connect(&line, &SerialLine::readFinished, this, [&](const QByteArray &got) { counter.take(got); });
    TForm1 form(state, line);
    form.show();

    QTRY_VERIFY_WITH_TIMEOUT(!ctl<QLabel>(&form, "i1")->text().isEmpty(), PatienceMs);
    QTest::qWait(5000);   // allocations of the first telegrams and the first paints settle
    const qint64 startKiB = residentKiB();
    QElapsedTimer clock;
    clock.start();
    qint64 maxKiB = startKiB;
    while (clock.elapsed() < seconds * 1000) {
        QTest::qWait(1000);
        maxKiB = qMax(maxKiB, residentKiB());
        QVERIFY(!ctl<QLabel>(&form, "i1")->text().isEmpty());   // never blanked: the line never fell silent
    }
    const qint64 endKiB = residentKiB();
    QVERIFY(sim.commandOk("silence"));
    QTest::qWait(1000);   // what was on its way arrives
    const QStringList count = sim.command("count");
    QCOMPARE(count.size(), 2);
    const qint64 sent = count[0].section(' ', 1).toLongLong();
    qInfo("%lld telegrams sent, %lld decoded, %lld bytes in %d s; "
          "resident %lld KiB at start, %lld KiB at most, %lld KiB at the end",
          sent, counter.valid, counter.bytes, seconds, startKiB, maxKiB, endKiB);
    QVERIFY(sent > seconds * 25);   // the module really sent at full line rate
    QCOMPARE(counter.valid, sent);
    QVERIFY2(maxKiB - startKiB < 2048, "resident memory grew by 2 MiB or more");
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
