// Two faults of the windows: a disabled main window (a configuration dialog is open) must
// ignore its flags, and closing the main window must end the program whatever else is open.
#include "config/sharedstate.h"
#include "app/form1.h"
#include "app/fuseapplication.h"
#include "grafik/form2.h"
#include "information/info.h"
#include "parameter/para.h"
#include "parameter2/parameter_rovo.h"

#include <QAccessible>
#include "windowcontrols.h"
#include <QtTest>
#include <QtWidgets>

Q_DECLARE_METATYPE(ModuleVariant)

class tst_WindowFaults : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void flagsIgnoredWhileDialogOpen_data();
    void flagsIgnoredWhileDialogOpen();
    void closingEndsProgram_data();
    void closingEndsProgram();

private:
    QLabel *flag(const char *name) { return app->Form1->findChild<QLabel *>(QString::fromLatin1(name)); }

    FuseApplication *app = nullptr;
};

void tst_WindowFaults::init()
{
    app = new FuseApplication;
    // No serial reading in these tests.
    ctl<QTimer>(app->Form1.get(), "Timer1")->stop();
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app->Form1.get()));
}

void tst_WindowFaults::cleanup()
{
    delete app;
    app = nullptr;
}

void tst_WindowFaults::flagsIgnoredWhileDialogOpen_data()
{
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<QString>("how");
    for (const auto &[variant, dialog] : {std::pair{ModuleVariant::FourChannel10A, "single-port dialog"},
                                          std::pair{ModuleVariant::FourChannelTwoPort, "two-port dialog"}}) {
        for (const char *how : {"click", "Space", "press action"})
            QTest::addRow("%s, %s", dialog, how) << variant << QString::fromLatin1(how);
    }
}

void tst_WindowFaults::flagsIgnoredWhileDialogOpen()
{
    QFETCH(ModuleVariant, variant);
    QFETCH(QString, how);
    auto activate = [&](QLabel *flag) {
        if (how == "click")
            QTest::mouseClick(flag, Qt::LeftButton);
        else if (how == "Space")
            QTest::keyClick(flag, Qt::Key_Space);
        else
            QAccessible::queryAccessibleInterface(flag)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
    };

    app->state.variant = variant;
    app->Form1->Button1Click();
    QVERIFY(!app->Form1->isEnabled());
    QMainWindow *dialog = variant == ModuleVariant::FourChannelTwoPort
                              ? static_cast<QMainWindow *>(app->para.get())
                              : static_cast<QMainWindow *>(app->parameter_rovo.get());
    QVERIFY(dialog->isVisible());

    activate(flag("englisch"));
    QCOMPARE(app->state.language, Language::German);
    QVERIFY(app->state.language != Language::English);
    QCOMPARE(app->Form1->windowTitle(), QStringLiteral("Visualisierung"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Konfiguration"));

    // Once the dialog is closed the flags work again.
    dialog->close();
    QVERIFY(app->Form1->isEnabled());
    activate(flag("englisch"));
    QCOMPARE(app->state.language, Language::English);
    QCOMPARE(app->Form1->windowTitle(), QStringLiteral("Visualization"));
}

void tst_WindowFaults::closingEndsProgram_data()
{
    QTest::addColumn<QString>("open");        // what the user does first
    QTest::addColumn<QString>("how");         // menu: "Schließen"; box: the window manager's close box
    QTest::addColumn<int>("othersShown");     // secondary windows then on screen
    QTest::addColumn<bool>("disabled");       // the main window, under a configuration dialog

    QTest::newRow("menu, nothing else open") << "" << "menu" << 0 << false;
    QTest::newRow("close box, nothing else open") << "" << "box" << 0 << false;
    QTest::newRow("menu, information dialog open") << "info" << "menu" << 1 << false;
    QTest::newRow("close box, information dialog open") << "info" << "box" << 1 << false;
    QTest::newRow("menu, trip characteristic open after its dialog closed")
        << "single,trip,closesingle" << "menu" << 1 << false;
    QTest::newRow("close box, single-port dialog open") << "single" << "box" << 1 << true;
    QTest::newRow("close box, two-port dialog open") << "two" << "box" << 1 << true;
    QTest::newRow("close box, single-port dialog and trip characteristic open") << "single,trip" << "box" << 2 << true;
    QTest::newRow("close box, information and two-port dialog open") << "info,two" << "box" << 2 << true;
}

void tst_WindowFaults::closingEndsProgram()
{
    QFETCH(QString, open);
    QFETCH(QString, how);
    QFETCH(int, othersShown);
    QFETCH(bool, disabled);

    for (const QString &step : open.split(',', Qt::SkipEmptyParts)) {
        if (step == "info") {
            app->Form1->findChild<QAction *>("info1")->trigger();
        } else if (step == "single" || step == "two") {
            app->state.variant = step == "two" ? ModuleVariant::FourChannelTwoPort : ModuleVariant::FourChannel10A;
            app->Form1->findChild<QPushButton *>("Button1")->click();
        } else if (step == "trip") {
            app->parameter_rovo->Image2Click();
        } else if (step == "closesingle") {
            app->parameter_rovo->close();
        }
    }
    int shown = 0;
    for (QWidget *w : std::initializer_list<QWidget *>{app->Info.get(), app->Form2.get(), app->para.get(),
                                                       app->parameter_rovo.get()})
        shown += w->isVisible();
    QCOMPARE(shown, othersShown);
    QCOMPARE(app->Form1->isEnabled(), !disabled);

    QTimer::singleShot(0, app->Form1.get(), [&] {
        if (how == "menu") {
            app->Form1->findChild<QAction *>("Beenden1")->trigger();
        } else {
            // What a window manager's close box does: a close request to the window itself,
            // which reaches it even while it is disabled.
            QCloseEvent close;
            QCoreApplication::sendEvent(app->Form1->windowHandle(), &close);
        }
    });
    // Should the program go on, the test ends the loop itself and fails.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(20000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!app->Form1->isVisible());
}

QTEST_MAIN(tst_WindowFaults)
#include "tst_windowfaults.moc"
