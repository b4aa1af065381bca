#include "app/FeatureContext.h"

#include "platform/HomeFolder.h"
#include "vocabulary/AppLocalization.h"

bool FeatureContext::homeRefused() const
{
    const std::optional<QString> problem = HomeFolder::problem(environment.home);
    if (!problem)
        return false;
    runs.setAlertMessage(*problem);
    runs.setStatus(AppLocalization::localized(QStringLiteral("没有完成"), QStringLiteral("Not Completed")),
                   *problem);
    return true;
}
