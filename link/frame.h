#pragma once

#include <QByteArray>

// Every telegram from the module: 0xE4, type byte, payload, check byte, end pair
// 0xE4 0x16 or 0xE4 0x18. The check byte is the XOR of offsets 2 up to the byte before it.
namespace frame {

constexpr quint8 StartByte = 0xE4;
constexpr quint8 EndByteA = 0x16;
constexpr quint8 EndByteB = 0x18;

// XOR of the bytes at offsets 2 .. checkOffset-1 (start value 0).
inline quint8 checkByte(const QByteArray &bytes, int checkOffset)
{
    quint8 x = 0;
    for (int i = 2; i < checkOffset && i < bytes.size(); ++i)
        x ^= static_cast<quint8>(bytes.at(i));
    return x;
}

inline bool checkByteMatches(const QByteArray &bytes, int checkOffset)
{
    return bytes.size() > checkOffset
        && checkByte(bytes, checkOffset) == static_cast<quint8>(bytes.at(checkOffset));
}

} // namespace frame
