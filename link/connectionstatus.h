#pragma once

#include "portdiagnosis.h"
#include "telegramassembler.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <deque>

class SerialLine;

// What is known about the main window's port while the tool runs: which name was opened
// and how it went, whether the device vanished since, and counters of what arrived since
// the last successful open. It watches the line by its signals and keeps an assembler of
// its own, so the main window's assembler and decoder are left as they are.
class ConnectionStatus : public QObject
{
    Q_OBJECT
public:
    explicit ConnectionStatus(SerialLine &line, QObject *parent = nullptr);

    struct Counters
    {
        qint64 bytes = 0;
        qint64 accepted = 0;   // status telegrams decoded
        qint64 rejected = 0;   // frames with a wrong check byte
        qint64 outside = 0;    // bytes that belong to no telegram
        QDateTime lastTelegram;
    };
    Counters counters() const { return counters_; }

    enum class Kind { NotOpened, Receiving, OpenNoData, Failed, Lost, HandedOver };
    Kind kind(bool handedOver) const;
    // The one state line, state word first; handedOver: a configuration dialog has the port.
    QString stateLine(bool handedOver) const;

    QString deviceName() const { return deviceName_; }   // as opened: "\\.\COMn" or a path
    QString path() const { return path_; }               // what the serial layer opened
    // The diagnosis of the last failed open (meaningful in Kind::Failed).
    portdiagnosis::Diagnosis failure() const { return failure_; }
    // Accepted telegrams per second over the last two seconds.
    double telegramsPerSecond() const;

private:
    void onOpened(const QString &deviceName, bool ok);
    void onBytes(const QByteArray &bytes);

    SerialLine &line_;
    QString deviceName_;
    QString path_;
    bool opened_ = false;
    bool ok_ = false;
    bool lost_ = false;
    QString lostName_;
    portdiagnosis::Diagnosis failure_;

    Counters counters_;
    TelegramAssembler assembler_;
    QElapsedTimer clock_;        // since the last open
    qint64 lastByteMs_ = -1;
    qint64 lastTelegramMs_ = -1;
    mutable std::deque<qint64> recent_;  // times of accepted telegrams in the last two seconds
};
