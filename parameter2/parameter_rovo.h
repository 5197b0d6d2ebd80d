#pragma once

#include "config/configdialog.h"
#include "link/modulevariant.h"
#include "parameter2/singleportmodule.h"

#include <array>

namespace Ui { class Tparameter_rovo; }

// The configuration dialog of the single-port modules (two or four channels, one signal
// output). It mirrors its family's configuration, markers and channel 3 and 4 rows in
// its controls and hands every click to the configuration flow. Created once at
// start-up, shown by the main window's configuration button, hidden again when closed.
class Tparameter_rovo : public ConfigDialog
{
    Q_OBJECT

public:
    // Client area of the dialog, without its menu bar.
    static constexpr int ClientWidth = 964;
    static constexpr int ClientHeight = 463;

    // Transactions go over line, which the application owns.
    Tparameter_rovo(SharedState &state, SerialLine &line, QWidget *parent = nullptr);
    ~Tparameter_rovo() override;

    // Top left corner of a window of outerSize on a work area of workAreaSize: (0, 0) on
    // work areas at least 910 high, else centred.
    static QPoint placement(const QSize &workAreaSize, const QSize &outerSize);

    // Shown by the main window's configuration button for the present variant: on top,
    // current-limit lists rebuilt for the variant without a selection, the channel 3 and
    // 4 controls hidden for a two-channel variant and shown for a four-channel one.
    void oeffnen(ModuleVariant variant);

    void Button1Click();
    void Image2Click();
    void Label3Click();

signals:
    // The picture was clicked: the enlarged trip characteristic is wanted, on top.
    void tripCharacteristicRequested();

protected:
    void retranslate() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    void showConfig() override;

private:
    void showMarkers();
    void showChannels34(bool shown);
    void showTripCharacteristic();
    void wireUserEdits();
    void nameFieldsForScreenReaders();

    Ui::Tparameter_rovo *ui;
    SinglePortModule module_;
    std::array<QComboBox *, 4> channelLists_{};
    std::array<QLabel *, 4> channelMarkers_{};
    // signalMask1 boxes by bit, 0x01 .. 0x80
    std::array<QCheckBox *, 8> eventBoxes_{};
};
