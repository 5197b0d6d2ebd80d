#pragma once

#include "link/recordfile.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMessageBox;
class QWidget;

// Recording from the window: the menu item "Aufzeichnung starten..." asks for a CSV file
// and writes one record per accepted status telegram into it, in the command line's monitor
// format, until the item (then "Aufzeichnung beenden") is chosen again or the program ends.
// A failed write stops the recording and says so at once, naming the file and the reason.
class Recording : public QObject
{
    Q_OBJECT

public:
    Recording(QAction *menuItem, QWidget *window);
    ~Recording() override;

    bool isRunning() const { return file_.isOpen(); }
    QString fileName() const { return file_.fileName(); }
    qint64 records() const { return file_.records(); }

    // The menu item: asks for a file and starts, or stops a running recording.
    void toggle();
    // Starts into path (replacing it); false, with the message shown, when it cannot.
    bool start(const QString &path);
    void stop();
    void write(const monitorrecord::Record &record);

    // The file proposed to the user: aufzeichnung-2026-12-11_14-03-07.csv in the home folder.
    static QString proposedName(const QDateTime &time);

signals:
    // A recording could not start or has stopped on a failure; text is what the user reads.
    void failed(const QString &text);

private:
    void fail(const QString &text);
    void showMenuText();

    QAction *menuItem_;
    QWidget *window_;
    RecordFile file_;
    QPointer<QMessageBox> message_;
};
