#pragma once

#include <QByteArray>
#include <QElapsedTimer>
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

    explicit MonitorPort(SerialLine &line, QObject *parent = nullptr);

    void oeffnecom();
    // Also drops a read in flight: its bytes are never delivered.
    void schliessecom();

    // One tick of the 50 ms timer: first open, selection check, read started.
    // selectedIndex is the item selected in the port list, -1 for none.
    void tick(int selectedIndex);

    // A port chosen by name ("\\.\COMn" or a device path) outside the port list: from the
    // next tick on it is the selected port, until the list's selection changes. An empty
    // name gives the selection back to the list.
    void choose(const QString &deviceName);
    QString chosenPort() const { return chosen_; }
    // The name the port was last opened by; the configuration dialogs' transactions open
    // the port by it too.
    QString deviceName() const { return portDeviceName_; }
    // The next tick closes the port and opens it again, resolving its name afresh.
    void requestReopen();
    // While on, a tick that finds the line unusable reopens it as soon as its device
    // exists (again): after it vanished, or when it was absent at the open.
    void setAutoReconnect(bool on);
    bool autoReconnect() const { return autoReconnect_; }
    // The tick's read is in flight and bytes have come for it.
    bool receiving() const;

    quint8 openPortNumber = 0;
    quint8 selectedPortNumber = 0;
    bool portOpened = false;

signals:
    // The bytes of a tick's read, in order of arrival (possibly none).
    void received(const QByteArray &bytes);

private:
    void reopen();
    bool deviceAppeared();

    SerialLine &line_;
    QString portDeviceName_;
    QString chosen_;
    int chosenListIndex_ = -2;   // the list's selection when chosen_ was set; -2 not yet seen
    int lastListIndex_ = -2;
    bool reopenRequested_ = false;
    bool autoReconnect_ = false;
    QString lastIdentity_;        // of the device at the last open attempt
    QElapsedTimer sinceAttempt_;
    static constexpr int LookMs = 200;
    QElapsedTimer sinceLook_;
};
