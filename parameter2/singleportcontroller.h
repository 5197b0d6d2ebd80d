#pragma once

#include "config/configtransaction.h"
#include "config/retryprotocol.h"
#include "link/modulevariant.h"
#include "parameter2/singleportconfig.h"
#include "parameter2/singleportfile.h"

#include <QObject>
#include <QString>

class TransactionLine;

// Everything the single-port configuration dialog does, without its widgets. The dialog
// mirrors config() in its controls (refreshing them on configChanged(), writing user edits
// straight into config()), shows markers(), protocol()'s status line and version label,
// and calls one method per handler:
//
//   opening (hand-over)  open(currentVariant)
//   Button1Click         readConfiguration()
//   Button2Click         writeConfiguration()
//   Button3Click         enterFactorySettings()
//   Label3Click          protocol().revealVersion()
//   speichernClick       if (prepareSave()) { path from the save dialog; saveTo(path) }
//   oeffnenClick         path from the open dialog; loadFrom(path) (on cancel: nothing)
//   FormClose            close() after the port has been handed back
//   flags                setLanguage()
class SinglePortController : public QObject
{
    Q_OBJECT
public:
    // Transactions on a serial line of the controller's own.
    explicit SinglePortController(QObject *parent = nullptr);
    // Transactions on the given line, which must outlive the controller.
    explicit SinglePortController(TransactionLine &line, QObject *parent = nullptr);

    RetryProtocol &protocol() { return protocol_; }
    const RetryProtocol &protocol() const { return protocol_; }

    // The controls' values. User edits go straight in here.
    SinglePortConfig &config() { return config_; }
    const SinglePortConfig &config() const { return config_; }

    // The "!" markers shown beside the lists.
    const singleport::Markers &markers() const { return markers_; }
    // Channel 3 and 4 controls (lists, row labels, event labels and boxes) hidden.
    bool channels34Hidden() const { return channels34Hidden_; }

    // The device that every transaction opens (the main window's port selection).
    void setPortDeviceName(const QString &deviceName) { portDeviceName_ = deviceName; }
    QString portDeviceName() const { return portDeviceName_; }

    void setLanguage(Language language) { protocol_.setLanguage(language); }

    // The program's module variant: the factory settings follow it, a read reply sets it.
    void setCurrentVariant(ModuleVariant variant) { currentVariant_ = variant; }
    ModuleVariant currentVariant() const { return currentVariant_; }

    // The reply of the last transaction.
    QByteArray configReply() const { return configReply_; }

    // The dialog is shown for the variant: current-limit lists rebuilt for it, their
    // selection cleared, channels 3 and 4 hidden for a two-channel variant.
    void open(ModuleVariant variant);

    // Read button: every list without a selection, every box but loeschen unchecked, the
    // version text emptied, then one read attempt (retried every 500 ms on failure).
    void readConfiguration();
    // Write button: one write attempt (refused with markers when a list is empty).
    void writeConfiguration();
    // Factory-settings button: the settings for currentVariant(); nothing is sent.
    void enterFactorySettings();

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
    singleportfile::LoadResult loadFrom(const QString &path);

    // Close handler after the hand-back: retries and the clearing stopped, lists emptied,
    // boxes but loeschen unchecked, version text emptied, status line and markers hidden.
    void close();

signals:
    // config() was changed by the logic (not by the user's own edits).
    void configChanged();
    void markersChanged();
    void channels34HiddenChanged(bool hidden);
    // A read reply named the module's variant (even one that then failed its check byte).
    void currentVariantChanged(ModuleVariant variant);

private:
    RetryProtocol::Outcome attempt(bool readMode);
    RetryProtocol::Outcome readAttempt();
    RetryProtocol::Outcome writeAttempt();
    void setMarkers(const singleport::Markers &markers);
    void setChannels34Hidden(bool hidden);
    void init();

    ConfigTransaction transaction_;
    RetryProtocol protocol_;
    SinglePortConfig config_;
    singleport::Markers markers_;
    bool channels34Hidden_ = false;
    QString portDeviceName_;
    ModuleVariant currentVariant_ = ModuleVariant::FourChannel10A;
    QByteArray configReply_;
};
