#pragma once

#include "config/language.h"
#include "link/modulevariant.h"

#include <QString>
#include <functional>

// What the main window and the configuration dialogs share for the whole run; the
// application owns it. It holds the module variant (set by every telegram the main window
// decodes and by a single-port read reply; the single-port dialog and its factory settings
// ask it) and the language (set by the flags, which tell the open dialogs). The port name
// is not kept here: the main window's live port owns it, and portDeviceName() asks that
// port when a transaction opens it.
struct SharedState
{
    ModuleVariant variant = ModuleVariant::FourChannel10A;
    Language language = Language::German;
    // Where the port name comes from; tests answer with a name of their own.
    std::function<QString()> portName;

    QString portDeviceName() const { return portName ? portName() : QString(); }
};
