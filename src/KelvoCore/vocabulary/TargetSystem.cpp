#include "vocabulary/TargetSystem.h"

#include "vocabulary/AppLocalization.h"

namespace TargetSystems {

namespace {

const QString variable = QStringLiteral("KELVO_SYSTEM");

QString nameOf(TargetSystem system)
{
    return system == TargetSystem::macOS ? QStringLiteral("macos") : QStringLiteral("linux");
}

} // namespace

std::optional<TargetSystem> named(const QString& name)
{
    for (const TargetSystem system : {TargetSystem::macOS, TargetSystem::linuxDesktop})
        if (name.compare(nameOf(system), Qt::CaseInsensitive) == 0)
            return system;
    return std::nullopt;
}

TargetChoice builtChoice()
{
    return {built(), false};
}

std::optional<TargetChoice> chosen(const QProcessEnvironment& environment)
{
    const QString name = environment.value(variable).trimmed();
    if (name.isEmpty())
        return builtChoice();
    const std::optional<TargetSystem> system = named(name);
    if (!system)
        return std::nullopt;
    return TargetChoice{*system, *system != built()};
}

std::optional<QString> actingRefusal(const TargetChoice& choice)
{
    if (!choice.previewOnly)
        return std::nullopt;
    return AppLocalization::localized(
               QStringLiteral("%1=%2 只用于预览：这些位置属于另一个系统，不会更改任何内容。"),
               QStringLiteral("%1=%2 is for previews only: these places belong to another system, so "
                              "nothing is changed."))
        .arg(variable, nameOf(choice.system));
}

QString unknownNameText(const QString& name)
{
    return AppLocalization::localized(QStringLiteral("%1 只能是 macos 或 linux，而不是“%2”。"),
                                      QStringLiteral("%1 must be macos or linux, not \"%2\"."))
        .arg(variable, name);
}

} // namespace TargetSystems
