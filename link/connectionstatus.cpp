#include "connectionstatus.h"

#include "serialline.h"
#include "statustelegram.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

namespace {

constexpr qint64 RateWindowMs = 2000;

} // namespace

ConnectionStatus::ConnectionStatus(SerialLine &line, QObject *parent)
    : QObject(parent), line_(line)
{
    connect(&line_, &SerialLine::opened, this, &ConnectionStatus::onOpened);
    connect(&line_, &SerialLine::readFinished, this, &ConnectionStatus::onBytes);
    connect(&line_, &SerialLine::lost, this, [this] {
        lost_ = true;
        lostName_ = deviceName_;
    });
}

void ConnectionStatus::onOpened(const QString &deviceName, bool ok)
{
    // The vanished device stays the state until it is back or another port is used.
    if (ok || deviceName != lostName_)
        lost_ = false;
    opened_ = true;
    ok_ = ok;
    deviceName_ = deviceName;
    path_ = line_.openedPath();
    failure_ = ok ? portdiagnosis::Diagnosis{} : portdiagnosis::diagnoseOpenFailure(path_, line_.lastOpenFailure());
    if (ok) {
        counters_ = {};
        assembler_ = {};
        recent_.clear();
        lastByteMs_ = -1;
        lastTelegramMs_ = -1;
        clock_.start();
    }
}

void ConnectionStatus::onBytes(const QByteArray &bytes)
{
    if (!ok_ || lost_ || bytes.isEmpty())
        return;
    const qint64 now = clock_.elapsed();
    counters_.bytes += bytes.size();
    lastByteMs_ = now;
    for (const char c : bytes) {
        const int held = assembler_.count();
        if (assembler_.baue_string(quint8(c))) {
            const QByteArray frame = assembler_.takeFrame();
            const status::Decoded d = status::decode(frame);
            if (d.outcome == status::Decoded::Valid) {
                ++counters_.accepted;
                counters_.lastTelegram = QDateTime::currentDateTime();
                lastTelegramMs_ = now;
                recent_.push_back(now);
            } else if (d.outcome == status::Decoded::BadCheck) {
                ++counters_.rejected;
            } else {
                counters_.outside += frame.size();
            }
        } else if (assembler_.count() == 0) {
            counters_.outside += held + 1;   // a frame given up, and this byte
        }
    }
}

double ConnectionStatus::telegramsPerSecond() const
{
    if (!clock_.isValid())
        return 0;
    const qint64 now = clock_.elapsed();
    while (!recent_.empty() && recent_.front() < now - RateWindowMs)
        recent_.pop_front();
    const qint64 span = std::min(now, RateWindowMs);
    return span > 0 ? double(recent_.size()) * 1000.0 / double(span) : 0;
}

ConnectionStatus::Kind ConnectionStatus::kind(bool handedOver) const
{
    if (handedOver)
        return Kind::HandedOver;
    if (lost_)
        return Kind::Lost;
    if (!opened_)
        return Kind::NotOpened;
    if (!ok_)
        return Kind::Failed;
    if (lastTelegramMs_ >= 0 && clock_.elapsed() - lastTelegramMs_ <= RateWindowMs)
        return Kind::Receiving;
    return Kind::OpenNoData;
}

QString ConnectionStatus::stateLine(bool handedOver) const
{
    switch (kind(handedOver)) {
    case Kind::HandedOver:
        return QCoreApplication::translate("ConnectionStatus", "An den Konfigurationsdialog übergeben");
    case Kind::Lost:
        if (QFileInfo::exists(path_))
            return QCoreApplication::translate("ConnectionStatus",
                                        "Verbindung verloren: %1 war verschwunden und ist wieder da; "
                                        "„Neu verbinden“ öffnet es")
                .arg(path_);
        return QCoreApplication::translate("ConnectionStatus", "Verbindung verloren: %1 ist verschwunden").arg(path_);
    case Kind::NotOpened:
        return QCoreApplication::translate("ConnectionStatus", "Noch nicht geöffnet");
    case Kind::Failed:
        return portdiagnosis::reason(failure_);
    case Kind::Receiving:
        return QCoreApplication::translate("ConnectionStatus", "Empfängt: %1 Telegramme/s")
            .arg(QLocale(QLocale::German).toString(telegramsPerSecond(), 'f', 1));
    case Kind::OpenNoData: {
        const qint64 since = lastByteMs_ >= 0 ? lastByteMs_ : 0;
        const qint64 seconds = (clock_.elapsed() - since) / 1000;
        return lastByteMs_ >= 0
                   ? QCoreApplication::translate("ConnectionStatus", "Offen, keine Daten: seit %1 s kein Byte").arg(seconds)
                   : QCoreApplication::translate("ConnectionStatus", "Offen, keine Daten: seit dem Öffnen vor %1 s kein Byte")
                         .arg(seconds);
    }
    }
    return {};
}
