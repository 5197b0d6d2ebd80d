#pragma once

#include <QtGlobal>
#include <optional>

// The kind of module attached, named by the type byte of every telegram it sends.
enum class ModuleVariant : quint8 {
    TwoChannel6A = 0x11,
    TwoChannel10A = 0x13,
    FourChannelTwoPort = 0x15,
    FourChannel10A = 0x17,
    FourChannel6A = 0x19,
};

// The variant a type byte names, or nothing for any other byte.
inline std::optional<ModuleVariant> variantFromTypeByte(quint8 type)
{
    switch (type) {
    case 0x11: case 0x13: case 0x15: case 0x17: case 0x19:
        return static_cast<ModuleVariant>(type);
    default:
        return std::nullopt;
    }
}

inline quint8 typeByte(ModuleVariant v) { return static_cast<quint8>(v); }

inline bool isFourChannel(ModuleVariant v)
{
    return v != ModuleVariant::TwoChannel6A && v != ModuleVariant::TwoChannel10A;
}

// Largest current limit in amperes the configuration lists offer (single-port variants).
inline int maxCurrentLimit(ModuleVariant v)
{
    return (v == ModuleVariant::TwoChannel6A || v == ModuleVariant::FourChannel6A) ? 6 : 10;
}
