#include "translation.h"

#include <QLibraryInfo>
#include <QTranslator>

QTranslator &englishTranslator()
{
    static QTranslator translator;
    static const bool loaded = translator.load(QStringLiteral(":/i18n/electronicfuse_en.qm"));
    Q_UNUSED(loaded);
    return translator;
}

QTranslator &qtGermanTranslator()
{
    static QTranslator translator;
    // qt_de names the catalogues of the modules (qtbase_de, ...), which load with it.
    static const bool loaded =
        translator.load(QStringLiteral("qt_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    Q_UNUSED(loaded);
    return translator;
}

QString englishText(const char *context, const char *germanSource)
{
    const QString english = englishTranslator().translate(context, germanSource);
    return english.isEmpty() ? QString::fromUtf8(germanSource) : english;
}
