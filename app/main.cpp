#include "config/translation.h"
#include "fuseapplication.h"
#include "link/portnames.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <cstdio>
#include <cstring>

namespace {

struct StartOptions
{
    QCommandLineOption port{QStringLiteral("port"),
                            QCoreApplication::translate("StartOptions", "Mit diesem Port starten: COM1 bis COM20 oder ein Gerätepfad."),
                            QStringLiteral("NAME")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QCoreApplication::translate("StartOptions", "Diese Hilfe anzeigen.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QCoreApplication::translate("StartOptions", "Versionsnummer anzeigen.")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "StartOptions", "Zeigt den Zustand von Elektronische-Sicherungs-Modulen und konfiguriert sie."));
        parser.addOptions({port, help, version});
    }
};

// --help and --version need no screen: they are answered before any window exists.
int answerWithoutWindows(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (QLocale::system().language() != QLocale::German)
        QCoreApplication::installTranslator(&englishTranslator());
    QCommandLineParser parser;
    StartOptions options;
    options.addTo(parser);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(options.version))
        std::printf("electronic-fuse %s\n", FUSE_VERSION);
    else
        std::fputs(qPrintable(parser.helpText()), stdout);
    return 0;
}

} // namespace

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    // Answered before Qt looks for a display, so that it works from any terminal.
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return answerWithoutWindows(argc, argv);
        }
    }

    QApplication app(argc, argv);   // takes Qt's own options (-platform, ...) away
    QCommandLineParser parser;
    StartOptions options;
    options.addTo(parser);
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "electronic-fuse: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    QString portName;
    if (parser.isSet(options.port)) {
        portName = portnames::deviceNameFromText(parser.value(options.port));
        if (portName.isEmpty()) {
            std::fprintf(stderr, "electronic-fuse: %s\n",
                         qPrintable(QCoreApplication::translate("StartOptions", "„%1“ ist kein Port: COM1 bis COM20 oder ein Gerätepfad.")
                                        .arg(parser.value(options.port))));
            return 2;
        }
    }
    FuseApplication fuse(portName);
    fuse.show();
    return app.exec();
}
