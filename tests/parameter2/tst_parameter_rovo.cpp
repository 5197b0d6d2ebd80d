// The single-port configuration dialog with its controls, on a scripted transaction line.
#include "parameter2/parameter_rovo.h"

#include "config/sharedstate.h"
#include "fakeline.h"
#include "hexbytes.h"
#include "parameter2/singleportmodule.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include "linkwait.h"
#include "windowcontrols.h"
#include "testfiles.h"
#include <QtTest>

Q_DECLARE_METATYPE(ModuleVariant)

namespace {

const QString Port = QStringLiteral("\\\\.\\COM2");
// FourChannel6A: limits 3/4 and 6/OFF, 20,0 V, mask1 05, mask2 C3, 5,0 s, version "1.05".
const char *const Reply19 = "E4 19 43 06 C8 05 C3 00 C7 31 2E 30 35 00 00 00 00 00 00 00 00 00 00 00 00 00 96 E4 16";
// TwoChannel10A with limits 10/9, 3/2 on the hidden channels, 24,0 V, mask1 0A, mask2 40, 0,5 s.
const char *const Reply13 = "E4 13 9A 23 F0 0A 40 00 13 32 2E 30 30 00 00 00 00 00 00 00 00 00 00 00 00 00 0C";

} // namespace

class tst_ParameterRovo : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void window();
    void geometry_data();
    void geometry();
    void listEntries();
    void picture();
    void placement_data();
    void placement();
    void factorySettingsWritten_data();
    void factorySettingsWritten();
    void markersRefuseWrite_data();
    void markersRefuseWrite();
    void readEntersTheControls_data();
    void readEntersTheControls();
    void hotSpotRevealsVersion();
    void statusColours_data();
    void statusColours();
    void userEditsAreWritten();
    void fileDialogs_data();
    void fileDialogs();
    void saveAndLoadBack();
    void loadStoppedByTextShowsBox();
    void failedSaveReported();
    void closeResetsAndHandsBack();
    void pictureClickAsksForEnlargement();

private:
    QStringList visibleMarkers() const
    {
        QStringList names;
        for (QLabel *m : {ctl<QLabel>(dlg, "error_k1"), ctl<QLabel>(dlg, "error_k2"), ctl<QLabel>(dlg, "error_k3"), ctl<QLabel>(dlg, "error_k4"), ctl<QLabel>(dlg, "error_pg"), ctl<QLabel>(dlg, "ab_error")})
            if (!m->isHidden())
                names << m->objectName();
        return names;
    }
    // Opens the dialog for a variant as the main window's button does.
    void openFor(ModuleVariant variant)
    {
        state.variant = variant;
        dlg->oeffnen(variant);
        QVERIFY(QTest::qWaitForWindowExposed(dlg));
    }

    SharedState state;
    FakeLine *line = nullptr;
    Tparameter_rovo *dlg = nullptr;
    QTemporaryDir dir;
};

void tst_ParameterRovo::init()
{
    state = SharedState{};
    state.portName = [] { return Port; };
    state.language = Language::German;
    line = new FakeLine;
    dlg = new Tparameter_rovo(state, *line);
}

void tst_ParameterRovo::cleanup()
{
    delete dlg;
    delete line;
}

void tst_ParameterRovo::window()
{
    QCOMPARE(dlg->objectName(), QStringLiteral("parameter_rovo"));
    QCOMPARE(dlg->windowTitle(), QStringLiteral("Konfiguration"));
    QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
    QCOMPARE(dlg->size(), QSize(964, 463 + ctl<QMenuBar>(dlg, "MainMenu1")->sizeHint().height()));
    const Qt::WindowFlags flags = dlg->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!dlg->isVisible());   // hidden until the main window's button shows it
    openFor(ModuleVariant::FourChannel10A);
    QCOMPARE(dlg->centralWidget()->size(), QSize(964, 463));

    QCOMPARE(ctl<QMenu>(dlg, "oeffnen1")->title(), QStringLiteral("Datei"));
    QStringList menu;
    for (QAction *a : ctl<QMenu>(dlg, "oeffnen1")->actions())
        menu << a->objectName() + '=' + a->text();
    QCOMPARE(menu, QStringList({"oeffnen=Öffnen", "speichern=Speichern", "schliessen=Schließen"}));

    QVERIFY(ctl<QLabel>(dlg, "sw")->isHidden());
    QVERIFY(ctl<QLabel>(dlg, "sw")->text().isEmpty());
    QVERIFY(ctl<QLabel>(dlg, "status")->font().bold());
    QCOMPARE(ctl<QLabel>(dlg, "Label3")->text(), QString());
    QCOMPARE(ctl<QLabel>(dlg, "Label3")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(ctl<QLabel>(dlg, "Image2")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(ctl<QLabel>(dlg, "Image2")->toolTip(), QStringLiteral("Vergrößern"));
    QCOMPARE(visibleMarkers(), QStringList());
    for (QLabel *m : {ctl<QLabel>(dlg, "error_k1"), ctl<QLabel>(dlg, "error_pg"), ctl<QLabel>(dlg, "ab_error")}) {
        QCOMPARE(m->text(), QStringLiteral("!"));
        QVERIFY(m->font().bold());
    }
    // Every list starts without a selection.
    for (QComboBox *list : {ctl<QComboBox>(dlg, "k1_sel"), ctl<QComboBox>(dlg, "k4_sel"), ctl<QComboBox>(dlg, "pgood_sel_"), ctl<QComboBox>(dlg, "abschaltzeit")})
        QCOMPARE(list->currentIndex(), -1);
    QVERIFY(ctl<QComboBox>(dlg, "pgood_sel_")->isEditable());
    QVERIFY(!ctl<QComboBox>(dlg, "k1_sel")->isEditable());
    QVERIFY(!ctl<QComboBox>(dlg, "abschaltzeit")->isEditable());
}

void tst_ParameterRovo::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("text");

    QTest::newRow("status line") << "status" << QRect(16, 14, 417, 24) << "";
    QTest::newRow("hot spot") << "Label3" << QRect(680, 8, 265, 41) << "";
    QTest::newRow("version in the hot spot") << "sw" << QRect(688, 21, 249, 18) << "";
    QTest::newRow("channel 1 list") << "k1_sel" << QRect(120, 107, 121, 24) << "";
    QTest::newRow("channel 2 list") << "k2_sel" << QRect(120, 155, 121, 24) << "";
    QTest::newRow("channel 3 list") << "k3_sel" << QRect(120, 203, 121, 24) << "";
    QTest::newRow("channel 4 list") << "k4_sel" << QRect(120, 251, 121, 24) << "";
    QTest::newRow("read button") << "Button1" << QRect(16, 312, 273, 33) << "Konfiguration laden";
    QTest::newRow("write button") << "Button2" << QRect(16, 360, 273, 33) << "Konfiguration schreiben";
    QTest::newRow("factory button") << "Button3" << QRect(16, 408, 273, 33) << "Werkseinstellung";
    QTest::newRow("picture") << "Image2" << QRect(328, 236, 313, 193) << "";
    QTest::newRow("first event box") << "port1_byte1_01" << QRect(912, 94, 20, 20) << "";
    QTest::newRow("fifth event box") << "port1_byte1_02" << QRect(912, 190, 20, 20) << "";
    QTest::newRow("hardware fault box") << "port1_byte2_02" << QRect(912, 310, 20, 20) << "";
    QTest::newRow("invert box") << "port1_byte2_40" << QRect(912, 342, 20, 20) << "";
    QTest::newRow("current heading") << "Label1" << QRect(32, 68, 249, 20) << "konfigurierter Strom [A]";
    QTest::newRow("threshold heading") << "Label15" << QRect(328, 68, 321, 20) << "Power Good Schwellwert [V]";
    QTest::newRow("delay heading") << "Label4" << QRect(328, 132, 321, 20) << "Auslösezeit [s]";
    QTest::newRow("port heading") << "Label2" << QRect(880, 66, 60, 20) << "Port 1";
    QTest::newRow("channel 4 caption") << "Label14" << QRect(32, 253, 80, 20) << "Kanal 4:";
    QTest::newRow("channel 3 tripped") << "f7" << QRect(696, 238, 209, 20) << "Kanal 3 ausgelöst";
    QTest::newRow("low input") << "f9" << QRect(696, 286, 209, 20) << "Uin < Power Good";
    QTest::newRow("invert caption") << "f11" << QRect(696, 342, 209, 20) << "Ausgang invertieren";
    QTest::newRow("programming caption") << "f12" << QRect(696, 392, 209, 20) << "Programmierung erlauben";
    QTest::newRow("release caption") << "StaticText10" << QRect(696, 416, 209, 20) << "Freigeben ausgelöster Kanäle";
}

void tst_ParameterRovo::geometry()
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

void tst_ParameterRovo::listEntries()
{
    QStringList thresholds;
    for (int v = 200; v <= 240; ++v)
        thresholds << QStringLiteral("%1,%2").arg(v / 10).arg(v % 10);
    QCOMPARE(items(ctl<QComboBox>(dlg, "pgood_sel_")), thresholds);
    QCOMPARE(items(ctl<QComboBox>(dlg, "abschaltzeit")),
             QStringList({"0,1", "0,5", "1,0", "2,0", "5,0", "10,0", "50,0", "100,0", "600,0"}));
    QCOMPARE(items(ctl<QComboBox>(dlg, "k1_sel")), QStringList({"OFF", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
}

void tst_ParameterRovo::picture()
{
    // The trip characteristic, drawn proportionally into 313 x 193 from the top left.
    const QPixmap picture = ctl<QLabel>(dlg, "Image2")->pixmap();
    QVERIFY(!picture.isNull());
    const QSize size = picture.deviceIndependentSize().toSize();
    QCOMPARE(size.height(), 193);
    QVERIFY(size.width() <= 313 && size.width() >= 300);
    // The red staircase is there.
    const QImage image = picture.toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        }
    QVERIFY2(red > 300, qPrintable(QString::number(red)));

    openFor(ModuleVariant::FourChannel10A);
    dlg->grab().save(QStringLiteral("/tmp/parameter_rovo.png"));
}

void tst_ParameterRovo::placement_data()
{
    QTest::addColumn<QSize>("workArea");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("900 high: centred") << QSize(1440, 900) << QSize(970, 514) << QPoint(235, 193);
    QTest::newRow("909 high: centred, rounded toward zero") << QSize(1001, 909) << QSize(970, 514) << QPoint(15, 197);
    QTest::newRow("910 high: designed place") << QSize(1280, 910) << QSize(970, 514) << QPoint(0, 0);
    QTest::newRow("1024 high: designed place") << QSize(1280, 1024) << QSize(970, 514) << QPoint(0, 0);
    QTest::newRow("narrower than the dialog") << QSize(800, 600) << QSize(970, 514) << QPoint(-85, 43);
}

void tst_ParameterRovo::placement()
{
    QFETCH(QSize, workArea);
    QFETCH(QSize, outer);
    QFETCH(QPoint, topLeft);
    QCOMPARE(Tparameter_rovo::placement(workArea, outer), topLeft);
}

void tst_ParameterRovo::factorySettingsWritten_data()
{
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<QStringList>("limits");
    QTest::addColumn<QByteArray>("telegram");

    QTest::newRow("FourChannel10A") << ModuleVariant::FourChannel10A << QStringList({"10", "10", "10", "10"})
                                    << hexBytes("FF F3 AA AA D6 AA C0 0F 9F DD EE 1F");
    QTest::newRow("FourChannel6A") << ModuleVariant::FourChannel6A << QStringList({"6", "6", "6", "6"})
                                   << hexBytes("FF F3 66 66 D6 AA C0 0F 9F DD EE 1F");
    // Hidden channels 3 and 4 get the largest entry their lists have.
    QTest::newRow("TwoChannel10A") << ModuleVariant::TwoChannel10A << QStringList({"10", "10", "6", "6"})
                                   << hexBytes("FF F3 AA 66 D6 AA C0 0F 9F DD EE D3");
    QTest::newRow("TwoChannel6A") << ModuleVariant::TwoChannel6A << QStringList({"6", "6", "6", "6"})
                                  << hexBytes("FF F3 66 66 D6 AA C0 0F 9F DD EE 1F");
}

void tst_ParameterRovo::factorySettingsWritten()
{
    QFETCH(ModuleVariant, variant);
    QFETCH(QStringList, limits);
    QFETCH(QByteArray, telegram);

    openFor(variant);
    ctl<QCheckBox>(dlg, "loeschen")->setChecked(true);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    QCOMPARE(QStringList({ctl<QComboBox>(dlg, "k1_sel")->currentText(), ctl<QComboBox>(dlg, "k2_sel")->currentText(), ctl<QComboBox>(dlg, "k3_sel")->currentText(),
                          ctl<QComboBox>(dlg, "k4_sel")->currentText()}),
             limits);
    QCOMPARE(ctl<QComboBox>(dlg, "pgood_sel_")->currentText(), QStringLiteral("21,4"));
    QCOMPARE(ctl<QComboBox>(dlg, "abschaltzeit")->currentText(), QStringLiteral("100,0"));
    QVERIFY(!ctl<QCheckBox>(dlg, "port1_byte1_01")->isChecked());
    QVERIFY(ctl<QCheckBox>(dlg, "port1_byte1_80")->isChecked());
    QVERIFY(ctl<QCheckBox>(dlg, "port1_byte2_40")->isChecked());
    QVERIFY(!ctl<QCheckBox>(dlg, "loeschen")->isChecked());
    QVERIFY(ctl<QCheckBox>(dlg, "programmieren")->isChecked());
    QVERIFY(line->written.isEmpty());   // nothing is sent before the write button

    line->replies << telegram.right(1);   // acknowledged with the check byte
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QCOMPARE(line->written, QByteArrayList({telegram}));
    QVERIFY(line->calls.first() == QStringLiteral("open ") + Port);
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Übertragung erfolgreich!"));
    QVERIFY(ctl<QLabel>(dlg, "status")->isVisible());
    QCOMPARE(visibleMarkers(), QStringList());
}

void tst_ParameterRovo::markersRefuseWrite_data()
{
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<QStringList>("emptied");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QStringList>("markers");
    QTest::addColumn<QString>("message");

    const QString german = QStringLiteral("Bitte alle Felder korrekt ausfüllen");
    QTest::newRow("channel 1 empty") << ModuleVariant::FourChannel10A << QStringList{"k1_sel"} << false
                                     << QStringList{"error_k1"} << german;
    QTest::newRow("hidden channel 4 empty is still checked")
        << ModuleVariant::TwoChannel6A << QStringList{"k4_sel"} << false << QStringList{"error_k4"} << german;
    QTest::newRow("threshold typed, not an entry") << ModuleVariant::FourChannel6A << QStringList{"pgood text"}
                                                   << false << QStringList{"error_pg"} << german;
    QTest::newRow("delay empty, English") << ModuleVariant::FourChannel10A << QStringList{"abschaltzeit"} << true
                                          << QStringList{"ab_error"} << QStringLiteral("All labels fill correctly, please");
    QTest::newRow("everything empty") << ModuleVariant::FourChannel10A
                                      << QStringList{"k1_sel", "k2_sel", "k3_sel", "k4_sel", "pgood_sel_", "abschaltzeit"}
                                      << false
                                      << QStringList{"error_k1", "error_k2", "error_k3", "error_k4", "error_pg", "ab_error"}
                                      << german;
}

void tst_ParameterRovo::markersRefuseWrite()
{
    QFETCH(ModuleVariant, variant);
    QFETCH(QStringList, emptied);
    QFETCH(bool, english);
    QFETCH(QStringList, markers);
    QFETCH(QString, message);

    openFor(variant);
    dlg->setLanguage(english ? Language::English : Language::German);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    for (const QString &name : emptied) {
        if (name == QLatin1String("pgood text")) {
            ctl<QComboBox>(dlg, "pgood_sel_")->lineEdit()->selectAll();
            QTest::keyClicks(ctl<QComboBox>(dlg, "pgood_sel_")->lineEdit(), QStringLiteral("21,45"));
        } else {
            dlg->findChild<QComboBox *>(name)->setCurrentIndex(-1);
        }
    }
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QCOMPARE(visibleMarkers(), markers);
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), message);
    QVERIFY(ctl<QLabel>(dlg, "status")->isVisible());
    QVERIFY(pixelsOf(ctl<QLabel>(dlg, "status"), Qt::red) > 20);
    QVERIFY(line->written.isEmpty());
    QVERIFY(!dlg->machinery().protocol().retryActive());

    // The factory settings hide the markers again.
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    QCOMPARE(visibleMarkers(), QStringList());
}

void tst_ParameterRovo::readEntersTheControls_data()
{
    QTest::addColumn<ModuleVariant>("opened");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<QStringList>("lists");
    QTest::addColumn<QString>("boxes");   // 13 boxes, 1 = checked, loeschen last
    QTest::addColumn<bool>("channels34Shown");

    // Box order: port1_byte1_01 .. _80 by bit, port1_byte2_01, _02, _40, programmieren, loeschen.
    QTest::newRow("FourChannel6A") << ModuleVariant::FourChannel10A << hexBytes(Reply19) << ModuleVariant::FourChannel6A
                                   << QStringList({"3", "4", "6", "OFF", "20,0", "5,0"}) << "1010000011111" << true;
    // Channels 3 and 4 hold 3 and 2; their lists for this variant end at 6.
    QTest::newRow("TwoChannel10A hides channels 3 and 4")
        << ModuleVariant::FourChannel10A << hexBytes(Reply13) << ModuleVariant::TwoChannel10A
        << QStringList({"10", "9", "3", "2", "24,0", "0,5"}) << "0101000000101" << false;
    QTest::newRow("four-channel reply after two shows them again")
        << ModuleVariant::TwoChannel6A << hexBytes(Reply19) << ModuleVariant::FourChannel6A
        << QStringList({"3", "4", "6", "OFF", "20,0", "5,0"}) << "1010000011111" << true;
}

void tst_ParameterRovo::readEntersTheControls()
{
    QFETCH(ModuleVariant, opened);
    QFETCH(QByteArray, reply);
    QFETCH(ModuleVariant, variant);
    QFETCH(QStringList, lists);
    QFETCH(QString, boxes);
    QFETCH(bool, channels34Shown);

    openFor(opened);
    QCOMPARE(ctl<QComboBox>(dlg, "k3_sel")->isHidden(), !isFourChannel(opened));
    ctl<QCheckBox>(dlg, "loeschen")->setChecked(true);   // a read leaves it alone
    line->replies << reply;
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QCOMPARE(line->written, QByteArrayList({hexBytes("FF FC")}));
    QCOMPARE(state.variant, variant);
    QCOMPARE(QStringList({ctl<QComboBox>(dlg, "k1_sel")->currentText(), ctl<QComboBox>(dlg, "k2_sel")->currentText(), ctl<QComboBox>(dlg, "k3_sel")->currentText(),
                          ctl<QComboBox>(dlg, "k4_sel")->currentText(), ctl<QComboBox>(dlg, "pgood_sel_")->currentText(),
                          ctl<QComboBox>(dlg, "abschaltzeit")->currentText()}),
             lists);
    QString checked;
    for (QCheckBox *b : {ctl<QCheckBox>(dlg, "port1_byte1_01"), ctl<QCheckBox>(dlg, "port1_byte1_02"), ctl<QCheckBox>(dlg, "port1_byte1_04"), ctl<QCheckBox>(dlg, "port1_byte1_08"),
                         ctl<QCheckBox>(dlg, "port1_byte1_10"), ctl<QCheckBox>(dlg, "port1_byte1_20"), ctl<QCheckBox>(dlg, "port1_byte1_40"), ctl<QCheckBox>(dlg, "port1_byte1_80"),
                         ctl<QCheckBox>(dlg, "port1_byte2_01"), ctl<QCheckBox>(dlg, "port1_byte2_02"), ctl<QCheckBox>(dlg, "port1_byte2_40"), ctl<QCheckBox>(dlg, "programmieren"),
                         ctl<QCheckBox>(dlg, "loeschen")})
        checked += b->isChecked() ? '1' : '0';
    QCOMPARE(checked, boxes);
    for (QWidget *w : std::initializer_list<QWidget *>{ctl<QComboBox>(dlg, "k3_sel"), ctl<QComboBox>(dlg, "k4_sel"), ctl<QLabel>(dlg, "Label13"), ctl<QLabel>(dlg, "Label14"),
                                                       ctl<QLabel>(dlg, "f3"), ctl<QLabel>(dlg, "f4"), ctl<QLabel>(dlg, "f7"), ctl<QLabel>(dlg, "f8"), ctl<QCheckBox>(dlg, "port1_byte1_10"),
                                                       ctl<QCheckBox>(dlg, "port1_byte1_20"), ctl<QCheckBox>(dlg, "port1_byte1_40"), ctl<QCheckBox>(dlg, "port1_byte1_80")})
        QVERIFY2(w->isVisible() == channels34Shown, qPrintable(w->objectName()));
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Übertragung erfolgreich!"));
    QVERIFY(dlg->machinery().protocol().clearingActive());
}

void tst_ParameterRovo::hotSpotRevealsVersion()
{
    openFor(ModuleVariant::FourChannel10A);
    line->replies << hexBytes(Reply19);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QVERIFY(ctl<QLabel>(dlg, "sw")->isHidden());
    QVERIFY(ctl<QLabel>(dlg, "Label3")->isVisible());
    QTest::mouseClick(ctl<QLabel>(dlg, "Label3"), Qt::LeftButton);
    QVERIFY(ctl<QLabel>(dlg, "Label3")->isHidden());
    QVERIFY(ctl<QLabel>(dlg, "sw")->isVisible());
    QCOMPARE(ctl<QLabel>(dlg, "sw")->text(), QStringLiteral("SW: 1.05"));

    // Five seconds later the status line goes, the version with it.
    dlg->Timer3Timer();
    QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
    QVERIFY(ctl<QLabel>(dlg, "sw")->isHidden());
    QCOMPARE(ctl<QLabel>(dlg, "sw")->text(), QString());
    QVERIFY(ctl<QLabel>(dlg, "Label3")->isVisible());
    // Clicked now, the hot spot shows an empty version.
    QTest::mouseClick(ctl<QLabel>(dlg, "Label3"), Qt::LeftButton);
    QVERIFY(ctl<QLabel>(dlg, "sw")->isVisible());
    QCOMPARE(ctl<QLabel>(dlg, "sw")->text(), QString());
}

void tst_ParameterRovo::statusColours_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("red");

    QTest::newRow("read successful: black") << "read" << "Übertragung erfolgreich!" << false;
    QTest::newRow("no answer after 12 retries: red") << "silent" << "Kommunikation fehlgeschlagen!" << true;
    QTest::newRow("file read: black") << "load good" << "Datei korrekt eingelesen" << false;
    QTest::newRow("file rejected: red") << "load bad" << "Datei fehlerhaft C13" << true;
}

void tst_ParameterRovo::statusColours()
{
    QFETCH(QString, action);
    QFETCH(QString, text);
    QFETCH(bool, red);

    openFor(ModuleVariant::FourChannel10A);
    const QString path = dir.filePath(QStringLiteral("status.txt"));
    dlg->askFileName = [&](QFileDialog &) { return path; };
    if (action == QLatin1String("read")) {
        line->replies << hexBytes(Reply19);
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
        settle(dlg->machinery().protocol());
    } else if (action == QLatin1String("silent")) {
        QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
        settle(dlg->machinery().protocol());
        QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());   // hidden while the retries run
        for (int i = 0; i < 11; ++i) {
            dlg->Timer1Timer();
            settle(dlg->machinery().protocol());
        }
        QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
        dlg->Timer1Timer();
        settle(dlg->machinery().protocol());
        QCOMPARE(line->written.size(), 13);
        QVERIFY(!dlg->machinery().protocol().retryActive());
    } else {
        QVERIFY(writeAll(path, action == QLatin1String("load good")
                                   ? QByteArray("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n")
                                   : QByteArray("Config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n")));
        dlg->oeffnenClick();
    }
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), text);
    QVERIFY(ctl<QLabel>(dlg, "status")->isVisible());
    const int redPixels = pixelsOf(ctl<QLabel>(dlg, "status"), Qt::red);
    const int blackPixels = pixelsOf(ctl<QLabel>(dlg, "status"), Qt::black);
    if (red) {
        QVERIFY2(redPixels > 20 && blackPixels == 0, qPrintable(QStringLiteral("%1 %2").arg(redPixels).arg(blackPixels)));
    } else {
        QVERIFY2(blackPixels > 20 && redPixels == 0, qPrintable(QStringLiteral("%1 %2").arg(redPixels).arg(blackPixels)));
    }
}

void tst_ParameterRovo::userEditsAreWritten()
{
    openFor(ModuleVariant::FourChannel10A);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    ctl<QComboBox>(dlg, "k1_sel")->setCurrentIndex(3);
    ctl<QComboBox>(dlg, "k4_sel")->setCurrentIndex(0);
    ctl<QComboBox>(dlg, "pgood_sel_")->lineEdit()->selectAll();
    QTest::keyClicks(ctl<QComboBox>(dlg, "pgood_sel_")->lineEdit(), QStringLiteral("22,0"));   // typed, one of the entries
    ctl<QComboBox>(dlg, "abschaltzeit")->setCurrentIndex(4);
    QTest::mouseClick(ctl<QCheckBox>(dlg, "port1_byte1_01"), Qt::LeftButton);
    QTest::mouseClick(ctl<QCheckBox>(dlg, "programmieren"), Qt::LeftButton);
    QTest::mouseClick(ctl<QCheckBox>(dlg, "loeschen"), Qt::LeftButton);
    // Channels A3 (1 = 3, 2 = 10), 0A (3 = 10, 4 = OFF), 22,0 V = DC, mask1 AB,
    // mask2 60 (invert and release), 5,0 s = 00 C7.
    const QByteArray telegram = hexBytes("FF F3 A3 0A DC AB 60 00 C7 DD EE 4A");
    line->replies << telegram.right(1);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QCOMPARE(line->written, QByteArrayList({telegram}));
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Übertragung erfolgreich!"));
}

void tst_ParameterRovo::fileDialogs_data()
{
    QTest::addColumn<bool>("saving");
    QTest::newRow("open") << false;
    QTest::newRow("save") << true;
}

void tst_ParameterRovo::fileDialogs()
{
    QFETCH(bool, saving);
    openFor(ModuleVariant::FourChannel10A);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    int asked = 0;
    dlg->askFileName = [&](QFileDialog &d) {
        ++asked;
        [&] {
            QCOMPARE(d.nameFilters(), QStringList({"Text files (*.txt)", "All files (*.*)"}));
            QCOMPARE(d.selectedNameFilter(), QStringLiteral("Text files (*.txt)"));
            // A name typed into the open dialog is taken as it is.
            QCOMPARE(d.defaultSuffix(), saving ? QStringLiteral("txt") : QString());
            QCOMPARE(d.acceptMode(), saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            QVERIFY(!d.testOption(QFileDialog::DontConfirmOverwrite));
            if (saving)   // unlike the two-port dialog's, no size grip
                QVERIFY(!d.isSizeGripEnabled());
        }();
        return QString();   // cancelled
    };
    ctl<QLabel>(dlg, "status")->setText(QStringLiteral("vorher"));
    saving ? dlg->speichernClick() : dlg->oeffnenClick();
    QCOMPARE(asked, 1);
    // Cancelling the open dialog changes nothing; the save has emptied the status first.
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), saving ? QString() : QStringLiteral("vorher"));
    QCOMPARE(ctl<QComboBox>(dlg, "k1_sel")->currentText(), QStringLiteral("10"));
}

void tst_ParameterRovo::saveAndLoadBack()
{
    openFor(ModuleVariant::FourChannel10A);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    const QString path = dir.filePath(QStringLiteral("factory.txt"));
    dlg->askFileName = [&](QFileDialog &) { return path; };
    dlg->speichernClick();
    QCOMPARE(readAll(path), QByteArray("config\r\nAA,AA,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n"));
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QString());   // no message on success

    // Saving is refused with markers when a list is empty; no file dialog.
    ctl<QComboBox>(dlg, "k2_sel")->setCurrentIndex(-1);
    int asked = 0;
    dlg->askFileName = [&](QFileDialog &) { ++asked; return path; };
    dlg->speichernClick();
    QCOMPARE(asked, 0);
    QCOMPARE(visibleMarkers(), QStringList{"error_k2"});
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Bitte alle Felder korrekt ausfüllen"));

    // Loading brings every control back.
    ctl<QCheckBox>(dlg, "port1_byte1_02")->setChecked(false);
    ctl<QCheckBox>(dlg, "programmieren")->setChecked(false);
    dlg->oeffnenClick();
    QCOMPARE(asked, 1);
    QCOMPARE(visibleMarkers(), QStringList());
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Datei korrekt eingelesen"));
    QCOMPARE(ctl<QComboBox>(dlg, "k2_sel")->currentText(), QStringLiteral("10"));
    QCOMPARE(ctl<QComboBox>(dlg, "pgood_sel_")->currentText(), QStringLiteral("21,4"));
    QCOMPARE(ctl<QComboBox>(dlg, "abschaltzeit")->currentText(), QStringLiteral("100,0"));
    QVERIFY(ctl<QCheckBox>(dlg, "port1_byte1_02")->isChecked());
    QVERIFY(ctl<QCheckBox>(dlg, "programmieren")->isChecked());
    QVERIFY(dlg->machinery().protocol().clearingActive());
}

void tst_ParameterRovo::loadStoppedByTextShowsBox()
{
    openFor(ModuleVariant::FourChannel10A);
    const QString path = dir.filePath(QStringLiteral("nothex.txt"));
    QVERIFY(writeAll(path, "config\r\nAA,AX,D6,07;\r\nAA,C0;\r\nAE081DDD12F256\r\n"));
    dlg->askFileName = [&](QFileDialog &) { return path; };
    dlg->oeffnenClick();
    QVERIFY(dlg->errorReport());
    QTRY_VERIFY(dlg->errorReport()->isVisible());
    QVERIFY2(dlg->errorReport()->text().contains(QStringLiteral("'X'")), qPrintable(dlg->errorReport()->text()));
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QString());
    QVERIFY(!dlg->machinery().protocol().clearingActive());
    // What came before the bad digit stays applied.
    QCOMPARE(ctl<QComboBox>(dlg, "k1_sel")->currentText(), QStringLiteral("10"));
    dlg->errorReport()->accept();
    QTRY_VERIFY(!dlg->errorReport());
}

void tst_ParameterRovo::failedSaveReported()
{
    openFor(ModuleVariant::FourChannel6A);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    const QString path = dir.filePath(QStringLiteral("no such folder/x.txt"));
    dlg->askFileName = [&](QFileDialog &) { return path; };
    dlg->speichernClick();
    QVERIFY(!QFile::exists(path));
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Datei konnte nicht gespeichert werden"));
    QVERIFY(pixelsOf(ctl<QLabel>(dlg, "status"), Qt::red) > 20);
    dlg->setLanguage(Language::English);
    dlg->speichernClick();
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("File could not be saved"));
}

void tst_ParameterRovo::closeResetsAndHandsBack()
{
    openFor(ModuleVariant::FourChannel10A);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    ctl<QCheckBox>(dlg, "loeschen")->setChecked(true);
    ctl<QComboBox>(dlg, "k1_sel")->setCurrentIndex(-1);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);   // refused: a marker
    settle(dlg->machinery().protocol());
    QCOMPARE(visibleMarkers(), QStringList{"error_k1"});
    ctl<QComboBox>(dlg, "k1_sel")->setCurrentIndex(2);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);   // no answer: retries
    settle(dlg->machinery().protocol());
    QVERIFY(dlg->machinery().protocol().retryActive());

    QStringList order;
    connect(dlg, &Tparameter_rovo::rueckgabe, this, [&] {
        order << QStringLiteral("rueckgabe");
        // The controls are reset after the hand-back.
        if (ctl<QComboBox>(dlg, "k1_sel")->currentIndex() == 2)
            order << QStringLiteral("then reset");
    });
    dlg->schliessenClick();
    QCOMPARE(order, QStringList({"rueckgabe", "then reset"}));
    QVERIFY(!dlg->isVisible());
    for (QComboBox *list : {ctl<QComboBox>(dlg, "k1_sel"), ctl<QComboBox>(dlg, "k2_sel"), ctl<QComboBox>(dlg, "k3_sel"), ctl<QComboBox>(dlg, "k4_sel"), ctl<QComboBox>(dlg, "pgood_sel_"), ctl<QComboBox>(dlg, "abschaltzeit")})
        QCOMPARE(list->currentIndex(), -1);
    QVERIFY(!ctl<QCheckBox>(dlg, "port1_byte1_02")->isChecked());
    QVERIFY(!ctl<QCheckBox>(dlg, "programmieren")->isChecked());
    QVERIFY(ctl<QCheckBox>(dlg, "loeschen")->isChecked());
    QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
    QCOMPARE(visibleMarkers(), QStringList());
    // No retry reaches the port after the close.
    QVERIFY(!dlg->machinery().protocol().retryActive());
    const int written = line->written.size();
    QTest::qWait(600);
    QCOMPARE(line->written.size(), written);
}

void tst_ParameterRovo::pictureClickAsksForEnlargement()
{
    openFor(ModuleVariant::FourChannel10A);
    QSignalSpy spy(dlg, &Tparameter_rovo::tripCharacteristicRequested);
    QTest::mouseClick(ctl<QLabel>(dlg, "Image2"), Qt::LeftButton);
    QCOMPARE(spy.size(), 1);
    QTest::mouseClick(ctl<QLabel>(dlg, "Label1"), Qt::LeftButton);
    QCOMPARE(spy.size(), 1);
}

QTEST_MAIN(tst_ParameterRovo)
#include "tst_parameter_rovo.moc"
