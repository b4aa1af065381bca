#include "features/AnalysisEntryModel.h"

#include "features/AnalysisReportPresenter.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/PathText.h"
#include "vocabulary/SizeText.h"

#include <QByteArrayView>

namespace {

using Kind = AnalysisEntryModel::Kind;

// A report of the older tool has only is_dir.
Kind kindOf(const AnalysisReport::Entry& entry)
{
    using Scanned = AnalysisReport::Kind;
    switch (entry.kind.value_or(entry.isDirectory.value_or(false) ? Scanned::folder : Scanned::file)) {
    case Scanned::file:
        return Kind::File;
    case Scanned::folder:
        return Kind::Folder;
    case Scanned::unreadableFolder:
        return Kind::UnreadableFolder;
    case Scanned::link:
        return Kind::Link;
    case Scanned::danglingLink:
        return Kind::DanglingLink;
    case Scanned::special:
        break;
    }
    return Kind::Special;
}

QString kindText(Kind kind)
{
    switch (kind) {
    case Kind::Link:
        return AppLocalization::localized(QStringLiteral("链接（不跟随）"),
                                          QStringLiteral("Link (not followed)"));
    case Kind::DanglingLink:
        return AppLocalization::localized(QStringLiteral("失效链接"), QStringLiteral("Dangling link"));
    case Kind::Special:
        return AppLocalization::localized(QStringLiteral("特殊文件（FIFO、套接字或设备）"),
                                          QStringLiteral("Special file (FIFO, socket or device)"));
    default:
        return {};
    }
}

// Whole percents, with the ends kept apart: "<1%" for a sliver, "100%" only for (nearly) everything.
QString shareText(double share)
{
    if (share >= 0.995)
        return QStringLiteral("100%");
    if (share >= 0.01)
        return QString::number(qRound(share * 100)) + QLatin1Char('%');
    return share > 0 ? QStringLiteral("<1%") : QStringLiteral("0%");
}

} // namespace

int AnalysisEntryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QHash<int, QByteArray> AnalysisEntryModel::roleNames() const
{
    return {{KeyRole, "key"},
            {NameRole, "name"},
            {PathRole, "path"},
            {NameNotUtf8Role, "nameNotUtf8"},
            {IsDirectoryRole, "isDirectory"},
            {KindRole, "kind"},
            {KindTextRole, "kindText"},
            {SizeRole, "size"},
            {SizeTextRole, "sizeText"},
            {ShareRole, "share"},
            {ShareTextRole, "shareText"}};
}

QVariant AnalysisEntryModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const AnalysisReport::Entry& entry = m_entries[std::size_t(index.row())];
    // Only a path whose text does not spell its bytes is shown from the bytes.
    const QByteArray bytes = entry.rawPath.value_or(QByteArray());
    const QByteArray name = bytes.mid(bytes.lastIndexOf('/') + 1);
    const qint64 size = entry.size.value_or(0);
    const double share = m_total > 0 ? double(size) / double(m_total) : 0.0;
    switch (role) {
    case KeyRole:
        return AnalysisReportPresenter::keyOf(entry);
    case NameRole:
        return entry.rawPath ? PathText::shown(name) : entry.name.value_or(QString());
    case PathRole:
        return entry.rawPath ? PathText::shown(bytes) : entry.path.value_or(QString());
    case NameNotUtf8Role:
        return !QByteArrayView(name).isValidUtf8();
    case IsDirectoryRole:
        return entry.isDirectory.value_or(false);
    case KindRole:
        return kindOf(entry);
    case KindTextRole:
        return kindText(kindOf(entry));
    case SizeRole:
        return size;
    case SizeTextRole:
        return kindOf(entry) == Kind::UnreadableFolder
                   ? AppLocalization::localized(QStringLiteral("无法读取"), QStringLiteral("Cannot be read"))
                   : SizeText::bytes(size);
    case ShareRole:
        return share;
    case ShareTextRole:
        return shareText(share);
    default:
        return {};
    }
}

void AnalysisEntryModel::setEntries(const std::vector<AnalysisReport::Entry>& entries, qint64 total)
{
    resetRows([&] {
        m_entries = entries;
        m_total = total;
    });
    emit rowsReplaced();
}

QList<qreal> AnalysisEntryModel::sizes() const
{
    QList<qreal> sizes;
    sizes.reserve(qsizetype(m_entries.size()));
    for (const AnalysisReport::Entry& entry : m_entries)
        sizes << qreal(entry.size.value_or(0));
    return sizes;
}
