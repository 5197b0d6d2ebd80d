#pragma once

#include "config/language.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>

struct AppState;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QLabel;
class TransactionLine;
class TwoPortController;

namespace Ui { class Tpara; }

// The configuration dialog of the two-port module (four channels, two signal outputs,
// a trip time per channel). It shows the controller's configuration, status line and
// markers in its controls and hands every click to the controller. Created once at
// start-up, shown by the main window's configuration button, hidden again when closed.
class Tpara : public QMainWindow
{
    Q_OBJECT

public:
    // Client area of the dialog, without its menu bar.
    static constexpr int ClientWidth = 823;
    static constexpr int ClientHeight = 511;
    // Work areas lower than this get the dialog centred; others leave it at its designed place.
    static constexpr int CentringHeightLimit = 910;
    static constexpr int DesignLeft = 0;
    static constexpr int DesignTop = 255;

    // Transactions go over line when given (tests), else over a serial line of its own.
    explicit Tpara(AppState &state, TransactionLine *line = nullptr, QWidget *parent = nullptr);
    ~Tpara() override;

    // Top left corner of a window of outerSize on a work area of workAreaSize.
    static QPoint placement(const QSize &workAreaSize, const QSize &outerSize);

    // Shown by the main window's configuration button: on top, the controls as the last
    // close (or the start) left them.
    void oeffnen();

    // Messages from now on in this language (the main window's flags).
    void setLanguage(Language language);

    void laden();
    void Button2Click();
    void Button3Click();
    // The user picked a current for channel 1 .. 4: the trip-time rule.
    void zeit1();
    void zeit2();
    void zeit3();
    void zeit4();
    void pgood_sel_Change();
    void Label5Click();
    void oeffnenClick();
    void speichernClick();
    void schliessenClick();
    void Timer1Timer();
    void Timer3Timer();

    TwoPortController &controller() { return *controller_; }

    // Shows a prepared file dialog and returns the chosen path, empty when cancelled.
    // Tests replace it to answer without a user.
    std::function<QString(QFileDialog &)> askFileName;

    // The error report of a load that met text which is no hexadecimal number (null
    // when none is open).
    QMessageBox *errorReport() const { return errorReport_; }

    Ui::Tpara *ui;

signals:
    // Closed by its close button or menu: the main window takes its port back. Emitted
    // before the dialog resets its controls.
    void rueckgabe();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    void zeit(int channel);
    void showConfig();
    void showMarkers();
    void showStatus();
    void showVersion();
    void wireUserEdits();
    void prepareFileDialog(QFileDialog &dialog) const;

    AppState &state_;
    std::unique_ptr<TwoPortController> controller_;
    std::array<QComboBox *, 4> currentLists_{};
    std::array<QComboBox *, 4> timeLists_{};
    std::array<QLabel *, 4> channelMarkers_{};
    // [port][bit] of byte 1, 0x01 .. 0x80
    std::array<std::array<QCheckBox *, 8>, 2> eventBoxes_{};
    // [port] byte 2: 0x01, 0x02, 0x80
    std::array<std::array<QCheckBox *, 3>, 2> flagBoxes_{};
    QPointer<QMessageBox> errorReport_;
    bool showing_ = false;   // controls are being set from the configuration
};
