#include "recording.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

Recording::Recording(QAction *menuItem, QWidget *window)
    : menuItem_(menuItem)
    , window_(window)
{
    connect(menuItem_, &QAction::triggered, this, &Recording::toggle);
    // The main window writes its menu texts anew on a language switch; the item keeps
    // saying what it does now.
    connect(menuItem_, &QAction::changed, this, &Recording::showMenuText);
}

Recording::~Recording()
{
    // Every record is on disk already; closing ends the file cleanly.
    file_.close();
}

QString Recording::proposedName(const QDateTime &time)
{
    return QDir::home().filePath(
        QStringLiteral("aufzeichnung-%1.csv").arg(time.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"))));
}

void Recording::toggle()
{
    if (isRunning()) {
        stop();
        return;
    }
    // The dialog asks before it replaces a file.
    const QString path = QFileDialog::getSaveFileName(window_, tr("Aufzeichnung starten"),
                                                      proposedName(QDateTime::currentDateTime()),
                                                      tr("CSV-Dateien (*.csv)"));
    if (!path.isEmpty())
        start(path);
}

bool Recording::start(const QString &path)
{
    if (!file_.open(path)) {
        fail(tr("Die Aufzeichnung in %1 konnte nicht beginnen: %2").arg(QDir::toNativeSeparators(path), file_.errorString()));
        return false;
    }
    showMenuText();
    return true;
}

void Recording::stop()
{
    file_.close();
    showMenuText();
}

void Recording::write(const monitorrecord::Record &record)
{
    if (!isRunning())
        return;
    if (!file_.write(record))
        fail(tr("Die Aufzeichnung in %1 wurde beendet, weil nicht geschrieben werden konnte: %2")
                 .arg(QDir::toNativeSeparators(file_.fileName()), file_.errorString()));
}

void Recording::fail(const QString &text)
{
    showMenuText();
    // Not modal: the telegrams keep coming while the message is read.
    if (!message_) {
        message_ = new QMessageBox(QMessageBox::Warning, tr("Aufzeichnung"), text, QMessageBox::Ok, window_);
        message_->setObjectName(QStringLiteral("recordingMessage"));
        message_->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        message_->setText(text);
    }
    message_->open();
    emit failed(text);
}

void Recording::showMenuText()
{
    const QString text = isRunning() ? tr("Aufzeichnung beenden") : tr("Aufzeichnung starten...");
    if (menuItem_->text() != text)
        menuItem_->setText(text);
}
