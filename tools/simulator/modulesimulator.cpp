#include "modulesimulator.h"

#include "link/frame.h"
#include "link/modulevariant.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

constexpr quint8 RequestByte = 0xFF;
constexpr quint8 ReadCommand = 0xFC;
constexpr quint8 WriteCommand = 0xF3;
constexpr quint8 TrailerA = 0xDD;
constexpr quint8 TrailerB = 0xEE;

void putWord(QByteArray &t, int offset, quint16 value)
{
    t[offset] = char(value >> 8);
    t[offset + 1] = char(value & 0xFF);
}

// Parsers for command arguments; false when the text is no number in range.
bool parseInt(const QString &text, int base, long min, long max, long *value)
{
    bool ok = false;
    const long v = text.toLong(&ok, base);
    if (!ok || v < min || v > max)
        return false;
    *value = v;
    return true;
}

bool parseOnOff(const QString &text, bool *value)
{
    if (text == QLatin1String("on")) {
        *value = true;
        return true;
    }
    if (text == QLatin1String("off")) {
        *value = false;
        return true;
    }
    return false;
}

} // namespace

ModuleSimulator::ModuleSimulator(quint8 typeByte, quint32 seed)
    : type_(typeByte), random_(seed)
{
    readings_.current = {250, 120, 480, 35};
    readings_.maxCurrent = {310, 150, 520, 60};
    readings_.uin = 2410;
    readings_.uinMin = 2385;
    readings_.rated = defaultRated(type_);
    singlePortConfig_ = factoryConfiguration(type_ == 0x15 ? 0x17 : type_);
    twoPortConfig_ = factoryConfiguration(0x15);
}

void ModuleSimulator::setTypeByte(quint8 type)
{
    type_ = type;
}

int ModuleSimulator::channelCount() const
{
    const auto v = variantFromTypeByte(type_);
    return v && !isFourChannel(*v) ? 2 : 4;
}

std::array<quint8, 4> ModuleSimulator::defaultRated(quint8 type)
{
    const auto v = variantFromTypeByte(type);
    if (!v)
        return {10, 10, 10, 10};
    if (*v == ModuleVariant::FourChannelTwoPort)
        return {8, 8, 8, 8};
    const auto limit = quint8(maxCurrentLimit(*v));
    if (!isFourChannel(*v))
        return {limit, limit, 0, 0};
    return {limit, limit, limit, limit};
}

double ModuleSimulator::periodMs() const
{
    const double line = StatusLength * ByteMs;
    if (rate_ <= 0)
        return 0;
    return std::max(1000.0 / rate_, line);
}

void ModuleSimulator::setSoftwareVersion(const QByteArray &fourCharacters)
{
    softwareVersion_ = fourCharacters.left(4).leftJustified(4, ' ');
}

QByteArray ModuleSimulator::statusTelegram() const
{
    QByteArray t(StatusLength, '\0');
    t[0] = char(frame::StartByte);
    t[1] = char(type_);
    t[2] = char(readings_.status1);
    t[3] = char(readings_.status2);
    for (int ch = 0; ch < 4; ++ch) {
        putWord(t, 4 + 2 * ch, readings_.current[ch]);
        putWord(t, 12 + 2 * ch, readings_.maxCurrent[ch]);
    }
    putWord(t, 20, readings_.uin);
    putWord(t, 22, readings_.uinMin);
    t[24] = char((readings_.rated[0] & 0x0F) | (readings_.rated[1] << 4));
    t[25] = char((readings_.rated[2] & 0x0F) | (readings_.rated[3] << 4));
    t[28] = char(frame::checkByte(t, 28));
    t[29] = char(frame::StartByte);
    t[30] = char(endByte_);
    return t;
}

void ModuleSimulator::moveValues()
{
    const int channels = channelCount();
    for (int ch = 0; ch < 4; ++ch) {
        const int limit = readings_.rated[ch] * 100;
        const quint8 warningBit = quint8(1u << (2 * ch));
        if (ch >= channels || limit == 0) {
            readings_.current[ch] = 0;
            readings_.status1 &= quint8(~warningBit);
            continue;
        }
        // A random walk over the channel's range that now and then runs above 90 %.
        const int step = std::max(1, limit / 25);
        int value = readings_.current[ch] + random_.bounded(-step, step + 1);
        value = std::clamp(value, 0, limit * 105 / 100);
        readings_.current[ch] = quint16(value);
        readings_.maxCurrent[ch] = std::max(readings_.maxCurrent[ch], readings_.current[ch]);
        if (value > limit * 9 / 10)
            readings_.status1 |= warningBit;
        else
            readings_.status1 &= quint8(~warningBit);
    }
    int uin = readings_.uin + random_.bounded(-8, 9);
    uin = std::clamp(uin, 2330, 2470);
    readings_.uin = quint16(uin);
    readings_.uinMin = std::min(readings_.uinMin, readings_.uin);
    // Power good: the threshold in tenths of a volt is offset 4 of the configuration.
    const int threshold = quint8(configuration().at(2)) * 10;
    if (readings_.uin < threshold)
        readings_.status2 |= 0x01;
    else
        readings_.status2 &= quint8(~0x01);
}

QByteArray ModuleSimulator::nextStatusTelegram()
{
    if (moving_)
        moveValues();
    QByteArray t = statusTelegram();
    if (badCheckCount_ > 0) {
        --badCheckCount_;
        t[28] = char(quint8(t[28]) ^ 0x5A);
    } else if (shortCount_ > 0) {
        --shortCount_;
        // 26 bytes of the telegram and the end pair: 28 in all, one short of the check byte.
        t = t.left(26) + t.right(2);
    } else {
        ++validTelegrams_;
    }
    return t;
}

QByteArray ModuleSimulator::factoryConfiguration(quint8 type)
{
    // Limits at the largest current, 21.4 V power good, trip events on output 1,
    // inverted output, programming allowed, 100 s trip delay (single-port) or 0.1 s
    // trip time (two-port).
    if (type == 0x15)
        return QByteArray::fromHex("8888D6028008C00000");
    const auto v = variantFromTypeByte(type);
    const int limit = v ? maxCurrentLimit(*v) : 10;
    const bool four = !v || isFourChannel(*v);
    QByteArray c(SinglePortConfigSize, '\0');
    c[0] = char(limit | (limit << 4));
    c[1] = four ? c[0] : char(0);
    c[2] = char(214);
    c[3] = char(0xAA);
    c[4] = char(0xC0);
    c[5] = char(0x0F);
    c[6] = char(0x9F);
    return c;
}

QByteArray ModuleSimulator::configuration() const
{
    return isTwoPort() ? twoPortConfig_ : singlePortConfig_;
}

void ModuleSimulator::setConfiguration(const QByteArray &bytes)
{
    if (isTwoPort())
        twoPortConfig_ = bytes.left(TwoPortConfigSize).leftJustified(TwoPortConfigSize, '\0');
    else
        singlePortConfig_ = bytes.left(SinglePortConfigSize).leftJustified(SinglePortConfigSize, '\0');
}

QByteArray ModuleSimulator::configurationReply() const
{
    // Single-port: configuration at 2..8, version at 9..12, check byte at 26.
    // Two-port: configuration at 2..10, version at 11..14, check byte at 28.
    const bool two = isTwoPort();
    const int length = two ? TwoPortReplyLength : SinglePortReplyLength;
    const int check = length - 3;
    QByteArray r(length, '\0');
    r[0] = char(frame::StartByte);
    r[1] = char(type_);
    const QByteArray config = configuration();
    for (int i = 0; i < config.size(); ++i)
        r[2 + i] = config[i];
    for (int i = 0; i < 4; ++i)
        r[2 + config.size() + i] = softwareVersion_[i];
    r[check] = char(frame::checkByte(r, check));
    r[check + 1] = char(frame::StartByte);
    r[check + 2] = char(endByte_);
    return r;
}

QList<ModuleSimulator::Piece> ModuleSimulator::shape(QByteArray reply) const
{
    for (int i = 0; i < configLong_; ++i)
        reply += char(0x30 + i % 10);
    QList<Piece> pieces;
    if (configSplitMs_ > 0 && reply.size() >= 2) {
        const int half = reply.size() / 2;
        pieces << Piece{reply.left(half), configDelayMs_} << Piece{reply.mid(half), configSplitMs_};
    } else {
        pieces << Piece{reply, configDelayMs_};
    }
    return pieces;
}

ModuleSimulator::Answer ModuleSimulator::answerRead(const QByteArray &request)
{
    Answer a{request, {}};
    if (configMute_)
        return a;
    QByteArray r = configurationReply();
    const int check = r.size() - 3;
    if (configType_ >= 0) {
        r[1] = char(configType_);
    }
    if (configBadCheck_)
        r[check] = char(quint8(r[check]) ^ 0x5A);
    a.pieces = shape(r);
    return a;
}

ModuleSimulator::Answer ModuleSimulator::answerWrite(const QByteArray &request)
{
    Answer a{request, {}};
    const int n = request.size();
    const quint8 check = frame::checkByte(request, n - 1);
    // A telegram with a wrong trailer or check byte is not taken and not acknowledged.
    if (quint8(request[n - 3]) != TrailerA || quint8(request[n - 2]) != TrailerB
        || quint8(request[n - 1]) != check)
        return a;
    QByteArray config = request.mid(2, n - 5);
    // Releasing tripped channels is an action, not a setting: the flag is not kept.
    if (isTwoPort())
        config[4] = char(quint8(config[4]) & ~0x40);
    else
        config[4] = char(quint8(config[4]) & ~0x20);
    // A module that changes what it was given, for tests that read back.
    if (configAlterIndex_ >= 0 && configAlterIndex_ < config.size())
        config[configAlterIndex_] = char(configAlterValue_);
    setConfiguration(config);
    if (configMute_)
        return a;
    const quint8 ack = configBadCheck_ ? quint8(check ^ 0x5A) : check;
    a.pieces = shape(QByteArray(1, char(ack)));
    return a;
}

QList<ModuleSimulator::Answer> ModuleSimulator::receive(const QByteArray &bytes, qint64 nowMs)
{
    QList<Answer> answers;
    if (bytes.isEmpty())
        return answers;
    if (receivedOpen_ && !received_.isEmpty() && nowMs - lastByteAt_ <= ReceiveGapMs)
        received_.last() += bytes;
    else
        received_ << bytes;
    receivedOpen_ = true;
    if (!request_.isEmpty() && nowMs - lastByteAt_ > RequestTimeoutMs)
        request_.clear();
    lastByteAt_ = nowMs;

    for (char c : bytes) {
        const quint8 b = quint8(c);
        if (request_.isEmpty()) {
            if (b == RequestByte)
                request_ += c;
            continue;
        }
        request_ += c;
        if (request_.size() == 2) {
            if (b == ReadCommand) {
                answers << answerRead(request_);
                request_.clear();
            } else if (b != WriteCommand) {
                // Unknown command: hunt again, a 0xFF may start the next request.
                request_.clear();
                if (b == RequestByte)
                    request_ += c;
            }
            continue;
        }
        if (request_.size() == writeLength()) {
            answers << answerWrite(request_);
            request_.clear();
        }
    }
    return answers;
}

bool ModuleSimulator::requestInProgress(qint64 nowMs) const
{
    return !request_.isEmpty() && nowMs - lastByteAt_ <= RequestTimeoutMs;
}

void ModuleSimulator::lineClosed()
{
    request_.clear();
    receivedOpen_ = false;
}

QList<QByteArray> ModuleSimulator::takeReceived()
{
    QList<QByteArray> r;
    r.swap(received_);
    receivedOpen_ = false;
    return r;
}

QString ModuleSimulator::hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

ModuleSimulator::CommandOutcome ModuleSimulator::command(const QString &line)
{
    CommandOutcome out;
    const QStringList w = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (w.isEmpty()) {
        out.error = QStringLiteral("empty command");
        return out;
    }
    const QString &cmd = w.first();
    const int args = int(w.size()) - 1;
    auto usage = [&](const char *text) {
        out.error = QStringLiteral("usage: ") + QLatin1String(text);
        return out;
    };
    long v = 0;
    long ch = 0;
    bool on = false;

    if (cmd == QLatin1String("variant")) {
        if (args != 1 || !parseInt(w[1], 16, 0, 255, &v))
            return usage("variant <hex type byte>");
        setTypeByte(quint8(v));
    } else if (cmd == QLatin1String("rate")) {
        bool ok = false;
        const double r = args == 1 ? w[1].toDouble(&ok) : 0;
        if (!ok || r < 0 || r > 1000)
            return usage("rate <telegrams per second, 0 = none>");
        setRate(r);
    } else if (cmd == QLatin1String("status1") || cmd == QLatin1String("status2")) {
        if (args != 1 || !parseInt(w[1], 16, 0, 255, &v))
            return usage("status1|status2 <hex>");
        (cmd == QLatin1String("status1") ? readings_.status1 : readings_.status2) = quint8(v);
    } else if (cmd == QLatin1String("current") || cmd == QLatin1String("max")) {
        if (args != 2 || !parseInt(w[1], 10, 1, 4, &ch) || !parseInt(w[2], 10, 0, 65535, &v))
            return usage("current|max <channel 1-4> <hundredths 0-65535>");
        (cmd == QLatin1String("current") ? readings_.current : readings_.maxCurrent)[ch - 1] = quint16(v);
    } else if (cmd == QLatin1String("uin") || cmd == QLatin1String("uinmin")) {
        if (args != 1 || !parseInt(w[1], 10, 0, 65535, &v))
            return usage("uin|uinmin <hundredths 0-65535>");
        (cmd == QLatin1String("uin") ? readings_.uin : readings_.uinMin) = quint16(v);
    } else if (cmd == QLatin1String("rated")) {
        if (args != 2 || !parseInt(w[1], 10, 1, 4, &ch) || !parseInt(w[2], 10, 0, 15, &v))
            return usage("rated <channel 1-4> <amperes 0-15>");
        readings_.rated[ch - 1] = quint8(v);
    } else if (cmd == QLatin1String("moving")) {
        if (args != 1 || !parseOnOff(w[1], &on))
            return usage("moving on|off");
        moving_ = on;
    } else if (cmd == QLatin1String("paced")) {
        if (args != 1 || !parseOnOff(w[1], &on))
            return usage("paced on|off");
        paced_ = on;
    } else if (cmd == QLatin1String("endpair")) {
        if (args != 1 || !parseInt(w[1], 16, 0, 255, &v) || (v != frame::EndByteA && v != frame::EndByteB))
            return usage("endpair 16|18");
        endByte_ = quint8(v);
    } else if (cmd == QLatin1String("silence") || cmd == QLatin1String("resume")) {
        if (args != 0)
            return usage("silence | resume");
        sending_ = cmd == QLatin1String("resume");
    } else if (cmd == QLatin1String("noise")) {
        if (args != 1 || !parseInt(w[1], 10, 0, 100000, &v))
            return usage("noise <count>");
        out.effect = CommandOutcome::Send;
        out.paced = true;
        for (long i = 0; i < v; ++i)
            out.bytes += char(random_.bounded(256));
    } else if (cmd == QLatin1String("badcheck") || cmd == QLatin1String("short")) {
        if (args != 1 || !parseInt(w[1], 10, 0, 1000000, &v))
            return usage("badcheck|short <telegrams>");
        (cmd == QLatin1String("badcheck") ? badCheckCount_ : shortCount_) = int(v);
    } else if (cmd == QLatin1String("raw")) {
        const QByteArray text = w.mid(1).join(QString()).toLatin1();
        const QByteArray bytes = QByteArray::fromHex(text);
        bool valid = !text.isEmpty() && text.size() % 2 == 0;
        for (char c : text)
            valid = valid && std::isxdigit(static_cast<unsigned char>(c));
        if (!valid)
            return usage("raw <hex bytes>");
        out.effect = CommandOutcome::Send;
        out.bytes = bytes;
    } else if (cmd == QLatin1String("vanish")) {
        out.effect = CommandOutcome::Vanish;
    } else if (cmd == QLatin1String("appear")) {
        out.effect = CommandOutcome::Appear;
    } else if (cmd == QLatin1String("quit")) {
        out.effect = CommandOutcome::Quit;
    } else if (cmd == QLatin1String("config-delay") || cmd == QLatin1String("config-split")) {
        if (args != 1 || !parseInt(w[1], 10, 0, 60000, &v))
            return usage("config-delay|config-split <ms>");
        (cmd == QLatin1String("config-delay") ? configDelayMs_ : configSplitMs_) = int(v);
    } else if (cmd == QLatin1String("config-badcheck") || cmd == QLatin1String("config-mute")) {
        if (args != 1 || !parseOnOff(w[1], &on))
            return usage("config-badcheck|config-mute on|off");
        (cmd == QLatin1String("config-badcheck") ? configBadCheck_ : configMute_) = on;
    } else if (cmd == QLatin1String("config-type")) {
        if (args != 1)
            return usage("config-type <hex>|own");
        if (w[1] == QLatin1String("own"))
            configType_ = -1;
        else if (parseInt(w[1], 16, 0, 255, &v))
            configType_ = int(v);
        else
            return usage("config-type <hex>|own");
    } else if (cmd == QLatin1String("config-long")) {
        if (args != 1 || !parseInt(w[1], 10, 0, 1000, &v))
            return usage("config-long <extra bytes>");
        configLong_ = int(v);
    } else if (cmd == QLatin1String("config-alter")) {
        if (args == 1 && w[1] == QLatin1String("off")) {
            configAlterIndex_ = -1;
        } else {
            if (args != 2 || !parseInt(w[1], 10, 0, TwoPortConfigSize - 1, &ch) || !parseInt(w[2], 16, 0, 255, &v))
                return usage("config-alter <byte 0-8> <hex>|off");
            configAlterIndex_ = int(ch);
            configAlterValue_ = quint8(v);
        }
    } else if (cmd == QLatin1String("config-show")) {
        out.lines << hex(configuration());
    } else if (cmd == QLatin1String("config-set")) {
        const QByteArray text = w.mid(1).join(QString()).toLatin1();
        const int size = isTwoPort() ? TwoPortConfigSize : SinglePortConfigSize;
        bool valid = text.size() == 2 * size;
        for (char c : text)
            valid = valid && std::isxdigit(static_cast<unsigned char>(c));
        if (!valid)
            return usage(isTwoPort() ? "config-set <9 hex bytes>" : "config-set <7 hex bytes>");
        setConfiguration(QByteArray::fromHex(text));
    } else if (cmd == QLatin1String("config-factory")) {
        setConfiguration(factoryConfiguration(type_));
    } else if (cmd == QLatin1String("received")) {
        for (const QByteArray &r : takeReceived())
            out.lines << hex(r);
    } else if (cmd == QLatin1String("telegram")) {
        out.lines << hex(statusTelegram());
    } else if (cmd == QLatin1String("count")) {
        out.lines << QStringLiteral("telegrams %1").arg(validTelegrams_);
    } else {
        out.error = QStringLiteral("unknown command ") + cmd;
    }
    return out;
}
