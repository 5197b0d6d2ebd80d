// The main window's configuration button and the hand-back when the dialog closes,
// with scripted lines on both sides.
#include "config/sharedstate.h"
#include "app/form1.h"
#include "app/fuseapplication.h"
#include "fakeline.h"
#include "hexbytes.h"
#include "parameter/para.h"
#include "parameter2/parameter_rovo.h"
#include "parameter2/singleportmodule.h"

#include "linkwait.h"
#include "windowcontrols.h"
#include <QtTest>

Q_DECLARE_METATYPE(ModuleVariant)

namespace {

// What the main window did to its line, apart from reading it.
QStringList portCalls(const FakeLine &line)
{
    QStringList calls = line.calls;
    calls.removeIf([](const QString &call) { return call.startsWith(QLatin1String("read")); });
    return calls;
}

QStringList upTo(int last)
{
    QStringList texts{QStringLiteral("OFF")};
    for (int i = 1; i <= last; ++i)
        texts << QString::number(i);
    return texts;
}

} // namespace

class tst_ConfigHandOver : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void button_data();
    void button();
    void reopeningRebuildsAndClears_data();
    void reopeningRebuildsAndClears();
    void twoPortVariantLeavesSinglePortDialogAlone();
    void closeHandsThePortBack_data();
    void closeHandsThePortBack();
    void languageFlagsChooseMessages();
    void applicationCreatesAndWiresTheDialog();
    void clickDuringAnAttemptWaitsForIt();
    void closeDuringAnAttemptDropsIt();
    void buttonWhileATelegramArrives();
    void buttonWithNothingArrivingHandsOverAtOnce();

private:
    QList<QWidget *> channels34() const
    {
        return {ctl<QComboBox>(dlg, "k3_sel"), ctl<QComboBox>(dlg, "k4_sel"), ctl<QLabel>(dlg, "Label13"), ctl<QLabel>(dlg, "Label14"), ctl<QLabel>(dlg, "f3"), ctl<QLabel>(dlg, "f4"), ctl<QLabel>(dlg, "f7"),
                ctl<QLabel>(dlg, "f8"), ctl<QCheckBox>(dlg, "port1_byte1_10"), ctl<QCheckBox>(dlg, "port1_byte1_20"), ctl<QCheckBox>(dlg, "port1_byte1_40"), ctl<QCheckBox>(dlg, "port1_byte1_80")};
    }
    // Waits until the main window's first tick has opened its port.
    void monitoring()
    {
        form->show();
        QTRY_VERIFY(mainLine->calls.contains(QStringLiteral("open \\\\.\\COM1")));
        mainLine->calls.clear();
    }

    SharedState state;
    FakeLine *mainLine = nullptr;
    FakeLine *dialogLine = nullptr;
    TForm1 *form = nullptr;
    Tparameter_rovo *dlg = nullptr;
};

void tst_ConfigHandOver::init()
{
    state = SharedState{};
    mainLine = new FakeLine;
    dialogLine = new FakeLine;
    form = new TForm1(state, *mainLine);
    dlg = new Tparameter_rovo(state, *dialogLine);
    form->setConfigurationDialogs(nullptr, dlg);
    form->deutschClick();
}

void tst_ConfigHandOver::cleanup()
{
    delete dlg;
    delete form;
    delete dialogLine;
    delete mainLine;
}

void tst_ConfigHandOver::button_data()
{
    QTest::addColumn<ModuleVariant>("variant");
    QTest::addColumn<int>("last12");
    QTest::addColumn<int>("last34");
    QTest::addColumn<bool>("hidden");

    QTest::newRow("FourChannel10A") << ModuleVariant::FourChannel10A << 10 << 10 << false;
    QTest::newRow("FourChannel6A") << ModuleVariant::FourChannel6A << 6 << 6 << false;
    QTest::newRow("TwoChannel10A") << ModuleVariant::TwoChannel10A << 10 << 6 << true;
    QTest::newRow("TwoChannel6A") << ModuleVariant::TwoChannel6A << 6 << 6 << true;
}

void tst_ConfigHandOver::button()
{
    QFETCH(ModuleVariant, variant);
    QFETCH(int, last12);
    QFETCH(int, last34);
    QFETCH(bool, hidden);

    monitoring();
    state.variant = variant;
    QTest::mouseClick(ctl<QPushButton>(form, "Button1"), Qt::LeftButton);

    QVERIFY(dlg->isVisible());
    QVERIFY(dlg->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!dlg->isModal());
    QCOMPARE(items(ctl<QComboBox>(dlg, "k1_sel")), upTo(last12));
    QCOMPARE(items(ctl<QComboBox>(dlg, "k2_sel")), upTo(last12));
    QCOMPARE(items(ctl<QComboBox>(dlg, "k3_sel")), upTo(last34));
    QCOMPARE(items(ctl<QComboBox>(dlg, "k4_sel")), upTo(last34));
    for (const QComboBox *list : {ctl<QComboBox>(dlg, "k1_sel"), ctl<QComboBox>(dlg, "k2_sel"), ctl<QComboBox>(dlg, "k3_sel"), ctl<QComboBox>(dlg, "k4_sel")})
        QCOMPARE(list->currentIndex(), -1);
    for (QWidget *w : channels34())
        QVERIFY2(w->isHidden() == hidden, qPrintable(w->objectName()));

    // The main window has given up its port and takes no input.
    QVERIFY(!ctl<QTimer>(form, "Timer1")->isActive());
    QCOMPARE(portCalls(*mainLine), QStringList{"close"});
    QVERIFY(!form->isEnabled());
    QTest::qWait(150);
    QCOMPARE(portCalls(*mainLine), QStringList{"close"});   // no tick reopens it

    // The dialog's transactions use the main window's device.
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QCOMPARE(dialogLine->calls.value(0), QStringLiteral("open \\\\.\\COM1"));
}

void tst_ConfigHandOver::reopeningRebuildsAndClears_data()
{
    QTest::addColumn<ModuleVariant>("first");
    QTest::addColumn<ModuleVariant>("second");
    QTest::addColumn<int>("last34");

    QTest::newRow("two channels, then four: shown again") << ModuleVariant::TwoChannel10A << ModuleVariant::FourChannel10A << 10;
    QTest::newRow("four channels, then two: hidden") << ModuleVariant::FourChannel6A << ModuleVariant::TwoChannel6A << 6;
    QTest::newRow("same variant twice") << ModuleVariant::FourChannel10A << ModuleVariant::FourChannel10A << 10;
}

void tst_ConfigHandOver::reopeningRebuildsAndClears()
{
    QFETCH(ModuleVariant, first);
    QFETCH(ModuleVariant, second);
    QFETCH(int, last34);

    monitoring();
    state.variant = first;
    form->Button1Click();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    QVERIFY(ctl<QComboBox>(dlg, "k1_sel")->currentIndex() > 0);
    dlg->close();

    state.variant = second;
    form->Button1Click();
    QCOMPARE(items(ctl<QComboBox>(dlg, "k3_sel")), upTo(last34));
    for (const QComboBox *list : {ctl<QComboBox>(dlg, "k1_sel"), ctl<QComboBox>(dlg, "k2_sel"), ctl<QComboBox>(dlg, "k3_sel"), ctl<QComboBox>(dlg, "k4_sel")})
        QCOMPARE(list->currentIndex(), -1);
    for (QWidget *w : channels34())
        QVERIFY2(w->isHidden() == !isFourChannel(second), qPrintable(w->objectName()));
}

void tst_ConfigHandOver::twoPortVariantLeavesSinglePortDialogAlone()
{
    monitoring();
    state.variant = ModuleVariant::FourChannel6A;
    form->Button1Click();
    dlg->close();
    mainLine->calls.clear();

    // No two-port dialog in this build: the button leaves everything as it is.
    state.variant = ModuleVariant::FourChannelTwoPort;
    QTest::mouseClick(ctl<QPushButton>(form, "Button1"), Qt::LeftButton);
    QVERIFY(!dlg->isVisible());
    QCOMPARE(items(ctl<QComboBox>(dlg, "k1_sel")), upTo(6));
    QVERIFY(form->isEnabled());
    QVERIFY(ctl<QTimer>(form, "Timer1")->isActive());
    QVERIFY(!portCalls(*mainLine).contains(QStringLiteral("close")));
}

void tst_ConfigHandOver::closeHandsThePortBack_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("close button") << false;
    QTest::newRow("menu Schließen") << true;
}

void tst_ConfigHandOver::closeHandsThePortBack()
{
    QFETCH(bool, byMenu);
    monitoring();
    form->Button1Click();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);   // refused, nothing selected
    settle(dlg->machinery().protocol());
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);   // no answer: retrying
    settle(dlg->machinery().protocol());
    QVERIFY(dlg->machinery().protocol().retryActive());
    mainLine->calls.clear();

    if (byMenu)
        ctl<QAction>(dlg, "schliessen")->trigger();
    else
        dlg->close();
    QVERIFY(!dlg->isVisible());
    QVERIFY(form->isEnabled());
    QVERIFY(ctl<QTimer>(form, "Timer1")->isActive());
    QCOMPARE(ctl<QTimer>(form, "Timer1")->interval(), 50);
    QCOMPARE(portCalls(*mainLine).value(0), QStringLiteral("open \\\\.\\COM1"));
    QVERIFY(!dlg->machinery().protocol().retryActive());
    QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
    // No attempt of the dialog touches the port afterwards.
    const int calls = dialogLine->calls.size();
    QTest::qWait(600);
    QCOMPARE(dialogLine->calls.size(), calls);
}

void tst_ConfigHandOver::languageFlagsChooseMessages()
{
    monitoring();
    form->Button1Click();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Bitte alle Felder korrekt ausfüllen"));
    dlg->close();

    form->englischClick();
    QCOMPARE(state.language, Language::English);
    form->Button1Click();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("All labels fill correctly, please"));
    dialogLine->replies << hexBytes("E4 17 AA AA D6 AA C0 0F 9F 31 2E 30 35 00 00 00 00 00 00 00 00 00 00 00 00 00 36");
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Transmission successful!"));
    dlg->close();

    form->deutschClick();
    form->Button1Click();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);
    settle(dlg->machinery().protocol());
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Bitte alle Felder korrekt ausfüllen"));
}

void tst_ConfigHandOver::applicationCreatesAndWiresTheDialog()
{
    FuseApplication app;
    QVERIFY(app.parameter_rovo);
    QCOMPARE(app.Form1->parameter_rovo, app.parameter_rovo.get());
    QCOMPARE(app.Form1->para, app.para.get());
    QVERIFY(!app.parameter_rovo->isVisible());
    QCOMPARE(app.state.language, Language::German);
    QCOMPARE(app.parameter_rovo->windowTitle(), QStringLiteral("Konfiguration"));

    app.show();
    app.Form1->Button1Click();
    QVERIFY(app.parameter_rovo->isVisible());
    QVERIFY(!app.Form1->isEnabled());
    app.parameter_rovo->close();
    QVERIFY(app.Form1->isEnabled());
    QVERIFY(ctl<QTimer>(app.Form1.get(), "Timer1")->isActive());

    // A two-port module gets the two-port dialog; its close hands the port back too.
    app.state.variant = ModuleVariant::FourChannelTwoPort;
    app.Form1->Button1Click();
    QVERIFY(app.para->isVisible());
    QVERIFY(!app.parameter_rovo->isVisible());
    QVERIFY(!app.Form1->isEnabled());
    QVERIFY(!ctl<QTimer>(app.Form1.get(), "Timer1")->isActive());
    app.para->close();
    QVERIFY(app.Form1->isEnabled());
    QVERIFY(ctl<QTimer>(app.Form1.get(), "Timer1")->isActive());
}

void tst_ConfigHandOver::clickDuringAnAttemptWaitsForIt()
{
    monitoring();
    form->Button1Click();
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);   // factory settings: a write can go
    dialogLine->holdReads = true;
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    QTRY_VERIFY(dialogLine->readInFlight());
    // Read lists were emptied by the read button; the factory settings come back for the write.
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button3"), Qt::LeftButton);
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button2"), Qt::LeftButton);   // while the read waits
    QCOMPARE(dialogLine->calls.filter("open").size(), 1);
    QCOMPARE(dialogLine->written.size(), 1);
    dialogLine->completeRead(hexBytes("00"));   // no valid reply: the read failed
    QTRY_COMPARE(dialogLine->calls.filter("open").size(), 2);
    QCOMPARE(dialogLine->calls.mid(0, 5), (QStringList{"open \\\\.\\COM1", "write FF FC 30", "read 50 80 260", "close",
                                                       "open \\\\.\\COM1"}));
    QTRY_VERIFY(dialogLine->readInFlight());
    QCOMPARE(dialogLine->written.size(), 2);
    QCOMPARE(quint8(dialogLine->written.last().at(1)), quint8(0xF3));   // the write, right after the read
    const QByteArray telegram = dialogLine->written.last();
    dialogLine->completeRead(telegram.right(1));   // acknowledged
    QTRY_COMPARE(ctl<QLabel>(dlg, "status")->text(), QStringLiteral("Übertragung erfolgreich!"));
    QVERIFY(!dlg->machinery().protocol().retryActive());   // the failed read's retry was taken by the write's success
}

void tst_ConfigHandOver::closeDuringAnAttemptDropsIt()
{
    QStringList journal;
    mainLine->journal = dialogLine->journal = &journal;
    mainLine->label = QStringLiteral("main");
    dialogLine->label = QStringLiteral("dialog");
    monitoring();
    form->Button1Click();
    dialogLine->holdReads = true;
    QTest::mouseClick(ctl<QPushButton>(dlg, "Button1"), Qt::LeftButton);
    QTRY_VERIFY(dialogLine->readInFlight());
    journal.clear();
    dlg->close();
    // The dialog's port is closed before the main window opens its own again.
    QCOMPARE(journal.value(0), QStringLiteral("dialog: close"));
    QCOMPARE(journal.value(1), QStringLiteral("main: open \\\\.\\COM1"));
    // The reply that was on its way changes nothing, and nothing more is sent.
    dialogLine->completeRead(hexBytes("E4 17"));
    QTest::qWait(1200);   // longer than two retry periods
    QVERIFY(journal.filter("dialog").size() == 1);
    QVERIFY(ctl<QLabel>(dlg, "status")->isHidden());
    QVERIFY(!dlg->machinery().protocol().retryActive());
}

void tst_ConfigHandOver::buttonWhileATelegramArrives()
{
    FakeLine twoPortLine;
    Tpara para(state, twoPortLine);
    form->setConfigurationDialogs(&para, dlg);
    monitoring();
    mainLine->holdReads = true;
    QTRY_VERIFY(mainLine->readInFlight());
    mainLine->bytesArriving = true;   // the first bytes of a two-port module's telegram
    QTest::mouseClick(ctl<QPushButton>(form, "Button1"), Qt::LeftButton);
    // The read goes on to its end: the port is still the main window's.
    QVERIFY(form->isEnabled());
    QVERIFY(!para.isVisible() && !dlg->isVisible());
    QVERIFY(!mainLine->calls.contains(QStringLiteral("close")));

    mainLine->completeRead(hexBytes("E4 15 05 00 01 2C 00 96 04 D2 00 00 03 E8 00 07 04 D2 00 32 09 60 09 5B A6 "
                                    "00 00 00 FD E4 16"));
    // The telegram was decoded, and it chose the dialog.
    QCOMPARE(ctl<QLabel>(form, "i1")->text(), QStringLiteral("3,00 Adc"));
    QCOMPARE(state.variant, ModuleVariant::FourChannelTwoPort);
    QVERIFY(para.isVisible());
    QVERIFY(!dlg->isVisible());
    QVERIFY(!form->isEnabled());
    QVERIFY(!ctl<QTimer>(form, "Timer1")->isActive());
    QCOMPARE(portCalls(*mainLine), QStringList{QStringLiteral("close")});
    para.close();
}

void tst_ConfigHandOver::buttonWithNothingArrivingHandsOverAtOnce()
{
    monitoring();
    mainLine->holdReads = true;
    QTRY_VERIFY(mainLine->readInFlight());
    QTest::mouseClick(ctl<QPushButton>(form, "Button1"), Qt::LeftButton);
    QVERIFY(dlg->isVisible());
    QVERIFY(!form->isEnabled());
    QVERIFY(!mainLine->readInFlight());   // dropped with the close: it had nothing
    QCOMPARE(portCalls(*mainLine), QStringList{QStringLiteral("close")});
}

QTEST_MAIN(tst_ConfigHandOver)
#include "tst_confighandover.moc"
