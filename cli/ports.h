#pragma once

#include "link/portdiagnosis.h"

#include <QByteArray>

// The ports command: COM1 to COM20 with what each resolves to, every serial adapter present
// with its stable name, and the state of each, found without opening any device.
namespace ports {

QByteArray report(bool json, const portdiagnosis::System &system = portdiagnosis::System());

// The state as one word for scripts: free, absent, permission-denied, held, not-serial.
QString stateKey(portdiagnosis::State state);

} // namespace ports
