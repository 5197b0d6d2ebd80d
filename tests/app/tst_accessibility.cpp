// What a screen reader finds in the windows, read through Qt's accessibility interfaces:
// lamps named by caption and state, values by row and column, the flags as buttons, the
// "!" markers with their fields, in both languages and after a module swap.
#include "config/sharedstate.h"
#include "app/fuseapplication.h"
#include "app/form1.h"
#include "app/mainwindowaccessibility.h"
#include "hexbytes.h"
#include "link/serialline.h"
#include "parameter/para.h"
#include "parameter2/parameter_rovo.h"

#include <QAccessible>
#include "fakeline.h"
#include "windowcontrols.h"
#include <QtTest>
#include <QtWidgets>

namespace {

const char *const Example =
    "E4 17 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 00 00 00 FD E4 16";

// The example with every lamp on (status bytes FF 03) and its check byte fixed.
QByteArray allLampsOn()
{
    QByteArray t = hexBytes(Example);
    t[2] = char(0xFF);
    t[3] = char(0x03);
    char check = 0;
    for (int i = 2; i <= 27; ++i)
        check ^= t[i];
    t[28] = check;
    return t;
}

QByteArray twoChannel()
{
    QByteArray t = hexBytes(Example);
    t[1] = char(0x11);
    return t;
}

QAccessibleInterface *iface(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString nameOf(QObject *object)
{
    QAccessibleInterface *i = iface(object);
    return i ? i->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

const char *const LampOutlines[] = {"mb1_1", "mb1_2", "mb1_3", "mb1_4", "mb1_5",
                                    "mb1_6", "mb1_7", "mb1_8", "mb2",   "mb2_2"};
const char *const Values[] = {"i1",     "i2",     "i3",         "i4",         "i1_max",     "i2_max",     "i3_max",
                              "i4_max", "uin",    "uin_min",    "i1_endwert", "i2_endwert", "i3_endwert", "i4_endwert"};

// The configuration dialog of the family opened in the language, switched to the other
// language first so that the names are seen to follow the switch.
QMainWindow *openDialog(FuseApplication &app, bool twoPort, bool english)
{
    ctl<QTimer>(app.Form1.get(), "Timer1")->stop();
    QMainWindow *dialog = twoPort ? static_cast<QMainWindow *>(app.para.get())
                                  : static_cast<QMainWindow *>(app.parameter_rovo.get());
    app.state.variant = twoPort ? ModuleVariant::FourChannelTwoPort : ModuleVariant::FourChannel10A;
    english ? app.Form1->deutschClick() : app.Form1->englischClick();
    app.Form1->Button1Click();
    english ? app.Form1->englischClick() : app.Form1->deutschClick();
    return dialog;
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void lamps_data();
    void lamps();
    void values_data();
    void values();
    void picturesNotListed();
    void moduleSwapHidesRows_data();
    void moduleSwapHidesRows();
    void flags_data();
    void flags();
    void flagsInTheTabChain();
    void nothingDrawnDifferently();
    void interfaceMadeBeforeIsReplaced();
    void markers_data();
    void markers();
    void dialogFieldsNamedByCaptions_data();
    void dialogFieldsNamedByCaptions();
    void screenReadersHearOfChanges();

private:
    template <typename T = QLabel>
    T *child(const char *name)
    {
        T *w = form->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qFatal("no %s", name);
        return w;
    }
    void feed(const QByteArray &bytes)
    {
        for (char b : bytes)
            form->baue_string(quint8(b));
    }
    void setLanguage(bool english) { english ? form->englischClick() : form->deutschClick(); }
    // Names of the panel's children as a screen reader walks them.
    QStringList panelNames()
    {
        QAccessibleInterface *panel = iface(form->centralWidget());
        QStringList names;
        for (int i = 0; i < panel->childCount(); ++i)
            names << panel->child(i)->text(QAccessible::Name);
        return names;
    }
    QList<QObject *> panelObjects()
    {
        QAccessibleInterface *panel = iface(form->centralWidget());
        QList<QObject *> objects;
        for (int i = 0; i < panel->childCount(); ++i) {
            QAccessibleInterface *c = panel->child(i);
            objects << c->object();
            if (panel->indexOfChild(c) != i)
                qWarning("index of child %d is %d", i, panel->indexOfChild(c));
        }
        return objects;
    }

    SharedState state;
    FakeLine line;
    TForm1 *form = nullptr;
};

void tst_Accessibility::init()
{
    state = SharedState{};
    form = new TForm1(state, line);
    for (const char *timer : {"Timer1", "Timer2", "Timer3"})
        ctl<QTimer>(form, timer)->stop();
    form->deutschClick();
}

void tst_Accessibility::cleanup()
{
    delete form;
    form = nullptr;
}

void tst_Accessibility::lamps_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QByteArray>("telegram");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("German, nothing received")
        << false << QByteArray()
        << QStringList{"Überstrom Kanal 1: aus", "Kanal 1 ausgelöst: aus", "Überstrom Kanal 2: aus",
                       "Kanal 2 ausgelöst: aus", "Überstrom Kanal 3: aus", "Kanal 3 ausgelöst: aus",
                       "Überstrom Kanal 4: aus", "Kanal 4 ausgelöst: aus", "Uin < Power Good: aus",
                       "Gerätefehler: aus"};
    QTest::newRow("German, example telegram")
        << false << hexBytes(Example)
        << QStringList{"Überstrom Kanal 1: an", "Kanal 1 ausgelöst: aus", "Überstrom Kanal 2: an",
                       "Kanal 2 ausgelöst: aus", "Überstrom Kanal 3: aus", "Kanal 3 ausgelöst: aus",
                       "Überstrom Kanal 4: aus", "Kanal 4 ausgelöst: aus", "Uin < Power Good: aus",
                       "Gerätefehler: aus"};
    QTest::newRow("English, example telegram")
        << true << hexBytes(Example)
        << QStringList{"Overcurrent channel 1: on", "Channel 1 open circuit: off", "Overcurrent channel 2: on",
                       "Channel 2 open circuit: off", "Overcurrent channel 3: off", "Channel 3 open circuit: off",
                       "Overcurrent channel 4: off", "Channel 4 open circuit: off", "Uin < power good: off",
                       "Hardware fault: off"};
    QTest::newRow("English, every lamp on")
        << true << allLampsOn()
        << QStringList{"Overcurrent channel 1: on", "Channel 1 open circuit: on", "Overcurrent channel 2: on",
                       "Channel 2 open circuit: on", "Overcurrent channel 3: on", "Channel 3 open circuit: on",
                       "Overcurrent channel 4: on", "Channel 4 open circuit: on", "Uin < power good: on",
                       "Hardware fault: on"};
}

void tst_Accessibility::lamps()
{
    QFETCH(bool, english);
    QFETCH(QByteArray, telegram);
    QFETCH(QStringList, names);

    feed(telegram);
    setLanguage(english);
    QStringList read;
    for (const char *outline : LampOutlines) {
        QAccessibleInterface *lamp = iface(child(outline));
        QCOMPARE(lamp->role(), QAccessible::Graphic);
        QCOMPARE(lamp->childCount(), 0);
        read << lamp->text(QAccessible::Name);
    }
    QCOMPARE(read, names);
    // Each once among the panel's children, as a screen reader walks them.
    const QStringList walked = panelNames();
    for (const QString &name : names)
        QVERIFY2(walked.count(name) == 1, qPrintable(name));

    // The watchdog blanks a silent line: every lamp off, in the language shown.
    form->Timer2Timer();
    form->Timer2Timer();
    for (const char *outline : LampOutlines)
        QVERIFY2(nameOf(child(outline)).endsWith(english ? ": off" : ": aus"), outline);
}

void tst_Accessibility::values_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QByteArray>("telegram");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("German, example telegram")
        << false << hexBytes(Example)
        << QStringList{"Kanal 1, aktueller Strom: 3,00 Adc", "Kanal 2, aktueller Strom: 1,50 Adc",
                       "Kanal 3, aktueller Strom: 12,3 Adc", "Kanal 4, aktueller Strom: 0,00 Adc",
                       "Kanal 1, maximaler Strom: 10,0 Adc", "Kanal 2, maximaler Strom: 0,07 Adc",
                       "Kanal 3, maximaler Strom: 12,3 Adc", "Kanal 4, maximaler Strom: 0,50 Adc",
                       "aktuelle Eingangsspannung: 24,0 Vdc", "minimale Eingangsspannung: 23,9 Vdc",
                       "Kanal 1, I Nenn: 6 Adc", "Kanal 2, I Nenn: 10 Adc",
                       "Kanal 3, I Nenn: Off", "Kanal 4, I Nenn: Off"};
    QTest::newRow("English, example telegram")
        << true << hexBytes(Example)
        << QStringList{"Channel 1, output current: 3,00 Adc", "Channel 2, output current: 1,50 Adc",
                       "Channel 3, output current: 12,3 Adc", "Channel 4, output current: 0,00 Adc",
                       "Channel 1, maximum output current: 10,0 Adc", "Channel 2, maximum output current: 0,07 Adc",
                       "Channel 3, maximum output current: 12,3 Adc", "Channel 4, maximum output current: 0,50 Adc",
                       "Input voltage: 24,0 Vdc", "Minimum input voltage: 23,9 Vdc",
                       "Channel 1, I Rated: 6 Adc", "Channel 2, I Rated: 10 Adc",
                       "Channel 3, I Rated: Off", "Channel 4, I Rated: Off"};
    QTest::newRow("German, blank display")
        << false << QByteArray()
        << QStringList{"Kanal 1, aktueller Strom:", "Kanal 2, aktueller Strom:",
                       "Kanal 3, aktueller Strom:", "Kanal 4, aktueller Strom:",
                       "Kanal 1, maximaler Strom:", "Kanal 2, maximaler Strom:",
                       "Kanal 3, maximaler Strom:", "Kanal 4, maximaler Strom:",
                       "aktuelle Eingangsspannung:", "minimale Eingangsspannung:",
                       "Kanal 1, I Nenn:", "Kanal 2, I Nenn:", "Kanal 3, I Nenn:", "Kanal 4, I Nenn:"};
    QTest::newRow("English, blank display")
        << true << QByteArray()
        << QStringList{"Channel 1, output current:", "Channel 2, output current:",
                       "Channel 3, output current:", "Channel 4, output current:",
                       "Channel 1, maximum output current:", "Channel 2, maximum output current:",
                       "Channel 3, maximum output current:", "Channel 4, maximum output current:",
                       "Input voltage:", "Minimum input voltage:",
                       "Channel 1, I Rated:", "Channel 2, I Rated:", "Channel 3, I Rated:", "Channel 4, I Rated:"};
}

void tst_Accessibility::values()
{
    QFETCH(bool, english);
    QFETCH(QByteArray, telegram);
    QFETCH(QStringList, names);

    // The language is switched while values are shown, and back and forth once more.
    feed(telegram);
    setLanguage(!english);
    setLanguage(english);
    QStringList read;
    for (const char *value : Values) {
        QCOMPARE(iface(child(value))->role(), QAccessible::StaticText);
        read << nameOf(child(value));
    }
    QCOMPARE(read, names);
    const QStringList walked = panelNames();
    for (const QString &name : names)
        QVERIFY2(walked.count(name) == 1, qPrintable(name));

    if (!telegram.isEmpty()) {
        // A silent line blanks the values: nothing after the colon.
        form->Timer2Timer();
        form->Timer2Timer();
        QCOMPARE(nameOf(child("i1")), english ? QStringLiteral("Channel 1, output current:")
                                              : QStringLiteral("Kanal 1, aktueller Strom:"));
    }
}

void tst_Accessibility::picturesNotListed()
{
    feed(hexBytes(Example));
    const QList<QObject *> listed = panelObjects();
    QStringList names;
    for (QObject *o : listed)
        names << o->objectName();
    // The on and off pictures of every lamp are left out; the outline stands for the lamp.
    for (const char *outline : LampOutlines)
        QVERIFY2(names.contains(QString::fromLatin1(outline)), outline);
    for (const QString &name : names)
        QVERIFY2(!QRegularExpression("^mb.*_(w|g|r)$").match(name).hasMatch(), qPrintable(name));
    // Lamps stay one element each: 10 lamps named with a state word.
    int lamps = 0;
    for (const QString &n : panelNames())
        lamps += n.endsWith(": an") || n.endsWith(": aus");
    QCOMPARE(lamps, 10);
    // Children and their indices agree, both ways.
    QAccessibleInterface *panel = iface(form->centralWidget());
    for (int i = 0; i < panel->childCount(); ++i)
        QCOMPARE(panel->indexOfChild(panel->child(i)), i);
    QCOMPARE(panel->indexOfChild(iface(child("mb1_1_g"))), -1);
    // Looking for what lies at a lamp's place finds the lamp, not a picture behind it.
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    const QPoint centre = child("mb1_1")->mapToGlobal(QPoint(8, 8));
    QAccessibleInterface *hit = panel->childAt(centre.x(), centre.y());
    QVERIFY(hit);
    QCOMPARE(hit->object(), child("mb1_1"));
}

void tst_Accessibility::moduleSwapHidesRows_data()
{
    QTest::addColumn<bool>("english");
    QTest::newRow("German") << false;
    QTest::newRow("English") << true;
}

void tst_Accessibility::moduleSwapHidesRows()
{
    QFETCH(bool, english);
    const QList<const char *> rows34 = {"mb1_5", "mb1_6", "mb1_7", "mb1_8", "i3", "i4",
                                        "i3_max", "i4_max", "i3_endwert", "i4_endwert"};
    feed(hexBytes(Example));
    for (const char *name : rows34)
        QVERIFY2(panelObjects().contains(child(name)), name);

    // A two-channel module: the rows of channels 3 and 4 are not exposed, also not after
    // a language switch or a silent period that shows their white pictures again.
    feed(twoChannel());
    setLanguage(english);
    form->Timer2Timer();
    form->Timer2Timer();
    const QList<QObject *> listed = panelObjects();
    for (const char *name : rows34)
        QVERIFY2(!listed.contains(child(name)), name);
    const QStringList walked = panelNames();
    for (const QString &name : walked) {
        QVERIFY2(!name.contains(english ? "channel 3" : "Kanal 3", Qt::CaseInsensitive), qPrintable(name));
        QVERIFY2(!name.contains(english ? "channel 4" : "Kanal 4", Qt::CaseInsensitive), qPrintable(name));
    }
    feed(twoChannel());
    QCOMPARE(nameOf(child("mb1_1")), english ? QStringLiteral("Overcurrent channel 1: on")
                                             : QStringLiteral("Überstrom Kanal 1: an"));
    QCOMPARE(nameOf(child("i2")), english ? QStringLiteral("Channel 2, output current: 1,50 Adc")
                                          : QStringLiteral("Kanal 2, aktueller Strom: 1,50 Adc"));
    QVERIFY(walked.contains(english ? QStringLiteral("Uin < power good: off") : QStringLiteral("Uin < Power Good: aus")));

    // A four-channel module again: its rows come back, named.
    feed(hexBytes(Example));
    const QList<QObject *> back = panelObjects();
    for (const char *name : rows34)
        QVERIFY2(back.contains(child(name)), name);
    QCOMPARE(nameOf(child("i3")), english ? QStringLiteral("Channel 3, output current: 12,3 Adc")
                                          : QStringLiteral("Kanal 3, aktueller Strom: 12,3 Adc"));
    QCOMPARE(nameOf(child("mb1_7")), english ? QStringLiteral("Overcurrent channel 4: off")
                                             : QStringLiteral("Überstrom Kanal 4: aus"));
}

void tst_Accessibility::flags_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("mouse click") << "click";
    QTest::newRow("Space") << "space";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("Return") << "return";
    QTest::newRow("press action") << "press";
}

void tst_Accessibility::flags()
{
    QFETCH(QString, how);
    QLabel *deutsch = child("deutsch");
    QLabel *englisch = child("englisch");
    QCOMPARE(nameOf(deutsch), QStringLiteral("Deutsch"));
    QCOMPARE(nameOf(englisch), QStringLiteral("English"));
    QCOMPARE(iface(deutsch)->role(), QAccessible::Button);
    QVERIFY(iface(englisch)->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));

    auto activate = [&](QLabel *flag) {
        if (how == "click")
            QTest::mouseClick(flag, Qt::LeftButton);
        else if (how == "space")
            QTest::keyClick(flag, Qt::Key_Space);
        else if (how == "enter")
            QTest::keyClick(flag, Qt::Key_Enter);
        else if (how == "return")
            QTest::keyClick(flag, Qt::Key_Return);
        else
            iface(flag)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    activate(englisch);
    QCOMPARE(state.language, Language::English);
    QCOMPARE(form->windowTitle(), QStringLiteral("Visualization"));
    // The names stay in their own language.
    QCOMPARE(nameOf(deutsch), QStringLiteral("Deutsch"));
    QCOMPARE(nameOf(englisch), QStringLiteral("English"));
    activate(deutsch);
    QCOMPARE(state.language, Language::German);
    QCOMPARE(form->windowTitle(), QStringLiteral("Visualisierung"));
    // Other keys do nothing.
    QTest::keyClick(englisch, Qt::Key_A);
    QTest::keyClick(englisch, Qt::Key_Tab);
    QCOMPARE(state.language, Language::German);
}

void tst_Accessibility::flagsInTheTabChain()
{
    form->show();
    QApplication::setActiveWindow(form);
    QVERIFY(QTest::qWaitForWindowActive(form));
    QPushButton *button = child<QPushButton>("Button1");
    button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), child("deutsch"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), child("englisch"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(state.language, Language::English);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), child("deutsch"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(state.language, Language::German);
    QCOMPARE(iface(child("deutsch"))->state().focused, true);

    // When the port list gives way to the activity indicator, focus goes on to the
    // configuration button as it did before the flags took focus.
    child<QComboBox>("comport")->setFocus();
    feed(hexBytes(Example));
    QCOMPARE(QApplication::focusWidget(), button);
}

void tst_Accessibility::nothingDrawnDifferently()
{
    form->show();
    QApplication::setActiveWindow(form);
    QVERIFY(QTest::qWaitForWindowActive(form));
    feed(hexBytes(Example));
    child<QPushButton>("Button1")->setFocus();
    const QImage before = form->grab().toImage();
    // A flag with keyboard focus looks as it did, and walking the tree changes nothing.
    child("deutsch")->setFocus(Qt::TabFocusReason);
    panelNames();
    child("englisch")->setFocus(Qt::TabFocusReason);
    child<QPushButton>("Button1")->setFocus();
    QCOMPARE(form->grab().toImage(), before);
    // With a flag focused the window looks as with nothing focused at all.
    child("englisch")->setFocus(Qt::TabFocusReason);
    const QImage flagFocused = form->grab().toImage();
    child<QPushButton>("Button1")->clearFocus();
    form->setFocus();
    QCOMPARE(flagFocused, form->grab().toImage());
}

void tst_Accessibility::interfaceMadeBeforeIsReplaced()
{
    // A screen reader that listens from the start makes Qt create and keep interfaces while
    // the window is being set up: the main window's own ones must still win.
    QWidget panel;
    auto *outline = new QLabel(&panel);
    auto *off = new QLabel(&panel);
    auto *on = new QLabel(&panel);
    auto *caption = new QLabel(QStringLiteral("Gerätefehler"), &panel);
    auto *flag = new QLabel(&panel);
    on->hide();
    QAccessibleInterface *before = iface(outline);
    QVERIFY(before);
    QCOMPARE(iface(&panel)->childCount(), 5);
    new MainWindowAccessibility(&panel, {{outline, off, on, caption}}, {}, {{flag, QStringLiteral("Deutsch"), [] {}}});
    QCOMPARE(nameOf(outline), QStringLiteral("Gerätefehler: aus"));
    QCOMPARE(nameOf(flag), QStringLiteral("Deutsch"));
    QCOMPARE(iface(&panel)->childCount(), 3);   // outline, caption, flag
    on->show();
    QCOMPARE(nameOf(outline), QStringLiteral("Gerätefehler: an"));
}

void tst_Accessibility::markers_data()
{
    QTest::addColumn<bool>("twoPort");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QStringList>("fields");   // objectName=accessible name of the field
    QTest::addColumn<QStringList>("markers");

    QTest::newRow("single-port, German")
        << false << false
        << QStringList{"k1_sel=Kanal 1, konfigurierter Strom [A]", "k3_sel=Kanal 3, konfigurierter Strom [A]",
                       "pgood_sel_=Power Good Schwellwert [V]", "abschaltzeit=Auslösezeit [s]"}
        << QStringList{"error_k1", "error_k3", "error_pg", "ab_error"};
    QTest::newRow("single-port, English")
        << false << true
        << QStringList{"k1_sel=Channel 1, configured current [A]", "k4_sel=Channel 4, configured current [A]",
                       "pgood_sel_=Power good threshold [V]", "abschaltzeit=Fuse delay [s]"}
        << QStringList{"error_k1", "error_k4", "error_pg", "ab_error"};
    QTest::newRow("two-port, German")
        << true << false
        << QStringList{"k2_sel=Kanal 2, konfigurierter Strom [A]", "pgood_sel_=Power Good Schwellwert [V]"}
        << QStringList{"error_k2", "error_pg"};
    QTest::newRow("two-port, English")
        << true << true
        << QStringList{"k1_sel=Channel 1, configured current [A]", "k3_sel=Channel 3, configured current [A]",
                       "pgood_sel_=Power good threshold [V]"}
        << QStringList{"error_k1", "error_k3", "error_pg"};
}

void tst_Accessibility::markers()
{
    QFETCH(bool, twoPort);
    QFETCH(bool, english);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, markers);

    delete form;
    form = nullptr;
    FuseApplication app;
    QMainWindow *dialog = openDialog(app, twoPort, english);

    // Every list empty: a write is refused and shows every marker.
    for (QComboBox *list : dialog->findChildren<QComboBox *>())
        list->setCurrentIndex(-1);
    dialog->findChild<QPushButton *>("Button2")->click();
    for (int i = 0; i < fields.size(); ++i) {
        const QString fieldName = fields[i].section('=', 0, 0);
        const QString name = fields[i].section('=', 1);
        QWidget *field = dialog->findChild<QWidget *>(fieldName);
        QLabel *marker = dialog->findChild<QLabel *>(markers[i]);
        QVERIFY2(field && marker, qPrintable(fieldName));
        QVERIFY2(!marker->isHidden(), qPrintable(markers[i]));
        QCOMPARE(iface(field)->text(QAccessible::Name), name);
        QCOMPARE(iface(field)->text(QAccessible::Description), QStringLiteral("!"));
        QCOMPARE(iface(marker)->text(QAccessible::Name), name + QStringLiteral(": !"));
    }
    // The language switch while the markers are shown renames them.
    english ? app.Form1->deutschClick() : app.Form1->englischClick();
    const QString other = iface(dialog->findChild<QLabel *>(markers[0]))->text(QAccessible::Name);
    QVERIFY2(other.startsWith(english ? "Kanal" : "Channel"), qPrintable(other));
    QVERIFY(other.endsWith(": !"));

    // Factory settings hide the markers: the fields no longer carry them.
    dialog->findChild<QPushButton *>("Button3")->click();
    for (int i = 0; i < fields.size(); ++i) {
        QLabel *marker = dialog->findChild<QLabel *>(markers[i]);
        QVERIFY(marker->isHidden());
        QVERIFY(iface(marker)->state().invisible);
        QCOMPARE(iface(dialog->findChild<QWidget *>(fields[i].section('=', 0, 0)))->text(QAccessible::Description),
                 QString());
    }
}

void tst_Accessibility::dialogFieldsNamedByCaptions_data()
{
    QTest::addColumn<bool>("twoPort");
    QTest::addColumn<bool>("english");
    // objectName=accessible name, a sample of each kind, and the version's hot spot (no text)
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("single-port, German") << false << false
        << QStringList{"port1_byte1_01=Überstrom Kanal 1, Port 1", "port1_byte1_02=Kanal 1 ausgelöst, Port 1",
                       "port1_byte1_80=Kanal 4 ausgelöst, Port 1", "port1_byte2_40=Ausgang invertieren, Port 1",
                       "loeschen=Freigeben ausgelöster Kanäle", "programmieren=Programmierung erlauben",
                       "abschaltzeit=Auslösezeit [s]", "Label3=Softwareversion anzeigen"};
    QTest::newRow("single-port, English") << false << true
        << QStringList{"port1_byte1_01=Overcurrent channel 1, Port 1", "loeschen=Release channel, if open circuit",
                       "programmieren=Programming allowed", "k2_sel=Channel 2, configured current [A]",
                       "Label3=Show software version"};
    QTest::newRow("two-port, German") << true << false
        << QStringList{"port2_byte1_01=Überstrom Kanal 1, Port 2", "port1_byte1_40=Überstrom Kanal 4, Port 1",
                       "port2_byte2_80=Ausgang invertieren, Port 2", "k1_time=Kanal 1, Auslösezeit [s]",
                       "k4_time=Kanal 4, Auslösezeit [s]", "loeschen=Freigeben ausgelöster Kanäle",
                       "Label5=Softwareversion anzeigen"};
    QTest::newRow("two-port, English") << true << true
        << QStringList{"port2_byte2_01=Uin < power good, Port 2", "k3_time=Channel 3, Fuse delay [s]",
                       "programmieren=Programming allowed", "Label5=Show software version"};
}

// Every list and check box of a dialog is told apart by its name: never empty, never just
// the list's value, never the name of another field.
void tst_Accessibility::dialogFieldsNamedByCaptions()
{
    QFETCH(bool, twoPort);
    QFETCH(bool, english);
    QFETCH(QStringList, fields);

    delete form;
    form = nullptr;
    FuseApplication app;
    QMainWindow *dialog = openDialog(app, twoPort, english);
    dialog->findChild<QPushButton *>("Button3")->click();   // factory settings: every list has a value

    QStringList names;
    QList<QWidget *> widgets;
    for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
        widgets << box;
    for (QComboBox *list : dialog->findChildren<QComboBox *>())
        widgets << list;
    QVERIFY(widgets.size() >= (twoPort ? 31 : 19));
    for (QWidget *w : widgets) {
        const QString name = iface(w)->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
        if (auto *list = qobject_cast<QComboBox *>(w)) {
            QVERIFY2(name != list->currentText(), qPrintable(w->objectName() + ": " + name));
            // The value stays the list's value: a screen reader reads both.
            QCOMPARE(iface(w)->text(QAccessible::Value), list->currentText());
        }
        QVERIFY2(!names.contains(name), qPrintable(w->objectName() + ": " + name + " twice"));
        names << name;
    }
    for (const QString &f : fields) {
        QWidget *w = dialog->findChild<QWidget *>(f.section('=', 0, 0));
        QVERIFY2(w, qPrintable(f));
        QCOMPARE(iface(w)->text(QAccessible::Name), f.section('=', 1));
    }
    // Nothing visible: the check boxes still carry no text.
    for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
        QCOMPARE(box->text(), QString());
}

namespace {
QStringList heard;
void hear(QAccessibleEvent *event)
{
    const char *type = event->type() == QAccessible::NameChanged       ? "name"
                       : event->type() == QAccessible::ObjectCreated   ? "listed"
                       : event->type() == QAccessible::ObjectDestroyed ? "unlisted"
                                                                       : nullptr;
    if (type && event->object())
        heard << QStringLiteral("%1 %2").arg(QLatin1String(type), event->object()->objectName());
}
} // namespace

// A screen reader keeps what it has read until it hears of a change: a lamp switching,
// a value blanked, a language switch and rows hidden by a module swap all tell it.
void tst_Accessibility::screenReadersHearOfChanges()
{
    QAccessible::installUpdateHandler(hear);
    QAccessible::setActive(true);
    if (!QAccessible::isActive()) {
        QAccessible::installUpdateHandler(nullptr);
        QSKIP("this platform takes no accessibility events");
    }
    heard.clear();
    feed(hexBytes(Example));
    QVERIFY2(heard.contains("name mb1_1"), qPrintable(heard.join(", ")));
    QVERIFY(heard.contains("name i1"));
    QVERIFY(!heard.contains("name mb1_2"));   // stays off
    heard.clear();
    form->Timer2Timer();
    form->Timer2Timer();
    QVERIFY2(heard.contains("name mb1_1"), qPrintable(heard.join(", ")));
    QVERIFY(heard.contains("name i1"));   // blanked
    heard.clear();
    form->englischClick();
    QVERIFY(heard.contains("name mb2_2"));
    QVERIFY(heard.contains("name uin_min"));
    heard.clear();
    feed(twoChannel());
    for (const char *gone : {"mb1_5", "mb1_8", "Labelmb1_6", "k3", "k1_4", "i3", "i4_endwert"})
        QVERIFY2(heard.contains(QStringLiteral("unlisted ") + gone), gone);
    heard.clear();
    feed(hexBytes(Example));
    for (const char *back : {"mb1_5", "mb1_8", "k3", "i3", "i4_endwert"})
        QVERIFY2(heard.contains(QStringLiteral("listed ") + back), back);
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::setActive(false);
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
