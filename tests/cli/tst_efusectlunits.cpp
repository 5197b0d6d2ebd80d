// The pure parts of efusectl: records of `monitor`, the command line, the verify comparison
// and the file checks of `write`.
#include "cli/configcompare.h"
#include "cli/configfilecheck.h"
#include "cli/configinput.h"
#include "cli/invocation.h"
#include "link/monitorrecord.h"
#include "config/translation.h"
#include "hexbytes.h"
#include "link/frame.h"
#include "parameter/twoportfile.h"
#include "parameter2/singleportfile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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

class TestEfusectlUnits : public QObject
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
    void fileErrorInWords_data();
    void fileErrorInWords();
    void help_data();
    void help();

private:
    QTemporaryDir dir_;
};

void TestEfusectlUnits::csvRecord_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("line");
    const QByteArray time = "2026-12-01T14:03:07.042+01:00";
    QTest::newRow("four channels, every digit kept") << hexBytes(Example)
        << time + ",FourChannel10A,3.00,1.50,12.34,0.00,10.00,0.07,12.34,0.50,24.00,23.95,6,10,0,0,1,0,1,0,0,0,0,0,0,0\n";
    // Type byte 0x11: offset 1 is not covered by the check byte.
    QTest::newRow("two channels leave 3 and 4 empty") << withType(Example, 0x11)
        << time + ",TwoChannel6A,3.00,1.50,,,10.00,0.07,,,24.00,23.95,6,10,,,1,0,1,0,,,,,0,0\n";
    QByteArray big = hexBytes(Example);
    big[4] = char(0xFF); big[5] = char(0xFF);   // 655.35 A
    big[2] = char(0xA0);                        // trips of channels 3 and 4
    big[3] = char(0x03);                        // both lamps of status byte 2
    big[25] = char(0xF1);                       // rated 1 A and 15 A
    big[28] = char(frame::checkByte(big, 28));
    QTest::newRow("large values, all status lamps") << big
        << time + ",FourChannel10A,655.35,1.50,12.34,0.00,10.00,0.07,12.34,0.50,24.00,23.95,6,10,1,15,0,0,0,0,0,1,0,1,1,1\n";
}

void TestEfusectlUnits::csvRecord()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, line);
    const auto record = monitorrecord::fromFrame(frame, fixedTime());
    QVERIFY(record);
    QCOMPARE(monitorrecord::csvLine(*record), line);
}

void TestEfusectlUnits::droppedFrames_data()
{
    QTest::addColumn<QByteArray>("frame");
    QByteArray badCheck = hexBytes(Example);
    badCheck[28] = char(0xFE);
    QTest::newRow("wrong check byte") << badCheck;
    QTest::newRow("28 bytes") << hexBytes(Example).left(26) + hexBytes("E4 16");
    QTest::newRow("foreign type byte") << withType(Example, 0x18);
}

void TestEfusectlUnits::droppedFrames()
{
    QFETCH(QByteArray, frame);
    QVERIFY(!monitorrecord::fromFrame(frame, fixedTime()));
}

void TestEfusectlUnits::jsonRecordHoldsNumbersAndNulls()
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

void TestEfusectlUnits::headerNamesEveryColumnOnce()
{
    const QByteArray header = monitorrecord::csvHeader();
    // LF alone, for awk and cut.
    QVERIFY(header.endsWith("mb2_2\n"));
    const QList<QByteArray> names = header.trimmed().split(',');
    QCOMPARE(names.size(), 26);
    QCOMPARE(QSet<QByteArray>(names.begin(), names.end()).size(), 26);
    QCOMPARE(names.first(), QByteArray("time"));
    QCOMPARE(names.last(), QByteArray("mb2_2"));
    const auto record = monitorrecord::fromFrame(hexBytes(Example), fixedTime());
    QCOMPARE(monitorrecord::csvLine(*record).count(','), header.count(','));
}

void TestEfusectlUnits::csvField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << "12.34" << "12.34";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("comma") << "a,b" << "\"a,b\"";
    QTest::newRow("quote doubled") << "say \"hi\"" << "\"say \"\"hi\"\"\"";
    QTest::newRow("line break") << "a\r\nb" << "\"a\r\nb\"";
}

void TestEfusectlUnits::csvField()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(monitorrecord::csvField(text), field);
}

void TestEfusectlUnits::portDeviceName_data()
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

void TestEfusectlUnits::portDeviceName()
{
    QFETCH(QString, argument);
    QFETCH(std::optional<QString>, device);
    QCOMPARE(invocation::portDeviceName(argument), device);
}

void TestEfusectlUnits::variant_data()
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

void TestEfusectlUnits::variant()
{
    QFETCH(QString, text);
    QFETCH(std::optional<ModuleVariant>, variant);
    QCOMPARE(invocation::parseVariant(text), variant);
}

void TestEfusectlUnits::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("summary");   // command, device, seconds, format, output, file, verify, variant, count
    QTest::newRow("monitor defaults") << QStringList{"monitor", "COM3"} << true << "0 \\\\.\\COM3 0 csv   0 - 0";
    QTest::newRow("monitor json 60 s") << QStringList{"monitor", "/dev/ttyUSB1", "--seconds", "60", "--format", "json"}
        << true << "0 /dev/ttyUSB1 60 json   0 - 0";
    QTest::newRow("info") << QStringList{"info", "COM1"} << true << "1 \\\\.\\COM1 0 csv   0 - 0";
    QTest::newRow("info json") << QStringList{"info", "COM1", "--format", "json"} << true << "1 \\\\.\\COM1 0 json   0 - 0";
    QTest::newRow("info text") << QStringList{"info", "COM1", "--format", "text"} << true << "1 \\\\.\\COM1 0 text   0 - 0";
    QTest::newRow("monitor one record") << QStringList{"monitor", "COM1", "--count", "1"} << true << "0 \\\\.\\COM1 0 csv   0 - 1";
    QTest::newRow("read to stdout by dash") << QStringList{"read", "COM1", "-o", "-"} << true << "2 \\\\.\\COM1 0 csv -  0 - 0";
    QTest::newRow("write from stdin") << QStringList{"write", "COM1", "-"} << true << "3 \\\\.\\COM1 0 csv  - 0 - 0";
    QTest::newRow("read to file, variant") << QStringList{"read", "COM2", "-o", "a.txt", "--variant", "15"}
        << true << "2 \\\\.\\COM2 0 csv a.txt  0 21 0";
    QTest::newRow("write verify, option first") << QStringList{"--verify", "write", "COM2", "cfg.txt"}
        << true << "3 \\\\.\\COM2 0 csv  cfg.txt 1 - 0";
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
    QTest::newRow("zero count") << QStringList{"monitor", "COM1", "--count", "0"} << false << "";
    QTest::newRow("count with read") << QStringList{"read", "COM1", "--count", "1"} << false << "";
    QTest::newRow("csv for info") << QStringList{"info", "COM1", "--format", "csv"} << false << "";
    QTest::newRow("text for monitor") << QStringList{"monitor", "COM1", "--format", "text"} << false << "";
    QTest::newRow("format with write") << QStringList{"write", "COM1", "f", "--format", "json"} << false << "";
    QTest::newRow("help of an unknown command") << QStringList{"help", "erase"} << false << "";
    QTest::newRow("ports as text") << QStringList{"ports"} << true << "4  0 text   0 - 0";
    QTest::newRow("ports as json") << QStringList{"ports", "--format", "json"} << true << "4  0 json   0 - 0";
    QTest::newRow("ports takes no port") << QStringList{"ports", "COM1"} << false << "";
    QTest::newRow("ports not as csv") << QStringList{"ports", "--format", "csv"} << false << "";
    QTest::newRow("seconds with ports") << QStringList{"ports", "--seconds", "3"} << false << "";
}

void TestEfusectlUnits::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(bool, valid);
    QFETCH(QString, summary);
    const invocation::Parsed p = invocation::parse(QStringList{"efusectl"} + args);
    QCOMPARE(bool(p.invocation), valid);
    QCOMPARE(p.error.isEmpty(), valid);
    if (!valid)
        return;
    const invocation::Invocation &i = *p.invocation;
    const char *const formats[] = {"csv", "json", "text"};
    const QString got = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
        .arg(int(i.command)).arg(i.portDeviceName).arg(i.seconds)
        .arg(formats[int(i.format)], i.outputFile, i.configFile)
        .arg(int(i.verify))
        .arg(i.variant ? QString::number(typeByte(*i.variant)) : QString("-"))
        .arg(i.count);
    QCOMPARE(got, summary);
}

void TestEfusectlUnits::compareSinglePort_data()
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

void TestEfusectlUnits::compareSinglePort()
{
    QFETCH(SinglePortConfig, read);
    QFETCH(QList<Difference>, differences);
    QCOMPARE(configcompare::compare(singleFactory(), read), differences);
}

void TestEfusectlUnits::compareTwoPort_data()
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
    off.selectCurrent(1, 0);
    off.fillTripTimes(1, 0);
    TwoPortConfig offRead = off;
    offRead.tripTime[1] = twoport::NoSelection;
    QTest::newRow("OFF channel's trip time as on the wire") << off << offRead << QList<Difference>{};
    TwoPortConfig changed = twoFactory();
    changed.selectCurrent(0, 1);
    changed.fillTripTimes(0, 1);
    changed.selectTripTime(0, 4);
    changed.port[1].flags &= quint8(~twoport::InvertOutput);
    changed.port[1].events |= 0x80;
    changed.programmieren = false;
    QTest::newRow("each kind of field") << twoFactory() << changed << QList<Difference>{
        {"k1_sel", "8", "1"}, {"k1_time", "0,1", "1,5"}, {"port2_byte1_80", "0", "1"},
        {"port2_byte2_80", "1", "0"}, {"programmieren", "1", "0"}};
}

void TestEfusectlUnits::compareTwoPort()
{
    QFETCH(TwoPortConfig, written);
    QFETCH(TwoPortConfig, read);
    QFETCH(QList<Difference>, differences);
    QCOMPARE(configcompare::compare(written, read), differences);
}

void TestEfusectlUnits::fileCheck_data()
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

void TestEfusectlUnits::fileCheck()
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

void TestEfusectlUnits::fileErrorInWords_data()
{
    QTest::addColumn<QByteArray>("contents");   // "<missing>", "<directory>", "<fifo>" for no file
    QTest::addColumn<int>("variant");
    QTest::addColumn<QString>("message");       // after "<path>: " or "<path> "
    const QByteArray single = "config\r\n55,A3,D9,04;\r\n81,C2;\r\nAE081DDD12F256\r\n";
    const QByteArray two = "config\r\n31,58,E0,11,00;\r\n0A,81,40,40;\r\nAE081DDD12F256\r\n";
    QTest::newRow("missing") << QByteArray("<missing>") << 0x17 << ": no such file (C14)";
    QTest::newRow("directory") << QByteArray("<directory>") << 0x15 << " is a directory, not a file (C13)";
    QTest::newRow("fifo, not opened") << QByteArray("<fifo>") << 0x17
        << " is no regular file (a device, FIFO or socket) and is not opened (C14)";
    QTest::newRow("empty") << QByteArray("") << 0x17 << ": the file is empty (C14)";
    QTest::newRow("truncated after line 2") << single.left(22) << 0x17 << ": the file ends after line 2 (C14)";
    QTest::newRow("two-port truncated after line 3") << two.left(39) << 0x15 << ": the file ends after line 3 (C13)";
    QTest::newRow("header") << QByteArray(single).replace("config", "Config") << 0x17
        << ": line 1 reads 'Config', not 'config' (C13)";
    QTest::newRow("header length") << QByteArray(single).replace("config", "configs") << 0x17
        << ": line 1 reads 'configs', not 'config' (C14)";
    QTest::newRow("marker") << QByteArray(two).replace("F256", "F257") << 0x15
        << ": line 4 reads 'AE081DDD12F257', not 'AE081DDD12F256' (C12)";
    QTest::newRow("single C1") << QByteArray(single).replace("55,A3", "55;A3") << 0x17
        << ": line 2, character 3 is ';', not ',' (C1)";
    QTest::newRow("single C4") << QByteArray(single).replace("04;", "04:") << 0x17
        << ": line 2, character 12 is ':', not ';' (C4)";
    QTest::newRow("single C5") << QByteArray(single).replace("04;", "04;;") << 0x17
        << ": line 2 has 13 characters, not 12 (C5)";
    QTest::newRow("single C11") << QByteArray(single).replace("C2;", "C2,") << 0x17
        << ": line 3, character 6 is ',', not ';' (C11)";
    QTest::newRow("single C12") << QByteArray(single).replace("C2;", "C2") << 0x17
        << ": line 3 has 5 characters, not 6 (C12)";
    QTest::newRow("two C4") << QByteArray(two).replace("11,00", "11;00") << 0x15
        << ": line 2, character 12 is ';', not ',' (C4)";
    QTest::newRow("two C6") << QByteArray(two).replace("00;\r\n0A", "0;\r\n0A") << 0x15
        << ": line 2 has 14 characters, not 15 (C6)";
    QTest::newRow("two C9") << QByteArray(two).replace("40,40", "40;40") << 0x15
        << ": line 3, character 9 is ';', not ',' (C9)";
    QTest::newRow("two C11") << QByteArray(two).replace("40;", "4;") << 0x15
        << ": line 3 has 11 characters, not 12 (C11)";
    QTest::newRow("not hexadecimal, line 3") << QByteArray(single).replace("81,C2", "zz,C2") << 0x17
        << ": line 3 holds 'zz', not a hexadecimal number";
}

void TestEfusectlUnits::fileErrorInWords()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, variant);
    QFETCH(QString, message);
    QCoreApplication::installTranslator(&englishTranslator());
    QString path = dir_.filePath(QTest::currentDataTag() + QString(".txt"));
    if (contents == "<directory>") {
        QVERIFY(QDir(dir_.path()).mkpath(path));
    } else if (contents == "<fifo>") {
#ifdef Q_OS_UNIX
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
#else
        QSKIP("FIFOs are a Unix matter");
#endif
    } else if (contents != "<missing>") {
        path = writeFile(dir_, QTest::currentDataTag() + QString(".txt"), contents);
    }
    // A FIFO without a writer would block an open for reading here, and fail the time-out.
    const configinput::Input input = configinput::read(path);
    const ModuleVariant v = *variantFromTypeByte(quint8(variant));
    const configfilecheck::Family family = configfilecheck::familyOf(v);
    Result r;
    if (family == configfilecheck::Family::TwoPort) {
        TwoPortConfig c;
        r = configfilecheck::loadTwoPort(input.lines, c);
    } else {
        SinglePortConfig c;
        r = configfilecheck::loadSinglePort(input.lines, v, c);
    }
    const QString text = r.kind == Result::NotHexadecimal ? configinput::describeNotHexadecimal(input, r.invalidText)
                                                          : configinput::describeError(input, family, r.errorCode);
    QCoreApplication::removeTranslator(&englishTranslator());
    QVERIFY2(r.kind == Result::FileError || r.kind == Result::NotHexadecimal, qPrintable(text));
    QCOMPARE(text, path + message);
}

void TestEfusectlUnits::help_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("command");   // empty: the whole help
    QTest::newRow("--help") << QStringList{"--help"} << "";
    QTest::newRow("help") << QStringList{"help"} << "";
    QTest::newRow("help read") << QStringList{"help", "read"} << "read";
    QTest::newRow("read --help") << QStringList{"read", "--help"} << "read";
    QTest::newRow("monitor PORT -h") << QStringList{"monitor", "COM1", "-h"} << "monitor";
    QTest::newRow("--help write") << QStringList{"--help", "write"} << "write";
}

void TestEfusectlUnits::help()
{
    QFETCH(QStringList, args);
    QFETCH(QString, command);
    const invocation::Parsed p = invocation::parse(QStringList{"/home/u/build/cli/efusectl"} + args);
    QVERIFY2(p.error.isEmpty(), qPrintable(p.error));
    QVERIFY(p.help);
    QCOMPARE(p.program, QString("efusectl"));
    QCOMPARE(p.helpCommand ? invocation::commandName(*p.helpCommand) : QString(), command);
    const QString text = p.helpCommand ? invocation::commandHelp(*p.helpCommand, p.program)
                                       : invocation::helpText(p.program);
    QVERIFY2(text.startsWith("Aufruf: efusectl "), qPrintable(text));
    QVERIFY(!text.contains("/home/u"));
    if (command.isEmpty()) {
        // Every command listed as a command, with its options.
        for (const char *c : {"\n  monitor PORT", "\n  info PORT", "\n  read PORT", "\n  write PORT", "\n  help [COMMAND]",
                              "--count N", "--format text|json", "-o, --output FILE", "--verify", "--version"})
            QVERIFY2(text.contains(QLatin1String(c)), c);
    } else {
        QVERIFY(text.startsWith("Aufruf: efusectl " + command + " PORT"));
        // Its own options only.
        QCOMPARE(text.contains("--seconds"), command == "monitor");
        QCOMPARE(text.contains("--verify"), command == "write");
        QCOMPARE(text.contains("--output"), command == "read");
    }
}

QTEST_GUILESS_MAIN(TestEfusectlUnits)
#include "tst_efusectlunits.moc"
