#pragma once

#include "appstate.h"
#include "link/serialline.h"

#include <memory>

class TForm1;
class Tparameter_rovo;
class Tpara;
class TInfo;
class TForm2;
class TConnection;

// The start-up sequence: shared state first, then the windows once and for all in their
// creation order, then German. Windows are hidden until the event loop shows the main one.
class FuseApplication
{
public:
    // portName: "\\.\COMn" or a device path to start with selected (--port), or empty.
    explicit FuseApplication(const QString &portName = QString());
    ~FuseApplication();

    void show();

    AppState state;
    SerialLine line;   // the main window's port
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<Tpara> para;
    std::unique_ptr<TInfo> Info;
    std::unique_ptr<Tparameter_rovo> parameter_rovo;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TConnection> Connection;
};
