#pragma once

#include <QString>

class QTranslator;

// The tool's English texts: a Qt Linguist translation of the German source texts,
// compiled into the program. The main window installs it while English is selected; the
// configuration dialogs take their messages from it by the language flags.
QTranslator &englishTranslator();

// The English text of a German source text, or the source text when none is known.
QString englishText(const char *context, const char *germanSource);

// Qt's own German texts (the file dialogs Qt draws itself, message boxes, context menus),
// from the system's Qt translations; installed while German is selected. Stays empty, and
// Qt's texts English, where they are not installed.
QTranslator &qtGermanTranslator();
