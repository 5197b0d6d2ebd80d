// The two-port configuration dialog with its controls, on a scripted transaction line.
#include "parameter/para.h"

#include "config/sharedstate.h"
#include "fakeline.h"
#include "hexbytes.h"
#include "parameter/twoportmodule.h"
#include "twoporttestsupport.h"

#include <QFileDialog>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include "linkwait.h"
#include "windowcontrols.h"
#include "testfiles.h"
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const QString Port = QStringLiteral("\\\\.\\COM3");
const QByteArray FactoryTelegram = hexBytes("FF F3 88 88 D6 02 80 08 C0 00 00 DD EE AF");
const QByteArray FactoryFile("config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n");

// Channels 1/2 at 1 A and 2 A, 3/4 at OFF and 5 A, 22,5 V, port1 05/C3, port2 A0/42,
// trip times 4, 2, 0, 0, version "3.21".
QByteArray sampleReply()
{
    return twoPortReply(hexBytes("21 50 E1 05 C3 A0 42 24 00 33 2E 32 31"));
}

} // namespace

class tst_Para : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void window();
    void geometry_data();
    void geometry();
    void listEntries();
    void placement_data();
    void placement();
    void placedOnCreation();
    void screenshot();
    void factorySettingsWritten_data();
    void factorySettingsWritten();
    void tripTimesFollowUsersPick_data();
    void tripTimesFollowUsersPick();
    void programSelectionsKeepTripTimes_data();
    void programSelectionsKeepTripTimes();
    void pickHidesOwnMarkerOnly_data();
    void pickHidesOwnMarkerOnly();
    void emptyFieldsMarkedAtOnce_data();
    void emptyFieldsMarkedAtOnce();
    void readEntersTheControls();
    void userEditsAreWritten_data();
    void userEditsAreWritten();
    void statusTextsAndColours_data();
    void statusTextsAndColours();
    void hotSpotRevealsVersion();
    void fileDialogs_data();
    void fileDialogs();
    void saveAndLoadBack();
    void loadStoppedByTextShowsBox();
    void closeHandsBackThenResets_data();
    void closeHandsBackThenResets();

private:
    QStringList visibleMarkers() const
    {
        QStringList names;
        for (QLabel *m : {ctl<QLabel>(dlg, "error_k1"), ctl<QLabel>(dlg, "error_k2"), ctl<QLabel>(dlg, "error_k3"), ctl<QLabel>(dlg, "error_k4"), ctl<QLabel>(dlg, "error_pg")})
            if (!m->isHidden())
                names << m->objectName();
        return names;
    }
    QComboBox *currentList(int channel) const
    {
        return std::array<QComboBox *, 4>{ctl<QComboBox>(dlg, "k1_sel"), ctl<QComboBox>(dlg, "k2_sel"), ctl<QComboBox>(dlg, "k3_sel"), ctl<QComboBox>(dlg, "k4_sel")}[channel];
    }
    QComboBox *timeList(int channel) const
    {
        return std::array<QComboBox *, 4>{ctl<QComboBox>(dlg, "k1_time"), ctl<QComboBox>(dlg, "k2_time"), ctl<QComboBox>(dlg, "k3_time"), ctl<QComboBox>(dlg, "k4_time")}[channel];
    }
    // Current and trip time of every channel as the lists show them ("8/0,1").
    QStringList channels() const
    {
        QStringList texts;
        for (int c = 0; c < 4; ++c)
            texts << currentList(c)->currentText() + '/' + timeList(c)->currentText();
        return texts;
    }
    // The 22 output boxes in row order (Port 1 then Port 2 per row), then loeschen and programmieren.
    QString boxes() const
    {
        QString s;
        for (const char *bit : {"byte1_01", "byte1_04", "byte1_10", "byte1_40", "byte1_02", "byte1_08", "byte1_20",
                                "byte1_80", "byte2_01", "byte2_02", "byte2_80"})
            for (const char *port : {"port1_", "port2_"})
                s += dlg->findChild<QCheckBox *>(QLatin1String(port) + QLatin1String(bit))->isChecked() ? '1' : '0';
        s += ctl<QCheckBox>(dlg, "loeschen")->isChecked() ? '1' : '0';
        s += ctl<QCheckBox>(dlg, "programmieren")->isChecked() ? '1' : '0';
        return s;
    }
    void open()
    {
        dlg->oeffnen();
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
    }

    SharedState state;
    FakeLine *line = nullptr;
    Tpara *dlg = nullptr;
    QTemporaryDir dir;
};

void tst_Para::init()
{
    state = SharedState{};
    state.portName = [] { return Port; };
    state.language = Language::German;
    line = new FakeLine;
    dlg = new Tpara(state, *line);
}

void tst_Para::cleanup()
{
    delete dlg;
    delete line;
}

void tst_Para::window()
{
    QCOMPARE(dlg->objectName(), QStringLiteral("para"));
    QCOMPARE(dlg->windowTitle(), QStringLiteral("Konfiguration"));
    QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
    QCOMPARE(dlg->size(), QSize(823, 511 + ctl<QMenuBar>(dlg, "MainMenu2")->sizeHint().height()));
    const Qt::WindowFlags flags = dlg->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!dlg->isModal());
    QVERIFY(!dlg->isVisible());   // hidden until the main window's button shows it
    open();
    QCOMPARE(dlg->centralWidget()->size(), QSize(823, 511));
    QCOMPARE(dlg->font().family(), QStringLiteral("Tahoma"));

    QCOMPARE(ctl<QMenu>(dlg, "oeffnen1")->title(), QStringLiteral("Datei"));
    QStringList menu;
    for (QAction *a : ctl<QMenu>(dlg, "oeffnen1")->actions())
        menu << a->objectName() + '=' + a->text();
    QCOMPARE(menu, QStringList({"oeffnen=Öffnen", "speichern=Speichern", "schliessen=Schließen"}));

    QVERIFY(ctl<QLabel>(dlg, "sw")->isHidden());
    QVERIFY(ctl<QLabel>(dlg, "sw")->text().isEmpty());
    QVERIFY(ctl<QLabel>(dlg, "status")->font().bold());
    QCOMPARE(ctl<QLabel>(dlg, "Label5")->text(), QString());
    QCOMPARE(ctl<QLabel>(dlg, "Label5")->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(ctl<QLabel>(dlg, "Label5")->isVisible());
    QCOMPARE(visibleMarkers(), QStringList());
    for (QLabel *m : {ctl<QLabel>(dlg, "error_k1"), ctl<QLabel>(dlg, "error_k2"), ctl<QLabel>(dlg, "error_k3"), ctl<QLabel>(dlg, "error_k4"), ctl<QLabel>(dlg, "error_pg")}) {
        QCOMPARE(m->text(), QStringLiteral("!"));
        QVERIFY(m->font().bold());
    }
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(currentList(c)->currentIndex(), -1);
        QVERIFY(!currentList(c)->isEditable());
        QCOMPARE(timeList(c)->count(), 0);
        QVERIFY(!timeList(c)->isEditable());
    }
    QCOMPARE(ctl<QComboBox>(dlg, "pgood_sel_")->currentIndex(), -1);
    QVERIFY(!ctl<QComboBox>(dlg, "pgood_sel_")->isEditable());
    QCOMPARE(boxes(), QString(24, '0'));
    QVERIFY(!dlg->machinery().protocol().retryActive());
    QVERIFY(!dlg->machinery().protocol().clearingActive());
}

void tst_Para::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("text");

    QTest::newRow("left panel") << "Bevel1" << QRect(24, 40, 417, 345) << "";
    QTest::newRow("right panel") << "Bevel2" << QRect(464, 40, 337, 345) << "";
    QTest::newRow("left strip") << "Bevel3" << QRect(24, 408, 417, 33) << "";
    QTest::newRow("right strip") << "Bevel4" << QRect(464, 408, 337, 33) << "";
    QTest::newRow("read button") << "Button1" << QRect(24, 459, 209, 33) << "Konfiguration laden";
    QTest::newRow("write button") << "Button2" << QRect(308, 459, 213, 33) << "Konfiguration schreiben";
    QTest::newRow("factory button") << "Button3" << QRect(592, 459, 209, 33) << "Werkseinstellung";
    QTest::newRow("status line") << "status" << QRect(24, 14, 417, 24) << "";
    QTest::newRow("hot spot") << "Label5" << QRect(462, 8, 339, 33) << "";
    QTest::newRow("version at 464/12") << "sw" << QRect(464, 12, 329, 20) << "";
    QTest::newRow("channel 1 current") << "k1_sel" << QRect(128, 107, 129, 24) << "";
    QTest::newRow("channel 2 current") << "k2_sel" << QRect(128, 155, 129, 24) << "";
    QTest::newRow("channel 3 current") << "k3_sel" << QRect(128, 203, 129, 24) << "";
    QTest::newRow("channel 4 current") << "k4_sel" << QRect(128, 251, 129, 24) << "";
    QTest::newRow("channel 1 marker") << "error_k1" << QRect(264, 105, 16, 28) << "!";
    QTest::newRow("channel 4 marker") << "error_k4" << QRect(264, 249, 16, 28) << "!";
    QTest::newRow("channel 1 time") << "k1_time" << QRect(288, 107, 129, 24) << "";
    QTest::newRow("channel 4 time") << "k4_time" << QRect(288, 251, 129, 24) << "";
    QTest::newRow("threshold") << "pgood_sel_" << QRect(48, 339, 233, 24) << "";
    QTest::newRow("threshold marker") << "error_pg" << QRect(288, 337, 16, 28) << "!";
    QTest::newRow("current heading") << "Label1" << QRect(128, 52, 153, 40) << "konfigurierter Strom [A]";
    QTest::newRow("time heading") << "Label4" << QRect(288, 52, 129, 40) << "Auslösezeit [s]";
    QTest::newRow("threshold heading") << "Label15" << QRect(48, 313, 369, 20) << "Power Good Schwellwert [V]";
    QTest::newRow("channel 1 caption") << "Label6" << QRect(48, 109, 72, 20) << "Kanal 1:";
    QTest::newRow("channel 2 caption") << "Label12" << QRect(48, 157, 72, 20) << "Kanal 2:";
    QTest::newRow("channel 3 caption") << "Label13" << QRect(48, 205, 72, 20) << "Kanal 3:";
    QTest::newRow("channel 4 caption") << "Label14" << QRect(48, 253, 72, 20) << "Kanal 4:";
    QTest::newRow("Port 1 heading") << "Label2" << QRect(684, 72, 60, 20) << "Port 1";
    QTest::newRow("Port 2 heading") << "Label3" << QRect(740, 72, 60, 20) << "Port 2";
    QTest::newRow("first row caption") << "f1" << QRect(488, 102, 209, 20) << "Überstrom Kanal 1";
    QTest::newRow("first row, Port 1") << "port1_byte1_01" << QRect(704, 102, 20, 20) << "";
    QTest::newRow("first row, Port 2") << "port2_byte1_01" << QRect(760, 102, 20, 20) << "";
    QTest::newRow("overcurrent 4 row") << "port2_byte1_40" << QRect(760, 174, 20, 20) << "";
    QTest::newRow("channel 1 tripped caption") << "f5" << QRect(488, 198, 209, 20) << "Kanal 1 ausgelöst";
    QTest::newRow("channel 1 tripped, Port 1") << "port1_byte1_02" << QRect(704, 198, 20, 20) << "";
    QTest::newRow("channel 4 tripped caption") << "f8" << QRect(488, 270, 209, 20) << "Kanal 4 ausgelöst";
    QTest::newRow("channel 4 tripped, Port 2") << "port2_byte1_80" << QRect(760, 270, 20, 20) << "";
    QTest::newRow("low input caption") << "f9" << QRect(488, 294, 209, 20) << "Uin < Power Good";
    QTest::newRow("hardware fault caption") << "f10" << QRect(488, 318, 209, 20) << "Gerätefehler";
    QTest::newRow("hardware fault, Port 2") << "port2_byte2_02" << QRect(760, 318, 20, 20) << "";
    QTest::newRow("inversion caption") << "f11" << QRect(488, 358, 209, 20) << "Ausgang invertieren";
    QTest::newRow("inversion, Port 1") << "port1_byte2_80" << QRect(704, 358, 20, 20) << "";
    QTest::newRow("inversion, Port 2") << "port2_byte2_80" << QRect(760, 358, 20, 20) << "";
    QTest::newRow("release caption") << "StaticText10" << QRect(40, 414, 353, 20) << "Freigeben ausgelöster Kanäle";
    QTest::newRow("release box") << "loeschen" << QRect(400, 414, 20, 20) << "";
    QTest::newRow("programming caption") << "f12" << QRect(488, 414, 209, 20) << "Programmierung erlauben";
    QTest::newRow("programming box") << "programmieren" << QRect(704, 414, 20, 20) << "";
}

void tst_Para::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    QFETCH(QString, text);
    auto *w = dlg->centralWidget()->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->geometry(), rect);
    if (auto *label = qobject_cast<QLabel *>(w))
        QCOMPARE(label->text(), text);
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        QCOMPARE(button->text(), text);
}

void tst_Para::listEntries()
{
    QStringList thresholds;
    for (int v = 200; v <= 240; ++v)
        thresholds << QStringLiteral("%1,%2").arg(v / 10).arg(v % 10);
    QCOMPARE(items(ctl<QComboBox>(dlg, "pgood_sel_")), thresholds);
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(items(currentList(c)), QStringList({"OFF", "1", "2", "3", "4", "5", "6", "7", "8"}));
        QCOMPARE(items(timeList(c)), QStringList());
    }
    // The check boxes carry no caption of their own: the row captions name them.
    QCOMPARE(dlg->centralWidget()->findChildren<QCheckBox *>().size(), 24);
    for (QCheckBox *b : dlg->centralWidget()->findChildren<QCheckBox *>())
        QCOMPARE(b->text(), QString());
}

void tst_Para::placement_data()
{
    QTest::addColumn<QSize>("workArea");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("900 high: centred") << QSize(1440, 900) << QSize(829, 559) << QPoint(305, 170);
    QTest::newRow("909 high: centred, rounded toward zero") << QSize(1001, 909) << QSize(829, 559) << QPoint(86, 175);
    QTest::newRow("910 high: designed place") << QSize(1280, 910) << QSize(829, 559) << QPoint(0, 255);
    QTest::newRow("1024 high: designed place") << QSize(1280, 1024) << QSize(829, 559) << QPoint(0, 255);
    QTest::newRow("smaller than the dialog") << QSize(800, 500) << QSize(829, 559) << QPoint(-14, -29);
}

void tst_Para::placement()
{
    QFETCH(QSize, workArea);
    QFETCH(QSize, outer);
    QFETCH(QPoint, topLeft);
    QCOMPARE(Tpara::placement(workArea, outer), topLeft);
}

void tst_Para::placedOnCreation()
{
    // Placed on creation, before it has a frame: its own size is its outer size then.
    const QSize workArea = QGuiApplication::primaryScreen()->availableGeometry().size();
    const QPoint placed = Tpara::placement(workArea, dlg->size());
    QCOMPARE(dlg->pos(), placed);
    // Opening and closing do not move it.
    open();
    dlg->close();
    QCOMPARE(dlg->pos(), placed);
}

void tst_Para::screenshot()
{
    open();
    line->replies << sampleReply();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    dlg->Button2Click();   // all fields are filled: nothing marked
    ctl<QComboBox>(dlg, "k2_sel")->setCurrentIndex(-1);
    dlg->Button2Click();   // error_k2 and the refusal text
    const QImage image = dlg->grab().toImage();
    QCOMPARE(image.size(), dlg->size() * dlg->devicePixelRatio());
    // The red marker and refusal text are on the picture.
    QVERIFY(pixelsOf(ctl<QLabel>(dlg, "error_k2"), Qt::red) > 10);
    const QString shot = qEnvironmentVariable("PARA_SCREENSHOT");
    if (!shot.isEmpty())
        QVERIFY(image.save(shot));
}

void tst_Para::factorySettingsWritten_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("english");

    QTest::newRow("empty dialog, German") << "empty" << false;
    QTest::newRow("after a read of other values, German") << "read" << false;
    QTest::newRow("after the user's own picks, English") << "picks" << true;
}

void tst_Para::factorySettingsWritten()
{
    QFETCH(QString, before);
    QFETCH(bool, english);
    dlg->setLanguage(english ? Language::English : Language::German);
    open();
    if (before == QLatin1String("read")) {
        line->replies << sampleReply();
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
        settle(dlg->machinery().protocol());
        QCOMPARE(channels(), QStringList({"1/1,5", "2/0,5", "OFF/", "5/0,1"}));
    } else if (before == QLatin1String("picks")) {
        QVERIFY(pick(ctl<QComboBox>(dlg, "k1_sel"), 1));
        QVERIFY(pick(ctl<QComboBox>(dlg, "k1_time"), 2));
        QVERIFY(pick(ctl<QComboBox>(dlg, "pgood_sel_"), 40));
        QTest::mouseClick(ctl<QCheckBox>(dlg, "loeschen"), Qt::LeftButton);
        QTest::mouseClick(ctl<QCheckBox>(dlg, "port2_byte2_01"), Qt::LeftButton);
    }
    const QString swBefore = ctl<QLabel>(dlg, "sw")->text();

    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    QVERIFY(line->written.size() <= 1);   // nothing sent by the factory settings
    const int sent = line->written.size();
    QCOMPARE(channels(), QStringList({"8/0,1", "8/0,1", "8/0,1", "8/0,1"}));
    for (int c = 0; c < 4; ++c)
        QCOMPARE(items(timeList(c)), QStringList({"0,1"}));
    QCOMPARE(ctl<QComboBox>(dlg, "pgood_sel_")->currentText(), QStringLiteral("21,4"));
    // Rows: ov1..ov4, tripped 1..4, low input, hardware fault, inverted (Port 1, Port 2), loeschen, programmieren.
    QCOMPARE(boxes(), QStringLiteral("00" "00" "00" "00" "10" "01" "00" "00" "00" "00" "11" "0" "1"));
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QString());
    QCOMPARE(visibleMarkers(), QStringList());
    QCOMPARE(ctl<QLabel>(dlg, "sw")->text(), swBefore);

    line->replies << hexBytes("AF");
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QCOMPARE(line->written.size(), sent + 1);
    QCOMPARE(line->written.last(), FactoryTelegram);
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), english ? QStringLiteral("Transmission successful!")
                                           : QStringLiteral("Übertragung erfolgreich!"));
    QVERIFY(!dlg->machinery().protocol().retryActive());
}

void tst_Para::tripTimesFollowUsersPick_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<QString>("selected");

    QTest::newRow("channel 1, OFF: no time") << 0 << 0 << QStringList() << "";
    QTest::newRow("channel 2, 1 A: five, 1,5 selected") << 1 << 1 << QStringList({"0,1", "0,2", "0,5", "1,0", "1,5"}) << "1,5";
    QTest::newRow("channel 3, 2 A: three, 0,5 selected") << 2 << 2 << QStringList({"0,1", "0,2", "0,5"}) << "0,5";
    QTest::newRow("channel 4, 3 A: two, 0,2 selected") << 3 << 3 << QStringList({"0,1", "0,2"}) << "0,2";
    QTest::newRow("channel 1, 4 A: two, 0,2 selected") << 0 << 4 << QStringList({"0,1", "0,2"}) << "0,2";
    QTest::newRow("channel 2, 5 A: 0,1 only") << 1 << 5 << QStringList({"0,1"}) << "0,1";
    QTest::newRow("channel 4, 8 A: 0,1 only") << 3 << 8 << QStringList({"0,1"}) << "0,1";
}

void tst_Para::tripTimesFollowUsersPick()
{
    QFETCH(int, channel);
    QFETCH(int, current);
    QFETCH(QStringList, times);
    QFETCH(QString, selected);
    open();
    // Start from the factory settings: every list holds "0,1" only.
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    QVERIFY(pick(currentList(channel), current));
    QCOMPARE(items(timeList(channel)), times);
    QCOMPARE(timeList(channel)->currentText(), selected);
    // The other channels keep theirs.
    for (int c = 0; c < 4; ++c)
        if (c != channel)
            QCOMPARE(timeList(c)->currentText() + items(timeList(c)).join(' '), QStringLiteral("0,10,1"));

    // "OFF" empties the list again, and a pick of 1 A afterwards offers five times with "1,5".
    QVERIFY(pick(currentList(channel), 0));
    QCOMPARE(timeList(channel)->count(), 0);
    QVERIFY(pick(currentList(channel), 1));
    QCOMPARE(timeList(channel)->count(), 5);
    QCOMPARE(timeList(channel)->currentText(), QStringLiteral("1,5"));
}

void tst_Para::programSelectionsKeepTripTimes_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("expected");

    // Channel 1 at 1 A with 0,5 s, channel 2 at 2 A with 0,1 s, channel 3 OFF, channel 4 at 4 A with 0,2 s.
    QTest::newRow("read reply: the times it carries") << "read" << QStringList({"1/0,5", "2/0,1", "OFF/", "4/0,2"});
    QTest::newRow("file load: the times it carries") << "file" << QStringList({"1/0,5", "2/0,1", "OFF/", "4/0,2"});
    QTest::newRow("file load with times beyond the lists: none selected")
        << "file beyond" << QStringList({"1/", "2/", "OFF/", "4/"});
    QTest::newRow("setCurrentIndex by the program: lists untouched") << "program" << QStringList({"3/0,1", "8/0,1", "8/0,1", "8/0,1"});
}

void tst_Para::programSelectionsKeepTripTimes()
{
    QFETCH(QString, how);
    QFETCH(QStringList, expected);
    open();
    const QString path = dir.filePath(QStringLiteral("times.txt"));
    dlg->askFileName = [&](QFileDialog &) { return path; };
    if (how == QLatin1String("read")) {
        line->replies << twoPortReply(hexBytes("21 40 D6 00 00 00 00 02 10 31 2E 30 30"));
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
        settle(dlg->machinery().protocol());
        QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Übertragung erfolgreich!"));
    } else if (how.startsWith(QLatin1String("file"))) {
        const QByteArray times = how == QLatin1String("file") ? "02,10" : "37,25";
        QVERIFY(writeAll(path, "config\r\n21,40,D6," + times + ";\r\n00,00,00,00;\r\nAE081DDD12F256\r\n"));
        dlg->oeffnenClick();
        QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Datei korrekt eingelesen"));
    } else {
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
        ctl<QComboBox>(dlg, "k1_sel")->setCurrentIndex(3);
    }
    QCOMPARE(channels(), expected);
    if (how == QLatin1String("program")) {
        QCOMPARE(items(timeList(0)), QStringList({"0,1"}));
    } else {
        QCOMPARE(items(timeList(0)).size(), 5);
        QCOMPARE(items(timeList(3)), QStringList({"0,1", "0,2"}));
    }
}

void tst_Para::pickHidesOwnMarkerOnly_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("item");
    QTest::addColumn<QStringList>("markers");

    const QStringList all{"error_k1", "error_k2", "error_k3", "error_k4", "error_pg"};
    QTest::newRow("3 A for channel 1") << "k1_sel" << 3 << QStringList({"error_k2", "error_k3", "error_k4", "error_pg"});
    QTest::newRow("OFF for channel 3") << "k3_sel" << 0 << QStringList({"error_k1", "error_k2", "error_k4", "error_pg"});
    QTest::newRow("a threshold") << "pgood_sel_" << 14 << QStringList({"error_k1", "error_k2", "error_k3", "error_k4"});
    QTest::newRow("a trip time: no marker of its own") << "k2_time" << 0 << all;
}

void tst_Para::pickHidesOwnMarkerOnly()
{
    QFETCH(QString, list);
    QFETCH(int, item);
    QFETCH(QStringList, markers);
    open();
    if (list == QLatin1String("k2_time")) {
        // Fill the list by program, then empty every marked list again.
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
        for (QComboBox *l : {ctl<QComboBox>(dlg, "k1_sel"), ctl<QComboBox>(dlg, "k2_sel"), ctl<QComboBox>(dlg, "k3_sel"), ctl<QComboBox>(dlg, "k4_sel"), ctl<QComboBox>(dlg, "pgood_sel_")})
            l->setCurrentIndex(-1);
    }
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QCOMPARE(visibleMarkers().size(), 5);
    QVERIFY(pick(dlg->findChild<QComboBox *>(list), item));
    QCOMPARE(visibleMarkers(), markers);
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Bitte alle Felder korrekt ausfüllen"));
}

void tst_Para::emptyFieldsMarkedAtOnce_data()
{
    QTest::addColumn<QStringList>("emptied");
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("saving");
    QTest::addColumn<QStringList>("markers");
    QTest::addColumn<QString>("message");

    const QString de = QStringLiteral("Bitte alle Felder korrekt ausfüllen");
    const QString en = QStringLiteral("All labels fill correctly, please");
    QTest::newRow("write, channel 3 and threshold empty")
        << QStringList({"k3_sel", "pgood_sel_"}) << false << false << QStringList({"error_k3", "error_pg"}) << de;
    QTest::newRow("write, every list empty, English")
        << QStringList({"k1_sel", "k2_sel", "k3_sel", "k4_sel", "pgood_sel_"}) << true << false
        << QStringList({"error_k1", "error_k2", "error_k3", "error_k4", "error_pg"}) << en;
    QTest::newRow("write, channels 2 and 4 empty")
        << QStringList({"k2_sel", "k4_sel"}) << false << false << QStringList({"error_k2", "error_k4"}) << de;
    QTest::newRow("write, empty trip-time lists are no reason")
        << QStringList({"k1_time", "k2_time", "k3_time", "k4_time"}) << false << false << QStringList() << QString();
    QTest::newRow("save, channel 1 and threshold empty")
        << QStringList({"k1_sel", "pgood_sel_"}) << false << true << QStringList({"error_k1", "error_pg"}) << de;
    QTest::newRow("save, every list empty, English")
        << QStringList({"k1_sel", "k2_sel", "k3_sel", "k4_sel", "pgood_sel_"}) << true << true
        << QStringList({"error_k1", "error_k2", "error_k3", "error_k4", "error_pg"}) << en;
}

void tst_Para::emptyFieldsMarkedAtOnce()
{
    QFETCH(QStringList, emptied);
    QFETCH(bool, english);
    QFETCH(bool, saving);
    QFETCH(QStringList, markers);
    QFETCH(QString, message);
    dlg->setLanguage(english ? Language::English : Language::German);
    open();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    for (const QString &name : emptied)
        dlg->findChild<QComboBox *>(name)->setCurrentIndex(-1);
    int asked = 0;
    const QString path = dir.filePath(QStringLiteral("refused.txt"));
    dlg->askFileName = [&](QFileDialog &) { ++asked; return path; };
    line->replies << hexBytes("AF");
    saving ? dlg->speichernClick() : dlg->Button2Click();

    QCOMPARE(visibleMarkers(), markers);
    if (markers.isEmpty()) {
        // Trip times that are not selected go out as 0: the factory telegram.
        QCOMPARE(line->written, QByteArrayList{FactoryTelegram});
        QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Übertragung erfolgreich!"));
        return;
    }
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), message);
    QVERIFY(ctl<QLabel>(dlg, "status")->isVisible());
    QCOMPARE(ctl<QLabel>(dlg, "status")->styleSheet(), QStringLiteral("color: red;"));
    QVERIFY(line->written.isEmpty());   // nothing sent
    QCOMPARE(asked, 0);                  // no file dialog
    QVERIFY(!QFile::exists(path));
    QVERIFY(!dlg->machinery().protocol().retryActive());
    for (const QString &m : markers)
        QVERIFY(pixelsOf(dlg->findChild<QLabel *>(m), Qt::red) > 10);
}

void tst_Para::readEntersTheControls()
{
    open();
    // loeschen was checked: the read unchecks it, whatever the module reports.
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    QTest::mouseClick(ctl<QCheckBox>(dlg, "loeschen"), Qt::LeftButton);
    line->replies << sampleReply();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QCOMPARE(line->written, QByteArrayList{hexBytes("FF FC")});
    QCOMPARE(line->calls.first(), QStringLiteral("open ") + Port);
    QCOMPARE(channels(), QStringList({"1/1,5", "2/0,5", "OFF/", "5/0,1"}));
    QCOMPARE(items(timeList(0)).size(), 5);
    QCOMPARE(items(timeList(1)).size(), 3);
    QCOMPARE(ctl<QComboBox>(dlg, "pgood_sel_")->currentText(), QStringLiteral("22,5"));
    // Port1 events 05: ov1, ov2. Port1 C3: low input, fault, inverted (bit 6 ignored).
    // Port2 events A0: tripped 3 and 4. Port2 42: fault, programmieren.
    QCOMPARE(boxes(), QStringLiteral("10" "10" "00" "00" "00" "00" "01" "01" "10" "11" "10" "0" "1"));
    QCOMPARE(ctl<QLabel>(dlg, "sw")->text(), QStringLiteral("SW: 3.21"));
    QVERIFY(ctl<QLabel>(dlg, "sw")->isHidden());
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Übertragung erfolgreich!"));
}

void tst_Para::userEditsAreWritten_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QByteArray>("telegram");

    QTest::newRow("loeschen sets bit 6 of port1 byte 2")
        << "loeschen" << hexBytes("FF F3 88 88 D6 02 C0 08 C0 00 00 DD EE EF");
    QTest::newRow("programmieren off clears bit 6 of port2 byte 2")
        << "programmieren" << hexBytes("FF F3 88 88 D6 02 80 08 80 00 00 DD EE EF");
    QTest::newRow("Port 2, channel 4 overcurrent")
        << "port2_byte1_40" << hexBytes("FF F3 88 88 D6 02 80 48 C0 00 00 DD EE EF");
    QTest::newRow("Port 1, low input voltage")
        << "port1_byte2_01" << hexBytes("FF F3 88 88 D6 02 81 08 C0 00 00 DD EE AE");
    QTest::newRow("channel 2 OFF: 0 in the high four bits of the times")
        << "k2 OFF, k1 1 A with 1,0" << hexBytes("FF F3 01 88 D6 02 80 08 C0 03 00 DD EE 25");
    QTest::newRow("channel 3 at 2 A with 0,2 and threshold 24,0")
        << "k3 2 A 0,2, 24,0" << hexBytes("FF F3 88 82 F0 02 80 08 C0 00 01 DD EE 82");
}

void tst_Para::userEditsAreWritten()
{
    QFETCH(QString, edit);
    QFETCH(QByteArray, telegram);
    open();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    if (edit == QLatin1String("k2 OFF, k1 1 A with 1,0")) {
        QVERIFY(pick(ctl<QComboBox>(dlg, "k2_sel"), 0));
        QVERIFY(pick(ctl<QComboBox>(dlg, "k1_sel"), 1));
        QVERIFY(pick(ctl<QComboBox>(dlg, "k1_time"), 3));
    } else if (edit == QLatin1String("k3 2 A 0,2, 24,0")) {
        QVERIFY(pick(ctl<QComboBox>(dlg, "k3_sel"), 2));
        QVERIFY(pick(ctl<QComboBox>(dlg, "k3_time"), 1));
        QVERIFY(pick(ctl<QComboBox>(dlg, "pgood_sel_"), 40));
    } else {
        QTest::mouseClick(dlg->findChild<QCheckBox *>(edit), Qt::LeftButton);
    }
    line->replies << telegram.right(1);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QCOMPARE(line->written, QByteArrayList{telegram});
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Übertragung erfolgreich!"));
}

void tst_Para::statusTextsAndColours_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("red");

    QTest::newRow("read: black") << "read" << false << "Übertragung erfolgreich!" << false;
    QTest::newRow("write acknowledged, English: black") << "write" << true << "Transmission successful!" << false;
    QTest::newRow("no answer after 12 retries: red") << "silent" << false << "Kommunikation fehlgeschlagen!" << true;
    QTest::newRow("no answer after 12 retries, English: red") << "silent" << true << "Communikation error!" << true;
    QTest::newRow("single-port reply refused: red") << "single-port reply" << false << "Kommunikation fehlgeschlagen!" << true;
    QTest::newRow("refused write: red") << "refused" << false << "Bitte alle Felder korrekt ausfüllen" << true;
    QTest::newRow("file read: black") << "load good" << false << "Datei korrekt eingelesen" << false;
    QTest::newRow("file read, English: black") << "load good" << true << "Read file correctly" << false;
    QTest::newRow("Config with a capital: red, C12") << "load Config" << false << "Datei fehlerhaft C12" << true;
    QTest::newRow("single-port file, English: red, C11") << "load single-port" << true << "File error C11" << true;
#ifdef Q_OS_UNIX
    // Opened for reading, a FIFO would block the window until a writer came.
    QTest::newRow("FIFO: unreadable, red, C13, at once") << "load fifo" << false << "Datei fehlerhaft C13" << true;
#endif
    QTest::newRow("save into a missing folder: red") << "save fails" << false << "Datei konnte nicht gespeichert werden" << true;
    QTest::newRow("save into a missing folder, English: red") << "save fails" << true << "File could not be saved" << true;
}

void tst_Para::statusTextsAndColours()
{
    QFETCH(QString, action);
    QFETCH(bool, english);
    QFETCH(QString, text);
    QFETCH(bool, red);
    dlg->setLanguage(english ? Language::English : Language::German);
    open();
    QString path = dir.filePath(QStringLiteral("status.txt"));
    dlg->askFileName = [&](QFileDialog &) { return path; };
    if (action == QLatin1String("read")) {
        line->replies << sampleReply();
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
        settle(dlg->machinery().protocol());
    } else if (action == QLatin1String("write")) {
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
        line->replies << hexBytes("AF E4 15");
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
        settle(dlg->machinery().protocol());
    } else if (action == QLatin1String("silent") || action == QLatin1String("single-port reply")) {
        if (action != QLatin1String("silent"))
            for (int i = 0; i < 13; ++i)
                line->replies << twoPortReply(hexBytes("88 88 D6"), 0x17);
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
        settle(dlg->machinery().protocol());
        QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());   // hidden while the retries run
        QVERIFY(dlg->machinery().protocol().retryActive());
        for (int i = 0; i < 11; ++i) {
            dlg->Timer1Timer();
            settle(dlg->machinery().protocol());
        }
        QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
        dlg->Timer1Timer();
        settle(dlg->machinery().protocol());
        QCOMPARE(line->written.size(), 13);
        QVERIFY(!dlg->machinery().protocol().retryActive());
        QCOMPARE(channels(), QStringList({"/", "/", "/", "/"}));   // the controls stay empty
    } else if (action == QLatin1String("refused")) {
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
        settle(dlg->machinery().protocol());
    } else if (action == QLatin1String("save fails")) {
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
        path = dir.filePath(QStringLiteral("missing/folder/status.txt"));
        dlg->speichernClick();
    } else {
        QByteArray contents = FactoryFile;
        if (action == QLatin1String("load Config"))
            contents = "Config\r\n88,88,D6,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n";
        else if (action == QLatin1String("load single-port"))
            contents = "config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n";
        if (action == QLatin1String("load fifo")) {
#ifdef Q_OS_UNIX
            path = dir.filePath(QStringLiteral("status-fifo.txt"));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
        } else {
            QVERIFY(writeAll(path, contents));
        }
        dlg->oeffnenClick();
    }
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), text);
    QVERIFY(ctl<QLabel>(dlg, "status")->isVisible());
    const int redPixels = pixelsOf(ctl<QLabel>(dlg, "status"), Qt::red);
    const int blackPixels = pixelsOf(ctl<QLabel>(dlg, "status"), Qt::black);
    if (red)
        QVERIFY2(redPixels > 20 && blackPixels == 0, qPrintable(QStringLiteral("%1 %2").arg(redPixels).arg(blackPixels)));
    else
        QVERIFY2(blackPixels > 20 && redPixels == 0, qPrintable(QStringLiteral("%1 %2").arg(redPixels).arg(blackPixels)));
}

void tst_Para::hotSpotRevealsVersion()
{
    open();
    line->replies << sampleReply();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QVERIFY(ctl<QLabel>(dlg, "sw")->isHidden());
    QVERIFY(dlg->machinery().protocol().clearingActive());
    QCOMPARE(dlg->machinery().protocol().clearingInterval(), 5000);
    QTest::mouseClick(ctl<QLabel>(dlg, "Label5"), Qt::LeftButton);
    QVERIFY(ctl<QLabel>(dlg, "sw")->isVisible());
    QVERIFY(ctl<QLabel>(dlg, "Label5")->isHidden());
    QCOMPARE(ctl<QLabel>(dlg, "sw")->text(), QStringLiteral("SW: 3.21"));

    // Five seconds later the line and the version are cleared, the hot spot is back.
    dlg->Timer3Timer();
    QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QString());
    QVERIFY(ctl<QLabel>(dlg, "sw")->isHidden());
    QVERIFY(ctl<QLabel>(dlg, "Label5")->isVisible());
    QTest::mouseClick(ctl<QLabel>(dlg, "Label5"), Qt::LeftButton);
    QVERIFY(ctl<QLabel>(dlg, "sw")->isVisible());
    QCOMPARE(ctl<QLabel>(dlg, "sw")->text(), QString());
}

void tst_Para::fileDialogs_data()
{
    QTest::addColumn<bool>("saving");
    QTest::newRow("open") << false;
    QTest::newRow("save") << true;
}

void tst_Para::fileDialogs()
{
    QFETCH(bool, saving);
    open();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    int asked = 0;
    dlg->askFileName = [&](QFileDialog &d) {
        ++asked;
        [&] {
            QCOMPARE(d.nameFilters(), QStringList({"Text files (*.txt)", "All files (*.*)"}));
            QCOMPARE(d.selectedNameFilter(), QStringLiteral("Text files (*.txt)"));
            QCOMPARE(d.defaultSuffix(), saving ? QStringLiteral("txt") : QString());
            QCOMPARE(d.acceptMode(), saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            QVERIFY(!d.testOption(QFileDialog::DontConfirmOverwrite));
            QVERIFY(!d.testOption(QFileDialog::ReadOnly));
            if (saving)   // it can be resized
                QVERIFY(d.isSizeGripEnabled());
        }();
        return QString();   // cancelled
    };
    ctl<QLabel>(dlg, "status")->setText(QStringLiteral("vorher"));
    saving ? dlg->speichernClick() : dlg->oeffnenClick();
    QCOMPARE(asked, 1);
    // Cancelling the open dialog changes nothing; the save has emptied the status first.
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), saving ? QString() : QStringLiteral("vorher"));
    QCOMPARE(ctl<QComboBox>(dlg, "k1_sel")->currentText(), QStringLiteral("8"));
}

void tst_Para::saveAndLoadBack()
{
    open();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    const QString path = dir.filePath(QStringLiteral("factory.txt"));
    dlg->askFileName = [&](QFileDialog &) { return path; };
    dlg->speichernClick();
    QCOMPARE(readAll(path), FactoryFile);
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QString());   // no message on success
    QVERIFY(!dlg->machinery().protocol().clearingActive());

    // Channel 1 OFF, channel 2 at 1 A with 1,5 and loeschen: T12 "40", P12 "C0".
    QVERIFY(pick(ctl<QComboBox>(dlg, "k1_sel"), 0));
    QVERIFY(pick(ctl<QComboBox>(dlg, "k2_sel"), 1));
    QTest::mouseClick(ctl<QCheckBox>(dlg, "loeschen"), Qt::LeftButton);
    const QString other = dir.filePath(QStringLiteral("other.txt"));
    dlg->askFileName = [&](QFileDialog &) { return other; };
    dlg->speichernClick();
    QCOMPARE(readAll(other), QByteArray("config\r\n10,88,D6,40,00;\r\n02,C0,08,C0;\r\nAE081DDD12F256\r\n"));

    // Back to the factory file, then the other one: everything as saved.
    dlg->askFileName = [&](QFileDialog &) { return path; };
    dlg->oeffnenClick();
    QCOMPARE(channels(), QStringList({"8/0,1", "8/0,1", "8/0,1", "8/0,1"}));
    QCOMPARE(ctl<QCheckBox>(dlg, "loeschen")->isChecked(), false);
    dlg->askFileName = [&](QFileDialog &) { return other; };
    dlg->oeffnenClick();
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Datei korrekt eingelesen"));
    QCOMPARE(ctl<QLabel>(dlg, "status")->styleSheet(), QStringLiteral("color: black;"));
    QCOMPARE(channels(), QStringList({"OFF/", "1/1,5", "8/0,1", "8/0,1"}));
    QCOMPARE(timeList(0)->count(), 0);
    QVERIFY(ctl<QCheckBox>(dlg, "loeschen")->isChecked());
    QVERIFY(dlg->machinery().protocol().clearingActive());
}

void tst_Para::loadStoppedByTextShowsBox()
{
    open();
    const QString path = dir.filePath(QStringLiteral("text.txt"));
    QVERIFY(writeAll(path, "config\r\n21,4Q,D6,00,00;\r\n02,80,08,C0;\r\nAE081DDD12F256\r\n"));
    dlg->askFileName = [&](QFileDialog &) { return path; };
    dlg->oeffnenClick();
    QVERIFY(dlg->errorReport());
    QVERIFY(dlg->errorReport()->isVisible());
    QVERIFY(dlg->errorReport()->text().contains(QLatin1Char('Q')));
    // Channels 1 and 2 were entered before the stop; the status line stays empty.
    QCOMPARE(ctl<QComboBox>(dlg, "k1_sel")->currentText(), QStringLiteral("1"));
    QCOMPARE(ctl<QComboBox>(dlg, "k2_sel")->currentText(), QStringLiteral("2"));
    QCOMPARE(ctl<QComboBox>(dlg, "k3_sel")->currentIndex(), -1);
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QString());
    QVERIFY(!dlg->machinery().protocol().clearingActive());
    dlg->errorReport()->close();
}

void tst_Para::closeHandsBackThenResets_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<bool>("retrying");
    QTest::newRow("menu Schließen after a read") << true << false;
    QTest::newRow("close box while retrying") << false << true;
}

void tst_Para::closeHandsBackThenResets()
{
    QFETCH(bool, byMenu);
    QFETCH(bool, retrying);
    open();
    if (!retrying) {
        line->replies << sampleReply();
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
        settle(dlg->machinery().protocol());
        QTest::mouseClick(ctl<QLabel>(dlg, "Label5"), Qt::LeftButton);
        QVERIFY(dlg->machinery().protocol().clearingActive());
    } else {
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);   // no acknowledgement
        settle(dlg->machinery().protocol());
        QVERIFY(dlg->machinery().protocol().retryActive());
    }
    // A refused save shows error_pg (no file dialog comes up).
    ctl<QComboBox>(dlg, "pgood_sel_")->setCurrentIndex(-1);
    dlg->speichernClick();
    QCOMPARE(visibleMarkers(), QStringList({"error_pg"}));
    // The hand-back comes first, while the controls still hold the configuration.
    QStringList seen;
    connect(dlg, &Tpara::rueckgabe, this, [&] { seen = channels(); });
    QSignalSpy back(dlg, &Tpara::rueckgabe);
    byMenu ? ctl<QAction>(dlg, "schliessen")->trigger() : (void)dlg->close();
    QCOMPARE(back.size(), 1);
    QCOMPARE(seen.first().section('/', 0, 0), retrying ? QStringLiteral("8") : QStringLiteral("1"));

    QVERIFY(!dlg->isVisible());
    QCOMPARE(channels(), QStringList({"/", "/", "/", "/"}));
    for (int c = 0; c < 4; ++c)
        QCOMPARE(timeList(c)->count(), 0);
    QCOMPARE(ctl<QComboBox>(dlg, "pgood_sel_")->currentIndex(), -1);
    QCOMPARE(boxes(), QString(24, '0'));
    QCOMPARE(ctl<QLabel>(dlg, "sw")->text(), QString());
    QVERIFY(ctl<QLabel>(dlg, "sw")->isHidden());
    QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
    QCOMPARE(visibleMarkers(), QStringList());
    // Nothing of this dialog touches the port any more.
    QVERIFY(!dlg->machinery().protocol().retryActive());
    QVERIFY(!dlg->machinery().protocol().clearingActive());
    const int written = line->written.size();
    QTest::qWait(600);
    QCOMPARE(line->written.size(), written);

    // Opened again: the same empty state.
    open();
    QCOMPARE(channels(), QStringList({"/", "/", "/", "/"}));
    QCOMPARE(boxes(), QString(24, '0'));
}

QTEST_MAIN(tst_Para)
#include "tst_para.moc"
