#include "translation.h"

#include <QTranslator>

QTranslator &englishTranslator()
{
    static QTranslator translator;
    static const bool loaded = translator.load(QStringLiteral(":/i18n/electronicfuse_en.qm"));
    Q_UNUSED(loaded);
    return translator;
}

QString englishText(const char *context, const char *germanSource)
{
    const QString english = englishTranslator().translate(context, germanSource);
    return english.isEmpty() ? QString::fromUtf8(germanSource) : english;
}
