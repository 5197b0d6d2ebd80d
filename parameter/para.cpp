#include "parameter/para.h"
#include "ui_para.h"

#include "app/appstate.h"
#include "app/fieldaccessibility.h"
#include "config/configmessages.h"
#include "parameter/twoportcontroller.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>

Tpara::Tpara(AppState &state, TransactionLine *line, QWidget *parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                      | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint)
    , ui(new Ui::Tpara)
    , state_(state)
    , controller_(line ? std::make_unique<TwoPortController>(*line) : std::make_unique<TwoPortController>())
{
    ui->setupUi(this);
    setFixedSize(ClientWidth, ClientHeight + ui->MainMenu2->sizeHint().height());

    askFileName = [](QFileDialog &dialog) {
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };

    currentLists_ = {ui->k1_sel, ui->k2_sel, ui->k3_sel, ui->k4_sel};
    timeLists_ = {ui->k1_time, ui->k2_time, ui->k3_time, ui->k4_time};
    channelMarkers_ = {ui->error_k1, ui->error_k2, ui->error_k3, ui->error_k4};
    announceMarkers({{ui->error_k1, ui->k1_sel, ui->Label6, ui->Label1},
                     {ui->error_k2, ui->k2_sel, ui->Label12, ui->Label1},
                     {ui->error_k3, ui->k3_sel, ui->Label13, ui->Label1},
                     {ui->error_k4, ui->k4_sel, ui->Label14, ui->Label1},
                     {ui->error_pg, ui->pgood_sel_, nullptr, ui->Label15}});
    eventBoxes_[0] = {ui->port1_byte1_01, ui->port1_byte1_02, ui->port1_byte1_04, ui->port1_byte1_08,
                      ui->port1_byte1_10, ui->port1_byte1_20, ui->port1_byte1_40, ui->port1_byte1_80};
    eventBoxes_[1] = {ui->port2_byte1_01, ui->port2_byte1_02, ui->port2_byte1_04, ui->port2_byte1_08,
                      ui->port2_byte1_10, ui->port2_byte1_20, ui->port2_byte1_40, ui->port2_byte1_80};
    flagBoxes_[0] = {ui->port1_byte2_01, ui->port1_byte2_02, ui->port1_byte2_80};
    flagBoxes_[1] = {ui->port2_byte2_01, ui->port2_byte2_02, ui->port2_byte2_80};
    // The hot spot carries no text: name it for screen readers and tests.
    ui->Label5->setAccessibleName(ui->Label5->objectName());

    TwoPortController &c = *controller_;
    connect(&c, &TwoPortController::configChanged, this, &Tpara::showConfig);
    connect(&c, &TwoPortController::markersChanged, this, &Tpara::showMarkers);
    connect(&c.protocol(), &RetryProtocol::statusChanged, this, &Tpara::showStatus);
    connect(&c.protocol(), &RetryProtocol::versionChanged, this, &Tpara::showVersion);

    connect(ui->Button1, &QPushButton::clicked, this, &Tpara::laden);
    connect(ui->Button2, &QPushButton::clicked, this, &Tpara::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &Tpara::Button3Click);
    connect(ui->oeffnen, &QAction::triggered, this, &Tpara::oeffnenClick);
    connect(ui->speichern, &QAction::triggered, this, &Tpara::speichernClick);
    connect(ui->schliessen, &QAction::triggered, this, &Tpara::schliessenClick);
    // activated() comes from the user's own pick only; selections made by the program
    // never run these handlers.
    connect(ui->k1_sel, &QComboBox::activated, this, &Tpara::zeit1);
    connect(ui->k2_sel, &QComboBox::activated, this, &Tpara::zeit2);
    connect(ui->k3_sel, &QComboBox::activated, this, &Tpara::zeit3);
    connect(ui->k4_sel, &QComboBox::activated, this, &Tpara::zeit4);
    connect(ui->pgood_sel_, &QComboBox::activated, this, &Tpara::pgood_sel_Change);
    ui->Label5->installEventFilter(this);
    wireUserEdits();

    setLanguage(state_.languageEnglish ? Language::English : Language::German);
    FormCreate();
    showConfig();
    showMarkers();
    showStatus();
}

Tpara::~Tpara()
{
    delete ui;
}

QPoint Tpara::placement(const QSize &workAreaSize, const QSize &outerSize)
{
    if (workAreaSize.height() >= CentringHeightLimit)
        return {DesignLeft, DesignTop};
    // Integer division rounds toward zero, also for a work area smaller than the dialog.
    return {(workAreaSize.width() - outerSize.width()) / 2, (workAreaSize.height() - outerSize.height()) / 2};
}

void Tpara::FormCreate()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize workArea = screen ? screen->availableGeometry().size() : QSize(1280, 1024);
    move(placement(workArea, frameGeometry().size()));
    ui->sw->clear();
    ui->sw->hide();
}

void Tpara::oeffnen()
{
    controller_->setPortDeviceName(state_.portDeviceName);
    show();
    raise();
    activateWindow();
    controller_->open();
}

void Tpara::setLanguage(Language language)
{
    controller_->setLanguage(language);
}

void Tpara::laden()
{
    controller_->setPortDeviceName(state_.portDeviceName);
    controller_->readConfiguration();
}

void Tpara::Button2Click()
{
    controller_->setPortDeviceName(state_.portDeviceName);
    controller_->writeConfiguration();
}

void Tpara::Button3Click()
{
    controller_->enterFactorySettings();
}

void Tpara::zeit(int channel)
{
    controller_->chooseCurrent(channel, currentLists_[channel]->currentIndex());
}

void Tpara::zeit1()
{
    zeit(0);
}

void Tpara::zeit2()
{
    zeit(1);
}

void Tpara::zeit3()
{
    zeit(2);
}

void Tpara::zeit4()
{
    zeit(3);
}

void Tpara::pgood_sel_Change()
{
    controller_->choosePowerGood(ui->pgood_sel_->currentIndex());
}

void Tpara::Label5Click()
{
    controller_->protocol().revealVersion();
}

void Tpara::prepareFileDialog(QFileDialog &dialog) const
{
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*.*)")});
    dialog.selectNameFilter(QStringLiteral("Text files (*.txt)"));
}

void Tpara::oeffnenClick()
{
    QFileDialog dialog(this);
    prepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString path = askFileName(dialog);
    if (path.isEmpty())
        return;
    const twoportfile::LoadResult result = controller_->loadFrom(path);
    if (!result.notHexadecimal)
        return;
    // The one failure that is reported in a box of its own.
    auto *box = new QMessageBox(QMessageBox::Critical, QApplication::applicationName(),
                                notHexadecimalMessage(result.invalidText, controller_->protocol().language()),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    errorReport_ = box;
    box->open();
}

void Tpara::speichernClick()
{
    if (!controller_->prepareSave())
        return;
    QFileDialog dialog(this);
    prepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension gets ".txt" (saving only; opening takes the name as typed).
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    // Replacing an existing file is asked for (the dialog's default); no read-only option.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    const QString path = askFileName(dialog);
    if (path.isEmpty())
        return;
    controller_->saveTo(path);
}

void Tpara::schliessenClick()
{
    close();
}

void Tpara::Timer1Timer()
{
    controller_->protocol().retryTick();
}

void Tpara::Timer3Timer()
{
    controller_->protocol().clearingTick();
}

void Tpara::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();   // hidden, not destroyed
}

void Tpara::FormClose()
{
    // The main window takes its port back first, then the controls are emptied.
    emit rueckgabe();
    // Also stops a retry series and the status clearing: nothing of this dialog may
    // touch the port once the main window has it back.
    controller_->close();
}

void Tpara::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QMainWindow::changeEvent(event);
}

bool Tpara::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->Label5 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        Label5Click();
    return QMainWindow::eventFilter(watched, event);
}

void Tpara::wireUserEdits()
{
    // User edits go straight into the configuration; settings made by the logic itself
    // (showing_) are not edits. A current picked here is only taken over: the trip-time
    // rule is zeit1 .. zeit4's work, which follows on activated() for the user's pick.
    for (int c = 0; c < twoport::ChannelCount; ++c) {
        connect(currentLists_[c], &QComboBox::currentIndexChanged, this, [this, c](int index) {
            if (!showing_)
                controller_->config().setCurrent(c, index);
        });
        connect(timeLists_[c], &QComboBox::currentIndexChanged, this, [this, c](int index) {
            if (!showing_)
                controller_->config().selectTripTime(c, index);
        });
    }
    connect(ui->pgood_sel_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showing_)
            controller_->config().selectPowerGood(index);
    });

    static constexpr std::array<quint8, 3> FlagBits{twoport::LowInputVoltage, twoport::HardwareFault,
                                                     twoport::InvertOutput};
    for (int p = 0; p < twoport::PortCount; ++p) {
        for (int bit = 0; bit < 8; ++bit) {
            const quint8 mask = quint8(1u << bit);
            connect(eventBoxes_[p][bit], &QCheckBox::toggled, this, [this, p, mask](bool checked) {
                if (!showing_)
                    controller_->config().setBox(p, 1, mask, checked);
            });
        }
        for (size_t f = 0; f < FlagBits.size(); ++f) {
            const quint8 mask = FlagBits[f];
            connect(flagBoxes_[p][f], &QCheckBox::toggled, this, [this, p, mask](bool checked) {
                if (!showing_)
                    controller_->config().setBox(p, 2, mask, checked);
            });
        }
    }
    connect(ui->loeschen, &QCheckBox::toggled, this, [this](bool checked) {
        if (!showing_)
            controller_->config().loeschen = checked;
    });
    connect(ui->programmieren, &QCheckBox::toggled, this, [this](bool checked) {
        if (!showing_)
            controller_->config().programmieren = checked;
    });
}

void Tpara::showConfig()
{
    const TwoPortConfig &config = controller_->config();
    showing_ = true;
    for (int c = 0; c < twoport::ChannelCount; ++c) {
        currentLists_[c]->setCurrentIndex(config.current[c]);
        QComboBox *times = timeLists_[c];
        const QStringList entries = twoport::tripTimeItems().mid(0, config.tripTimeCount[c]);
        QStringList shown;
        for (int i = 0; i < times->count(); ++i)
            shown << times->itemText(i);
        if (shown != entries) {
            times->clear();
            times->addItems(entries);
        }
        times->setCurrentIndex(config.tripTime[c]);
    }
    ui->pgood_sel_->setCurrentIndex(config.powerGood);
    for (int p = 0; p < twoport::PortCount; ++p) {
        for (int bit = 0; bit < 8; ++bit)
            eventBoxes_[p][bit]->setChecked(config.box(p, 1, quint8(1u << bit)));
        flagBoxes_[p][0]->setChecked(config.box(p, 2, twoport::LowInputVoltage));
        flagBoxes_[p][1]->setChecked(config.box(p, 2, twoport::HardwareFault));
        flagBoxes_[p][2]->setChecked(config.box(p, 2, twoport::InvertOutput));
    }
    ui->loeschen->setChecked(config.loeschen);
    ui->programmieren->setChecked(config.programmieren);
    showing_ = false;
}

void Tpara::showMarkers()
{
    const twoport::Markers &markers = controller_->markers();
    for (int c = 0; c < twoport::ChannelCount; ++c)
        channelMarkers_[c]->setVisible(markers.channel[c]);
    ui->error_pg->setVisible(markers.powerGood);
}

void Tpara::showStatus()
{
    const RetryProtocol &protocol = controller_->protocol();
    ui->status->setText(protocol.statusText());
    switch (protocol.statusColour()) {
    case RetryProtocol::StatusColour::WindowText:
        ui->status->setStyleSheet(QString());
        break;
    case RetryProtocol::StatusColour::Black:
        ui->status->setStyleSheet(QStringLiteral("color: black;"));
        break;
    case RetryProtocol::StatusColour::Red:
        ui->status->setStyleSheet(QStringLiteral("color: red;"));
        break;
    }
    ui->status->setVisible(protocol.statusVisible());
}

void Tpara::showVersion()
{
    const RetryProtocol &protocol = controller_->protocol();
    ui->sw->setText(protocol.versionText());
    ui->sw->setVisible(protocol.versionVisible());
    ui->Label5->setVisible(protocol.hotSpotVisible());
}
