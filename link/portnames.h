#pragma once

#include <QString>

// Ports are named "COM1" .. "COM20" everywhere in the tool; the device name handed
// between the windows is the Windows device-namespace form "\\.\COMn".
namespace portnames {

constexpr int PortCount = 20;

// "\\.\COMn" for port number n (1..20).
QString deviceName(int number);

// Port number of a device name "\\.\COMn", or 0.
int portNumber(const QString &deviceName);

// The device name of a port typed by a user: "COM1" .. "COM20" (any case) and "\\.\COMn"
// become "\\.\COMn"; anything holding a '/' is taken as a device path. Empty for every
// other text.
QString deviceNameFromText(const QString &text);

// Folder where a user links devices under COM names:
// ~/.local/share/electronic-fuse/ports/ on Linux.
QString userPortsFolder();

// What the serial layer opens for a device name. Windows: the name itself. Elsewhere the
// link <userPortsFolder>/COMn when there is one, even dangling; else the first that exists of
// /dev/COMn, /dev/ttyS<n-1>; the last of them when none does, so that the open fails as
// "no such device".
QString systemPath(const QString &deviceName, const QString &portsFolder = userPortsFolder());

} // namespace portnames
