#include "features/UninstallAppModel.h"

#include "app/AppModelSupport.h"

#include "vocabulary/SizeText.h"

using namespace AppModelSupport;

namespace {

// The day an app was last used. A use date at the epoch or before is what a file system keeps for a
// bundle nobody has opened (access times cleared by an unpacker or a copy), so it reads "Never".
QString lastOpenedText(const std::optional<QDateTime>& lastOpened)
{
    if (!lastOpened)
        return L("未知", "Unknown");
    if (lastOpened->toSecsSinceEpoch() <= 0)
        return L("从未", "Never");
    return lastOpened->toLocalTime().toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

UninstallLeftoverModel::UninstallLeftoverModel(std::vector<UninstallPreviewReport::Leftover> leftovers,
                                               QObject* parent)
    : ChoiceRowsModel(parent)
{
    replaceRows([&] { m_rows = std::move(leftovers); }, NewChoice::byDefault);
}

QString UninstallLeftoverModel::keyOfRow(const UninstallPreviewReport::Leftover& row) const
{
    return row.path;
}

qint64 UninstallLeftoverModel::bytesOf(int row) const
{
    return m_rows[std::size_t(row)].allocatedBytes;
}

bool UninstallLeftoverModel::chosenByDefault(int row) const
{
    return m_rows[std::size_t(row)].match == UninstallPreviewReport::LeftoverMatch::strong;
}

QVariant UninstallLeftoverModel::rowData(int row, int role) const
{
    const UninstallPreviewReport::Leftover& leftover = m_rows[std::size_t(row)];
    switch (role) {
    case PathRole:
        return leftover.path;
    case SizeTextRole:
        return SizeText::bytes(leftover.allocatedBytes);
    case StrongRole:
        return leftover.match == UninstallPreviewReport::LeftoverMatch::strong;
    default:
        return {};
    }
}

QHash<int, QByteArray> UninstallLeftoverModel::rowRoleNames() const
{
    return {{PathRole, "path"}, {SizeTextRole, "sizeText"}, {StrongRole, "strong"}};
}

void UninstallAppModel::setEntries(std::vector<UninstallPreviewReport::Entry> entries)
{
    std::vector<UninstallAppRow> previous;
    replaceRows(
        [&] {
            previous = std::exchange(m_rows, {});
            m_rows.reserve(entries.size());
            for (UninstallPreviewReport::Entry& entry : entries) {
                auto* leftovers = new UninstallLeftoverModel(entry.leftovers, this);
                m_rows.push_back({std::move(entry), leftovers});
            }
        },
        NewChoice::keepListed);
    // The views let go of the old lists during the reset.
    for (const UninstallAppRow& row : previous)
        row.leftovers->deleteLater();
}

QStringList UninstallAppModel::chosenLeftovers() const
{
    QSet<QString> paths;
    for (const UninstallAppRow& row : m_rows)
        paths.unite(row.leftovers->chosen());
    return QStringList(paths.begin(), paths.end());
}

QString UninstallAppModel::keyOfRow(const UninstallAppRow& row) const
{
    return row.entry.id;
}

qint64 UninstallAppModel::bytesOf(int row) const
{
    return m_rows[std::size_t(row)].entry.appSizeBytes.value_or(0);
}

QVariant UninstallAppModel::rowData(int row, int role) const
{
    const UninstallPreviewReport::Entry& entry = m_rows[std::size_t(row)].entry;
    const QString unknown = SizeText::bytes(std::nullopt);
    switch (role) {
    case NameRole:
        return entry.shownName();
    case BundleIDRole:
        return entry.bundleID.value_or(QString());
    case SourceRole:
        return entry.source.text();
    case PathRole:
        return entry.path;
    case IconPathRole:
        return entry.iconPath.value_or(QString());
    case SizeTextRole:
        return entry.size.value_or(unknown);
    case AppSizeTextRole:
        return entry.appSizeText.value_or(unknown);
    case LeftoverSizeTextRole:
        return entry.leftoverSizeText.value_or(unknown);
    case LastOpenedRole:
        return lastOpenedText(entry.lastOpened);
    case LeftoversRole:
        return QVariant::fromValue<QObject*>(m_rows[std::size_t(row)].leftovers);
    default:
        return {};
    }
}

QHash<int, QByteArray> UninstallAppModel::rowRoleNames() const
{
    return {{NameRole, "name"},
            {BundleIDRole, "bundleID"},
            {SourceRole, "source"},
            {PathRole, "path"},
            {IconPathRole, "iconPath"},
            {SizeTextRole, "sizeText"},
            {AppSizeTextRole, "appSizeText"},
            {LeftoverSizeTextRole, "leftoverSizeText"},
            {LastOpenedRole, "lastOpenedText"},
            {LeftoversRole, "leftovers"}};
}

void UninstallAppModel::eraseKeys(const QSet<QString>& keys)
{
    std::erase_if(m_rows, [&](const UninstallAppRow& row) {
        if (!keys.contains(row.entry.id))
            return false;
        row.leftovers->deleteLater();
        return true;
    });
}
