#pragma once

#include <QByteArray>
#include <QString>

class PortIO;

// The main window's port: opened on the first tick, reopened when the selection in the
// port list changes, read on every tick. It only listens.
class MonitorPort
{
public:
    // A read ends at 60 bytes, 3 ms after the last byte, or 120 ms (60 x 1 ms + 60 ms)
    // after it began when nothing arrives.
    static constexpr int ReadSize = 60;
    static constexpr int ReadGapMs = 3;
    static constexpr int ReadTotalMs = ReadSize * 1 + 60;

    // portDeviceName is shared with the configuration transaction.
    MonitorPort(PortIO &line, QString &portDeviceName);

    void oeffnecom();
    void schliessecom();

    // One tick of the 50 ms timer: first open, selection check, read. selectedIndex is
    // the item selected in the port list, -1 for none. Returns the bytes read.
    QByteArray tick(int selectedIndex);

    quint8 openPortNumber = 0;
    quint8 selectedPortNumber = 0;
    bool portOpened = false;

private:
    PortIO &line_;
    QString &portDeviceName_;
};
