#include "parameter2/parameter_rovo.h"
#include "ui_parameter_rovo.h"

#include "app/appstate.h"
#include "app/fieldaccessibility.h"
#include "config/configmessages.h"
#include "grafik/svgpicture.h"
#include "parameter2/singleportcontroller.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>

// The pictures live in the window library; make sure they are linked in, whoever
// creates the dialog first.
static void initPictures()
{
    Q_INIT_RESOURCE(resources);
}

static const char TripCharacteristicPicture[] = ":/pictures/trip_characteristic.svg";

Tparameter_rovo::Tparameter_rovo(AppState &state, TransactionLine *line, QWidget *parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                      | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint)
    , ui(new Ui::Tparameter_rovo)
    , state_(state)
    , controller_(line ? std::make_unique<SinglePortController>(*line) : std::make_unique<SinglePortController>())
{
    initPictures();
    ui->setupUi(this);
    setFixedSize(ClientWidth, ClientHeight + ui->MainMenu1->sizeHint().height());

    askFileName = [](QFileDialog &dialog) {
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };

    channelLists_ = {ui->k1_sel, ui->k2_sel, ui->k3_sel, ui->k4_sel};
    channelMarkers_ = {ui->error_k1, ui->error_k2, ui->error_k3, ui->error_k4};
    announceMarkers({{ui->error_k1, ui->k1_sel, ui->Label6, ui->Label1},
                     {ui->error_k2, ui->k2_sel, ui->Label12, ui->Label1},
                     {ui->error_k3, ui->k3_sel, ui->Label13, ui->Label1},
                     {ui->error_k4, ui->k4_sel, ui->Label14, ui->Label1},
                     {ui->error_pg, ui->pgood_sel_, nullptr, ui->Label15},
                     {ui->ab_error, ui->abschaltzeit, nullptr, ui->Label4}});
    eventBoxes_ = {ui->port1_byte1_01, ui->port1_byte1_02, ui->port1_byte1_04, ui->port1_byte1_08,
                   ui->port1_byte1_10, ui->port1_byte1_20, ui->port1_byte1_40, ui->port1_byte1_80};
    // The pictures and the hot spot carry no text: name them for screen readers and tests.
    ui->Label3->setAccessibleName(ui->Label3->objectName());
    ui->Image2->setAccessibleName(ui->Image2->objectName());

    SinglePortController &c = *controller_;
    connect(&c, &SinglePortController::configChanged, this, &Tparameter_rovo::showConfig);
    connect(&c, &SinglePortController::markersChanged, this, &Tparameter_rovo::showMarkers);
    connect(&c, &SinglePortController::channels34HiddenChanged, this,
            [this](bool hidden) { showChannels34(!hidden); });
    connect(&c, &SinglePortController::currentVariantChanged, this,
            [this](ModuleVariant variant) { state_.currentVariant = variant; });
    connect(&c.protocol(), &RetryProtocol::statusChanged, this, &Tparameter_rovo::showStatus);
    connect(&c.protocol(), &RetryProtocol::versionChanged, this, &Tparameter_rovo::showVersion);

    connect(ui->Button1, &QPushButton::clicked, this, &Tparameter_rovo::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &Tparameter_rovo::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &Tparameter_rovo::Button3Click);
    connect(ui->oeffnen, &QAction::triggered, this, &Tparameter_rovo::oeffnenClick);
    connect(ui->speichern, &QAction::triggered, this, &Tparameter_rovo::speichernClick);
    connect(ui->schliessen, &QAction::triggered, this, &Tparameter_rovo::schliessenClick);
    ui->Label3->installEventFilter(this);
    ui->Image2->installEventFilter(this);
    wireUserEdits();

    setLanguage(state_.languageEnglish ? Language::English : Language::German);
    showTripCharacteristic();
    FormCreate();
    showConfig();
    showMarkers();
    showStatus();
}

Tparameter_rovo::~Tparameter_rovo()
{
    delete ui;
}

QPoint Tparameter_rovo::placement(const QSize &workAreaSize, const QSize &outerSize)
{
    if (workAreaSize.height() >= CentringHeightLimit)
        return {0, 0};
    // Integer division rounds toward zero, also for a work area smaller than the dialog.
    return {(workAreaSize.width() - outerSize.width()) / 2, (workAreaSize.height() - outerSize.height()) / 2};
}

void Tparameter_rovo::FormCreate()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize workArea = screen ? screen->availableGeometry().size() : QSize(1280, 1024);
    move(placement(workArea, frameGeometry().size()));
    ui->sw->clear();
    ui->sw->hide();
}

void Tparameter_rovo::oeffnen(ModuleVariant variant)
{
    controller_->setPortDeviceName(state_.portDeviceName);
    show();
    raise();
    activateWindow();
    controller_->open(variant);
    // Also when the controller's state did not change: the controls follow the variant
    // on every opening.
    showChannels34(!controller_->channels34Hidden());
}

void Tparameter_rovo::setLanguage(Language language)
{
    controller_->setLanguage(language);
}

void Tparameter_rovo::Button1Click()
{
    controller_->setPortDeviceName(state_.portDeviceName);
    controller_->readConfiguration();
}

void Tparameter_rovo::Button2Click()
{
    controller_->setPortDeviceName(state_.portDeviceName);
    controller_->writeConfiguration();
}

void Tparameter_rovo::Button3Click()
{
    controller_->setCurrentVariant(state_.currentVariant);
    controller_->enterFactorySettings();
}

void Tparameter_rovo::Image2Click()
{
    emit tripCharacteristicRequested();
}

void Tparameter_rovo::Label3Click()
{
    controller_->protocol().revealVersion();
}

void Tparameter_rovo::prepareFileDialog(QFileDialog &dialog) const
{
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*.*)")});
    dialog.selectNameFilter(QStringLiteral("Text files (*.txt)"));
}

void Tparameter_rovo::oeffnenClick()
{
    QFileDialog dialog(this);
    prepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QString path = askFileName(dialog);
    if (path.isEmpty())
        return;
    const singleportfile::LoadResult result = controller_->loadFrom(path);
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

void Tparameter_rovo::speichernClick()
{
    if (!controller_->prepareSave())
        return;
    QFileDialog dialog(this);
    prepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Only the save dialog adds ".txt" to a name typed without one.
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    const QString path = askFileName(dialog);
    if (path.isEmpty())
        return;
    controller_->saveTo(path);
}

void Tparameter_rovo::schliessenClick()
{
    close();
}

void Tparameter_rovo::Timer1Timer()
{
    controller_->protocol().retryTick();
}

void Tparameter_rovo::Timer3Timer()
{
    controller_->protocol().clearingTick();
}

void Tparameter_rovo::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();   // hidden, not destroyed
}

void Tparameter_rovo::FormClose()
{
    emit rueckgabe();
    // Also stops a retry series and the status clearing: nothing of this dialog may
    // touch the port once the main window has it back.
    controller_->close();
}

void Tparameter_rovo::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QMainWindow::changeEvent(event);
}

bool Tparameter_rovo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == ui->Label3)
            Label3Click();
        else if (watched == ui->Image2)
            Image2Click();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tparameter_rovo::wireUserEdits()
{
    // User edits go straight into the configuration; settings made by the logic itself
    // (showing_) are not edits.
    for (int c = 0; c < singleport::ChannelCount; ++c) {
        connect(channelLists_[c], &QComboBox::currentIndexChanged, this, [this, c](int index) {
            if (!showing_)
                controller_->config().selectChannel(c, index);
        });
    }
    connect(ui->abschaltzeit, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showing_)
            controller_->config().selectTripDelay(index);
    });
    connect(ui->pgood_sel_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showing_)
            controller_->config().selectPowerGood(index);
    });
    // The threshold list takes typed text too: text that is one of its entries selects
    // that entry, any other text leaves the list without a selection.
    connect(ui->pgood_sel_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!showing_)
            controller_->config().selectPowerGood(ui->pgood_sel_->findText(text, Qt::MatchExactly));
    });

    for (int bit = 0; bit < 8; ++bit) {
        const quint8 mask = quint8(1u << bit);
        connect(eventBoxes_[bit], &QCheckBox::toggled, this, [this, mask](bool checked) {
            if (!showing_)
                controller_->config().setEvent(mask, checked);
        });
    }
    const auto flag = [this](QCheckBox *box, bool SinglePortConfig::*member) {
        connect(box, &QCheckBox::toggled, this, [this, member](bool checked) {
            if (!showing_)
                controller_->config().*member = checked;
        });
    };
    flag(ui->port1_byte2_01, &SinglePortConfig::lowInputVoltage);
    flag(ui->port1_byte2_02, &SinglePortConfig::hardwareFault);
    flag(ui->loeschen, &SinglePortConfig::releaseTripped);
    flag(ui->port1_byte2_40, &SinglePortConfig::invertOutput);
    flag(ui->programmieren, &SinglePortConfig::allowProgramming);
}

void Tparameter_rovo::showConfig()
{
    const SinglePortConfig &config = controller_->config();
    showing_ = true;
    for (int c = 0; c < singleport::ChannelCount; ++c) {
        QComboBox *list = channelLists_[c];
        if (list->count() != config.channelListSize[c]) {
            list->clear();
            list->addItems(singleport::currentLimitItems(config.channelListSize[c] - 1));
        }
        list->setCurrentIndex(config.channel[c]);
    }
    ui->pgood_sel_->setCurrentIndex(config.powerGood);
    if (config.powerGood < 0)
        ui->pgood_sel_->setEditText(QString());
    ui->abschaltzeit->setCurrentIndex(config.tripDelay);
    for (int bit = 0; bit < 8; ++bit)
        eventBoxes_[bit]->setChecked(config.event(quint8(1u << bit)));
    ui->port1_byte2_01->setChecked(config.lowInputVoltage);
    ui->port1_byte2_02->setChecked(config.hardwareFault);
    ui->loeschen->setChecked(config.releaseTripped);
    ui->port1_byte2_40->setChecked(config.invertOutput);
    ui->programmieren->setChecked(config.allowProgramming);
    showing_ = false;
}

void Tparameter_rovo::showMarkers()
{
    const singleport::Markers &markers = controller_->markers();
    for (int c = 0; c < singleport::ChannelCount; ++c)
        channelMarkers_[c]->setVisible(markers.channel[c]);
    ui->error_pg->setVisible(markers.powerGood);
    ui->ab_error->setVisible(markers.tripDelay);
}

void Tparameter_rovo::showStatus()
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

void Tparameter_rovo::showVersion()
{
    const RetryProtocol &protocol = controller_->protocol();
    ui->sw->setText(protocol.versionText());
    ui->sw->setVisible(protocol.versionVisible());
    ui->Label3->setVisible(protocol.hotSpotVisible());
}

void Tparameter_rovo::showChannels34(bool shown)
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             ui->k3_sel, ui->k4_sel, ui->Label13, ui->Label14, ui->f3, ui->f4, ui->f7, ui->f8,
             ui->port1_byte1_10, ui->port1_byte1_20, ui->port1_byte1_40, ui->port1_byte1_80})
        w->setVisible(shown);
}

void Tparameter_rovo::showTripCharacteristic()
{
    // Drawn proportionally into the picture's area, from its top left corner.
    ui->Image2->setPixmap(svgPicture(QString::fromLatin1(TripCharacteristicPicture), ui->Image2->width(),
                                     ui->Image2->height(), devicePixelRatioF()));
}
