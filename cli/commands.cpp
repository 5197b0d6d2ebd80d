#include "cli/commands.h"

#include "cli/configcompare.h"
#include "cli/configfilecheck.h"
#include "cli/configinput.h"
#include "cli/exitstatus.h"
#include "cli/efusectltexts.h"
#include "cli/ports.h"
#include "link/monitorrecord.h"
#include "config/configfile.h"
#include "config/configmessages.h"
#include "config/configmachinery.h"
#include "link/monitorport.h"
#include "link/portnames.h"
#include "link/serialline.h"
#include "link/statustelegram.h"
#include "link/telegramassembler.h"
#include "parameter/twoportfile.h"
#include "parameter/twoportmodule.h"
#include "parameter/twoporttelegram.h"
#include "parameter2/singleportfile.h"
#include "parameter2/singleportmodule.h"
#include "parameter2/singleporttelegram.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <cstdio>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace commands {

namespace {

using efusectltext::tr;

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
    std::fprintf(stderr, "efusectl: %s\n", qPrintable(text));
}

void out(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

// One read of the line, waiting for it in an event loop of its own (nothing else runs here).
QByteArray readLine(SerialLine &line, int maxBytes, int gapMs, int totalMs)
{
    QByteArray bytes;
    QEventLoop loop;
    QObject::connect(&line, &SerialLine::readFinished, &loop, [&](const QByteArray &got) {
        bytes = got;
        loop.quit();
    });
    line.startRead(maxBytes, gapMs, totalMs);
    loop.exec();
    return bytes;
}

// Why the line would not open, in words (absent, permission denied, held by whom, not a
// serial port).
QString portText(const invocation::Invocation &inv, const SerialLine &line)
{
    const portdiagnosis::Diagnosis d = portdiagnosis::diagnoseOpenFailure(line.openedPath(), line.lastOpenFailure());
    return tr(efusectltext::PortUnusable).arg(inv.portArgument, line.openedPath(), portdiagnosis::reason(d));
}

int monitor(const invocation::Invocation &inv)
{
    SerialLine line;
    if (!line.open(inv.portDeviceName)) {
        message(portText(inv, line));
        return ExitPortUnusable;
    }
    const bool csv = inv.format == invocation::Format::Csv;
    if (csv)
        out(monitorrecord::csvHeader());

    TelegramAssembler assembler;
    qint64 records = 0, badCheck = 0, badLength = 0;
    QElapsedTimer clock;
    clock.start();
    const qint64 endMs = qint64(inv.seconds) * 1000;
    const auto counted = [&] { return inv.count > 0 && records >= inv.count; };
    while (!interrupted && !counted() && (endMs == 0 || clock.elapsed() < endMs)) {
        // The main window's read: at most 120 ms, so an interrupt is seen soon.
        const QByteArray bytes = readLine(line, MonitorPort::ReadSize, MonitorPort::ReadGapMs, MonitorPort::ReadTotalMs);
        const QDateTime now = QDateTime::currentDateTime();
        for (const char b : bytes) {
            if (counted())
                break;
            if (!assembler.baue_string(quint8(b)))
                continue;
            const QByteArray frame = assembler.takeFrame();
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
    message(tr(efusectltext::DroppedFrames).arg(records).arg(badCheck + badLength).arg(badCheck).arg(badLength));
    if (records == 0) {
        message(tr(efusectltext::NoTelegram));
        return ExitNoAnswer;
    }
    return ExitDone;
}

// How long read and write listen for a status telegram to learn the module's variant.
constexpr int LearnVariantMs = 2000;
// The first attempt and every retry of the dialogs' protocol.
constexpr int Attempts = 1 + RetryProtocol::MaxRetries;

// What the status telegrams told: the variant (from the first frame whose type byte
// passes, as for the main window) and the first accepted telegram.
struct Heard
{
    bool portUsable = false;
    QString portProblem;   // why not, when it is not
    std::optional<ModuleVariant> variant;
    std::optional<monitorrecord::Record> record;
};

// Listens until a frame has named the variant (and, when wanted, one was accepted whole),
// at most timeoutMs.
Heard listen(const invocation::Invocation &inv, int timeoutMs, bool wantRecord)
{
    Heard heard;
    SerialLine line;
    heard.portUsable = line.open(inv.portDeviceName);
    if (!heard.portUsable) {
        heard.portProblem = portText(inv, line);
        return heard;
    }
    TelegramAssembler assembler;
    QElapsedTimer clock;
    clock.start();
    while (!interrupted && clock.elapsed() < timeoutMs) {
        const int left = timeoutMs - int(clock.elapsed());
        const QByteArray bytes = readLine(line, MonitorPort::ReadSize, MonitorPort::ReadGapMs,
                                          std::min(left, MonitorPort::ReadTotalMs));
        for (const char b : bytes) {
            if (!assembler.baue_string(quint8(b)))
                continue;
            const QByteArray frame = assembler.takeFrame();
            const status::Decoded decoded = status::decode(frame);
            if (decoded.outcome == status::Decoded::Ignored)
                continue;
            if (!heard.variant)
                heard.variant = decoded.variant;
            if (!heard.record)
                heard.record = monitorrecord::fromFrame(frame, QDateTime::currentDateTime());
        }
        if (heard.variant && (heard.record || !wantRecord))
            break;
    }
    return heard;
}

// Why the port cannot be opened; empty when it can.
QString portProblem(const invocation::Invocation &inv)
{
    SerialLine line;
    return line.open(inv.portDeviceName) ? QString() : portText(inv, line);
}

// The real serial line, with a note on stderr before every retry when stderr is a terminal.
class ProgressLine : public SerialLine
{
public:
    bool open(const QString &deviceName) override
    {
        if (attempts_ > 0 && showProgress_)
            std::fprintf(stderr, "%s\r", qPrintable(tr(efusectltext::AttemptFailed).arg(attempts_).arg(Attempts)));
        ++attempts_;
        return SerialLine::open(deviceName);
    }

    int attempts() const { return attempts_; }
    void endProgress()
    {
        if (attempts_ > 1 && showProgress_)
            std::fputc('\n', stderr);
        attempts_ = 0;
    }

private:
    int attempts_ = 0;
#ifdef Q_OS_UNIX
    const bool showProgress_ = ::isatty(STDERR_FILENO);
#else
    const bool showProgress_ = false;
#endif
};

// One read or write series of the dialogs' protocol: the first attempt, then up to 12
// retries 500 ms apart. True when a reply was accepted or the write acknowledged.
bool transact(ConfigMachinery &machinery, ProgressLine &line, bool read)
{
    bool done = false;
    bool success = false;
    QEventLoop loop;
    const auto end = [&](bool ok) {
        done = true;
        success = ok;
        loop.quit();
    };
    QObject::connect(&machinery.protocol(), &RetryProtocol::transactionFinished, &loop, end);
    // A write refused for an empty field sends nothing and ends no series.
    QObject::connect(&machinery.protocol(), &RetryProtocol::attemptFinished, &loop, [&](RetryProtocol::Outcome o) {
        if (o == RetryProtocol::Outcome::Refused)
            end(false);
    });
    if (read)
        machinery.read();
    else
        machinery.write();
    if (!done)
        loop.exec();
    line.endProgress();
    return success;
}

QString familyName(configfilecheck::Family family)
{
    return tr(family == configfilecheck::Family::TwoPort ? efusectltext::FamilyTwoPort : efusectltext::FamilySinglePort);
}

// After a failed read: a well-formed reply of the other family tells that the module is
// not of the family the variant named.
int failedRead(const QByteArray &lastReply, configfilecheck::Family family)
{
    using configfilecheck::Family;
    const bool other = family == Family::SinglePort ? twoporttelegram::isAccepted(lastReply)
                                                    : singleporttelegram::checkReply(lastReply).accepted();
    if (other) {
        message(tr(efusectltext::OtherFamilyReply)
                    .arg(familyName(family == Family::SinglePort ? Family::TwoPort : Family::SinglePort),
                         familyName(family)));
        return ExitOtherFamily;
    }
    message(tr(efusectltext::NoAnswer).arg(Attempts));
    return ExitNoAnswer;
}

// The variant given or learnt; an exit status when there is none.
std::optional<int> findVariant(const invocation::Invocation &inv, ModuleVariant &variant)
{
    if (inv.variant) {
        if (const QString problem = portProblem(inv); !problem.isEmpty()) {
            message(problem);
            return ExitPortUnusable;
        }
        variant = *inv.variant;
        return std::nullopt;
    }
    const Heard heard = listen(inv, LearnVariantMs, false);
    if (!heard.portUsable) {
        message(heard.portProblem);
        return ExitPortUnusable;
    }
    if (!heard.variant) {
        message(tr(efusectltext::SilentLine).arg(inv.portArgument).arg(LearnVariantMs / 1000));
        return ExitNoAnswer;
    }
    variant = *heard.variant;
    return std::nullopt;
}

// Writes the file as the dialog's save does: to FILE through a temporary file, or to stdout
// (no FILE, or "-").
int putOut(const std::optional<QByteArray> &contents, const QStringList &emptyFields, const QString &outputFile)
{
    if (!contents) {
        message(tr(efusectltext::FileIncomplete).arg(emptyFields.join(QStringLiteral(", "))));
        return ExitFileError;
    }
    if (outputFile.isEmpty() || outputFile == QLatin1String("-")) {
        out(*contents);
        return ExitDone;
    }
    QString reason;
    if (!configfile::save(outputFile, *contents, &reason)) {
        message(tr(efusectltext::OutputNotWritten).arg(outputFile, reason));
        return ExitFileError;
    }
    return ExitDone;
}

int read(const invocation::Invocation &inv, Language language)
{
    ModuleVariant variant{};
    if (const auto status = findVariant(inv, variant))
        return *status;
    ProgressLine line;
    const auto family = configfilecheck::familyOf(variant);
    if (family == configfilecheck::Family::TwoPort) {
        TwoPortModule module;
        ConfigMachinery c(module, line, [&inv] { return inv.portDeviceName; });
        c.protocol().setLanguage(language);
        if (!transact(c, line, true))
            return failedRead(c.configReply(), family);
        return putOut(twoportfile::contents(module.config()), configfilecheck::emptyFields(module.config()),
                      inv.outputFile);
    }
    SharedState state;   // the module's variant
    SinglePortModule module(state);
    ConfigMachinery c(module, line, [&inv] { return inv.portDeviceName; });
    c.protocol().setLanguage(language);
    module.open(variant);
    if (!transact(c, line, true))
        return failedRead(c.configReply(), family);
    return putOut(singleportfile::contents(module.config()), configfilecheck::emptyFields(module.config()),
                  inv.outputFile);
}

int fileRejected(const configfilecheck::Result &r, const configinput::Input &input, configfilecheck::Family family)
{
    using configfilecheck::Result;
    switch (r.kind) {
    case Result::Loaded:
        return ExitDone;
    case Result::FileError:
        message(configinput::describeError(input, family, r.errorCode));
        return ExitFileError;
    case Result::NotHexadecimal:
        message(configinput::describeNotHexadecimal(input, r.invalidText));
        return ExitFileError;
    case Result::Incomplete:
        message(input.name + QStringLiteral(": ")
                + tr(efusectltext::FileIncomplete).arg(r.emptyFields.join(QStringLiteral(", "))));
        return ExitFileError;
    case Result::OtherFamily: {
        using configfilecheck::Family;
        const Family other = family == Family::SinglePort ? Family::TwoPort : Family::SinglePort;
        message(tr(efusectltext::OtherFamilyFile)
                    .arg(input.name, familyName(other), familyName(family), QStringLiteral("C%1").arg(r.errorCode)));
        return ExitOtherFamily;
    }
    }
    return ExitFileError;
}

template <typename Config>
int verified(const Config &written, const Config &read)
{
    const QList<configcompare::Difference> differences = configcompare::compare(written, read);
    for (const configcompare::Difference &d : differences)
        out((tr(efusectltext::Difference).arg(d.field, d.written, d.read) + QLatin1Char('\n')).toUtf8());
    if (differences.isEmpty()) {
        message(tr(efusectltext::Verified));
        return ExitDone;
    }
    message(tr(efusectltext::VerifyDifferences).arg(differences.size()));
    return ExitVerifyDifferences;
}

// Loads, writes and, with --verify, reads back with the module's family.
template <typename Module, typename Load>
int writeWith(Module &module, ProgressLine &line, const invocation::Invocation &inv, Language language,
              const configinput::Input &input, configfilecheck::Family family, Load load)
{
    ConfigMachinery c(module, line, [&inv] { return inv.portDeviceName; });
    c.protocol().setLanguage(language);
    const configfilecheck::Result loaded = load(module.config());
    if (!loaded.ok())
        return fileRejected(loaded, input, family);
    if (!transact(c, line, false)) {
        message(tr(efusectltext::NoAnswer).arg(Attempts));
        return ExitNoAnswer;
    }
    message(tr(efusectltext::Written));
    if (!inv.verify)
        return ExitDone;
    const auto written = module.config();
    if (!transact(c, line, true))
        return failedRead(c.configReply(), family);
    return verified(written, module.config());
}

int write(const invocation::Invocation &inv, Language language)
{
    // Read first: standard input is taken before the port, and a FIFO is never opened.
    const configinput::Input input = configinput::read(inv.configFile);
    ModuleVariant variant{};
    if (const auto status = findVariant(inv, variant))
        return *status;
    ProgressLine line;
    const auto family = configfilecheck::familyOf(variant);
    if (family == configfilecheck::Family::TwoPort) {
        TwoPortModule module;
        return writeWith(module, line, inv, language, input, family, [&](TwoPortConfig &config) {
            return configfilecheck::loadTwoPort(input.lines, config);
        });
    }
    SharedState state;   // the module's variant
    SinglePortModule module(state);
    module.open(variant);
    return writeWith(module, line, inv, language, input, family, [&](SinglePortConfig &config) {
        return configfilecheck::loadSinglePort(input.lines, variant, config);
    });
}

int info(const invocation::Invocation &inv, Language language)
{
    const Heard heard = listen(inv, LearnVariantMs, true);
    if (!heard.portUsable) {
        message(heard.portProblem);
        return ExitPortUnusable;
    }
    if (!heard.record) {
        message(tr(efusectltext::SilentLine).arg(inv.portArgument).arg(LearnVariantMs / 1000));
        return ExitNoAnswer;
    }
    const monitorrecord::Record &r = *heard.record;
    ProgressLine line;
    const auto family = configfilecheck::familyOf(r.variant);
    QString version;
    if (family == configfilecheck::Family::TwoPort) {
        TwoPortModule module;
        ConfigMachinery c(module, line, [&inv] { return inv.portDeviceName; });
        c.protocol().setLanguage(language);
        if (!transact(c, line, true))
            return failedRead(c.configReply(), family);
        version = module.versionText(c.configReply());
    } else {
        SharedState state;   // the module's variant
        SinglePortModule module(state);
        ConfigMachinery c(module, line, [&inv] { return inv.portDeviceName; });
        c.protocol().setLanguage(language);
        module.open(r.variant);
        if (!transact(c, line, true))
            return failedRead(c.configReply(), family);
        version = module.versionText(c.configReply());
    }
    // "SW: 1.07": the dialog's label text; the version is what follows the prefix.
    version = version.mid(4);
    const QString type = QStringLiteral("%1").arg(typeByte(r.variant), 2, 16, QLatin1Char('0'));
    if (inv.format == invocation::Format::Json) {
        QJsonArray rated;
        for (int ch = 0; ch < r.channels; ++ch)
            rated.append(int(r.rated[ch]));
        const QJsonObject object{{QStringLiteral("variant"), monitorrecord::variantName(r.variant)},
                                 {QStringLiteral("type"), type},
                                 {QStringLiteral("software"), version},
                                 {QStringLiteral("rated"), rated}};
        out(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
        return ExitDone;
    }
    QString text = QStringLiteral("%1: %2 (%3)\n")
                       .arg(tr(efusectltext::InfoVariant), monitorrecord::variantName(r.variant), type);
    text += QStringLiteral("%1: %2\n").arg(tr(efusectltext::InfoSoftware), version);
    for (int ch = 0; ch < r.channels; ++ch)
        text += QStringLiteral("%1: %2 A\n").arg(tr(efusectltext::InfoRated).arg(ch + 1)).arg(r.rated[ch]);
    out(text.toUtf8());
    return ExitDone;
}

} // namespace

int run(const invocation::Invocation &inv, Language language)
{
    catchInterrupts();
    switch (inv.command) {
    case invocation::Command::Monitor:
        return monitor(inv);
    case invocation::Command::Info:
        return info(inv, language);
    case invocation::Command::Read:
        return read(inv, language);
    case invocation::Command::Write:
        return write(inv, language);
    case invocation::Command::Ports:
        out(ports::report(inv.format == invocation::Format::Json));
        return ExitDone;
    }
    return ExitUsage;
}

} // namespace commands
