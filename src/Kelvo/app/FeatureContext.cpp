#include "app/FeatureContext.h"

#include "platform/HomeFolder.h"
#include "vocabulary/TargetSystem.h"

namespace {

bool refused(const FeatureContext& context, const std::optional<QString>& problem)
{
    if (!problem)
        return false;
    RunCoordinator& runs = context.runs;
    runs.setAlertMessage(LocalText::same(*problem));
    runs.setStatus({QStringLiteral("没有完成"), QStringLiteral("Not Completed")}, LocalText::same(*problem));
    return true;
}

} // namespace

bool FeatureContext::homeRefused() const
{
    return refused(*this, HomeFolder::problem(environment.home));
}

bool FeatureContext::actingRefused() const
{
    return refused(*this, TargetSystems::actingRefusal(environment.target)) || homeRefused();
}
