#pragma once

#include "config/configfile.h"
#include "config/configtransaction.h"
#include "config/retryprotocol.h"

#include <QObject>
#include <QString>
#include <functional>

class ConfigModule;
class SerialLine;

// The configuration flow that both dialogs and the command line share, without widgets:
// read and write with the attempt and retry protocol, the "!" markers, saving and
// loading, factory settings, closing. The family's own part is a ConfigModule.
//
//   read button        read()
//   write button       write()
//   factory settings   enterFactorySettings()
//   hot spot           protocol().statusLine().revealVersion()
//   save               if (prepareSave()) { path from the save dialog; saveTo(path) }
//   open               path from the open dialog; loadFrom(path)
//   close              abort(), the port handed back, then close()
//
// While an attempt is in flight every user action waits for it (protocol().whenIdle()):
// read, write and the factory settings do so by themselves, a dialog passes its other
// actions in.
class ConfigMachinery : public QObject
{
    Q_OBJECT
public:
    // Where every transaction opens the port: asked at each attempt, so that it follows
    // the main window's port selection.
    using PortName = std::function<QString()>;

    // Transactions on the given line, which must outlive the machinery.
    ConfigMachinery(ConfigModule &module, SerialLine &line, PortName portName, QObject *parent = nullptr);

    RetryProtocol &protocol() { return protocol_; }
    const RetryProtocol &protocol() const { return protocol_; }

    // The reply of the last transaction.
    QByteArray configReply() const { return configReply_; }

    // Read button: the controls emptied, the version text emptied, then one read attempt
    // (retried every 500 ms on failure).
    void read();
    // Write button: one write attempt (refused with markers when a field is empty).
    void write();
    // Factory-settings button: nothing is sent; status text emptied, markers hidden.
    void enterFactorySettings();

    // Saving, before the file dialog: status text emptied, markers hidden, then validation.
    // False when refused (markers and the refusal text are then shown): no file dialog.
    bool prepareSave();
    // Saving to the chosen path. A failed save keeps an existing file as it was and shows
    // "Datei konnte nicht gespeichert werden" in red; success shows nothing.
    bool saveTo(const QString &path);
    // Loading from the chosen path: the result in the status line (black when read
    // correctly, red "Datei fehlerhaft C<code>" otherwise), cleared after 5 s. A load
    // stopped by text that is no hexadecimal number leaves the status line empty and the
    // result names that text, for the dialog's message box.
    configfile::LoadResult loadFrom(const QString &path);

    // The dialog is being closed: the attempt in flight is dropped (its port closed, so
    // nothing more is written), retries and the clearing stop.
    void abort();
    // After the hand-back: controls emptied, status line, version and markers hidden.
    void close();

private:
    void sende_ff(bool readMode);
    void replied(const QByteArray &reply);

    ConfigModule &module_;
    ConfigTransaction transaction_;
    RetryProtocol protocol_;
    PortName portName_;
    QByteArray configReply_;
    QByteArray sentTelegram_;   // the write telegram in flight; empty for a read
};
