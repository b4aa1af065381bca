#include "CleanReportPresenter.h"

#include "clean/CleanChoice.h"
#include "clean/CleanReportText.h"

#include <QVariantList>

namespace CleanReportPresenter {

QVariantMap present(const CleanPreviewReport& report)
{
    QVariantList sections;
    QStringList titles;
    int cleanable = 0;
    for (const CleanPreviewReport::Entry& entry : report.entries) {
        qsizetype index = titles.indexOf(entry.section.text());
        if (index < 0) {
            titles.append(entry.section.text());
            sections.append(QVariantMap{{QStringLiteral("title"), entry.section.text()},
                                        {QStringLiteral("entries"), QVariantList()},
                                        {QStringLiteral("keys"), QStringList()}});
            index = titles.size() - 1;
        }
        QVariantMap section = sections[index].toMap();
        QVariantList entries = section.value(QStringLiteral("entries")).toList();
        const bool choosable = CleanChoice::isChoosable(entry);
        entries.append(QVariantMap{{QStringLiteral("path"), entry.path},
                                   {QStringLiteral("note"), entry.note ? entry.note->text() : QString()},
                                   {QStringLiteral("status"), CleanPreviewReport::rawValue(entry.status)},
                                   {QStringLiteral("key"), CleanChoice::keyOf(entry)},
                                   {QStringLiteral("choosable"), choosable}});
        section.insert(QStringLiteral("entries"), entries);
        if (choosable)
            section.insert(QStringLiteral("keys"), section.value(QStringLiteral("keys")).toStringList()
                                                       << CleanChoice::keyOf(entry));
        sections[index] = section;
        if (entry.status == CleanPreviewReport::EntryStatus::cleanable)
            ++cleanable;
    }
    return {{QStringLiteral("summary"), report.summary ? report.summary->text() : QString()},
            // What the clean frees once the protection list has kept its part; empty for a report
            // that does not know it.
            {QStringLiteral("willFree"), CleanReportText::willFreeLine(report).value_or(QString())},
            {QStringLiteral("sectionCount"), report.sectionCount()},
            {QStringLiteral("entryCount"), int(report.entries.size())},
            {QStringLiteral("cleanableCount"), cleanable},
            {QStringLiteral("generatedAt"), report.generatedAt},
            {QStringLiteral("sections"), sections}};
}

} // namespace CleanReportPresenter
