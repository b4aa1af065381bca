#pragma once

#include "status/SystemReport.h"

#include <QJsonObject>

// The status JSON both ways, from one table of keys per record: what `write` leaves out (absent
// fields), `read` reads back as absent, so every report survives the round trip unchanged.
namespace SystemReportJson {
QJsonObject write(const SystemReport& report);
// Missing keys and nulls read as absent; a value of the wrong type anywhere throws KelvoError naming
// its key. "network" and the batteries are read leniently: one record or a list, else nothing.
SystemReport read(const QJsonObject& json);
} // namespace SystemReportJson
