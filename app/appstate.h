#pragma once

#include "link/modulevariant.h"

#include <QString>

// What the windows share for the whole run.
struct AppState
{
    ModuleVariant currentVariant = ModuleVariant::FourChannel10A;
    QString portDeviceName;   // "\\.\COMn" of the port chosen on the main window
    bool languageGerman = false;
    bool languageEnglish = false;
};
