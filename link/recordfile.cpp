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
    if (file_.write(bytes) == bytes.size())
        return true;
    error_ = file_.errorString();
    file_.close();
    return false;
}
