#include "config/configfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace configfile {

namespace {

// Longer than any valid line; the rest of a longer line is skipped.
constexpr qint64 MaxKeptLineLength = 256;

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

} // namespace

QString hexByte(int value)
{
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

std::optional<int> hexValue(const QString &text)
{
    int value = 0;
    for (QChar c : text) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = value * 16 + d;
    }
    return value;
}

QByteArray contents(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

std::optional<QByteArray> contents(const std::optional<QStringList> &lines)
{
    if (!lines)
        return std::nullopt;
    return contents(*lines);
}

bool save(const QString &path, const std::optional<QStringList> &lines)
{
    return lines && save(path, contents(*lines));
}

bool save(const QString &path, const QByteArray &contents, QString *reason)
{
    // The temporary file would be renamed over a device or FIFO (as root even /dev/null).
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        if (reason)
            *reason = QCoreApplication::translate("configfile", "keine gewöhnliche Datei");
        return false;
    }
    QSaveFile file(path);
    const auto failed = [&] {
        if (reason)
            *reason = file.errorString();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed();
    // commit() alone does not report a write that fails while the buffer is flushed
    // (a full disk): it would put the truncated file in place of the old one.
    if (file.write(contents) != contents.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        if (reason)
            *reason = file.errorString();
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit() || failed();
}

QStringList readLines(QIODevice &device)
{
    QStringList result;
    while (result.size() < LineCount && !device.atEnd()) {
        QByteArray line = device.readLine(MaxKeptLineLength);
        if (line.isEmpty() && !device.atEnd())
            break;   // a read error
        // Skip the rest of an overlong line.
        if (!line.endsWith('\n')) {
            char skipped[512];
            qint64 n = 0;
            while (!device.atEnd() && (n = device.readLine(skipped, sizeof skipped)) > 0) {
                if (skipped[n - 1] == '\n')
                    break;
            }
        }
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        result << QString::fromLatin1(line);
    }
    return result;
}

QStringList readLines(const QString &path)
{
    QStringList result;
    QFile file(path);
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly))
        result = readLines(file);
    while (result.size() < LineCount)
        result << QString();
    return result;
}

std::optional<int> FieldReader::operator()(int offset, int length) const
{
    const QString text = line.mid(offset, length);
    const auto value = hexValue(text);
    if (!value) {
        result.notHexadecimal = true;
        result.invalidText = text;
    }
    return value;
}

bool separatorAt(const QString &line, int offset, char separator)
{
    return line.at(offset) == QLatin1Char(separator);
}

LoadResult apply(const QStringList &lines, FrameCodes codes, const LineStep &line2, const LineStep &line3)
{
    LoadResult result;
    const QString line1 = lines.value(0);
    const QString line4 = lines.value(3);
    if (line1.size() != 6 || line4.size() != 14) {
        result.errorCode = codes.wrongLength;
        return result;
    }
    if (line1 != QLatin1String(Header) || line4 != QLatin1String(Marker)) {
        result.errorCode = codes.wrongText;
        return result;
    }
    // Text that is no number stops the load where it stands: no code is reported.
    if (!line2(lines.value(1), result) || !line3(lines.value(2), result))
        result.errorCode = 0;
    return result;
}

} // namespace configfile
