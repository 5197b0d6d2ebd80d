#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class SerialLine;

// The main window's port: opened on the first tick, reopened when the selection in the
// port list changes, read on every tick. It only listens. A tick starts the read; its
// bytes arrive by received() when the read completes.
class MonitorPort : public QObject
{
    Q_OBJECT
public:
    // A read ends at 60 bytes, 3 ms after the last byte, or 120 ms (60 x 1 ms + 60 ms)
    // after it began when nothing arrives.
    static constexpr int ReadSize = 60;
    static constexpr int ReadGapMs = 3;
    static constexpr int ReadTotalMs = ReadSize * 1 + 60;

    // portDeviceName is shared with the configuration transaction.
    MonitorPort(SerialLine &line, QString &portDeviceName, QObject *parent = nullptr);

    void oeffnecom();
    // Also drops a read in flight: its bytes are never delivered.
    void schliessecom();

    // One tick of the 50 ms timer: first open, selection check, read started.
    // selectedIndex is the item selected in the port list, -1 for none.
    void tick(int selectedIndex);

    // The tick's read is in flight and bytes have come for it.
    bool receiving() const;

    quint8 openPortNumber = 0;
    quint8 selectedPortNumber = 0;
    bool portOpened = false;

signals:
    // The bytes of a tick's read, in order of arrival (possibly none).
    void received(const QByteArray &bytes);

private:
    SerialLine &line_;
    QString &portDeviceName_;
};
