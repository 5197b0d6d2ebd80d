#pragma once

#include "appstate.h"
#include "link/serialline.h"

#include <memory>

class TForm1;

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
};
