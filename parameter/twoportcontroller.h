#pragma once

#include "config/configtransaction.h"
#include "config/retryprotocol.h"
#include "parameter/twoportconfig.h"
#include "parameter/twoportfile.h"

#include <QObject>
#include <QString>

class TransactionLine;

// Everything the two-port configuration dialog does, without its widgets. The dialog
// mirrors config() in its controls (refreshing them on configChanged()), writes the
// user's check-box and trip-time edits straight into config(), shows markers(),
// protocol()'s status line and version label, and calls one method per handler:
//
//   opening (hand-over)  open()
//   laden                readConfiguration()
//   Button2Click         writeConfiguration()
//   Button3Click         enterFactorySettings()
//   zeit1 .. zeit4       chooseCurrent(0 .. 3, item)     (only for the user's own pick)
//   pgood_sel_Change     choosePowerGood(item)           (only for the user's own pick)
//   Label5Click          protocol().revealVersion()
//   speichernClick       if (prepareSave()) { path from the save dialog; saveTo(path) }
//   oeffnenClick         path from the open dialog; loadFrom(path) (on cancel: nothing)
//   FormClose            close() after the port has been handed back
//   flags                setLanguage()
//
// Selections that the controller sets (read reply, file, factory settings, reset) come
// to the dialog through configChanged(); the dialog must fill its lists from them with
// its change handlers blocked.
class TwoPortController : public QObject
{
    Q_OBJECT
public:
    // Transactions on a serial line of the controller's own.
    explicit TwoPortController(QObject *parent = nullptr);
    // Transactions on the given line, which must outlive the controller.
    explicit TwoPortController(TransactionLine &line, QObject *parent = nullptr);

    RetryProtocol &protocol() { return protocol_; }
    const RetryProtocol &protocol() const { return protocol_; }

    // The controls' values. User edits of boxes and trip times go straight in here.
    TwoPortConfig &config() { return config_; }
    const TwoPortConfig &config() const { return config_; }

    // The "!" markers shown beside the lists.
    const twoport::Markers &markers() const { return markers_; }

    // The device that every transaction opens (the main window's port selection).
    void setPortDeviceName(const QString &deviceName) { portDeviceName_ = deviceName; }
    QString portDeviceName() const { return portDeviceName_; }

    void setLanguage(Language language) { protocol_.setLanguage(language); }

    // The reply of the last transaction.
    QByteArray configReply() const { return configReply_; }

    // The dialog is shown: it shows the controls as the last close (or the start) left them.
    void open();

    // laden: every list without a selection, trip-time lists emptied, every box (loeschen
    // and programmieren too) unchecked, the version text emptied, then one read attempt
    // (retried every 500 ms on failure). The module variant is not changed by this read.
    void readConfiguration();
    // Write button: one write attempt (refused with markers when a list is empty).
    void writeConfiguration();
    // Factory-settings button: the settings; status text emptied, markers hidden; nothing is sent.
    void enterFactorySettings();

    // The user picked a current for a channel (0 .. 3): its marker hidden, its trip-time
    // list rebuilt with the longest time selected.
    void chooseCurrent(int channel, int item);
    // The user picked a threshold: error_pg hidden.
    void choosePowerGood(int item);

    // Saving, before the file dialog: status text emptied, markers hidden, then validation.
    // False when refused (markers and the refusal text are then shown): no file dialog.
    bool prepareSave();
    // Saving to the chosen path. A failed save keeps an existing file as it was and shows
    // "Datei konnte nicht gespeichert werden" in red; success shows nothing.
    bool saveTo(const QString &path);

    // Loading from the chosen path: the result text in the status line (black when read
    // correctly, red "Datei fehlerhaft C<code>" otherwise), cleared after 5 s. When the
    // file holds text that is no hexadecimal number the load stops there, the status line
    // stays empty and the result names that text: the dialog then shows
    // notHexadecimalMessage(result.invalidText, language) in a message box.
    twoportfile::LoadResult loadFrom(const QString &path);

    // Close handler after the hand-back: retries and the clearing stopped, lists emptied,
    // every box unchecked, version text emptied, status line and markers hidden.
    void close();

signals:
    // config() was changed by the logic (not by the user's own edits).
    void configChanged();
    void markersChanged();

private:
    RetryProtocol::Outcome attempt(bool readMode);
    RetryProtocol::Outcome readAttempt();
    RetryProtocol::Outcome writeAttempt();
    void setMarkers(const twoport::Markers &markers);
    void init();

    ConfigTransaction transaction_;
    RetryProtocol protocol_;
    TwoPortConfig config_;
    twoport::Markers markers_;
    QString portDeviceName_;
    QByteArray configReply_;
};
