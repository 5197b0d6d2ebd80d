#pragma once

#include "config/configdialog.h"
#include "parameter/twoportmodule.h"

#include <array>

namespace Ui { class Tpara; }

// The configuration dialog of the two-port module (four channels, two signal outputs,
// a trip time per channel). It mirrors its family's configuration and markers in its
// controls and hands every click to the configuration flow. Created once at start-up,
// shown by the main window's configuration button, hidden again when closed.
class Tpara : public ConfigDialog
{
    Q_OBJECT

public:
    // Client area of the dialog, without its menu bar.
    static constexpr int ClientWidth = 823;
    static constexpr int ClientHeight = 511;
    // Where the dialog sits on work areas high enough not to centre it.
    static constexpr int DesignLeft = 0;
    static constexpr int DesignTop = 255;

    // Transactions go over line, which the application owns.
    Tpara(SharedState &state, SerialLine &line, QWidget *parent = nullptr);
    ~Tpara() override;

    // Top left corner of a window of outerSize on a work area of workAreaSize.
    static QPoint placement(const QSize &workAreaSize, const QSize &outerSize);

    // Shown by the main window's configuration button: on top, the controls as the last
    // close (or the start) left them.
    void oeffnen();

    void laden();
    // The user picked entry index of the current list of channel 1 .. 4: the trip-time
    // rule. While an attempt is in flight these wait for it, like every edit.
    void zeit1(int index);
    void zeit2(int index);
    void zeit3(int index);
    void zeit4(int index);
    void pgood_sel_Change(int index);
    void Label5Click();

protected:
    void retranslate() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    void showConfig() override;

private:
    void zeit(int channel, int index);
    void showMarkers();
    void wireUserEdits();
    void nameFieldsForScreenReaders();

    Ui::Tpara *ui;
    TwoPortModule module_;
    std::array<QComboBox *, 4> currentLists_{};
    std::array<QComboBox *, 4> timeLists_{};
    std::array<QLabel *, 4> channelMarkers_{};
    // [port][bit] of byte 1, 0x01 .. 0x80
    std::array<std::array<QCheckBox *, 8>, 2> eventBoxes_{};
    // [port] byte 2: 0x01, 0x02, 0x80
    std::array<std::array<QCheckBox *, 3>, 2> flagBoxes_{};
};
