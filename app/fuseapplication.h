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

// The start-up sequence: shared state first, then the windows once and for all in their
// creation order, then German. Windows are hidden until the event loop shows the main one.
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
