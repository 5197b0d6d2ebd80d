#pragma once

#include "appstate.h"
#include "link/serialline.h"

#include <memory>

class TForm1;
class Tparameter_rovo;

// The start-up sequence: shared state first, then the windows once and for all in their
// creation order, then German. Windows are hidden until the event loop shows the main one.
class FuseApplication
{
public:
    FuseApplication();
    ~FuseApplication();

    void show();

    AppState state;
    SerialLine line;   // the main window's port
    std::unique_ptr<TForm1> Form1;
    // para (two-port dialog) and Info come between these two, Form2 after them.
    std::unique_ptr<Tparameter_rovo> parameter_rovo;
};
