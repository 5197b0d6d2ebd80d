#include "grafik/form2.h"
#include "information/info.h"

#include "windowcontrols.h"
#include <QtTest>

class tst_InfoWindows : public QObject
{
    Q_OBJECT
private slots:
    void infoLayout();
    void links_data();
    void links();
    void okHides();
    void tripCharacteristicWindow();
};

void tst_InfoWindows::infoLayout()
{
    TInfo info;
    QCOMPARE(info.windowTitle(), QStringLiteral("Info..."));
    QCOMPARE(info.size(), QSize(729, 219));
    QCOMPARE(info.pos(), QPoint(0, 21));
    QVERIFY(!info.windowIcon().isNull());
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    QVERIFY(ctl<QLabel>(&info, "Image1")->isVisible());
    QVERIFY(ctl<QLabel>(&info, "Image2")->isVisible());
    QVERIFY(!ctl<QLabel>(&info, "pellix_logo1")->isVisible());
    QVERIFY(!ctl<QLabel>(&info, "pellix_logo2")->isVisible());
    // The banner is drawn proportionally into its place, the logo too.
    QCOMPARE(ctl<QLabel>(&info, "Image1")->pixmap().deviceIndependentSize().width(), 505.0);
    QVERIFY(!ctl<QLabel>(&info, "Image2")->pixmap().isNull());
    for (QLabel *text : {ctl<QLabel>(&info, "StaticText2"), ctl<QLabel>(&info, "StaticText3"), ctl<QLabel>(&info, "StaticText4"), ctl<QLabel>(&info, "StaticText5"),
                         ctl<QLabel>(&info, "StaticText6"), ctl<QLabel>(&info, "StaticText7"), ctl<QLabel>(&info, "StaticText8")})
        QVERIFY2(!text->text().isEmpty(), qPrintable(text->objectName()));
    QCOMPARE(ctl<QLabel>(&info, "StaticText7")->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(ctl<QLabel>(&info, "StaticText8")->font().underline());
    QCOMPARE(ctl<QLabel>(&info, "StaticText8")->palette().color(QPalette::WindowText), QColor(0x00, 0x66, 0xCC));
    QCOMPARE(ctl<QPushButton>(&info, "Button1")->text(), QStringLiteral("OK"));
    QCOMPARE(ctl<QPushButton>(&info, "Button1")->geometry(), QRect(640, 184, 75, 25));
}

void tst_InfoWindows::links_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("scheme");
    QTest::newRow("mail") << "StaticText7" << "mailto";
    QTest::newRow("web") << "StaticText8" << "https";
}

void tst_InfoWindows::links()
{
    QFETCH(QString, label);
    QFETCH(QString, scheme);
    TInfo info;
    QList<QUrl> opened;
    info.openAddress = [&](const QUrl &url) { opened << url; };
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    QTest::mouseClick(info.findChild<QLabel *>(label), Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0].scheme(), scheme);
    QVERIFY(opened[0].toString().contains(QStringLiteral("tarmeno")));
}

void tst_InfoWindows::okHides()
{
    TInfo info;
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    QTest::mouseClick(ctl<QPushButton>(&info, "Button1"), Qt::LeftButton);
    QVERIFY(!info.isVisible());
}

void tst_InfoWindows::tripCharacteristicWindow()
{
    TForm2 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Auslösecharakteristik"));
    QCOMPARE(form.size(), QSize(900, 535));
    QCOMPARE(ctl<QLabel>(&form, "Image2")->geometry(), QRect(0, 0, 897, 633));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(form.pos(), QPoint(area.x() + (area.width() - form.frameGeometry().width()) / 2,
                                area.y() + (area.height() - form.frameGeometry().height()) / 2));
}

QTEST_MAIN(tst_InfoWindows)
#include "tst_infowindows.moc"
