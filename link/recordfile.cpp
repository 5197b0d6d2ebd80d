#include "recordfile.h"

bool RecordFile::open(const QString &path)
{
    close();
    error_.clear();
    records_ = 0;
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error_ = file_.errorString();
        return false;
    }
    return put(monitorrecord::csvHeader());
}

bool RecordFile::write(const monitorrecord::Record &record)
{
    if (!file_.isOpen())
        return false;
    if (!put(monitorrecord::csvLine(record)))
        return false;
    ++records_;
    return true;
}

void RecordFile::close()
{
    file_.close();
}

bool RecordFile::put(const QByteArray &bytes)
{
    const qint64 before = file_.pos();
    qint64 written = file_.write(bytes);
    // A full disk can take part of a line first; writing the rest then gives the reason.
    if (written >= 0 && written < bytes.size()) {
        const qint64 rest = file_.write(bytes.mid(written));
        written = rest < 0 ? -1 : written + rest;
    }
    if (written == bytes.size())
        return true;
    error_ = file_.errorString();
    // The file ends with the last complete record, not with part of one.
    file_.resize(before);
    file_.close();
    return false;
}
