#include "cli/commands.h"

#include "cli/exitstatus.h"
#include "cli/fusectltexts.h"
#include "cli/monitorrecord.h"
#include "link/monitorport.h"
#include "link/portnames.h"
#include "link/serialline.h"
#include "link/statustelegram.h"
#include "link/telegramassembler.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <csignal>
#include <cstdio>

namespace commands {

namespace {

using fusectltext::tr;

volatile std::sig_atomic_t interrupted = 0;

void onSignal(int)
{
    interrupted = 1;
}

// Ctrl+C and a polite kill end a monitor run after the record being written.
void catchInterrupts()
{
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

void message(const QString &text)
{
    std::fprintf(stderr, "fusectl: %s\n", qPrintable(text));
}

void out(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

QString portText(const invocation::Invocation &inv)
{
    return tr(fusectltext::PortUnusable).arg(inv.portArgument, portnames::systemPath(inv.portDeviceName));
}

int monitor(const invocation::Invocation &inv)
{
    SerialLine line;
    line.open(inv.portDeviceName);
    if (!line.isUsable()) {
        message(portText(inv));
        return ExitPortUnusable;
    }
    catchInterrupts();
    const bool csv = inv.format == invocation::Format::Csv;
    if (csv)
        out(monitorrecord::csvHeader());

    TelegramAssembler assembler;
    qint64 records = 0, badCheck = 0, badLength = 0;
    QElapsedTimer clock;
    clock.start();
    const qint64 endMs = qint64(inv.seconds) * 1000;
    while (!interrupted && (endMs == 0 || clock.elapsed() < endMs)) {
        // The main window's read: at most 120 ms, so an interrupt is seen soon.
        const QByteArray bytes = line.read(MonitorPort::ReadSize, MonitorPort::ReadGapMs, MonitorPort::ReadTotalMs);
        const QDateTime now = QDateTime::currentDateTime();
        for (const char b : bytes) {
            if (!assembler.baue_string(quint8(b)))
                continue;
            const QByteArray frame = assembler.telegramBuffer;
            const auto record = monitorrecord::fromFrame(frame, now);
            if (record) {
                out(csv ? monitorrecord::csvLine(*record) : monitorrecord::jsonLine(*record));
                ++records;
            } else if (status::decode(frame).outcome == status::Decoded::BadCheck) {
                ++badCheck;
            } else {
                ++badLength;
            }
        }
    }
    message(tr(fusectltext::DroppedFrames).arg(records).arg(badCheck + badLength).arg(badCheck).arg(badLength));
    if (records == 0) {
        message(tr(fusectltext::NoTelegram));
        return ExitNoAnswer;
    }
    return ExitDone;
}

} // namespace

int run(const invocation::Invocation &inv, Language language)
{
    Q_UNUSED(language);
    switch (inv.command) {
    case invocation::Command::Monitor:
        return monitor(inv);
    case invocation::Command::Info:
    case invocation::Command::Read:
    case invocation::Command::Write:
        break;
    }
    // Waiting for the event-driven configuration machinery.
    message(QStringLiteral("not implemented yet"));
    return 1;
}

} // namespace commands
