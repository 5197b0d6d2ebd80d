#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QEvent;
class QLabel;
class QWidget;

// What a screen reader finds on the main window. Each lamp is one element named by its
// caption and its state ("Überstrom Kanal 1: an"); the pictures it is drawn with are not
// listed. Each value is named by its row, its column and its text ("Kanal 1, aktueller
// Strom: 3,00 Adc"), since a label gives screen readers no text beside its name. Hidden
// controls, and the values of a hidden row, are left out. The flags are buttons named in their own
// language. Names follow the captions, so they follow the language switch; nothing is
// drawn differently.
class MainWindowAccessibility : public QObject
{
    Q_OBJECT

public:
    // A lamp: three pictures at one place (the outline on top stands for the lamp and is
    // hidden with its row) and the caption beside it.
    struct Lamp { QLabel *outline, *off, *on, *caption; };
    // A value label, its row caption (null for a value alone under its heading) and the
    // heading of its column.
    struct Value { QLabel *value, *row, *column; };
    struct Flag { QLabel *flag; QString name; std::function<void()> activate; };

    // panel: the parent of all of them. Created once the panel's children exist.
    MainWindowAccessibility(QWidget *panel, const QList<Lamp> &lamps, const QList<Value> &values,
                            const QList<Flag> &flags);

    // The state word of a lamp in the current language.
    static QString stateText(bool on);
    // The name of a value: row and heading without their colons, then the value, which
    // may be empty.
    static QString valueName(const QString &row, const QString &column, const QString &value);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void notify(QObject *object, int accessibleEvent);

    QWidget *panel_;
    QList<Lamp> lamps_;
    QList<Value> values_;
};

// A click (left button released) or Space, Enter or Return on a focused flag.
bool activatesFlag(const QEvent *event);
