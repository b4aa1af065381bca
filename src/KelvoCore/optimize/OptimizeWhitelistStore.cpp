#include "optimize/OptimizeWhitelistStore.h"

#include "platform/TextFile.h"
#include "vocabulary/AppLocalization.h"

#include <QDir>

QString OptimizeWhitelistOption::title() const
{
    const OptimizePreviewCatalog::Item* item = OptimizePreviewCatalog::find(id, system);
    return item ? AppLocalization::localized(item->zhName, item->enName) : id;
}

QString OptimizeWhitelistOption::detail() const
{
    const OptimizePreviewCatalog::Item* item = OptimizePreviewCatalog::find(id, system);
    if (!item)
        return AppLocalization::localized(QStringLiteral("跳过此优化步骤。"),
                                          QStringLiteral("Skip this optimization step."));
    return AppLocalization::localized(QStringLiteral("优化执行时会跳过：") + item->zhDescription,
                                      QStringLiteral("Skipped during optimization: ") + item->enDescription);
}

namespace OptimizeWhitelistStore {

namespace {

const QString header =
    QStringLiteral("# Kelvo Optimization Whitelist - These optimization steps will be skipped");

} // namespace

OptimizeWhitelistState parse(const QString& text, TargetSystem system)
{
    OptimizeWhitelistState state;
    QStringList custom;
    for (const QString& line : TextFile::lines(text)) {
        // An indented "#" is a comment too, since the test runs on the trimmed line.
        const QString entry = line.trimmed();
        if (entry.isEmpty() || entry.startsWith(QLatin1Char('#')))
            continue;
        if (OptimizePreviewCatalog::find(entry, system))
            state.selectedKeys.insert(entry);
        else
            custom << entry;
    }
    state.customKeys = deduplicated(custom);
    return state;
}

QString optimizeConfigURL(const QString& home)
{
    return QDir(home).filePath(QStringLiteral(".config/kelvo/whitelist_optimize"));
}

QString optimizeLegacyConfigURL(const QString& home)
{
    return QDir(home).filePath(QStringLiteral(".config/tarn/whitelist_optimize"));
}

QString optimizeLegacyChecksURL(const QString& home)
{
    return QDir(home).filePath(QStringLiteral(".config/tarn/whitelist_checks"));
}

std::vector<OptimizeWhitelistOption> options(TargetSystem system)
{
    std::vector<OptimizeWhitelistOption> result;
    for (const OptimizePreviewCatalog::Item& item : OptimizePreviewCatalog::items(system))
        result.push_back({item.id, system});
    return result;
}

QSet<QString> defaultSelectedKeys()
{
    return {};
}

OptimizeWhitelistState load(const QString& home, TargetSystem system)
{
    // The first file that is there is the list, even when it cannot be read: the older tool's files
    // are only a fallback for a missing file, never for a broken one.
    for (const QString& path :
         {optimizeConfigURL(home), optimizeLegacyConfigURL(home), optimizeLegacyChecksURL(home)}) {
        if (const std::optional<QString> text = TextFile::readListFile(path))
            return parse(*text, system);
    }
    return {defaultSelectedKeys(), {}};
}

QString serialize(const OptimizeWhitelistState& state, TargetSystem system)
{
    QStringList steps;
    for (const OptimizePreviewCatalog::Item& item : OptimizePreviewCatalog::items(system)) {
        if (state.selectedKeys.contains(item.id))
            steps << item.id;
    }
    QStringList fileLines = QStringList{header, QString()} + steps;
    // A custom key that names a step already written is not written twice.
    for (const QString& key : deduplicated(state.customKeys)) {
        if (!steps.contains(key) && !key.trimmed().isEmpty())
            fileLines << key;
    }
    return fileLines.join(QLatin1Char('\n')).trimmed() + QLatin1Char('\n');
}

void save(const OptimizeWhitelistState& state, const QString& home, TargetSystem system)
{
    // Makes home/.config/kelvo as needed, with no link on the way; a failed write leaves the previous
    // file as it was.
    TextFile::writeUtf8Atomically(home, optimizeConfigURL(home), serialize(state, system));
}

QStringList deduplicated(const QStringList& list)
{
    QStringList result = list;
    result.removeDuplicates(); // keeps the first of each
    return result;
}

} // namespace OptimizeWhitelistStore
