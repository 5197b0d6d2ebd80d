#pragma once

#include <QByteArray>
#include <QtGlobal>

// Byte, bit and list-index helpers that both module families use.
namespace configbytes {

// A list without a selection.
constexpr int NoSelection = -1;

// The item when a list of count entries has it, else NoSelection.
constexpr int selectionIn(int item, int count)
{
    return (item >= 0 && item < count) ? item : NoSelection;
}

// The byte with the bits of mask set (on) or cleared.
constexpr quint8 withBit(quint8 byte, quint8 mask, bool on)
{
    return on ? quint8(byte | mask) : quint8(byte & ~mask);
}

// The byte at offset as an unsigned value; offset must lie inside bytes.
inline quint8 byteAt(const QByteArray &bytes, int offset)
{
    return static_cast<quint8>(bytes.at(offset));
}

} // namespace configbytes
