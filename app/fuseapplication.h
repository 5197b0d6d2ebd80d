#pragma once

#include "config/sharedstate.h"
#include "link/serialline.h"
#include "link/statushistory.h"

#include <memory>

class TForm1;
class Tparameter_rovo;
class Tpara;
class TInfo;
class TForm2;
class TConnection;
class TTrend;
class Recording;

// The program: what it owns, who owns each fact the windows share, and how the port passes.
//
//   FuseApplication        owns the state, the three serial lines and every window
//   ├─ SharedState         the module variant and the language (config/sharedstate.h)
//   ├─ line                the main window's live port ─ MonitorPort (link/) in TForm1
//   ├─ twoPortLine         the two-port dialog's exchanges ─ Tpara
//   ├─ singlePortLine      the single-port dialog's exchanges ─ Tparameter_rovo
//   └─ windows             TForm1, the dialogs, TInfo, TForm2, TConnection, TTrend, Recording
//
// One owner per fact:
//   module variant   SharedState. TForm1 sets it from every decoded telegram; the
//                    single-port module sets it from a read reply and asks it for the
//                    factory settings; TForm1 asks it which dialog the button opens.
//   language         SharedState. The flags set it and tell the open dialogs, whose
//                    status lines then speak it; a dialog created later reads it.
//   port name        MonitorPort (deviceName()), changed only by its ticks (port list,
//                    --port, the connection window). SharedState::portDeviceName() asks
//                    it, and every configuration transaction asks that when it opens.
//   configuration    the family module of each dialog (TwoPortModule, SinglePortModule);
//                    the dialog's controls mirror it.
//   status line      the dialog's RetryProtocol::statusLine(); its labels mirror it.
//
// The port has one user at a time. Monitoring: TForm1's Timer1 ticks MonitorPort, which
// keeps `line` open and reads it. The configuration button (a telegram arriving is read to
// its end first) shows the dialog for the variant, stops Timer1, closes `line` and disables
// the main window. The dialog opens the same device on its own line for each request and
// closes it after the reply. Closing the dialog drops its exchange in flight, then
// rueckgabe() enables the main window, restarts Timer1 and reopens `line`.
//
// Start-up: state first, then the windows once and for all in their creation order, then
// German. Windows are hidden until the event loop shows the main one.
class FuseApplication
{
public:
    // portName: "\\.\COMn" or a device path to start with selected (--port), or empty.
    explicit FuseApplication(const QString &portName = QString());
    ~FuseApplication();

    void show();

    SharedState state;
    SerialLine line;             // the main window's port
    SerialLine twoPortLine;      // the two-port dialog's transactions
    SerialLine singlePortLine;   // the single-port dialog's transactions
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<Tpara> para;
    std::unique_ptr<TInfo> Info;
    std::unique_ptr<Tparameter_rovo> parameter_rovo;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TConnection> Connection;
    // Every accepted status telegram of the run, shown by the trend window.
    StatusHistory history;
    std::unique_ptr<TTrend> trend;
    std::unique_ptr<Recording> recording;
};
