// German and English at a click, in all three windows that switch.
#include "app/form1.h"
#include "app/fuseapplication.h"
#include "grafik/form2.h"
#include "information/info.h"
#include "parameter/para.h"
#include "parameter2/parameter_rovo.h"

#include "config/translation.h"
#include "windowcontrols.h"
#include <QFileDialog>
#include <QtTest>

using Texts = QList<QPair<QString, QString>>;   // control name, text

// The text a control shows: window title ("" names the window), label, button, menu, action.
static QString textOf(QWidget *window, const QString &name)
{
    if (name.isEmpty())
        return window->windowTitle();
    QObject *o = window->findChild<QObject *>(name);
    if (!o)
        return QStringLiteral("<no %1>").arg(name);
    if (auto *l = qobject_cast<QLabel *>(o))
        return l->text();
    if (auto *b = qobject_cast<QAbstractButton *>(o))
        return b->text();
    if (auto *m = qobject_cast<QMenu *>(o))
        return m->title();
    if (auto *a = qobject_cast<QAction *>(o))
        return a->text();
    return QStringLiteral("<%1 has no text>").arg(name);
}

static Texts mainWindow(bool german)
{
    const auto t = [german](const char *de, const char *en) { return QString::fromUtf8(german ? de : en); };
    Texts texts{
        {"", t("Visualisierung", "Visualization")},
        {"Label1", t("aktueller Strom", "Output current")},
        {"Label2", t("maximaler Strom", "Maximum output current")},
        {"Label3", t("I Nenn", "I Rated")},
        {"Label9", t("Warnungen", "Warnings")},
        {"Label10", t("Fehler", "Errors")},
        {"Label15", t("aktuelle Eingangsspannung", "Input voltage")},
        {"Label7", t("minimale Eingangsspannung", "Minimum input voltage")},
        {"a", t("Aktualisierung", "Update")},
        {"Labelmb2_1", t("Uin < Power Good", "Uin < power good")},
        {"Labelmb2_2", t("Gerätefehler", "Hardware fault")},
        {"Button1", t("Konfiguration", "Configuration")},
        {"oeffnen1", t("Datei", "File")},
        {"info1", t("Info...", "Info...")},
        {"Beenden1", t("Schließen", "Close")},
    };
    for (int n = 1; n <= 4; ++n) {
        const QString channel = (german ? QStringLiteral("Kanal %1:") : QStringLiteral("Channel %1:")).arg(n);
        texts << qMakePair(QStringLiteral("k%1").arg(n), channel) << qMakePair(QStringLiteral("k1_%1").arg(n), channel);
        texts << qMakePair(QStringLiteral("Labelmb1_%1").arg(2 * n - 1),
                           (german ? QStringLiteral("Überstrom Kanal %1") : QStringLiteral("Overcurrent channel %1")).arg(n));
        texts << qMakePair(QStringLiteral("Labelmb1_%1").arg(2 * n),
                           (german ? QStringLiteral("Kanal %1 ausgelöst") : QStringLiteral("Channel %1 open circuit")).arg(n));
    }
    return texts;
}

static Texts dialog(bool german, bool twoPort)
{
    const auto t = [german](const char *de, const char *en) { return QString::fromUtf8(german ? de : en); };
    Texts texts{
        {"", t("Konfiguration", "Configuration")},
        {"oeffnen1", t("Datei", "File")},
        {"oeffnen", t("Öffnen", "Open")},
        {"speichern", t("Speichern", "Save")},
        {"schliessen", t("Schließen", "Close")},
        {"Label1", t("konfigurierter Strom [A]", "Configured current [A]")},
        {"Label4", t("Auslösezeit [s]", "Fuse delay [s]")},
        {"Label15", t("Power Good Schwellwert [V]", "Power good threshold [V]")},
        {"Button1", t("Konfiguration laden", "Load configuration")},
        {"Button2", t("Konfiguration schreiben", "Write configuration")},
        {"Button3", t("Werkseinstellung", "Factory setting")},
        {"Label6", t("Kanal 1:", "Channel 1:")},
        {"Label12", t("Kanal 2:", "Channel 2:")},
        {"Label13", t("Kanal 3:", "Channel 3:")},
        {"Label14", t("Kanal 4:", "Channel 4:")},
        {"StaticText10", t("Freigeben ausgelöster Kanäle", "Release channel, if open circuit")},
        {"f9", t("Uin < Power Good", "Uin < power good")},
        {"f10", t("Gerätefehler", "Hardware fault")},
        {"f11", t("Ausgang invertieren", "Output inverted")},
        {"f12", t("Programmierung erlauben", "Programming allowed")},
        {"Label2", "Port 1"},
    };
    if (twoPort)
        texts << qMakePair(QStringLiteral("Label3"), QStringLiteral("Port 2"));
    for (int n = 1; n <= 4; ++n) {
        texts << qMakePair(QStringLiteral("f%1").arg(n),
                           (german ? QStringLiteral("Überstrom Kanal %1") : QStringLiteral("Overcurrent channel %1")).arg(n));
        texts << qMakePair(QStringLiteral("f%1").arg(n + 4),
                           (german ? QStringLiteral("Kanal %1 ausgelöst") : QStringLiteral("Channel %1 open circuit")).arg(n));
    }
    return texts;
}

class tst_Language : public QObject
{
    Q_OBJECT
private slots:
    void init() { app = new FuseApplication; app->show(); }
    void cleanup() { delete app; }
    void germanAtStart();
    void switchesBackAndForth();
    void messagesFollowTheLanguage();
    void hiddenControlsStayHidden();
    void notSwitched();
    void qtTextsFollowTheLanguage_data();
    void qtTextsFollowTheLanguage();

private:
    void compare(bool german)
    {
        const struct { QWidget *window; Texts texts; } windows[] = {
            {app->Form1.get(), mainWindow(german)},
            {app->para.get(), dialog(german, true)},
            {app->parameter_rovo.get(), dialog(german, false)},
        };
        for (const auto &w : windows) {
            for (const auto &[name, text] : w.texts)
                QVERIFY2(textOf(w.window, name) == text,
                         qPrintable(QStringLiteral("%1 %2: \"%3\", expected \"%4\"")
                                        .arg(w.window->objectName(), name, textOf(w.window, name), text)));
        }
    }

    FuseApplication *app = nullptr;
};

void tst_Language::germanAtStart()
{
    QCOMPARE(app->state.language, Language::German);
    QVERIFY(app->state.language != Language::English);
    compare(true);
}

void tst_Language::switchesBackAndForth()
{
    // Values on display stay as they are.
    const QByteArray telegram = QByteArray::fromHex(
        "E4 17 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 00 00 00 FD E4 16");
    for (char b : telegram)
        app->Form1->baue_string(quint8(b));
    QCOMPARE(ctl<QLabel>(app->Form1.get(), "i1")->text(), QStringLiteral("3,00 Adc"));
    app->Form1->englischClick();
    QCOMPARE(ctl<QLabel>(app->Form1.get(), "i1")->text(), QStringLiteral("3,00 Adc"));
    QCOMPARE(ctl<QLabel>(app->Form1.get(), "i4_endwert")->text(), QStringLiteral("Off"));
    QVERIFY(ctl<QComboBox>(app->Form1.get(), "comport")->isHidden());
    QVERIFY(app->state.language != Language::German);
    QCOMPARE(app->state.language, Language::English);
    compare(false);
    app->Form1->deutschClick();
    compare(true);
    // Twice in a row rewrites the same texts.
    app->Form1->englischClick();
    app->Form1->englischClick();
    compare(false);
    // A click on the flag itself.
    QTest::mouseClick(ctl<QLabel>(app->Form1.get(), "deutsch"), Qt::LeftButton);
    QCOMPARE(app->state.language, Language::German);
    compare(true);
}

void tst_Language::messagesFollowTheLanguage()
{
    app->Form1->Button1Click();   // the single-port dialog: every list empty
    Tparameter_rovo &dialog = *app->parameter_rovo;
    app->Form1->englischClick();
    dialog.Button2Click();        // refused: fields empty
    QTRY_COMPARE(ctl<QLabel>(&dialog, "status")->text(), QStringLiteral("All labels fill correctly, please"));
    app->Form1->deutschClick();
    // The status line keeps its text until the next message, which is German.
    QTRY_COMPARE(ctl<QLabel>(&dialog, "status")->text(), QStringLiteral("All labels fill correctly, please"));
    dialog.Button2Click();
    QTRY_COMPARE(ctl<QLabel>(&dialog, "status")->text(), QStringLiteral("Bitte alle Felder korrekt ausfüllen"));
}

void tst_Language::hiddenControlsStayHidden()
{
    app->state.variant = ModuleVariant::TwoChannel6A;
    app->Form1->Button1Click();
    Tparameter_rovo &dialog = *app->parameter_rovo;
    QVERIFY(ctl<QComboBox>(&dialog, "k3_sel")->isHidden());
    QVERIFY(ctl<QLabel>(&dialog, "f7")->isHidden());
    dialog.Button3Click();   // factory settings: selections to keep across the switch
    const int selected = ctl<QComboBox>(&dialog, "k1_sel")->currentIndex();
    app->Form1->englischClick();
    QVERIFY(ctl<QComboBox>(&dialog, "k3_sel")->isHidden());
    QVERIFY(ctl<QLabel>(&dialog, "f7")->isHidden());
    QVERIFY(ctl<QLabel>(&dialog, "Label13")->isHidden());
    QCOMPARE(ctl<QLabel>(&dialog, "f7")->text(), QStringLiteral("Channel 3 open circuit"));
    QCOMPARE(ctl<QComboBox>(&dialog, "k1_sel")->currentIndex(), selected);
    QVERIFY(dialog.isVisible());
    QVERIFY(!app->Form1->isEnabled());
}

void tst_Language::notSwitched()
{
    app->Form1->englischClick();
    QCOMPARE(ctl<QLabel>(app->Form1.get(), "Label16")->text(), QStringLiteral("Tarmeno Electronic Fuse"));
    QCOMPARE(app->Form2->windowTitle(), QStringLiteral("Auslösecharakteristik"));
    QCOMPARE(app->Info->windowTitle(), QStringLiteral("Info..."));
    QCOMPARE(ctl<QComboBox>(app->parameter_rovo.get(), "k1_sel")->itemText(0), QStringLiteral("OFF"));
    QCOMPARE(ctl<QLabel>(app->parameter_rovo.get(), "Image2")->toolTip(), QStringLiteral("Vergrößern"));
    QCOMPARE(ctl<QLabel>(app->parameter_rovo.get(), "error_k1")->text(), QStringLiteral("!"));
    QCOMPARE(ctl<QComboBox>(app->Form1.get(), "comport")->itemText(2), QStringLiteral("COM3"));
}

QTEST_MAIN(tst_Language)
#include "tst_language.moc"

void tst_Language::qtTextsFollowTheLanguage_data()
{
    QTest::addColumn<bool>("german");
    QTest::addColumn<QStringList>("texts");   // the open dialog's look-in label, file-name label, cancel button
    QTest::newRow("German") << true << QStringList{"Suchen in:", "Datei&name:", "Abbrechen"};
    QTest::newRow("English") << false << QStringList{"Look in:", "File &name:", "Cancel"};
}

// The file dialog Qt draws itself speaks the language selected, from Qt's own translations.
void tst_Language::qtTextsFollowTheLanguage()
{
    QFETCH(bool, german);
    QFETCH(QStringList, texts);
    if (german && qtGermanTranslator().isEmpty())
        QFAIL("Qt's German translations are not installed (qt6-translations-l10n)");
    // Switched away and back, so that the texts are seen to follow the switch.
    german ? app->Form1->englischClick() : app->Form1->deutschClick();
    german ? app->Form1->deutschClick() : app->Form1->englischClick();
    app->Form1->Button1Click();
    Tparameter_rovo &dialog = *app->parameter_rovo;
    QStringList seen;
    dialog.askFileName = [&](QFileDialog &d) {
        d.setOption(QFileDialog::DontUseNativeDialog);   // the dialog Qt draws, as on this platform
        d.show();
        seen << ctl<QLabel>(&d, "lookInLabel")->text() << ctl<QLabel>(&d, "fileNameLabel")->text();
        for (QPushButton *b : d.findChildren<QPushButton *>()) {
            if (b->text() == texts.last())
                seen << b->text();
        }
        d.reject();
        return QString();
    };
    dialog.oeffnenClick();
    QCOMPARE(seen, texts);
}
