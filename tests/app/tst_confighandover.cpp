// The main window's configuration button and the hand-back when the dialog closes,
// with scripted lines on both sides.
#include "app/appstate.h"
#include "app/form1.h"
#include "app/fuseapplication.h"
#include "config/fakeline.h"
#include "hexbytes.h"
#include "parameter/para.h"
#include "parameter2/parameter_rovo.h"
#include "parameter2/singleportcontroller.h"
#include "ui_form1.h"
#include "ui_parameter_rovo.h"

#include <QtTest>

Q_DECLARE_METATYPE(ModuleVariant)

namespace {

// The main window's line: records what it is asked to do, delivers nothing.
class RecordingLine : public PortIO
{
public:
    QStringList calls;
    void open(const QString &name) override { calls << QStringLiteral("open ") + name; }
    void close() override { calls << QStringLiteral("close"); }
    QByteArray read(int, int, int) override { return {}; }
};

QStringList items(const QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
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

private:
    Ui::Tparameter_rovo *dui() const { return dlg->ui; }
    QList<QWidget *> channels34() const
    {
        return {dui()->k3_sel, dui()->k4_sel, dui()->Label13, dui()->Label14, dui()->f3, dui()->f4, dui()->f7,
                dui()->f8, dui()->port1_byte1_10, dui()->port1_byte1_20, dui()->port1_byte1_40, dui()->port1_byte1_80};
    }
    // Waits until the main window's first tick has opened its port.
    void monitoring()
    {
        form->show();
        QTRY_VERIFY(form->port.portOpened);
        mainLine->calls.clear();
    }

    AppState state;
    RecordingLine *mainLine = nullptr;
    FakeLine *dialogLine = nullptr;
    TForm1 *form = nullptr;
    Tparameter_rovo *dlg = nullptr;
};

void tst_ConfigHandOver::init()
{
    state = AppState{};
    mainLine = new RecordingLine;
    dialogLine = new FakeLine;
    form = new TForm1(state, *mainLine);
    dlg = new Tparameter_rovo(state, dialogLine);
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
    state.currentVariant = variant;
    QTest::mouseClick(form->ui->Button1, Qt::LeftButton);

    QVERIFY(dlg->isVisible());
    QVERIFY(dlg->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!dlg->isModal());
    QCOMPARE(items(dui()->k1_sel), upTo(last12));
    QCOMPARE(items(dui()->k2_sel), upTo(last12));
    QCOMPARE(items(dui()->k3_sel), upTo(last34));
    QCOMPARE(items(dui()->k4_sel), upTo(last34));
    for (const QComboBox *list : {dui()->k1_sel, dui()->k2_sel, dui()->k3_sel, dui()->k4_sel})
        QCOMPARE(list->currentIndex(), -1);
    for (QWidget *w : channels34())
        QVERIFY2(w->isHidden() == hidden, qPrintable(w->objectName()));

    // The main window has given up its port and takes no input.
    QVERIFY(!form->Timer1.isActive());
    QCOMPARE(mainLine->calls, QStringList{"close"});
    QVERIFY(!form->isEnabled());
    QTest::qWait(150);
    QCOMPARE(mainLine->calls, QStringList{"close"});   // no tick reopens it

    // The dialog's transactions use the main window's device.
    QTest::mouseClick(dui()->Button1, Qt::LeftButton);
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
    state.currentVariant = first;
    form->Button1Click();
    QTest::mouseClick(dui()->Button3, Qt::LeftButton);
    QVERIFY(dui()->k1_sel->currentIndex() > 0);
    dlg->close();

    state.currentVariant = second;
    form->Button1Click();
    QCOMPARE(items(dui()->k3_sel), upTo(last34));
    for (const QComboBox *list : {dui()->k1_sel, dui()->k2_sel, dui()->k3_sel, dui()->k4_sel})
        QCOMPARE(list->currentIndex(), -1);
    for (QWidget *w : channels34())
        QVERIFY2(w->isHidden() == !isFourChannel(second), qPrintable(w->objectName()));
}

void tst_ConfigHandOver::twoPortVariantLeavesSinglePortDialogAlone()
{
    monitoring();
    state.currentVariant = ModuleVariant::FourChannel6A;
    form->Button1Click();
    dlg->close();
    mainLine->calls.clear();

    // No two-port dialog in this build: the button leaves everything as it is.
    state.currentVariant = ModuleVariant::FourChannelTwoPort;
    QTest::mouseClick(form->ui->Button1, Qt::LeftButton);
    QVERIFY(!dlg->isVisible());
    QCOMPARE(items(dui()->k1_sel), upTo(6));
    QVERIFY(form->isEnabled());
    QVERIFY(form->Timer1.isActive());
    QVERIFY(!mainLine->calls.contains(QStringLiteral("close")));
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
    QTest::mouseClick(dui()->Button2, Qt::LeftButton);   // refused, nothing selected
    QTest::mouseClick(dui()->Button1, Qt::LeftButton);   // no answer: retrying
    QVERIFY(dlg->controller().protocol().retryActive());
    mainLine->calls.clear();

    if (byMenu)
        dui()->schliessen->trigger();
    else
        dlg->close();
    QVERIFY(!dlg->isVisible());
    QVERIFY(form->isEnabled());
    QVERIFY(form->Timer1.isActive());
    QCOMPARE(form->Timer1.interval(), 50);
    QCOMPARE(mainLine->calls.value(0), QStringLiteral("open \\\\.\\COM1"));
    QVERIFY(form->port.portOpened);
    QVERIFY(!dlg->controller().protocol().retryActive());
    QVERIFY(dui()->status->isHidden());
    // No attempt of the dialog touches the port afterwards.
    const int calls = dialogLine->calls.size();
    QTest::qWait(600);
    QCOMPARE(dialogLine->calls.size(), calls);
}

void tst_ConfigHandOver::languageFlagsChooseMessages()
{
    monitoring();
    form->Button1Click();
    QTest::mouseClick(dui()->Button2, Qt::LeftButton);
    QCOMPARE(dui()->status->text(), QStringLiteral("Bitte alle Felder korrekt ausfüllen"));
    dlg->close();

    form->englischClick();
    QVERIFY(state.languageEnglish && !state.languageGerman);
    form->Button1Click();
    QTest::mouseClick(dui()->Button2, Qt::LeftButton);
    QCOMPARE(dui()->status->text(), QStringLiteral("All labels fill correctly, please"));
    dialogLine->replies << hexBytes("E4 17 AA AA D6 AA C0 0F 9F 31 2E 30 35 00 00 00 00 00 00 00 00 00 00 00 00 00 36");
    QTest::mouseClick(dui()->Button1, Qt::LeftButton);
    QCOMPARE(dui()->status->text(), QStringLiteral("Transmission successful!"));
    dlg->close();

    form->deutschClick();
    form->Button1Click();
    QTest::mouseClick(dui()->Button2, Qt::LeftButton);
    QCOMPARE(dui()->status->text(), QStringLiteral("Bitte alle Felder korrekt ausfüllen"));
}

void tst_ConfigHandOver::applicationCreatesAndWiresTheDialog()
{
    FuseApplication app;
    QVERIFY(app.parameter_rovo);
    QCOMPARE(app.Form1->parameter_rovo, app.parameter_rovo.get());
    QCOMPARE(app.Form1->para, app.para.get());
    QVERIFY(!app.parameter_rovo->isVisible());
    QVERIFY(app.state.languageGerman);
    QCOMPARE(app.parameter_rovo->windowTitle(), QStringLiteral("Konfiguration"));

    app.show();
    app.Form1->Button1Click();
    QVERIFY(app.parameter_rovo->isVisible());
    QVERIFY(!app.Form1->isEnabled());
    app.parameter_rovo->close();
    QVERIFY(app.Form1->isEnabled());
    QVERIFY(app.Form1->Timer1.isActive());

    // A two-port module gets the two-port dialog; its close hands the port back too.
    app.state.currentVariant = ModuleVariant::FourChannelTwoPort;
    app.Form1->Button1Click();
    QVERIFY(app.para->isVisible());
    QVERIFY(!app.parameter_rovo->isVisible());
    QVERIFY(!app.Form1->isEnabled());
    QVERIFY(!app.Form1->Timer1.isActive());
    app.para->close();
    QVERIFY(app.Form1->isEnabled());
    QVERIFY(app.Form1->Timer1.isActive());
}

QTEST_MAIN(tst_ConfigHandOver)
#include "tst_confighandover.moc"
