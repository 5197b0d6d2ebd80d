#include "cli/ports.h"

#include "cli/efusectltexts.h"
#include "link/portnames.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace ports {

using efusectltext::tr;

QString stateKey(portdiagnosis::State state)
{
    switch (state) {
    case portdiagnosis::State::Free: return QStringLiteral("free");
    case portdiagnosis::State::Absent: return QStringLiteral("absent");
    case portdiagnosis::State::PermissionDenied: return QStringLiteral("permission-denied");
    case portdiagnosis::State::Held: return QStringLiteral("held");
    case portdiagnosis::State::NotSerial: return QStringLiteral("not-serial");
    }
    return {};
}

namespace {

QJsonObject stateJson(const portdiagnosis::Diagnosis &d)
{
    QJsonObject o;
    o[QStringLiteral("state")] = stateKey(d.state);
    o[QStringLiteral("reason")] = portdiagnosis::reason(d);
    QJsonArray holders;
    for (const portdiagnosis::Holder &h : d.holders)
        holders.append(QJsonObject{{QStringLiteral("pid"), h.pid}, {QStringLiteral("program"), h.program}});
    o[QStringLiteral("holders")] = holders;
    return o;
}

QString adapterText(const portdiagnosis::Adapter &a)
{
    QStringList about;
    for (const QString &s : {a.maker, a.product})
        if (!s.isEmpty())
            about << s;
    if (!a.vendorId.isEmpty())
        about << a.vendorId + QLatin1Char(':') + a.productId;
    if (!a.serialNumber.isEmpty())
        about << tr(efusectltext::PortsSerialNumber).arg(a.serialNumber);
    return about.join(QLatin1Char(' '));
}

} // namespace

QByteArray report(bool json, const portdiagnosis::System &system)
{
    QJsonArray portList;
    QString text;
    for (int n = 1; n <= portnames::PortCount; ++n) {
        const portdiagnosis::Resolution r = portdiagnosis::resolve(portnames::deviceName(n), system);
        const portdiagnosis::Diagnosis d = portdiagnosis::diagnose(r.path, system);
        const QString name = QStringLiteral("COM%1").arg(n);
        if (json) {
            QJsonObject o = stateJson(d);
            o[QStringLiteral("name")] = name;
            o[QStringLiteral("path")] = r.path;
            o[QStringLiteral("link")] = r.linkPath;
            o[QStringLiteral("linkTarget")] = r.linkTarget;
            o[QStringLiteral("device")] = r.device;
            portList.append(o);
            continue;
        }
        QString resolved = r.path;
        if (!r.linkPath.isEmpty())
            resolved += QStringLiteral(" -> ") + (r.device.isEmpty() ? r.linkTarget : r.device);
        text += QStringLiteral("%1  %2  %3\n").arg(name.leftJustified(5), resolved, portdiagnosis::reason(d));
    }

    const portdiagnosis::AdapterList list = portdiagnosis::adapters(system);
    QJsonArray adapterList;
    text += QLatin1Char('\n') + tr(efusectltext::PortsAdapters) + QLatin1Char('\n');
    if (!list.byIdFolderExists)
        text += QStringLiteral("  ") + tr(efusectltext::PortsNoById).arg(system.byIdFolder) + QLatin1Char('\n');
    if (list.adapters.isEmpty())
        text += QStringLiteral("  ") + tr(efusectltext::PortsNoAdapter) + QLatin1Char('\n');
    for (const portdiagnosis::Adapter &a : list.adapters) {
        const portdiagnosis::Diagnosis d = portdiagnosis::diagnose(a.device, system);
        if (json) {
            QJsonObject o = stateJson(d);
            o[QStringLiteral("device")] = a.device;
            o[QStringLiteral("stableName")] = a.stableName;
            o[QStringLiteral("comName")] = a.comName;
            o[QStringLiteral("usb")] = a.usb;
            o[QStringLiteral("maker")] = a.maker;
            o[QStringLiteral("product")] = a.product;
            o[QStringLiteral("serialNumber")] = a.serialNumber;
            o[QStringLiteral("vendorId")] = a.vendorId;
            o[QStringLiteral("productId")] = a.productId;
            adapterList.append(o);
            continue;
        }
        QStringList parts{a.device};
        if (!a.stableName.isEmpty())
            parts << a.stableName;
        parts << (a.comName.isEmpty() ? tr(efusectltext::PortsNoComName) : a.comName);
        const QString about = adapterText(a);
        if (!about.isEmpty())
            parts << about;
        parts << portdiagnosis::reason(d);
        text += QStringLiteral("  ") + parts.join(QStringLiteral("  ")) + QLatin1Char('\n');
    }
    if (json) {
        const QJsonObject root{{QStringLiteral("ports"), portList},
                               {QStringLiteral("adapters"), adapterList},
                               {QStringLiteral("byIdFolder"), system.byIdFolder},
                               {QStringLiteral("byIdFolderExists"), list.byIdFolderExists}};
        return QJsonDocument(root).toJson(QJsonDocument::Indented);
    }
    return text.toUtf8();
}

} // namespace ports
