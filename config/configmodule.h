#pragma once

#include "config/configfile.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// What one family of modules adds to the configuration flow that both dialogs share: its
// configuration and markers, what the read button empties, how a read reply is checked
// and entered, its write telegram and acknowledgement, its file format and its factory
// settings. The flow itself (transaction, retries, status line) is ConfigMachinery's.
// FamilyModule implements what the families do alike.
class ConfigModule : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The read button empties the controls before its first attempt.
    virtual void clearForRead() = 0;
    // Checks a read reply; an accepted one is entered into the configuration. False
    // when refused (the attempt then counts as failed).
    virtual bool enterReply(const QByteArray &reply) = 0;
    // The software version an accepted reply carries ("SW: 1.05").
    virtual QString versionText(const QByteArray &reply) const = 0;

    // Shows the markers of every field that must be filled and is empty; true when none is.
    virtual bool validate() = 0;
    virtual void hideMarkers() = 0;
    // The write telegram of a configuration that validate() passed.
    virtual QByteArray writeTelegram() const = 0;
    virtual bool isAcknowledged(const QByteArray &telegram, const QByteArray &reply) const = 0;

    virtual void applyFactorySettings() = 0;

    // The family's file format. A failed save leaves an existing file as it was.
    virtual bool save(const QString &path) const = 0;
    virtual configfile::LoadResult load(const QString &path) = 0;

    // The dialog is closed: its controls are reset as the read button resets them.
    virtual void clearOnClose() { clearForRead(); }

signals:
    // The configuration was changed by the logic (not by the user's own edits).
    void configChanged();
    void markersChanged();
};
