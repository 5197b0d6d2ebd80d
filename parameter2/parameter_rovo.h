#pragma once

#include "config/language.h"
#include "link/modulevariant.h"

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
class SinglePortController;
class TransactionLine;

namespace Ui { class Tparameter_rovo; }

// The configuration dialog of the single-port modules (two or four channels, one signal
// output). It shows the controller's configuration, status line and markers in its
// controls and hands every click to the controller. Created once at start-up, shown by
// the main window's configuration button, hidden again when closed.
class Tparameter_rovo : public QMainWindow
{
    Q_OBJECT

public:
    // Client area of the dialog, without its menu bar.
    static constexpr int ClientWidth = 964;
    static constexpr int ClientHeight = 463;
    // Work areas lower than this get the dialog centred; others leave it at (0, 0).
    static constexpr int CentringHeightLimit = 910;

    // Transactions go over line when given (tests), else over a serial line of its own.
    explicit Tparameter_rovo(AppState &state, TransactionLine *line = nullptr, QWidget *parent = nullptr);
    ~Tparameter_rovo() override;

    // Top left corner of a window of outerSize on a work area of workAreaSize.
    static QPoint placement(const QSize &workAreaSize, const QSize &outerSize);

    // Shown by the main window's configuration button for the present variant: on top,
    // current-limit lists rebuilt for the variant without a selection, the channel 3 and
    // 4 controls hidden for a two-channel variant and shown for a four-channel one.
    void oeffnen(ModuleVariant variant);

    // Messages from now on in this language (the main window's flags).
    void setLanguage(Language language);

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Image2Click();
    void Label3Click();
    void oeffnenClick();
    void speichernClick();
    void schliessenClick();
    void Timer1Timer();
    void Timer3Timer();

    SinglePortController &controller() { return *controller_; }

    // Shows a prepared file dialog and returns the chosen path, empty when cancelled.
    // Tests replace it to answer without a user.
    std::function<QString(QFileDialog &)> askFileName;

    // The error report of a load that met text which is no hexadecimal number (null
    // when none is open).
    QMessageBox *errorReport() const { return errorReport_; }

    Ui::Tparameter_rovo *ui;

signals:
    // Closed by its close button or menu: the main window takes its port back. Emitted
    // before the dialog resets its controls.
    void rueckgabe();
    // The picture was clicked: the enlarged trip characteristic is wanted, on top.
    void tripCharacteristicRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    void showConfig();
    void showMarkers();
    void showStatus();
    void showVersion();
    void showChannels34(bool shown);
    void showTripCharacteristic();
    void takeUserEdits();
    void wireUserEdits();
    void prepareFileDialog(QFileDialog &dialog) const;

    AppState &state_;
    std::unique_ptr<SinglePortController> controller_;
    std::array<QComboBox *, 4> channelLists_{};
    std::array<QLabel *, 4> channelMarkers_{};
    // signalMask1 boxes by bit, 0x01 .. 0x80
    std::array<QCheckBox *, 8> eventBoxes_{};
    QPointer<QMessageBox> errorReport_;
    bool showing_ = false;   // controls are being set from the configuration
};
