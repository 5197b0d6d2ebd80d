// The pure parts of fusectl: records of `monitor`, the command line, the verify comparison
// and the file checks of `write`.
#include "cli/configcompare.h"
#include "cli/configfilecheck.h"
#include "cli/invocation.h"
#include "cli/monitorrecord.h"
#include "hexbytes.h"
#include "link/frame.h"
#include "parameter/twoportfile.h"
#include "parameter2/singleportfile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using configcompare::Difference;
using configfilecheck::Result;

Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(std::optional<ModuleVariant>)
Q_DECLARE_METATYPE(QList<Difference>)
Q_DECLARE_METATYPE(Result::Kind)

namespace {

// Overcurrent channels 1 and 2; 3,00 / 1,50 / 12,34 / 0 A; maxima 10,00 / 0,07 / 12,34 / 0,50 A;
// 24,00 / 23,95 V; rated 6, 10, off, off.
const char *const Example = "E4 17 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 00 00 00 FD E4 16";

QByteArray withType(const char *telegram, quint8 type)
{
    QByteArray t = hexBytes(telegram);
    t[1] = char(type);
    return t;
}

QDateTime fixedTime()
{
    return QDateTime(QDate(2026, 12, 1), QTime(14, 3, 7, 42), Qt::OffsetFromUTC, 3600);
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &contents)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(contents) != contents.size())
        return QString();
    return path;
}

SinglePortConfig singleFactory()
{
    SinglePortConfig c;
    c.rebuildChannelLists(ModuleVariant::FourChannel10A);
    c.applyFactorySettings(ModuleVariant::FourChannel10A);
    return c;
}

TwoPortConfig twoFactory()
{
    TwoPortConfig c;
    c.applyFactorySettings();
    return c;
}

} // namespace

class TestFusectlUnits : public QObject
{
    Q_OBJECT
private slots:
    void csvRecord_data();
    void csvRecord();
    void droppedFrames_data();
    void droppedFrames();
    void jsonRecordHoldsNumbersAndNulls();
    void headerNamesEveryColumnOnce();
    void csvField_data();
    void csvField();

    void portDeviceName_data();
    void portDeviceName();
    void variant_data();
    void variant();
    void commandLine_data();
    void commandLine();

    void compareSinglePort_data();
    void compareSinglePort();
    void compareTwoPort_data();
    void compareTwoPort();

    void fileCheck_data();
    void fileCheck();

private:
    QTemporaryDir dir_;
};

void TestFusectlUnits::csvRecord_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("line");
    const QByteArray time = "2026-12-01T14:03:07.042+01:00";
    QTest::newRow("four channels, every digit kept") << hexBytes(Example)
        << time + ",FourChannel10A,3.00,1.50,12.34,0.00,10.00,0.07,12.34,0.50,24.00,23.95,6,10,0,0,1,0,1,0,0,0,0,0,0,0\r\n";
    // Type byte 0x11: offset 1 is not covered by the check byte.
    QTest::newRow("two channels leave 3 and 4 empty") << withType(Example, 0x11)
        << time + ",TwoChannel6A,3.00,1.50,,,10.00,0.07,,,24.00,23.95,6,10,,,1,0,1,0,,,,,0,0\r\n";
    QByteArray big = hexBytes(Example);
    big[4] = char(0xFF); big[5] = char(0xFF);   // 655.35 A
    big[2] = char(0xA0);                        // trips of channels 3 and 4
    big[3] = char(0x03);                        // both lamps of status byte 2
    big[25] = char(0xF1);                       // rated 1 A and 15 A
    big[28] = char(frame::checkByte(big, 28));
    QTest::newRow("large values, all status lamps") << big
        << time + ",FourChannel10A,655.35,1.50,12.34,0.00,10.00,0.07,12.34,0.50,24.00,23.95,6,10,1,15,0,0,0,0,0,1,0,1,1,1\r\n";
}

void TestFusectlUnits::csvRecord()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, line);
    const auto record = monitorrecord::fromFrame(frame, fixedTime());
    QVERIFY(record);
    QCOMPARE(monitorrecord::csvLine(*record), line);
}

void TestFusectlUnits::droppedFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QByteArray badCheck = hexBytes(Example);
    badCheck[28] = char(0xFE);
    QTest::newRow("wrong check byte") << badCheck;
    QTest::newRow("28 bytes") << hexBytes(Example).left(26) + hexBytes("E4 16");
    QTest::newRow("foreign type byte") << withType(Example, 0x18);
}

void TestFusectlUnits::droppedFrames()
{
    QFETCH(QByteArray, frame);
    QVERIFY(!monitorrecord::fromFrame(frame, fixedTime()));
}

void TestFusectlUnits::jsonRecordHoldsNumbersAndNulls()
{
    const auto four = monitorrecord::fromFrame(hexBytes(Example), fixedTime());
    const QByteArray line = monitorrecord::jsonLine(*four);
    QVERIFY(line.endsWith("}\n"));
    QCOMPARE(line.count('\n'), 1);
    // Numbers keep their two decimals on the line, and read back as numbers.
    QVERIFY(line.contains("\"i1\":3.00,"));
    QJsonParseError error{};
    const QJsonObject o = QJsonDocument::fromJson(line, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(o.value("time").toString(), QString("2026-12-01T14:03:07.042+01:00"));
    QCOMPARE(o.value("variant").toString(), QString("FourChannel10A"));
    QCOMPARE(o.value("i3").toDouble(), 12.34);
    QCOMPARE(o.value("uin_min").toDouble(), 23.95);
    QCOMPARE(o.value("i2_endwert").toInt(), 10);
    QCOMPARE(o.value("mb1_3").toInt(), 1);
    QCOMPARE(o.keys().size(), monitorrecord::columnNames().size());

    const auto two = monitorrecord::fromFrame(withType(Example, 0x13), fixedTime());
    const QJsonObject t = QJsonDocument::fromJson(monitorrecord::jsonLine(*two)).object();
    for (const char *absent : {"i3", "i4_max", "i3_endwert", "mb1_5", "mb1_8"})
        QVERIFY2(t.value(absent).isNull(), absent);
    QCOMPARE(t.value("mb2_2").toInt(), 0);
}

void TestFusectlUnits::headerNamesEveryColumnOnce()
{
    const QByteArray header = monitorrecord::csvHeader();
    QVERIFY(header.endsWith("\r\n"));
    const QList<QByteArray> names = header.trimmed().split(',');
    QCOMPARE(names.size(), 26);
    QCOMPARE(QSet<QByteArray>(names.begin(), names.end()).size(), 26);
    QCOMPARE(names.first(), QByteArray("time"));
    QCOMPARE(names.last(), QByteArray("mb2_2"));
    const auto record = monitorrecord::fromFrame(hexBytes(Example), fixedTime());
    QCOMPARE(monitorrecord::csvLine(*record).count(','), header.count(','));
}

void TestFusectlUnits::csvField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << "12.34" << "12.34";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("comma") << "a,b" << "\"a,b\"";
    QTest::newRow("quote doubled") << "say \"hi\"" << "\"say \"\"hi\"\"\"";
    QTest::newRow("line break") << "a\r\nb" << "\"a\r\nb\"";
}

void TestFusectlUnits::csvField()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(monitorrecord::csvField(text), field);
}

void TestFusectlUnits::portDeviceName_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<std::optional<QString>>("device");
    QTest::newRow("COM1") << "COM1" << std::optional<QString>("\\\\.\\COM1");
    QTest::newRow("com20 any case") << "com20" << std::optional<QString>("\\\\.\\COM20");
    QTest::newRow("device namespace") << "\\\\.\\COM7" << std::optional<QString>("\\\\.\\COM7");
    QTest::newRow("COM21 beyond the list") << "COM21" << std::optional<QString>();
    QTest::newRow("COM0") << "COM0" << std::optional<QString>();
    QTest::newRow("COM01") << "COM01" << std::optional<QString>();
    QTest::newRow("device path") << "/dev/ttyUSB0" << std::optional<QString>("/dev/ttyUSB0");
    QTest::newRow("relative path") << "./pty" << std::optional<QString>("./pty");
    QTest::newRow("bare device name") << "ttyUSB0" << std::optional<QString>();
    QTest::newRow("empty") << "" << std::optional<QString>();
}

void TestFusectlUnits::portDeviceName()
{
    QFETCH(QString, argument);
    QFETCH(std::optional<QString>, device);
    QCOMPARE(invocation::portDeviceName(argument), device);
}

void TestFusectlUnits::variant_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<ModuleVariant>>("variant");
    QTest::newRow("hex") << "15" << std::optional<ModuleVariant>(ModuleVariant::FourChannelTwoPort);
    QTest::newRow("0x") << "0x19" << std::optional<ModuleVariant>(ModuleVariant::FourChannel6A);
    QTest::newRow("name") << "twochannel10a" << std::optional<ModuleVariant>(ModuleVariant::TwoChannel10A);
    QTest::newRow("foreign type") << "18" << std::optional<ModuleVariant>();
    QTest::newRow("decimal 17 is no type") << "017" << std::optional<ModuleVariant>();
    QTest::newRow("text") << "four" << std::optional<ModuleVariant>();
}

void TestFusectlUnits::variant()
{
    QFETCH(QString, text);
    QFETCH(std::optional<ModuleVariant>, variant);
    QCOMPARE(invocation::parseVariant(text), variant);
}

void TestFusectlUnits::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("summary");   // command, device, seconds, format, output, file, verify, variant
    QTest::newRow("monitor defaults") << QStringList{"monitor", "COM3"} << true << "0 \\\\.\\COM3 0 csv   0 -";
    QTest::newRow("monitor json 60 s") << QStringList{"monitor", "/dev/ttyUSB1", "--seconds", "60", "--format", "json"}
        << true << "0 /dev/ttyUSB1 60 json   0 -";
    QTest::newRow("info") << QStringList{"info", "COM1"} << true << "1 \\\\.\\COM1 0 csv   0 -";
    QTest::newRow("read to file, variant") << QStringList{"read", "COM2", "-o", "a.txt", "--variant", "15"}
        << true << "2 \\\\.\\COM2 0 csv a.txt  0 21";
    QTest::newRow("write verify, option first") << QStringList{"--verify", "write", "COM2", "cfg.txt"}
        << true << "3 \\\\.\\COM2 0 csv  cfg.txt 1 -";
    QTest::newRow("no command") << QStringList{} << false << "";
    QTest::newRow("unknown command") << QStringList{"erase", "COM1"} << false << "";
    QTest::newRow("missing port") << QStringList{"monitor"} << false << "";
    QTest::newRow("bad port") << QStringList{"read", "COM33"} << false << "";
    QTest::newRow("write without file") << QStringList{"write", "COM1"} << false << "";
    QTest::newRow("surplus argument") << QStringList{"read", "COM1", "x"} << false << "";
    QTest::newRow("zero seconds") << QStringList{"monitor", "COM1", "--seconds", "0"} << false << "";
    QTest::newRow("seconds no number") << QStringList{"monitor", "COM1", "--seconds", "ten"} << false << "";
    QTest::newRow("format xml") << QStringList{"monitor", "COM1", "--format", "xml"} << false << "";
    QTest::newRow("verify with read") << QStringList{"read", "COM1", "--verify"} << false << "";
    QTest::newRow("seconds with write") << QStringList{"write", "COM1", "f", "--seconds", "3"} << false << "";
    QTest::newRow("variant with monitor") << QStringList{"monitor", "COM1", "--variant", "17"} << false << "";
    QTest::newRow("bad variant") << QStringList{"read", "COM1", "--variant", "18"} << false << "";
    QTest::newRow("unknown option") << QStringList{"read", "COM1", "--fast"} << false << "";
    QTest::newRow("ports as text") << QStringList{"ports"} << true << "4  0 text   0 -";
    QTest::newRow("ports as json") << QStringList{"ports", "--format", "json"} << true << "4  0 json   0 -";
    QTest::newRow("ports takes no port") << QStringList{"ports", "COM1"} << false << "";
    QTest::newRow("ports not as csv") << QStringList{"ports", "--format", "csv"} << false << "";
    QTest::newRow("seconds with ports") << QStringList{"ports", "--seconds", "3"} << false << "";
    QTest::newRow("monitor not as text") << QStringList{"monitor", "COM1", "--format", "text"} << false << "";
}

void TestFusectlUnits::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(bool, valid);
    QFETCH(QString, summary);
    const invocation::Parsed p = invocation::parse(QStringList{"fusectl"} + args);
    QCOMPARE(bool(p.invocation), valid);
    QCOMPARE(p.error.isEmpty(), valid);
    if (!valid)
        return;
    const invocation::Invocation &i = *p.invocation;
    const QString got = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
        .arg(int(i.command)).arg(i.portDeviceName).arg(i.seconds)
        .arg(i.format == invocation::Format::Csv ? "csv" : i.format == invocation::Format::Json ? "json" : "text",
             i.outputFile, i.configFile)
        .arg(int(i.verify))
        .arg(i.variant ? QString::number(typeByte(*i.variant)) : QString("-"));
    QCOMPARE(got, summary);
}

void TestFusectlUnits::compareSinglePort_data()
{
    QTest::addColumn<SinglePortConfig>("read");
    QTest::addColumn<QList<Difference>>("differences");
    QTest::newRow("same") << singleFactory() << QList<Difference>{};
    SinglePortConfig released = singleFactory();
    released.releaseTripped = !released.releaseTripped;
    QTest::newRow("release flag is not compared") << released << QList<Difference>{};
    SinglePortConfig changed = singleFactory();
    changed.channel[2] = 0;
    changed.powerGood = 0;
    changed.tripDelay = singleport::NoSelection;
    changed.events ^= 0x41;
    changed.allowProgramming = false;
    QTest::newRow("each kind of field") << changed << QList<Difference>{
        {"k3_sel", "10", "OFF"}, {"pgood_sel_", "21,4", "20,0"}, {"abschaltzeit", "100,0", "-"},
        {"port1_byte1_01", "0", "1"}, {"port1_byte1_40", "0", "1"}, {"programmieren", "1", "0"}};
}

void TestFusectlUnits::compareSinglePort()
{
    QFETCH(SinglePortConfig, read);
    QFETCH(QList<Difference>, differences);
    QCOMPARE(configcompare::compare(singleFactory(), read), differences);
}

void TestFusectlUnits::compareTwoPort_data()
{
    QTest::addColumn<TwoPortConfig>("written");
    QTest::addColumn<TwoPortConfig>("read");
    QTest::addColumn<QList<Difference>>("differences");
    QTest::newRow("same") << twoFactory() << twoFactory() << QList<Difference>{};
    TwoPortConfig released = twoFactory();
    released.loeschen = true;
    QTest::newRow("release flag is not compared") << released << twoFactory() << QList<Difference>{};
    // Channel 2 OFF sends trip time 0; the module gives back an empty list for it.
    TwoPortConfig off = twoFactory();
    off.setCurrent(1, 0);
    off.fillTripTimes(1, 0);
    TwoPortConfig offRead = off;
    offRead.tripTime[1] = twoport::NoSelection;
    QTest::newRow("OFF channel's trip time as on the wire") << off << offRead << QList<Difference>{};
    TwoPortConfig changed = twoFactory();
    changed.setCurrent(0, 1);
    changed.fillTripTimes(0, 1);
    changed.selectTripTime(0, 4);
    changed.port[1].flags &= quint8(~twoport::InvertOutput);
    changed.port[1].events |= 0x80;
    changed.programmieren = false;
    QTest::newRow("each kind of field") << twoFactory() << changed << QList<Difference>{
        {"k1_sel", "8", "1"}, {"k1_time", "0,1", "1,5"}, {"port2_byte1_80", "0", "1"},
        {"port2_byte2_80", "1", "0"}, {"programmieren", "1", "0"}};
}

void TestFusectlUnits::compareTwoPort()
{
    QFETCH(TwoPortConfig, written);
    QFETCH(TwoPortConfig, read);
    QFETCH(QList<Difference>, differences);
    QCOMPARE(configcompare::compare(written, read), differences);
}

void TestFusectlUnits::fileCheck_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("variant");
    QTest::addColumn<Result::Kind>("kind");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QString>("detail");   // invalid text or empty fields
    const QByteArray single = "config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n";
    const QByteArray two = "config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n";
    QTest::newRow("single-port file") << single << 0x17 << Result::Loaded << 0 << "";
    QTest::newRow("two-port file") << two << 0x15 << Result::Loaded << 0 << "";
    QTest::newRow("single-port C4") << QByteArray(single).replace("07;", "07:") << 0x17 << Result::FileError << 4 << "";
    QTest::newRow("single-port C13") << QByteArray(single).replace("config", "Config") << 0x19 << Result::FileError << 13 << "";
    QTest::newRow("single-port C14, missing file") << QByteArray() << 0x17 << Result::FileError << 14 << "";
    QTest::newRow("two-port C12") << QByteArray(two).replace("config", "Config") << 0x15 << Result::FileError << 12 << "";
    QTest::newRow("two-port C1") << QByteArray(two).replace("88,88", "88;88") << 0x15 << Result::FileError << 1 << "";
    QTest::newRow("two-port file, single-port module") << two << 0x17 << Result::OtherFamily << 12 << "";
    QTest::newRow("single-port file, two-port module") << single << 0x15 << Result::OtherFamily << 11 << "";
    QTest::newRow("broken file of neither family") << QByteArray(two).replace("88,88", "88;88") << 0x17
        << Result::FileError << 12 << "";
    QTest::newRow("not hexadecimal") << QByteArray(single).replace("D6", "XG") << 0x17 << Result::NotHexadecimal << 0 << "XG";
    // 10 A is no entry of a 6 A module's lists; the dialog would refuse to write.
    QTest::newRow("value beyond the variant's list") << single << 0x19 << Result::Incomplete << 0
        << "k1_sel k2_sel k3_sel k4_sel";
    QTest::newRow("delay index 9") << QByteArray(single).replace("07;", "09;") << 0x17 << Result::Incomplete << 0 << "abschaltzeit";
    QTest::newRow("two-port threshold FF") << QByteArray(two).replace("D6", "FF") << 0x15 << Result::Incomplete << 0 << "pgood_sel_";
}

void TestFusectlUnits::fileCheck()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, variant);
    QFETCH(Result::Kind, kind);
    QFETCH(int, errorCode);
    QFETCH(QString, detail);
    const QString path = contents.isEmpty() ? dir_.filePath("absent.txt")
                                            : writeFile(dir_, QTest::currentDataTag() + QString(".txt"), contents);
    QVERIFY(!path.isEmpty());
    const ModuleVariant v = *variantFromTypeByte(quint8(variant));
    Result r;
    if (configfilecheck::familyOf(v) == configfilecheck::Family::TwoPort) {
        TwoPortConfig c;
        r = configfilecheck::loadTwoPort(path, c);
        if (r.ok())
            QCOMPARE(twoportfile::contents(c).value(), contents);
    } else {
        SinglePortConfig c;
        r = configfilecheck::loadSinglePort(path, v, c);
        if (r.ok())
            QCOMPARE(singleportfile::contents(c).value(), contents);
    }
    QCOMPARE(r.kind, kind);
    if (kind == Result::FileError)
        QCOMPARE(r.errorCode, errorCode);
    QCOMPARE(kind == Result::NotHexadecimal ? r.invalidText : r.emptyFields.join(' '), detail);
}

QTEST_GUILESS_MAIN(TestFusectlUnits)
#include "tst_fusectlunits.moc"
