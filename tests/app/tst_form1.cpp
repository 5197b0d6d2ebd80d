#include "hexbytes.h"
#include "config/sharedstate.h"
#include "app/form1.h"
#include "app/fuseapplication.h"
#include "grafik/form2.h"
#include "information/info.h"
#include "parameter2/parameter_rovo.h"
#include "link/frame.h"
#include "fakeline.h"

#include "windowcontrols.h"
#include <QtTest>

static const char *const Example =
    "E4 17 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 00 00 00 FD E4 16";


class tst_Form1 : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUp();
    void infoMenu();
    void tripCharacteristicFromDialog();
    void layout();
    void exampleTelegram();
    void wrongCheckByte();
    void twoChannelModuleAndBack();
    void watchdogBlanksAndRefills();
    void watchdogKeepsHiddenRowsHidden();
    void activityIndicator();
    void leftEdge_data();
    void leftEdge();

private:
    void feed(const QByteArray &bytes)
    {
        for (char b : bytes)
            form->baue_string(quint8(b));
    }
    QString lampState(QLabel *off, QLabel *on)
    {
        if (!off->isHidden() && on->isHidden())
            return "off";
        if (off->isHidden() && !on->isHidden())
            return "on";
        return QStringLiteral("off=%1 on=%2").arg(!off->isHidden()).arg(!on->isHidden());
    }
    QStringList lamps()
    {
        return {lampState(ctl<QLabel>(form, "mb1_1_w"), ctl<QLabel>(form, "mb1_1_g")), lampState(ctl<QLabel>(form, "mb1_2_w"), ctl<QLabel>(form, "mb1_2_r")),
                lampState(ctl<QLabel>(form, "mb1_3_w"), ctl<QLabel>(form, "mb1_3_g")), lampState(ctl<QLabel>(form, "mb1_4_w"), ctl<QLabel>(form, "mb1_4_r")),
                lampState(ctl<QLabel>(form, "mb1_5_w"), ctl<QLabel>(form, "mb1_5_g")), lampState(ctl<QLabel>(form, "mb1_6_w"), ctl<QLabel>(form, "mb1_6_r")),
                lampState(ctl<QLabel>(form, "mb1_7_w"), ctl<QLabel>(form, "mb1_7_g")), lampState(ctl<QLabel>(form, "mb1_8_w"), ctl<QLabel>(form, "mb1_8_r")),
                lampState(ctl<QLabel>(form, "mb2_1_w"), ctl<QLabel>(form, "mb2_1_g")), lampState(ctl<QLabel>(form, "mb2_2_w"), ctl<QLabel>(form, "mb2_2_g"))};
    }
    QStringList values()
    {
        QStringList texts;
        for (QLabel *l : {ctl<QLabel>(form, "i1"), ctl<QLabel>(form, "i2"), ctl<QLabel>(form, "i3"), ctl<QLabel>(form, "i4"), ctl<QLabel>(form, "i1_max"), ctl<QLabel>(form, "i2_max"), ctl<QLabel>(form, "i3_max"), ctl<QLabel>(form, "i4_max"),
                          ctl<QLabel>(form, "uin"), ctl<QLabel>(form, "uin_min"), ctl<QLabel>(form, "i1_endwert"), ctl<QLabel>(form, "i2_endwert"), ctl<QLabel>(form, "i3_endwert"), ctl<QLabel>(form, "i4_endwert")})
            texts << l->text();
        return texts;
    }

    SharedState state;
    FakeLine *line = nullptr;
    TForm1 *form = nullptr;
};

void tst_Form1::init()
{
    state = SharedState{};
    line = new FakeLine;
    form = new TForm1(state, *line);
    // The tests drive the handlers themselves.
    ctl<QTimer>(form, "Timer1")->stop();
    ctl<QTimer>(form, "Timer2")->stop();
    ctl<QTimer>(form, "Timer3")->stop();
}

void tst_Form1::cleanup()
{
    delete form;
    delete line;
}

void tst_Form1::startUp()
{
    FuseApplication app;
    QCOMPARE(app.state.variant, ModuleVariant::FourChannel10A);
    QCOMPARE(app.state.language, Language::German);
    QVERIFY(app.state.language != Language::English);
    QVERIFY(!app.Form1->isVisible());
    for (QWidget *secondary : std::initializer_list<QWidget *>{app.Info.get(), app.parameter_rovo.get(), app.Form2.get()})
        QVERIFY(!secondary->isVisible());
    QCOMPARE(app.Form1->windowTitle(), QStringLiteral("Visualisierung"));
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Electronic fuse"));
    QVERIFY(ctl<QTimer>(app.Form1.get(), "Timer1")->isActive());
    QCOMPARE(ctl<QTimer>(app.Form1.get(), "Timer1")->interval(), 50);
    QCOMPARE(ctl<QTimer>(app.Form1.get(), "Timer2")->interval(), 1000);
    QCOMPARE(ctl<QTimer>(app.Form1.get(), "Timer3")->interval(), 250);
}

void tst_Form1::infoMenu()
{
    FuseApplication app;
    app.show();
    ctl<QLabel>(app.Info.get(), "StaticText1")->setText(QStringLiteral("something else"));
    ctl<QAction>(app.Form1.get(), "info1")->trigger();
    QVERIFY(app.Info->isVisible());
    QCOMPARE(ctl<QLabel>(app.Info.get(), "StaticText1")->text(), QStringLiteral("Version 1.2.2"));
    QVERIFY(!app.Info->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(app.Form1->isEnabled());   // not modal: the main window stays usable
    QVERIFY(!ctl<QLabel>(app.Info.get(), "pellix_logo1")->isVisible());
    QVERIFY(!ctl<QLabel>(app.Info.get(), "pellix_logo2")->isVisible());
    // Opened again after being closed: the version is set again.
    app.Info->close();
    ctl<QLabel>(app.Info.get(), "StaticText1")->clear();
    app.Form1->info1Click();
    QCOMPARE(ctl<QLabel>(app.Info.get(), "StaticText1")->text(), QStringLiteral("Version 1.2.2"));
}

void tst_Form1::tripCharacteristicFromDialog()
{
    FuseApplication app;
    app.show();
    QVERIFY(!app.Form2->isVisible());
    app.Form1->Button1Click();
    QVERIFY(app.parameter_rovo->isVisible());
    app.parameter_rovo->Image2Click();
    QVERIFY(app.Form2->isVisible());
    QVERIFY(app.Form2->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // It stays open when the dialog is closed.
    app.parameter_rovo->close();
    QVERIFY(app.Form2->isVisible());
    QVERIFY(app.Form1->isEnabled());
}

void tst_Form1::layout()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QCOMPARE(ctl<QWidget>(form, "centralwidget")->size(), QSize(1031, 317));
    QCOMPARE(ctl<QWidget>(form, "centralwidget")->mapTo(form, QPoint(0, 0)), QPoint(0, ctl<QMenuBar>(form, "MainMenu1")->height()));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QCOMPARE(ctl<QLabel>(form, "Label16")->text(), QStringLiteral("Tarmeno Electronic Fuse"));
    ctl<QLabel>(form, "Label16")->ensurePolished();
    QVERIFY(ctl<QLabel>(form, "Label16")->font().bold());
    QCOMPARE(ctl<QLabel>(form, "Label16")->font().pixelSize(), 24);
    ctl<QLabel>(form, "i1")->ensurePolished();
    QVERIFY(ctl<QLabel>(form, "i1")->font().bold());
    QCOMPARE(ctl<QLabel>(form, "i1")->font().pixelSize(), 16);
    ctl<QLabel>(form, "Label1")->ensurePolished();
    QVERIFY(ctl<QLabel>(form, "Label1")->font().underline());
    QCOMPARE(ctl<QComboBox>(form, "comport")->count(), 20);
    QCOMPARE(ctl<QComboBox>(form, "comport")->itemText(0), QStringLiteral("COM1"));
    QCOMPARE(ctl<QComboBox>(form, "comport")->itemText(19), QStringLiteral("COM20"));
    QCOMPARE(ctl<QComboBox>(form, "comport")->currentIndex(), 0);
    QCOMPARE(ctl<QComboBox>(form, "comport")->geometry().topLeft(), QPoint(16, 273));
    QVERIFY(ctl<QRadioButton>(form, "a")->isHidden());
    QCOMPARE(ctl<QRadioButton>(form, "a")->geometry(), QRect(16, 273, 137, 29));
    QCOMPARE(ctl<QPushButton>(form, "Button1")->geometry(), QRect(872, 272, 147, 33));
    QCOMPARE(ctl<QLabel>(form, "deutsch")->geometry(), QRect(720, 273, 33, 33));
    QCOMPARE(ctl<QLabel>(form, "englisch")->geometry(), QRect(760, 273, 33, 33));
    QCOMPARE(ctl<QFrame>(form, "Bevel4")->geometry(), QRect(600, 16, 417, 241));
    QCOMPARE(ctl<QLabel>(form, "mb1_8")->geometry(), QRect(983, 130, 17, 17));
    QCOMPARE(ctl<QLabel>(form, "mb2_2")->geometry(), QRect(785, 218, 17, 17));
    QCOMPARE(lamps(), QStringList(10, "off"));
    QCOMPARE(values(), QStringList(14, QString()));
}

void tst_Form1::exampleTelegram()
{
    feed(hexBytes(Example));
    QCOMPARE(state.variant, ModuleVariant::FourChannel10A);
    QCOMPARE(lamps(), (QStringList{"on", "off", "on", "off", "off", "off", "off", "off", "off", "off"}));
    QCOMPARE(values(), (QStringList{"3,00 Adc", "1,50 Adc", "12,3 Adc", "0,00 Adc",
                                    "10,0 Adc", "0,07 Adc", "12,3 Adc", "0,50 Adc",
                                    "24,0 Vdc", "23,9 Vdc", "6 Adc", "10 Adc", "Off", "Off"}));
    QVERIFY(ctl<QComboBox>(form, "comport")->isHidden());
    QVERIFY(!ctl<QRadioButton>(form, "a")->isHidden());
    QVERIFY(ctl<QRadioButton>(form, "a")->isChecked());
}

void tst_Form1::wrongCheckByte()
{
    QByteArray t = hexBytes(Example);
    t[28] = char(0x00);
    t[1] = char(0x19);
    feed(t);
    QCOMPARE(state.variant, ModuleVariant::FourChannel6A);
    QVERIFY(ctl<QRadioButton>(form, "a")->isChecked());
    QCOMPARE(lamps(), QStringList(10, "off"));
    QCOMPARE(values(), QStringList(14, QString()));
}

void tst_Form1::twoChannelModuleAndBack()
{
    QByteArray t = hexBytes(Example);
    t[1] = char(0x11);
    feed(t);
    QCOMPARE(state.variant, ModuleVariant::TwoChannel6A);
    for (QWidget *w : std::initializer_list<QWidget *>{
             ctl<QLabel>(form, "k3"), ctl<QLabel>(form, "k4"), ctl<QLabel>(form, "k1_3"), ctl<QLabel>(form, "k1_4"), ctl<QLabel>(form, "Labelmb1_5"), ctl<QLabel>(form, "Labelmb1_6"), ctl<QLabel>(form, "Labelmb1_7"), ctl<QLabel>(form, "Labelmb1_8"),
             ctl<QLabel>(form, "mb1_5"), ctl<QLabel>(form, "mb1_5_w"), ctl<QLabel>(form, "mb1_5_g"), ctl<QLabel>(form, "mb1_6"), ctl<QLabel>(form, "mb1_6_w"), ctl<QLabel>(form, "mb1_6_r"),
             ctl<QLabel>(form, "mb1_7"), ctl<QLabel>(form, "mb1_7_w"), ctl<QLabel>(form, "mb1_7_g"), ctl<QLabel>(form, "mb1_8"), ctl<QLabel>(form, "mb1_8_w"), ctl<QLabel>(form, "mb1_8_r")})
        QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
    QCOMPARE(values(), (QStringList{"3,00 Adc", "1,50 Adc", "", "", "10,0 Adc", "0,07 Adc", "", "",
                                    "24,0 Vdc", "23,9 Vdc", "6 Adc", "10 Adc", "", ""}));

    // The module is swapped for a four-channel one: its rows come back.
    feed(hexBytes(Example));
    for (QWidget *w : std::initializer_list<QWidget *>{
             ctl<QLabel>(form, "k3"), ctl<QLabel>(form, "k4"), ctl<QLabel>(form, "k1_3"), ctl<QLabel>(form, "k1_4"), ctl<QLabel>(form, "Labelmb1_5"), ctl<QLabel>(form, "Labelmb1_8"), ctl<QLabel>(form, "mb1_5"), ctl<QLabel>(form, "mb1_8")})
        QVERIFY2(!w->isHidden(), qPrintable(w->objectName()));
    QCOMPARE(lamps()[4], QStringLiteral("off"));
    QCOMPARE(values()[2], QStringLiteral("12,3 Adc"));
}

void tst_Form1::watchdogBlanksAndRefills()
{
    feed(hexBytes(Example));
    form->Timer2Timer();   // bytes arrived in this period: the display stays
    QCOMPARE(values()[0], QStringLiteral("3,00 Adc"));
    form->Timer2Timer();   // a whole silent period
    QCOMPARE(lamps(), QStringList(10, "off"));
    QCOMPARE(values(), QStringList(14, QString()));
    QVERIFY(!ctl<QRadioButton>(form, "a")->isHidden());   // the indicator and the rows stay as they are
    QVERIFY(!ctl<QLabel>(form, "k3")->isHidden());
    feed(hexBytes(Example));
    QCOMPARE(values()[9], QStringLiteral("23,9 Vdc"));
    QCOMPARE(lamps()[0], QStringLiteral("on"));

    // Noise that never forms a frame still counts as activity.
    form->Timer2Timer();
    feed(hexBytes("00 55 AA"));
    form->Timer2Timer();
    QCOMPARE(values()[9], QStringLiteral("23,9 Vdc"));
}

void tst_Form1::watchdogKeepsHiddenRowsHidden()
{
    QByteArray t = hexBytes(Example);
    t[1] = char(0x13);
    feed(t);
    form->Timer2Timer();
    form->Timer2Timer();
    for (QWidget *w : std::initializer_list<QWidget *>{ctl<QLabel>(form, "mb1_5_w"), ctl<QLabel>(form, "mb1_6_w"), ctl<QLabel>(form, "mb1_7_w"), ctl<QLabel>(form, "mb1_8_w"),
                                                         ctl<QLabel>(form, "mb1_5_g"), ctl<QLabel>(form, "mb1_8_r")})
        QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
    QVERIFY(!ctl<QLabel>(form, "mb1_1_w")->isHidden());
}

void tst_Form1::activityIndicator()
{
    // The mark goes out 250 ms after the telegram that set it, even though further
    // telegrams arrived in between, and the next one sets it again.
    QTimer *timer3 = ctl<QTimer>(form, "Timer3");
    const int period = timer3->interval();
    timer3->start();
    QTRY_VERIFY_WITH_TIMEOUT(!timer3->isActive(), 5 * period);   // the start-up period ends
    QElapsedTimer clock;
    clock.start();
    feed(hexBytes(Example));
    const qint64 firstFed = clock.elapsed();
    QVERIFY(ctl<QRadioButton>(form, "a")->isChecked());
    // Later telegrams leave the period running from the first one: what remains of it
    // after each one is the period less the time since the first, not a whole period.
    for (int i = 0; i < 2; ++i) {
        QTest::qWait(period / 10);   // short, so that a busy machine still feeds within the period
        QVERIFY2(ctl<QRadioButton>(form, "a")->isChecked(), "the machine stalled for the whole period");
        const qint64 sinceFirst = clock.elapsed() - firstFed;
        feed(hexBytes(Example));
        QVERIFY2(timer3->remainingTime() <= period - sinceFirst + 1,
                 qPrintable(QStringLiteral("%1 ms left, %2 ms after the first telegram").arg(timer3->remainingTime()).arg(sinceFirst)));
    }
    // The mark goes out no earlier than a period after the first telegram; the wait is only
    // a guard against a hang.
    QTRY_VERIFY_WITH_TIMEOUT(!ctl<QRadioButton>(form, "a")->isChecked(), 5 * period);
    QVERIFY2(clock.elapsed() >= period - 1, qPrintable(QString::number(clock.elapsed())));
    feed(hexBytes(Example));
    QVERIFY(ctl<QRadioButton>(form, "a")->isChecked());

    // Frames the decoder ignores do not touch it.
    form->Timer3Timer();
    feed(hexBytes("E4 11 E4 18"));
    QVERIFY(!ctl<QRadioButton>(form, "a")->isChecked());
}

void tst_Form1::leftEdge_data()
{
    QTest::addColumn<int>("workArea");
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("left");
    QTest::newRow("1024 wide: negative, toward zero") << 1024 << 1039 << -7;
    QTest::newRow("1199 wide") << 1199 << 1039 << 80;
    QTest::newRow("exactly 1200 stays at 0") << 1200 << 1039 << 0;
    QTest::newRow("1920 stays at 0") << 1920 << 1039 << 0;
}

void tst_Form1::leftEdge()
{
    QFETCH(int, workArea);
    QFETCH(int, outer);
    QFETCH(int, left);
    QCOMPARE(TForm1::leftEdge(workArea, outer), left);
}

QTEST_MAIN(tst_Form1)
#include "tst_form1.moc"
