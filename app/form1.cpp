#include "form1.h"
#include "ui_form1.h"

#include "config/sharedstate.h"
#include "connection/connection.h"
#include "link/portnames.h"
#include "app/mainwindowaccessibility.h"
#include "config/translation.h"
#include "information/info.h"
#include "parameter/para.h"
#include "parameter2/parameter_rovo.h"

#include <QCloseEvent>
#include <QScreen>

TForm1::TForm1(SharedState &state, SerialLine &line, QWidget *parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , ui(new Ui::TForm1)
    , port(line)
    , state_(state)
{
    ui->setupUi(this);
    // The live port owns the port name; the dialogs' transactions ask it.
    state_.portName = [this] { return port.deviceName(); };
    setFixedSize(1031, 317 + ui->MainMenu1->sizeHint().height());

    lamps_ = {{
        {ui->mb1_1, ui->mb1_1_w, ui->mb1_1_g, ui->Labelmb1_1},
        {ui->mb1_2, ui->mb1_2_w, ui->mb1_2_r, ui->Labelmb1_2},
        {ui->mb1_3, ui->mb1_3_w, ui->mb1_3_g, ui->Labelmb1_3},
        {ui->mb1_4, ui->mb1_4_w, ui->mb1_4_r, ui->Labelmb1_4},
        {ui->mb1_5, ui->mb1_5_w, ui->mb1_5_g, ui->Labelmb1_5},
        {ui->mb1_6, ui->mb1_6_w, ui->mb1_6_r, ui->Labelmb1_6},
        {ui->mb1_7, ui->mb1_7_w, ui->mb1_7_g, ui->Labelmb1_7},
        {ui->mb1_8, ui->mb1_8_w, ui->mb1_8_r, ui->Labelmb1_8},
        {ui->mb2, ui->mb2_1_w, ui->mb2_1_g, ui->Labelmb2_1},
        {ui->mb2_2, ui->mb2_2_w, ui->mb2_2_g, ui->Labelmb2_2},
    }};
    values_ = {ui->i1, ui->i2, ui->i3, ui->i4, ui->i1_max, ui->i2_max, ui->i3_max, ui->i4_max,
               ui->uin, ui->uin_min, ui->i1_endwert, ui->i2_endwert, ui->i3_endwert, ui->i4_endwert};
    describeForScreenReaders();
    ui->deutsch->installEventFilter(this);
    ui->englisch->installEventFilter(this);

    connect(ui->Beenden1, &QAction::triggered, this, &TForm1::Beenden1Click);
    connect(ui->info1, &QAction::triggered, this, &TForm1::info1Click);
    connect(ui->Verbindung1, &QAction::triggered, this, &TForm1::Verbindung1Click);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(&Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(&port, &MonitorPort::received, this, &TForm1::received);
    connect(&Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    connect(&Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);

    FormCreate();

    // The timers are the window's components, found by name like its controls.
    for (auto [timer, name] : {std::pair{&Timer1, "Timer1"}, {&Timer2, "Timer2"}, {&Timer3, "Timer3"}}) {
        timer->setParent(this);
        timer->setObjectName(QLatin1String(name));
    }
    // Coarse timers may fire 5 % late; the watchdog must blank within two periods.
    Timer2.setTimerType(Qt::PreciseTimer);
    Timer3.setTimerType(Qt::PreciseTimer);
    // Restarted when a read completes: ticks are spaced by 50 ms plus the read's wait.
    Timer1.setSingleShot(true);
    Timer1.start(50);
    Timer3.start(250);
    Timer2.start(1000);
}

TForm1::~TForm1()
{
    state_.portName = nullptr;
    delete ui;
}

int TForm1::leftEdge(int workAreaWidth, int outerWidth)
{
    return workAreaWidth < 1200 ? (workAreaWidth - outerWidth) / 2 : 0;
}

void TForm1::FormCreate()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int workAreaWidth = screen ? screen->availableGeometry().width() : 1200;
    move(leftEdge(workAreaWidth, frameGeometry().width()), 0);
    ui->Label16->setText(QStringLiteral("Tarmeno Electronic Fuse"));
}

void TForm1::oeffnecom()
{
    port.oeffnecom();
}

void TForm1::schliessecom()
{
    port.schliessecom();
}

void TForm1::Timer1Timer()
{
    port.tick(ui->comport->currentIndex());
}

void TForm1::received(const QByteArray &bytes)
{
    for (char b : bytes)
        baue_string(quint8(b));
    if (std::exchange(handOverWaiting_, false)) {
        handOver();
        return;
    }
    // Disabled only while a configuration dialog has the port: then no further tick.
    if (isEnabled())
        Timer1.start(50);
}

void TForm1::baue_string(quint8 b)
{
    if (!assembler.baue_string(b))
        return;
    ui->comport->hide();
    ui->a->show();
    ausfuehren();
}

void TForm1::ausfuehren()
{
    const QByteArray frame = assembler.takeFrame();
    const status::Decoded d = status::decode(frame);
    if (d.outcome == status::Decoded::Ignored)
        return;
    state_.variant = d.variant;
    ui->a->setChecked(true);
    if (!Timer3.isActive())   // enabling it again does not restart its period
        Timer3.start();
    if (d.outcome == status::Decoded::BadCheck)
        return;

    // Channels 3 and 4 follow the module: hidden for a two-channel module, shown again
    // when a four-channel module reports after it.
    const bool four = isFourChannel(d.variant);
    showChannels34(four);
    for (int i = 0; i < status::LampCount; ++i) {
        if (!channels34Shown_ && i >= status::Ovc3 && i <= status::Trip4)
            continue;
        const Lamp &lamp = lamps_[i];
        if (d.lamps[i]) {
            lamp.off->hide();
            lamp.on->show();
        } else {
            lamp.off->show();
            lamp.on->hide();
        }
    }
    for (int i = 0; i < status::ValueCount; ++i)
        values_[i]->setText(d.values[i]);
    emit statusAccepted(frame);
}

void TForm1::showChannels34(bool shown)
{
    channels34Shown_ = shown;
    for (QLabel *w : {ui->k3, ui->k4, ui->k1_3, ui->k1_4})
        w->setVisible(shown);
    for (int i = status::Ovc3; i <= status::Trip4; ++i) {
        const Lamp &lamp = lamps_[i];
        lamp.outline->setVisible(shown);
        lamp.label->setVisible(shown);
        if (!shown) {
            lamp.off->hide();
            lamp.on->hide();
        }
    }
}

void TForm1::Timer2Timer()
{
    if (!assembler.takeActivity()) {
        for (int i = 0; i < status::LampCount; ++i) {
            const Lamp &lamp = lamps_[i];
            lamp.on->hide();
            // The pictures of hidden rows stay hidden.
            lamp.off->setVisible(channels34Shown_ || i < status::Ovc3 || i > status::Trip4);
        }
        for (QLabel *value : values_)
            value->setText(QString());   // unlike clear(), tells screen readers
        emit displayBlanked();
    }
}

void TForm1::Timer3Timer()
{
    ui->a->setChecked(false);
    Timer3.stop();
}

void TForm1::deutschClick()
{
    state_.language = Language::German;
    QCoreApplication::removeTranslator(&englishTranslator());
    QCoreApplication::installTranslator(&qtGermanTranslator());
    switchLanguage(Language::German);
}

void TForm1::englischClick()
{
    state_.language = Language::English;
    QCoreApplication::removeTranslator(&qtGermanTranslator());
    QCoreApplication::installTranslator(&englishTranslator());
    switchLanguage(Language::English);
}

void TForm1::switchLanguage(Language language)
{
    // The windows rewrite their texts on the language-change event Qt posts to them;
    // deliver it now, so the switch is complete when the click has been handled.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    if (para)
        para->setLanguage(language);
    if (parameter_rovo)
        parameter_rovo->setLanguage(language);
}

void TForm1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QMainWindow::changeEvent(event);
}

void TForm1::setConfigurationDialogs(Tpara *twoPortDialog, Tparameter_rovo *singlePortDialog)
{
    para = twoPortDialog;
    parameter_rovo = singlePortDialog;
    const Language language = state_.language;
    if (para) {
        connect(para, &Tpara::rueckgabe, this, &TForm1::rueckgabe);
        para->setLanguage(language);
    }
    if (parameter_rovo) {
        connect(parameter_rovo, &Tparameter_rovo::rueckgabe, this, &TForm1::rueckgabe);
        parameter_rovo->setLanguage(language);
    }
}

void TForm1::Button1Click()
{
    // The read held the window until it ended: what it brings is decoded before the
    // port is given up, and names the dialog.
    if (port.receiving()) {
        handOverWaiting_ = true;
        return;
    }
    handOver();
}

void TForm1::handOver()
{
    if (state_.variant == ModuleVariant::FourChannelTwoPort) {
        // The two-port dialog keeps its lists as they are.
        if (!para)
            return;
        para->oeffnen();
    } else {
        if (!parameter_rovo)
            return;
        // Shown on top, lists rebuilt for the variant without a selection, channel 3
        // and 4 controls hidden for two channels and shown for four.
        parameter_rovo->oeffnen(state_.variant);
    }
    Timer1.stop();
    schliessecom();   // a read in flight with nothing yet is dropped
    setEnabled(false);
}

void TForm1::rueckgabe()
{
    setEnabled(true);
    Timer1.start(50);
    oeffnecom();
}

QAction *TForm1::trendAction() const
{
    return ui->Verlauf1;
}

QAction *TForm1::recordingAction() const
{
    return ui->Aufzeichnung1;
}

void TForm1::Beenden1Click()
{
    close();
}

void TForm1::info1Click()
{
    if (!Info)
        return;
    Info->show();
    Info->raise();
    Info->setVersionText(QStringLiteral("Version 1.2.2"));
}

void TForm1::Verbindung1Click()
{
    if (!Connection)
        return;
    Connection->show();
    Connection->raise();
    Connection->activateWindow();
}

void TForm1::selectPort(const QString &deviceName)
{
    const int n = portnames::portNumber(deviceName);
    if (n >= 1 && n <= portnames::PortCount) {
        port.choose(QString());
        ui->comport->setCurrentIndex(n - 1);
    } else {
        port.choose(deviceName);
    }
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // A disabled window (a configuration dialog is open) takes no input, but the filter
    // still sees the mouse events of its children.
    if (isEnabled() && activatesFlag(event)) {
        if (watched == ui->deutsch)
            deutschClick();
        else if (watched == ui->englisch)
            englischClick();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::describeForScreenReaders()
{
    QList<MainWindowAccessibility::Lamp> lamps;
    for (const Lamp &lamp : lamps_)
        lamps.append({lamp.outline, lamp.off, lamp.on, lamp.label});
    const QList<MainWindowAccessibility::Value> values = {
        {ui->i1, ui->k1, ui->Label1}, {ui->i2, ui->k2, ui->Label1},
        {ui->i3, ui->k3, ui->Label1}, {ui->i4, ui->k4, ui->Label1},
        {ui->i1_max, ui->k1_1, ui->Label2}, {ui->i2_max, ui->k1_2, ui->Label2},
        {ui->i3_max, ui->k1_3, ui->Label2}, {ui->i4_max, ui->k1_4, ui->Label2},
        {ui->i1_endwert, ui->k1, ui->Label3}, {ui->i2_endwert, ui->k2, ui->Label3},
        {ui->i3_endwert, ui->k3, ui->Label3}, {ui->i4_endwert, ui->k4, ui->Label3},
        {ui->uin, nullptr, ui->Label15}, {ui->uin_min, nullptr, ui->Label7},
    };
    // Each flag is named in its own language.
    const QList<MainWindowAccessibility::Flag> flags = {
        {ui->deutsch, QStringLiteral("Deutsch"), [this] { deutschClick(); }},
        {ui->englisch, QStringLiteral("English"), [this] { englischClick(); }},
    };
    new MainWindowAccessibility(ui->centralwidget, lamps, values, flags);
    // The flags come last when tabbing, so that focus passes from a hidden port list to
    // the configuration button as before.
    setTabOrder(ui->Button1, ui->deutsch);
    setTabOrder(ui->deutsch, ui->englisch);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    // Closing the main window ends the program, whatever other window is open and also
    // while it is disabled under a configuration dialog. (Outside the event loop, as in
    // tests, this does nothing.)
    QCoreApplication::quit();
}
