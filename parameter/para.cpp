#include "parameter/para.h"
#include "ui_para.h"

#include "config/fieldaccessibility.h"

#include <QMouseEvent>

Tpara::Tpara(SharedState &state, SerialLine &line, QWidget *parent)
    : ConfigDialog(state, line, module_, QSize(ClientWidth, ClientHeight), QPoint(DesignLeft, DesignTop), parent)
    , ui(new Ui::Tpara)
{
    ui->setupUi(this);

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

    connect(&module_, &TwoPortModule::configChanged, this, &Tpara::showConfig);
    connect(&module_, &TwoPortModule::markersChanged, this, &Tpara::showMarkers);

    actOn(ui->Button1, [this] { laden(); });
    actOn(ui->Button2, [this] { Button2Click(); });
    actOn(ui->Button3, [this] { Button3Click(); });
    actOn(ui->oeffnen, [this] { oeffnenClick(); });
    actOn(ui->speichern, [this] { speichernClick(); });
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
    setSaveDialogSizeGrip(true);
    nameFieldsForScreenReaders();

    mirrorStatus(ui->status, ui->sw, ui->Label5);
    showConfig();
    showMarkers();
}

Tpara::~Tpara()
{
    delete ui;
}

// The check boxes have no text of their own and the trip-time lists would read as their
// values: each is named by its caption and column.
void Tpara::nameFieldsForScreenReaders()
{
    QList<CaptionedField> fields = {{ui->k1_time, ui->Label6, ui->Label4}, {ui->k2_time, ui->Label12, ui->Label4},
                                    {ui->k3_time, ui->Label13, ui->Label4}, {ui->k4_time, ui->Label14, ui->Label4},
                                    {ui->loeschen, ui->StaticText10}, {ui->programmieren, ui->f12}};
    QLabel *const captions[] = {ui->f1, ui->f5, ui->f2, ui->f6, ui->f3, ui->f7, ui->f4, ui->f8};   // bits 01 .. 80
    QLabel *const ports[] = {ui->Label2, ui->Label3};
    for (int port = 0; port < 2; ++port) {
        for (int bit = 0; bit < 8; ++bit)
            fields.append({eventBoxes_[port][bit], captions[bit], ports[port]});
        QLabel *const flagCaptions[] = {ui->f9, ui->f10, ui->f11};   // 01, 02, 80
        for (int i = 0; i < 3; ++i)
            fields.append({flagBoxes_[port][i], flagCaptions[i], ports[port]});
    }
    nameByCaptions(fields);
}

QPoint Tpara::placement(const QSize &workAreaSize, const QSize &outerSize)
{
    return ConfigDialog::placement(workAreaSize, outerSize, QPoint(DesignLeft, DesignTop));
}

void Tpara::oeffnen()
{
    showOnTop();
    showConfig();
    showMarkers();
}

void Tpara::laden()
{
    machinery().read();
}

void Tpara::zeit(int channel, int index)
{
    userEdit([this, channel, index](bool) { module_.chooseCurrent(channel, index); });
}

void Tpara::zeit1(int index)
{
    zeit(0, index);
}

void Tpara::zeit2(int index)
{
    zeit(1, index);
}

void Tpara::zeit3(int index)
{
    zeit(2, index);
}

void Tpara::zeit4(int index)
{
    zeit(3, index);
}

void Tpara::pgood_sel_Change(int index)
{
    userEdit([this, index](bool) { module_.choosePowerGood(index); });
}

void Tpara::Label5Click()
{
    machinery().protocol().statusLine().revealVersion();
}

void Tpara::retranslate()
{
    ui->retranslateUi(this);
}

bool Tpara::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->Label5 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        userAction([this] { Label5Click(); });
    return ConfigDialog::eventFilter(watched, event);
}

void Tpara::wireUserEdits()
{
    // A current picked here is only taken over: the trip-time rule is zeit1 .. zeit4's
    // work, which follows on activated() for the user's pick.
    TwoPortConfig &config = module_.config();
    for (int c = 0; c < twoport::ChannelCount; ++c) {
        onUserPick(currentLists_[c], [&config, c](int index) { config.selectCurrent(c, index); });
        onUserPick(timeLists_[c], [&config, c](int index) { config.selectTripTime(c, index); });
    }
    onUserPick(ui->pgood_sel_, [&config](int index) { config.selectPowerGood(index); });

    static constexpr std::array<quint8, 3> FlagBits{twoport::LowInputVoltage, twoport::HardwareFault,
                                                     twoport::InvertOutput};
    const auto box = [this, &config](QCheckBox *control, int port, int byte, quint8 mask) {
        onUserToggle(control, [&config, port, byte, mask] { return config.box(port, byte, mask); },
                     [&config, port, byte, mask](bool checked) { config.setBox(port, byte, mask, checked); });
    };
    for (int p = 0; p < twoport::PortCount; ++p) {
        for (int bit = 0; bit < 8; ++bit)
            box(eventBoxes_[p][bit], p, 1, quint8(1u << bit));
        for (size_t f = 0; f < FlagBits.size(); ++f)
            box(flagBoxes_[p][f], p, 2, FlagBits[f]);
    }
    const auto flag = [this, &config](QCheckBox *control, bool TwoPortConfig::*member) {
        onUserToggle(control, [&config, member] { return config.*member; },
                     [&config, member](bool checked) { config.*member = checked; });
    };
    flag(ui->loeschen, &TwoPortConfig::loeschen);
    flag(ui->programmieren, &TwoPortConfig::programmieren);
}

void Tpara::showConfig()
{
    const TwoPortConfig &config = module_.config();
    showing([&] {
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
    });
}

void Tpara::showMarkers()
{
    const twoport::Markers &markers = module_.markers();
    for (int c = 0; c < twoport::ChannelCount; ++c)
        channelMarkers_[c]->setVisible(markers.channel[c]);
    ui->error_pg->setVisible(markers.powerGood);
}
