#include "hexbytes.h"
#include "app/appstate.h"
#include "app/form1.h"
#include "app/fuseapplication.h"
#include "grafik/form2.h"
#include "information/info.h"
#include "parameter2/parameter_rovo.h"
#include "link/frame.h"
#include "link/serialline.h"
#include "ui_form1.h"
#include "ui_info.h"

#include <QtTest>

static const char *const Example =
    "E4 17 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 00 00 00 FD E4 16";

// A line that delivers what the test queued, one chunk per read.
class ScriptedLine : public PortIO
{
public:
    QList<QByteArray> chunks;
    QStringList opened;
    void open(const QString &name) override { opened << name; }
    void close() override {}
    QByteArray read(int, int, int) override { return chunks.isEmpty() ? QByteArray() : chunks.takeFirst(); }
};

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
        Ui::TForm1 *ui = form->ui;
        return {lampState(ui->mb1_1_w, ui->mb1_1_g), lampState(ui->mb1_2_w, ui->mb1_2_r),
                lampState(ui->mb1_3_w, ui->mb1_3_g), lampState(ui->mb1_4_w, ui->mb1_4_r),
                lampState(ui->mb1_5_w, ui->mb1_5_g), lampState(ui->mb1_6_w, ui->mb1_6_r),
                lampState(ui->mb1_7_w, ui->mb1_7_g), lampState(ui->mb1_8_w, ui->mb1_8_r),
                lampState(ui->mb2_1_w, ui->mb2_1_g), lampState(ui->mb2_2_w, ui->mb2_2_g)};
    }
    QStringList values()
    {
        Ui::TForm1 *ui = form->ui;
        QStringList texts;
        for (QLabel *l : {ui->i1, ui->i2, ui->i3, ui->i4, ui->i1_max, ui->i2_max, ui->i3_max, ui->i4_max,
                          ui->uin, ui->uin_min, ui->i1_endwert, ui->i2_endwert, ui->i3_endwert, ui->i4_endwert})
            texts << l->text();
        return texts;
    }

    AppState state;
    ScriptedLine line;
    TForm1 *form = nullptr;
};

void tst_Form1::init()
{
    state = AppState{};
    line = ScriptedLine{};
    form = new TForm1(state, line);
    // The tests drive the handlers themselves.
    form->Timer1.stop();
    form->Timer2.stop();
    form->Timer3.stop();
}

void tst_Form1::cleanup()
{
    delete form;
}

void tst_Form1::startUp()
{
    FuseApplication app;
    QCOMPARE(app.state.currentVariant, ModuleVariant::FourChannel10A);
    QVERIFY(app.state.languageGerman);
    QVERIFY(!app.state.languageEnglish);
    QVERIFY(!app.Form1->isVisible());
    for (QWidget *secondary : std::initializer_list<QWidget *>{app.Info.get(), app.parameter_rovo.get(), app.Form2.get()})
        QVERIFY(!secondary->isVisible());
    QCOMPARE(app.Form1->windowTitle(), QStringLiteral("Visualisierung"));
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Electronic fuse"));
    QVERIFY(app.Form1->Timer1.isActive());
    QCOMPARE(app.Form1->Timer1.interval(), 50);
    QCOMPARE(app.Form1->Timer2.interval(), 1000);
    QCOMPARE(app.Form1->Timer3.interval(), 250);
}

void tst_Form1::infoMenu()
{
    FuseApplication app;
    app.show();
    app.Info->ui->StaticText1->setText(QStringLiteral("something else"));
    app.Form1->ui->info1->trigger();
    QVERIFY(app.Info->isVisible());
    QCOMPARE(app.Info->ui->StaticText1->text(), QStringLiteral("Version 1.2.2"));
    QVERIFY(!app.Info->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(app.Form1->isEnabled());   // not modal: the main window stays usable
    QVERIFY(!app.Info->ui->pellix_logo1->isVisible());
    QVERIFY(!app.Info->ui->pellix_logo2->isVisible());
    // Opened again after being closed: the version is set again.
    app.Info->close();
    app.Info->ui->StaticText1->clear();
    app.Form1->info1Click();
    QCOMPARE(app.Info->ui->StaticText1->text(), QStringLiteral("Version 1.2.2"));
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
    Ui::TForm1 *ui = form->ui;
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QCOMPARE(ui->centralwidget->size(), QSize(1031, 317));
    QCOMPARE(ui->centralwidget->mapTo(form, QPoint(0, 0)), QPoint(0, ui->MainMenu1->height()));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QCOMPARE(ui->Label16->text(), QStringLiteral("Tarmeno Electronic Fuse"));
    ui->Label16->ensurePolished();
    QVERIFY(ui->Label16->font().bold());
    QCOMPARE(ui->Label16->font().pixelSize(), 24);
    ui->i1->ensurePolished();
    QVERIFY(ui->i1->font().bold());
    QCOMPARE(ui->i1->font().pixelSize(), 16);
    ui->Label1->ensurePolished();
    QVERIFY(ui->Label1->font().underline());
    QCOMPARE(ui->comport->count(), 20);
    QCOMPARE(ui->comport->itemText(0), QStringLiteral("COM1"));
    QCOMPARE(ui->comport->itemText(19), QStringLiteral("COM20"));
    QCOMPARE(ui->comport->currentIndex(), 0);
    QCOMPARE(ui->comport->geometry().topLeft(), QPoint(16, 273));
    QVERIFY(ui->a->isHidden());
    QCOMPARE(ui->a->geometry(), QRect(16, 273, 137, 29));
    QCOMPARE(ui->Button1->geometry(), QRect(872, 272, 147, 33));
    QCOMPARE(ui->deutsch->geometry(), QRect(720, 273, 33, 33));
    QCOMPARE(ui->englisch->geometry(), QRect(760, 273, 33, 33));
    QCOMPARE(ui->Bevel4->geometry(), QRect(600, 16, 417, 241));
    QCOMPARE(ui->mb1_8->geometry(), QRect(983, 130, 17, 17));
    QCOMPARE(ui->mb2_2->geometry(), QRect(785, 218, 17, 17));
    QCOMPARE(lamps(), QStringList(10, "off"));
    QCOMPARE(values(), QStringList(14, QString()));
}

void tst_Form1::exampleTelegram()
{
    feed(hexBytes(Example));
    QCOMPARE(state.currentVariant, ModuleVariant::FourChannel10A);
    QCOMPARE(lamps(), (QStringList{"on", "off", "on", "off", "off", "off", "off", "off", "off", "off"}));
    QCOMPARE(values(), (QStringList{"3,00 Adc", "1,50 Adc", "12,3 Adc", "0,00 Adc",
                                    "10,0 Adc", "0,07 Adc", "12,3 Adc", "0,50 Adc",
                                    "24,0 Vdc", "23,9 Vdc", "6 Adc", "10 Adc", "Off", "Off"}));
    QVERIFY(form->ui->comport->isHidden());
    QVERIFY(!form->ui->a->isHidden());
    QVERIFY(form->ui->a->isChecked());
}

void tst_Form1::wrongCheckByte()
{
    QByteArray t = hexBytes(Example);
    t[28] = char(0x00);
    t[1] = char(0x19);
    feed(t);
    QCOMPARE(state.currentVariant, ModuleVariant::FourChannel6A);
    QVERIFY(form->ui->a->isChecked());
    QCOMPARE(lamps(), QStringList(10, "off"));
    QCOMPARE(values(), QStringList(14, QString()));
}

void tst_Form1::twoChannelModuleAndBack()
{
    Ui::TForm1 *ui = form->ui;
    QByteArray t = hexBytes(Example);
    t[1] = char(0x11);
    feed(t);
    QCOMPARE(state.currentVariant, ModuleVariant::TwoChannel6A);
    for (QWidget *w : std::initializer_list<QWidget *>{
             ui->k3, ui->k4, ui->k1_3, ui->k1_4, ui->Labelmb1_5, ui->Labelmb1_6, ui->Labelmb1_7, ui->Labelmb1_8,
             ui->mb1_5, ui->mb1_5_w, ui->mb1_5_g, ui->mb1_6, ui->mb1_6_w, ui->mb1_6_r,
             ui->mb1_7, ui->mb1_7_w, ui->mb1_7_g, ui->mb1_8, ui->mb1_8_w, ui->mb1_8_r})
        QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
    QCOMPARE(values(), (QStringList{"3,00 Adc", "1,50 Adc", "", "", "10,0 Adc", "0,07 Adc", "", "",
                                    "24,0 Vdc", "23,9 Vdc", "6 Adc", "10 Adc", "", ""}));

    // The module is swapped for a four-channel one: its rows come back.
    feed(hexBytes(Example));
    for (QWidget *w : std::initializer_list<QWidget *>{
             ui->k3, ui->k4, ui->k1_3, ui->k1_4, ui->Labelmb1_5, ui->Labelmb1_8, ui->mb1_5, ui->mb1_8})
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
    QVERIFY(!form->ui->a->isHidden());   // the indicator and the rows stay as they are
    QVERIFY(!form->ui->k3->isHidden());
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
    Ui::TForm1 *ui = form->ui;
    for (QWidget *w : std::initializer_list<QWidget *>{ui->mb1_5_w, ui->mb1_6_w, ui->mb1_7_w, ui->mb1_8_w,
                                                         ui->mb1_5_g, ui->mb1_8_r})
        QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
    QVERIFY(!ui->mb1_1_w->isHidden());
}

void tst_Form1::activityIndicator()
{
    // Telegrams every 100 ms: the mark goes out 250 ms after the telegram that set it,
    // even though further telegrams arrived in between, and the next one sets it again.
    form->Timer3.start();
    QTest::qWait(300);   // the start-up period ends
    QVERIFY(!form->Timer3.isActive());
    QElapsedTimer clock;
    clock.start();
    feed(hexBytes(Example));
    QVERIFY(form->ui->a->isChecked());
    QTest::qWait(100);
    feed(hexBytes(Example));
    QTest::qWait(100);
    feed(hexBytes(Example));
    QTRY_VERIFY_WITH_TIMEOUT(!form->ui->a->isChecked(), 400);
    QVERIFY(clock.elapsed() < 350);
    feed(hexBytes(Example));
    QVERIFY(form->ui->a->isChecked());

    // Frames the decoder ignores do not touch it.
    form->Timer3Timer();
    feed(hexBytes("E4 11 E4 18"));
    QVERIFY(!form->ui->a->isChecked());
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
