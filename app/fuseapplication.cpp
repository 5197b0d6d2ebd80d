#include "fuseapplication.h"

#include "form1.h"
#include "parameter2/parameter_rovo.h"

#include <QApplication>
#include <QFontDatabase>

static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

// The windows are laid out for Tahoma. Linux desktops rarely have it; Debian's
// fonts-wine ships a metric-compatible one outside the font path. Its bold file holds
// no glyphs, so only the regular one is taken and Qt emboldens it.
static void provideTahoma()
{
    if (!QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
}

FuseApplication::FuseApplication()
{
    initResources();
    provideTahoma();
    QApplication::setApplicationName(QStringLiteral("Electronic fuse"));
    state.currentVariant = ModuleVariant::FourChannel10A;

    Form1 = std::make_unique<TForm1>(state, line);
    // 2nd: the two-port dialog para; 3rd: the information dialog Info.
    parameter_rovo = std::make_unique<Tparameter_rovo>(state);
    // 5th: the trip-characteristic window Form2 (shown from parameter_rovo's picture).
    Form1->setConfigurationDialogs(nullptr, parameter_rovo.get());

    Form1->deutschClick();
}

FuseApplication::~FuseApplication() = default;

void FuseApplication::show()
{
    Form1->show();
}
