#pragma once

#include "monitorrecord.h"

#include <QFile>
#include <QString>

// A recording in the monitor's CSV format: the header when it is opened, then one line per
// record. Every line goes to the system as soon as it is written (the file is unbuffered),
// so a crash of the tool loses at most the line being written. The first failed write
// closes the file; errorString() then gives the system's reason.
class RecordFile
{
public:
    // Creates or replaces the file and writes the header.
    bool open(const QString &path);
    bool write(const monitorrecord::Record &record);
    void close();

    bool isOpen() const { return file_.isOpen(); }
    QString fileName() const { return file_.fileName(); }
    QString errorString() const { return error_; }
    qint64 records() const { return records_; }

private:
    bool put(const QByteArray &bytes);

    QFile file_;
    QString error_;
    qint64 records_ = 0;
};
