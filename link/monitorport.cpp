#include "monitorport.h"

#include "portnames.h"
#include "serialline.h"

MonitorPort::MonitorPort(SerialLine &line, QString &portDeviceName, QObject *parent)
    : QObject(parent), line_(line), portDeviceName_(portDeviceName)
{
    connect(&line_, &SerialLine::readFinished, this, &MonitorPort::received);
}

bool MonitorPort::receiving() const
{
    return line_.receiving();
}

void MonitorPort::oeffnecom()
{
    if (!portOpened) {
        portDeviceName_ = portnames::deviceName(1);
        openPortNumber = 1;
    }
    line_.open(portDeviceName_);
}

void MonitorPort::schliessecom()
{
    line_.close();
}

void MonitorPort::tick(int selectedIndex)
{
    if (!portOpened) {
        // The open below still sees portOpened false and takes COM1; the selection
        // check corrects it within this same tick.
        if (selectedIndex >= 0) {
            portDeviceName_ = portnames::deviceName(selectedIndex + 1);
            openPortNumber = quint8(selectedIndex + 1);
        }
        oeffnecom();
        portOpened = true;
    }

    if (selectedIndex >= 0)
        selectedPortNumber = quint8(selectedIndex + 1);
    if (selectedPortNumber != 0 && selectedPortNumber != openPortNumber) {
        portDeviceName_ = portnames::deviceName(selectedPortNumber);
        openPortNumber = selectedPortNumber;
        schliessecom();
        oeffnecom();
    }

    line_.startRead(ReadSize, ReadGapMs, ReadTotalMs);
}
