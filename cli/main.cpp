// efusectl: monitor, read, write and verify fuse modules from scripts, without a screen.
#include "cli/commands.h"
#include "cli/exitstatus.h"
#include "cli/invocation.h"
#include "config/translation.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

// The language of messages, as for every other program: LC_ALL, then LC_MESSAGES, then
// LANG. (QLocale::system() follows the number format instead, so a German LANG with
// English messages used to print both languages in one run.)
Language messageLanguage()
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty())
            return value.startsWith("de") ? Language::German : Language::English;
    }
    return Language::English;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("efusectl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(EFUSECTL_VERSION));

    // German texts are the source; every other locale gets the tool's English translation.
    // Qt's own texts (the option parser's errors) are English unless Qt's German is loaded.
    const Language language = messageLanguage();
    QCoreApplication::installTranslator(language == Language::English ? &englishTranslator() : &qtGermanTranslator());

    const invocation::Parsed parsed = invocation::parse(QCoreApplication::arguments());
    if (parsed.help) {
        const QString text = parsed.helpCommand ? invocation::commandHelp(*parsed.helpCommand, parsed.program)
                                                : invocation::helpText(parsed.program);
        std::fputs(qPrintable(text), stdout);
        return ExitDone;
    }
    if (parsed.version) {
        std::printf("efusectl %s\n", EFUSECTL_VERSION);
        return ExitDone;
    }
    if (!parsed.invocation) {
        std::fprintf(stderr, "%s: %s\n%s\n", qPrintable(parsed.program), qPrintable(parsed.error),
                     qPrintable(invocation::usageHint(parsed.program)));
        return ExitUsage;
    }
    return commands::run(*parsed.invocation, language);
}
