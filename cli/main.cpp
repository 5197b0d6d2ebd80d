// efusectl: monitor, read, write and verify fuse modules from scripts, without a screen.
#include "cli/commands.h"
#include "cli/exitstatus.h"
#include "cli/invocation.h"
#include "config/translation.h"

#include <QCoreApplication>
#include <QLocale>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("efusectl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(EFUSECTL_VERSION));

    // German texts are the source; every other locale gets the tool's English translation.
    const Language language = QLocale::system().language() == QLocale::German ? Language::German : Language::English;
    if (language == Language::English)
        QCoreApplication::installTranslator(&englishTranslator());

    const invocation::Parsed parsed = invocation::parse(QCoreApplication::arguments());
    if (parsed.help) {
        std::fputs(qPrintable(invocation::helpText()), stdout);
        return ExitDone;
    }
    if (parsed.version) {
        std::printf("efusectl %s\n", EFUSECTL_VERSION);
        return ExitDone;
    }
    if (!parsed.invocation) {
        std::fprintf(stderr, "efusectl: %s\n%s\n", qPrintable(parsed.error), qPrintable(invocation::usageHint()));
        return ExitUsage;
    }
    return commands::run(*parsed.invocation, language);
}
