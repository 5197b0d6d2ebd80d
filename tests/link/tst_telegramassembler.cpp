#include "hexbytes.h"
#include "link/telegramassembler.h"

#include <QtTest>

class tst_TelegramAssembler : public QObject
{
    Q_OBJECT
private slots:
    void stream_data();
    void stream();
    void everyByteSetsActivity();
};

static QByteArray repeatByte(char b, int n) { return QByteArray(n, b); }

void tst_TelegramAssembler::stream_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::addColumn<int>("countAfter");

    const QByteArray status31 = hexBytes(
        "E4 17 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 00 00 00 FD E4 16");
    QTest::newRow("31-byte status telegram") << status31 << QList<QByteArray>{status31} << 0;
    QTest::newRow("27 payload bytes then end pair")
        << (hexBytes("E4 17") + repeatByte('\x01', 27) + hexBytes("E4 16"))
        << QList<QByteArray>{hexBytes("E4 17") + repeatByte('\x01', 27) + hexBytes("E4 16")} << 0;
    QTest::newRow("leading noise dropped")
        << hexBytes("00 55 E4 19 AA E4 18")
        << QList<QByteArray>{hexBytes("E4 19 AA E4 18")} << 0;
    QTest::newRow("invalid type byte ends the hunt")
        << hexBytes("E4 20 E4 11 E4 16")
        << QList<QByteArray>{hexBytes("E4 11 E4 16")} << 0;
    QTest::newRow("E4 E4 17 loses the telegram")
        << hexBytes("E4 E4 17 00 E4 16") << QList<QByteArray>{} << 0;
    QTest::newRow("shortest frame of 4 bytes")
        << hexBytes("E4 11 E4 18") << QList<QByteArray>{hexBytes("E4 11 E4 18")} << 0;
    QTest::newRow("end pair needs two bytes held")
        << hexBytes("E4 13 16") << QList<QByteArray>{} << 3;
    QTest::newRow("16 without E4 before it is payload")
        << hexBytes("E4 13 16 18 00 E4 16")
        << QList<QByteArray>{hexBytes("E4 13 16 18 00 E4 16")} << 0;
    QTest::newRow("payload E4 16 ends the frame early")
        << hexBytes("E4 15 01 E4 16 02 E4 16")
        << QList<QByteArray>{hexBytes("E4 15 01 E4 16")} << 0;
    QTest::newRow("two frames back to back")
        << hexBytes("E4 17 01 E4 16 E4 19 02 E4 18")
        << QList<QByteArray>{hexBytes("E4 17 01 E4 16"), hexBytes("E4 19 02 E4 18")} << 0;
    QTest::newRow("zero bytes are stored")
        << hexBytes("E4 11 00 00 E4 16") << QList<QByteArray>{hexBytes("E4 11 00 00 E4 16")} << 0;
    // 50 bytes fill the buffer; the 51st empties it and is dropped although it is E4;
    // the 52nd is examined as a start byte.
    QTest::newRow("overlong: 51st byte dropped, 52nd starts")
        << (hexBytes("E4 13") + repeatByte('\x00', 48) + hexBytes("E4 E4 17 07 E4 16"))
        << QList<QByteArray>{hexBytes("E4 17 07 E4 16")} << 0;
    QTest::newRow("overlong: 50 held without end")
        << (hexBytes("E4 13") + repeatByte('\x00', 48)) << QList<QByteArray>{} << 50;
    QTest::newRow("end pair as bytes 49 and 50 completes")
        << (hexBytes("E4 13") + repeatByte('\x00', 46) + hexBytes("E4 16"))
        << QList<QByteArray>{hexBytes("E4 13") + repeatByte('\x00', 46) + hexBytes("E4 16")} << 0;
}

void tst_TelegramAssembler::stream()
{
    QFETCH(QByteArray, input);
    QFETCH(QList<QByteArray>, frames);
    QFETCH(int, countAfter);

    TelegramAssembler assembler;
    QList<QByteArray> got;
    for (char c : input) {
        if (assembler.baue_string(quint8(c)))
            got.append(assembler.takeFrame());
        QVERIFY(assembler.count() <= TelegramAssembler::MaxFrame);
    }
    QCOMPARE(got, frames);
    QCOMPARE(assembler.count(), countAfter);
    QVERIFY(assembler.takeFrame().isEmpty());   // handed over once
}

void tst_TelegramAssembler::everyByteSetsActivity()
{
    TelegramAssembler assembler;
    QVERIFY(!assembler.takeActivity());
    assembler.baue_string(0x55);   // dropped while hunting
    QVERIFY(assembler.takeActivity());
    QVERIFY(!assembler.takeActivity());   // asked once a period: cleared by asking
    assembler.baue_string(0xE4);
    assembler.baue_string(0x20);   // dropped: not a type byte
    QVERIFY(assembler.takeActivity());
}

QTEST_APPLESS_MAIN(tst_TelegramAssembler)
#include "tst_telegramassembler.moc"
