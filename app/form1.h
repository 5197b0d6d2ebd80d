#pragma once

#include "config/language.h"
#include "link/monitorport.h"
#include "link/telegramassembler.h"
#include "link/statustelegram.h"

#include <QMainWindow>
#include <QTimer>
#include <array>

struct SharedState;
class SerialLine;
class QAction;
class QLabel;
class Tparameter_rovo;
class Tpara;
class TInfo;
class TConnection;

namespace Ui { class TForm1; }

// The main window: live values and lamps of the module on the chosen port.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    TForm1(SharedState &state, SerialLine &line, QWidget *parent = nullptr);
    ~TForm1() override;

    // Left edge of a window of outerWidth on a work area workAreaWidth wide: centred on
    // narrow screens, else 0.
    static int leftEdge(int workAreaWidth, int outerWidth);

    // Timer1 (50 ms): first open, port selection, then a read; the next tick comes 50 ms
    // after the read has completed.
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void baue_string(quint8 b);
    void ausfuehren();
    void oeffnecom();
    void schliessecom();
    void deutschClick();
    void englischClick();
    void Beenden1Click();
    void info1Click();
    // Menu "Extras", "Verbindung...": shows the connection window.
    void Verbindung1Click();

    // The live port, for the connection window.
    MonitorPort &monitorPort() { return port; }
    // Makes deviceName ("\\.\COMn" or a device path) the selected port: a COM name is
    // selected in the port list (also once the list is hidden), any other name is chosen
    // beside it. The next tick opens it.
    void selectPort(const QString &deviceName);

    // The configuration dialogs, created after the main window. Each one's close hands
    // the port back (rueckgabe).
    void setConfigurationDialogs(Tpara *twoPortDialog, Tparameter_rovo *singlePortDialog);
    // Configuration button: the dialog for currentVariant takes the port. A telegram that
    // is arriving is read to the end of the read and decoded first.
    void Button1Click();
    // A configuration dialog was closed: the main window takes its port back.
    void rueckgabe();

    // Two-port dialog (FourChannelTwoPort); not there yet while null.
    Tpara *para = nullptr;
    Tparameter_rovo *parameter_rovo = nullptr;
    TInfo *Info = nullptr;
    TConnection *Connection = nullptr;

    // The menu "Extras": its items are handled by the windows they open.
    QAction *trendAction() const;
    QAction *recordingAction() const;

signals:
    // A status telegram passed every test of the decoder (the whole frame).
    void statusAccepted(const QByteArray &frame);
    // The display watchdog blanked the display: the line has been silent for a period.
    void displayBlanked();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void received(const QByteArray &bytes);
    void handOver();
    void switchLanguage(Language language);
    void showChannels34(bool shown);
    void describeForScreenReaders();

    Ui::TForm1 *ui;
    QTimer Timer1;   // 50 ms: port selection, read, assembly and decoding
    QTimer Timer2;   // 1000 ms: display watchdog
    QTimer Timer3;   // 250 ms: activity indicator off
    MonitorPort port;
    TelegramAssembler assembler;

    struct Lamp { QLabel *outline, *off, *on, *label; };
    SharedState &state_;
    std::array<Lamp, status::LampCount> lamps_;
    std::array<QLabel *, status::ValueCount> values_;
    bool channels34Shown_ = true;
    bool handOverWaiting_ = false;   // the configuration button waits for the read in flight
};
