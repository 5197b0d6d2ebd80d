#include "config/configtelegram.h"

#include "link/frame.h"

namespace configtelegram {

QByteArray writeTelegram(const QByteArray &fields)
{
    QByteArray t;
    t.reserve(fields.size() + 5);
    t.append(char(RequestByte));
    t.append(char(WriteCommand));
    t.append(fields);
    t.append(char(TrailerA));
    t.append(char(TrailerB));
    t.append(char(frame::checkByte(t, int(t.size()))));
    return t;
}

bool isAcknowledged(const QByteArray &telegram, const QByteArray &reply, int writeLength)
{
    return telegram.size() == writeLength && !reply.isEmpty() && reply.at(0) == telegram.at(writeLength - 1);
}

QString versionText(const QByteArray &reply, int versionOffset)
{
    return QStringLiteral("SW: ") + QString::fromLatin1(reply.mid(versionOffset, VersionLength));
}

} // namespace configtelegram
