#include "config/configtelegram.h"

#include "hexbytes.h"

#include <QtTest>

namespace {

// The factory settings' write telegrams of both families.
const char *const TwoPortFactory = "FF F3 88 88 D6 02 80 08 C0 00 00 DD EE AF";
const char *const SinglePortFactory = "FF F3 AA AA D6 AA C0 0F 9F DD EE 1F";
constexpr int TwoPortLength = 14;
constexpr int SinglePortLength = 12;

} // namespace

class tst_ConfigTelegram : public QObject
{
    Q_OBJECT
private slots:
    void writeTelegram_data();
    void writeTelegram();
    void acknowledgement_data();
    void acknowledgement();
    void versionText_data();
    void versionText();
};

void tst_ConfigTelegram::writeTelegram_data()
{
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<QByteArray>("telegram");
    QTest::newRow("two-port factory settings") << hexBytes("88 88 D6 02 80 08 C0 00 00") << hexBytes(TwoPortFactory);
    QTest::newRow("single-port factory settings") << hexBytes("AA AA D6 AA C0 0F 9F") << hexBytes(SinglePortFactory);
    // DD EE are part of the check byte: fields of zeros give DD ^ EE.
    QTest::newRow("zero fields") << QByteArray(7, '\0') << hexBytes("FF F3 00 00 00 00 00 00 00 DD EE 33");
}

void tst_ConfigTelegram::writeTelegram()
{
    QFETCH(QByteArray, fields);
    QFETCH(QByteArray, telegram);
    QCOMPARE(configtelegram::writeTelegram(fields), telegram);
}

void tst_ConfigTelegram::acknowledgement_data()
{
    QTest::addColumn<QByteArray>("telegram");
    QTest::addColumn<int>("writeLength");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("acknowledged");

    const QByteArray two = hexBytes(TwoPortFactory);
    QTest::newRow("two-port: the check byte alone") << two << TwoPortLength << hexBytes("AF") << true;
    QTest::newRow("two-port: the check byte, then more") << two << TwoPortLength << hexBytes("AF E4 15 00") << true;
    QTest::newRow("two-port: empty") << two << TwoPortLength << QByteArray() << false;
    QTest::newRow("two-port: another byte") << two << TwoPortLength << hexBytes("AE") << false;
    QTest::newRow("two-port: a telegram") << two << TwoPortLength << hexBytes("E4 15 88 88") << false;
    QTest::newRow("two-port: check byte second") << two << TwoPortLength << hexBytes("00 AF") << false;

    const QByteArray single = hexBytes(SinglePortFactory);
    QTest::newRow("single-port: single byte equal to the check byte") << single << SinglePortLength << hexBytes("1F") << true;
    QTest::newRow("single-port: check byte followed by anything")
        << single << SinglePortLength << hexBytes("1F E4 17 00") << true;
    QTest::newRow("single-port: empty reply") << single << SinglePortLength << QByteArray() << false;
    QTest::newRow("single-port: a telegram from the module") << single << SinglePortLength << hexBytes("E4 17 1F") << false;
    QTest::newRow("single-port: check byte at the second place only")
        << single << SinglePortLength << hexBytes("00 1F") << false;
    const QByteArray e4 = hexBytes("FF F3 00 00 C8 00 00 00 1F DD EE E4");
    QTest::newRow("single-port: a telegram start byte equal to the check byte")
        << e4 << SinglePortLength << hexBytes("E4 17") << true;

    // A telegram of the other family's length acknowledges nothing.
    QTest::newRow("single-port telegram, two-port length") << single << TwoPortLength << hexBytes("1F") << false;
    QTest::newRow("two-port telegram, single-port length") << two << SinglePortLength << hexBytes("AF") << false;
    QTest::newRow("no telegram") << QByteArray() << SinglePortLength << hexBytes("1F") << false;
}

void tst_ConfigTelegram::acknowledgement()
{
    QFETCH(QByteArray, telegram);
    QFETCH(int, writeLength);
    QFETCH(QByteArray, reply);
    QFETCH(bool, acknowledged);
    QCOMPARE(configtelegram::isAcknowledged(telegram, reply, writeLength), acknowledged);
}

void tst_ConfigTelegram::versionText_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("version");
    const QByteArray reply = QByteArray("E4") + "012345678" + "1.05" + "xyz";
    QTest::newRow("at offset 11 (two-port)") << reply << 11 << QStringLiteral("SW: 1.05");
    QTest::newRow("at offset 9 (single-port)") << reply << 9 << QStringLiteral("SW: 781.");
    QTest::newRow("cut at the end of the reply") << reply << 16 << QStringLiteral("SW: yz");
    QTest::newRow("beyond the reply") << reply << 40 << QStringLiteral("SW: ");
}

void tst_ConfigTelegram::versionText()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, offset);
    QFETCH(QString, version);
    QCOMPARE(configtelegram::versionText(reply, offset), version);
}

QTEST_GUILESS_MAIN(tst_ConfigTelegram)
#include "tst_configtelegram.moc"
