#pragma once

// The main window's display watchdog, counted in its own ticks rather than timed: the
// display blanks on the second Timer2 tick after the last byte that came in (the first one
// finds the activity that byte left and clears it), never later.

#include "app/form1.h"
#include "link/monitorport.h"

#include <QObject>
#include <QString>
#include <QTimer>

class WatchdogTicks
{
public:
    // Counts from now on. Connected after the window's own slots, so a tick is counted once
    // the window has handled it.
    explicit WatchdogTicks(TForm1 *form)
        : timer2_(form->findChild<QTimer *>(QStringLiteral("Timer2")))
    {
        tickConnection_ = QObject::connect(timer2_, &QTimer::timeout, form, [this] { ++count_; });
        bytes_ = QObject::connect(&form->monitorPort(), &MonitorPort::received, form, [this](const QByteArray &bytes) {
            if (!bytes.isEmpty())
                ticksAtLastByte_ = count_;
        });
        // Emitted from within the window's tick, before that tick is counted here.
        blanked_ = QObject::connect(form, &TForm1::displayBlanked, form, [this] {
            if (blankedAtTick_ < 0)
                blankedAtTick_ = count_ + 1;
        });
    }
    ~WatchdogTicks()
    {
        QObject::disconnect(tickConnection_);
        QObject::disconnect(bytes_);
        QObject::disconnect(blanked_);
    }
    WatchdogTicks(const WatchdogTicks &) = delete;
    WatchdogTicks &operator=(const WatchdogTicks &) = delete;

    int period() const { return timer2_->interval(); }
    int ticks() const { return count_; }
    // Ticks counted before the last bytes came in (0: none came since construction).
    int ticksAtLastByte() const { return ticksAtLastByte_; }
    // The tick that blanked the display first (1 is the first one counted), -1 before.
    int blankedAtTick() const { return blankedAtTick_; }
    // Ticks from the last bytes to the blanking.
    int ticksAfterLastByte() const { return blankedAtTick_ - ticksAtLastByte_; }

    QString describe() const
    {
        return QStringLiteral("%1 ticks of %2 ms, last bytes after tick %3, blanked on tick %4")
            .arg(count_).arg(period()).arg(ticksAtLastByte_).arg(blankedAtTick_);
    }

private:
    QTimer *timer2_;
    int count_ = 0;
    int ticksAtLastByte_ = 0;
    int blankedAtTick_ = -1;
    QMetaObject::Connection tickConnection_;
    QMetaObject::Connection bytes_;
    QMetaObject::Connection blanked_;
};
