#include "config/configmessages.h"

#include <QtTest>

Q_DECLARE_METATYPE(ConfigMessage)
Q_DECLARE_METATYPE(Language)

class tst_ConfigMessages : public QObject
{
    Q_OBJECT
private slots:
    void pairs_data();
    void pairs();
    void fileError_data();
    void fileError();
};

void tst_ConfigMessages::pairs_data()
{
    QTest::addColumn<ConfigMessage>("message");
    QTest::addColumn<QString>("german");
    QTest::addColumn<QString>("english");
    QTest::newRow("failure after the retries") << ConfigMessage::CommunicationFailed
                                               << QStringLiteral("Kommunikation fehlgeschlagen!")
                                               << QStringLiteral("Communikation error!");
    QTest::newRow("success") << ConfigMessage::TransmissionSuccessful << QStringLiteral("Übertragung erfolgreich!")
                             << QStringLiteral("Transmission successful!");
    QTest::newRow("refusal") << ConfigMessage::FillAllFields << QStringLiteral("Bitte alle Felder korrekt ausfüllen")
                             << QStringLiteral("All labels fill correctly, please");
    QTest::newRow("file read") << ConfigMessage::FileReadCorrectly << QStringLiteral("Datei korrekt eingelesen")
                               << QStringLiteral("Read file correctly");
    QTest::newRow("file error") << ConfigMessage::FileError << QStringLiteral("Datei fehlerhaft C")
                                << QStringLiteral("File error C");
    QTest::newRow("file not saved") << ConfigMessage::FileNotSaved
                                    << QStringLiteral("Datei konnte nicht gespeichert werden")
                                    << QStringLiteral("File could not be saved");
}

void tst_ConfigMessages::pairs()
{
    QFETCH(ConfigMessage, message);
    QFETCH(QString, german);
    QFETCH(QString, english);
    QCOMPARE(configMessage(message, Language::German), german);
    QCOMPARE(configMessage(message, Language::English), english);
}

void tst_ConfigMessages::fileError_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text");
    QTest::newRow("German 13") << 13 << Language::German << QStringLiteral("Datei fehlerhaft C13");
    QTest::newRow("German 4") << 4 << Language::German << QStringLiteral("Datei fehlerhaft C4");
    QTest::newRow("English 12") << 12 << Language::English << QStringLiteral("File error C12");
}

void tst_ConfigMessages::fileError()
{
    QFETCH(int, code);
    QFETCH(Language, language);
    QFETCH(QString, text);
    QCOMPARE(fileErrorMessage(code, language), text);
    const QString notHex = notHexadecimalMessage(QStringLiteral("XG"), language);
    QVERIFY(notHex.contains(QLatin1String("'XG'")));
    QVERIFY(!notHex.contains(QLatin1String("%1")));
}

QTEST_GUILESS_MAIN(tst_ConfigMessages)
#include "tst_configmessages.moc"
