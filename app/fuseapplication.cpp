#include "fuseapplication.h"

#include "form1.h"
#include "connection/connection.h"
#include "grafik/form2.h"
#include "information/info.h"
#include "parameter/para.h"
#include "parameter2/parameter_rovo.h"
#include "trend/recording.h"
#include "trend/trend.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QIcon>

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

FuseApplication::FuseApplication(const QString &portName)
{
    initResources();
    provideTahoma();
    QApplication::setApplicationName(QStringLiteral("Electronic fuse"));
    // The same id names the desktop entry and the installed icon, so that docks and task
    // bars put the running windows under the menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.tarmeno.ElectronicFuse"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/de.tarmeno.ElectronicFuse.svg")));
    state.variant = ModuleVariant::FourChannel10A;

    Form1 = std::make_unique<TForm1>(state, line);
    para = std::make_unique<Tpara>(state, twoPortLine);
    Info = std::make_unique<TInfo>();
    parameter_rovo = std::make_unique<Tparameter_rovo>(state, singlePortLine);
    Form2 = std::make_unique<TForm2>();
    Connection = std::make_unique<TConnection>(*Form1, line);
    trend = std::make_unique<TTrend>(history);
    recording = std::make_unique<Recording>(Form1->recordingAction(), Form1.get());

    Form1->setConfigurationDialogs(para.get(), parameter_rovo.get());
    Form1->Info = Info.get();
    Form1->Connection = Connection.get();
    if (!portName.isEmpty())
        Form1->selectPort(portName);
    // The enlarged trip characteristic, in front of the dialog that stays on top itself.
    QObject::connect(parameter_rovo.get(), &Tparameter_rovo::tripCharacteristicRequested, Form2.get(), [this] {
        Form2->setWindowFlag(Qt::WindowStaysOnTopHint);
        Form2->show();
        Form2->raise();
    });

    // The history and the recording take every telegram the main window accepts; a silent
    // line is a gap in the history.
    QObject::connect(Form1.get(), &TForm1::statusAccepted, Form1.get(), [this](const QByteArray &frame) {
        const auto record = monitorrecord::fromFrame(frame, QDateTime::currentDateTime());
        if (!record)
            return;
        history.append(*record);
        recording->write(*record);
    });
    QObject::connect(Form1.get(), &TForm1::displayBlanked, Form1.get(),
                     [this] { history.breakHere(QDateTime::currentMSecsSinceEpoch()); });
    QObject::connect(Form1->trendAction(), &QAction::triggered, trend.get(), [this] {
        trend->show();
        trend->raise();
        trend->activateWindow();
    });

    Form1->deutschClick();
}

FuseApplication::~FuseApplication() = default;

void FuseApplication::show()
{
    Form1->show();
}
