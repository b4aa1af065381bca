#include "platform/SystemColorScheme.h"

#import <AppKit/AppKit.h>

namespace {

bool systemAppearanceIsDark()
{
    @autoreleasepool {
        // Set to "Dark" while the dark appearance is in effect, automatic switching included.
        NSString* style = [[NSUserDefaults standardUserDefaults] stringForKey:@"AppleInterfaceStyle"];
        return style != nil && [style caseInsensitiveCompare:@"Dark"] == NSOrderedSame;
    }
}

// The system appearance, followed through the notification macOS posts when it switches.
class MacColorScheme final : public SystemColorScheme {
public:
    explicit MacColorScheme(QObject* parent)
        : SystemColorScheme(parent)
    {
        setPrefersDark(systemAppearanceIsDark());
        m_observer = [[NSDistributedNotificationCenter defaultCenter]
            addObserverForName:@"AppleInterfaceThemeChangedNotification"
                        object:nil
                         queue:[NSOperationQueue mainQueue]
                    usingBlock:^(NSNotification*) {
                      setPrefersDark(systemAppearanceIsDark());
                    }];
    }
    ~MacColorScheme() override
    {
        [[NSDistributedNotificationCenter defaultCenter] removeObserver:m_observer];
    }

private:
    id m_observer = nil;
};

} // namespace

std::unique_ptr<SystemColorScheme> SystemColorScheme::create(QObject* parent)
{
    return std::make_unique<MacColorScheme>(parent);
}
