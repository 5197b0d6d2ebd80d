#include "parameter2/parameter_rovo.h"
#include "ui_parameter_rovo.h"

#include "config/fieldaccessibility.h"
#include "grafik/svgpicture.h"

#include <QLineEdit>
#include <QMouseEvent>

// The pictures live in the window library; make sure they are linked in, whoever
// creates the dialog first.
static void initPictures()
{
    Q_INIT_RESOURCE(resources);
}

static const char TripCharacteristicPicture[] = ":/pictures/trip_characteristic.svg";

Tparameter_rovo::Tparameter_rovo(SharedState &state, SerialLine &line, QWidget *parent)
    : ConfigDialog(state, line, module_, QSize(ClientWidth, ClientHeight), QPoint(0, 0), parent)
    , ui(new Ui::Tparameter_rovo)
    , module_(state)
{
    initPictures();
    ui->setupUi(this);

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
    // The picture carries no text: name it for screen readers and tests.
    ui->Image2->setAccessibleName(ui->Image2->objectName());

    connect(&module_, &SinglePortModule::configChanged, this, &Tparameter_rovo::showConfig);
    connect(&module_, &SinglePortModule::markersChanged, this, &Tparameter_rovo::showMarkers);
    connect(&module_, &SinglePortModule::channels34HiddenChanged, this,
            [this](bool hidden) { showChannels34(!hidden); });

    actOn(ui->Button1, [this] { Button1Click(); });
    actOn(ui->Button2, [this] { Button2Click(); });
    actOn(ui->Button3, [this] { Button3Click(); });
    actOn(ui->oeffnen, [this] { oeffnenClick(); });
    actOn(ui->speichern, [this] { speichernClick(); });
    connect(ui->schliessen, &QAction::triggered, this, &Tparameter_rovo::schliessenClick);
    ui->Label3->installEventFilter(this);
    ui->Image2->installEventFilter(this);
    wireUserEdits();
    nameFieldsForScreenReaders();

    showTripCharacteristic();
    mirrorStatus(ui->status, ui->sw, ui->Label3);
    showConfig();
    showMarkers();
}

Tparameter_rovo::~Tparameter_rovo()
{
    delete ui;
}

// The check boxes have no text of their own: each is named by the caption beside it.
void Tparameter_rovo::nameFieldsForScreenReaders()
{
    QList<CaptionedField> fields = {{ui->port1_byte2_01, ui->f9, ui->Label2}, {ui->port1_byte2_02, ui->f10, ui->Label2},
                                    {ui->port1_byte2_40, ui->f11, ui->Label2}, {ui->programmieren, ui->f12},
                                    {ui->loeschen, ui->StaticText10}};
    QLabel *const captions[] = {ui->f1, ui->f5, ui->f2, ui->f6, ui->f3, ui->f7, ui->f4, ui->f8};   // bits 01 .. 80
    for (int bit = 0; bit < 8; ++bit)
        fields.append({eventBoxes_[bit], captions[bit], ui->Label2});
    nameByCaptions(fields);
}

QPoint Tparameter_rovo::placement(const QSize &workAreaSize, const QSize &outerSize)
{
    return ConfigDialog::placement(workAreaSize, outerSize, QPoint(0, 0));
}

void Tparameter_rovo::oeffnen(ModuleVariant variant)
{
    showOnTop();
    module_.open(variant);
    // Also when the module's state did not change: the controls follow the variant on
    // every opening.
    showChannels34(!module_.channels34Hidden());
}

void Tparameter_rovo::Button1Click()
{
    machinery().read();
}

void Tparameter_rovo::Image2Click()
{
    emit tripCharacteristicRequested();
}

void Tparameter_rovo::Label3Click()
{
    machinery().protocol().statusLine().revealVersion();
}

void Tparameter_rovo::retranslate()
{
    ui->retranslateUi(this);
}

bool Tparameter_rovo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == ui->Label3)
            userAction([this] { Label3Click(); });
        else if (watched == ui->Image2)
            userAction([this] { Image2Click(); });
    }
    return ConfigDialog::eventFilter(watched, event);
}

void Tparameter_rovo::wireUserEdits()
{
    SinglePortConfig &config = module_.config();
    for (int c = 0; c < singleport::ChannelCount; ++c)
        onUserPick(channelLists_[c], [&config, c](int index) { config.selectCurrent(c, index); });
    onUserPick(ui->abschaltzeit, [&config](int index) { config.selectTripDelay(index); });
    onUserPick(ui->pgood_sel_, [&config](int index) { config.selectPowerGood(index); });
    // The threshold list takes typed text too: text that is one of its entries selects
    // that entry, any other text leaves the list without a selection.
    connect(ui->pgood_sel_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        if (isShowing())
            return;
        userEdit(
            [this, text](bool late) {
                module_.config().selectPowerGood(ui->pgood_sel_->findText(text, Qt::MatchExactly));
                if (!late)
                    return;
                // Typed while a reply was awaited: the text stays as typed over what came.
                showConfig();
                showing([this, &text] { ui->pgood_sel_->setEditText(text); });
            },
            false);
    });

    for (int bit = 0; bit < 8; ++bit) {
        const quint8 mask = quint8(1u << bit);
        onUserToggle(eventBoxes_[bit], [&config, mask] { return config.event(mask); },
                     [&config, mask](bool checked) { config.setEvent(mask, checked); });
    }
    const auto flag = [this, &config](QCheckBox *box, bool SinglePortConfig::*member) {
        onUserToggle(box, [&config, member] { return config.*member; },
                     [&config, member](bool checked) { config.*member = checked; });
    };
    flag(ui->port1_byte2_01, &SinglePortConfig::lowInputVoltage);
    flag(ui->port1_byte2_02, &SinglePortConfig::hardwareFault);
    flag(ui->loeschen, &SinglePortConfig::releaseTripped);
    flag(ui->port1_byte2_40, &SinglePortConfig::invertOutput);
    flag(ui->programmieren, &SinglePortConfig::allowProgramming);
}

void Tparameter_rovo::showConfig()
{
    const SinglePortConfig &config = module_.config();
    showing([&] {
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
    });
}

void Tparameter_rovo::showMarkers()
{
    const singleport::Markers &markers = module_.markers();
    for (int c = 0; c < singleport::ChannelCount; ++c)
        channelMarkers_[c]->setVisible(markers.channel[c]);
    ui->error_pg->setVisible(markers.powerGood);
    ui->ab_error->setVisible(markers.tripDelay);
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
