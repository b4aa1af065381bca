#include "status/SystemReport.h"

#include "status/SystemReportJson.h"

#include <QUuid>

QString SystemReport::Disk::id() const
{
    if (mount)
        return *mount;
    if (device)
        return *device;
    if (name)
        return *name;
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

std::optional<SystemReport::Battery> SystemReport::battery() const
{
    if (batteries.empty())
        return std::nullopt;
    return batteries.front();
}

QJsonObject SystemReport::toJson() const
{
    return SystemReportJson::write(*this);
}
