#include "clean/CleanLocations.h"

#include "platform/PathText.h"

namespace CleanLocations {

namespace {

CleanGroup group(const char* zh, const char* en, std::vector<CleanTarget> targets = {})
{
    return {QString::fromUtf8(zh), QString::fromUtf8(en), std::move(targets)};
}

CleanTarget target(const char* zh, const char* en, const char* path)
{
    return {QString::fromUtf8(zh), QString::fromUtf8(en), QString::fromUtf8(path)};
}

// Developer tool names read the same in both languages.
CleanTarget tool(const char* label, const char* path)
{
    return target(label, label, path);
}

CleanCatalogue makeMacOS()
{
    CleanCatalogue catalogue;
    catalogue.userEssentials =
        group("用户基础项目", "User essentials",
              {target("用户应用缓存", "User app caches", "Library/Caches"),
               target("用户应用日志", "User app logs", "Library/Logs"),
               target("应用保存状态", "Saved app states", "Library/Saved Application State"),
               target("网页临时存储", "Web temporary storage", "Library/HTTPStorages")});
    catalogue.browsersTitle = group("浏览器", "Browsers");
    catalogue.browsers = {
        {QStringLiteral("Safari"),
         {QStringLiteral("Safari")},
         {QStringLiteral("Library/Caches/com.apple.Safari")}},
        {QStringLiteral("Google Chrome"),
         {QStringLiteral("Google Chrome"), QStringLiteral("Google Chrome Helper")},
         {QStringLiteral("Library/Caches/Google/Chrome"),
          QStringLiteral("Library/Application Support/Google/Chrome/Default/Service Worker/CacheStorage"),
          QStringLiteral("Library/Application Support/Google/Chrome/Default/Code Cache")}},
        {QStringLiteral("Microsoft Edge"),
         {QStringLiteral("Microsoft Edge"), QStringLiteral("Microsoft Edge Helper")},
         {QStringLiteral("Library/Caches/Microsoft Edge"),
          QStringLiteral("Library/Application Support/Microsoft Edge/Default/Service Worker/CacheStorage"),
          QStringLiteral("Library/Application Support/Microsoft Edge/Default/Code Cache")}},
        {QStringLiteral("Brave Browser"),
         {QStringLiteral("Brave Browser"), QStringLiteral("Brave Browser Helper")},
         {QStringLiteral("Library/Caches/BraveSoftware/Brave-Browser"),
          QStringLiteral(
              "Library/Application Support/BraveSoftware/Brave-Browser/Default/Service Worker/CacheStorage"),
          QStringLiteral("Library/Application Support/BraveSoftware/Brave-Browser/Default/Code Cache")}},
        {QStringLiteral("Firefox"),
         {QStringLiteral("Firefox")},
         {QStringLiteral("Library/Caches/Firefox"), QStringLiteral("Library/Caches/Mozilla")}},
    };
    catalogue.developerTools = group(
        "开发工具", "Developer tools",
        {tool("Xcode DerivedData", "Library/Developer/Xcode/DerivedData"),
         tool("Xcode Archives", "Library/Developer/Xcode/Archives"),
         tool("Xcode ModuleCache", "Library/Developer/Xcode/DerivedData/ModuleCache.noindex"),
         tool("CoreSimulator Caches", "Library/Developer/CoreSimulator/Caches"), tool("npm cache", ".npm"),
         tool("Yarn cache", "Library/Caches/Yarn"), tool("pnpm store", "Library/pnpm/store"),
         tool("Gradle cache", ".gradle/caches"), tool("Cargo registry cache", ".cargo/registry/cache")});
    catalogue.diagnostics =
        group("诊断与崩溃报告", "Diagnostics and crash reports",
              {target("崩溃报告", "Crash reports", "Library/Application Support/CrashReporter"),
               target("诊断报告", "Diagnostic reports", "Library/Logs/DiagnosticReports"),
               target("旧更新日志", "Old update logs", "Library/Logs/InstallAssistant")});
    catalogue.trash = group("废纸篓", "Trash", {target("用户废纸篓", "User Trash", ".Trash")});
    return catalogue;
}

CleanCatalogue makeLinux()
{
    CleanCatalogue catalogue;
    catalogue.userEssentials =
        group("用户基础项目", "User essentials", {target("用户应用缓存", "User app caches", ".cache")});
    catalogue.browsersTitle = group("浏览器", "Browsers");
    // Process names as the kernel keeps them (at most 15 characters).
    catalogue.browsers = {
        {QStringLiteral("Google Chrome"),
         {QStringLiteral("chrome")},
         {QStringLiteral(".cache/google-chrome"),
          QStringLiteral(".config/google-chrome/Default/Service Worker/CacheStorage"),
          QStringLiteral(".config/google-chrome/Default/Code Cache")}},
        {QStringLiteral("Chromium"),
         {QStringLiteral("chromium")},
         {QStringLiteral(".cache/chromium"),
          QStringLiteral(".config/chromium/Default/Service Worker/CacheStorage"),
          QStringLiteral(".config/chromium/Default/Code Cache")}},
        {QStringLiteral("Microsoft Edge"),
         {QStringLiteral("msedge")},
         {QStringLiteral(".cache/microsoft-edge"),
          QStringLiteral(".config/microsoft-edge/Default/Service Worker/CacheStorage"),
          QStringLiteral(".config/microsoft-edge/Default/Code Cache")}},
        {QStringLiteral("Brave Browser"),
         {QStringLiteral("brave")},
         {QStringLiteral(".cache/BraveSoftware/Brave-Browser"),
          QStringLiteral(".config/BraveSoftware/Brave-Browser/Default/Service Worker/CacheStorage"),
          QStringLiteral(".config/BraveSoftware/Brave-Browser/Default/Code Cache")}},
        {QStringLiteral("Firefox"),
         {QStringLiteral("firefox"), QStringLiteral("firefox-esr"), QStringLiteral("firefox-bin")},
         {QStringLiteral(".cache/mozilla/firefox")}},
    };
    catalogue.developerTools =
        group("开发工具", "Developer tools",
              {tool("npm cache", ".npm"), tool("Yarn cache", ".cache/yarn"),
               tool("pnpm store", ".local/share/pnpm/store"), tool("Gradle cache", ".gradle/caches"),
               tool("Cargo registry cache", ".cargo/registry/cache")});
    catalogue.diagnostics = group("诊断与崩溃报告", "Diagnostics and crash reports");
    catalogue.trash = group("废纸篓", "Trash", {target("用户废纸篓", "User Trash", ".local/share/Trash")});
    return catalogue;
}

} // namespace

const CleanCatalogue& macOS()
{
    static const CleanCatalogue catalogue = makeMacOS();
    return catalogue;
}

const CleanCatalogue& linuxDesktop()
{
    static const CleanCatalogue catalogue = makeLinux();
    return catalogue;
}

const CleanCatalogue& forThisSystem()
{
#ifdef Q_OS_MACOS
    return macOS();
#else
    return linuxDesktop();
#endif
}

QStringList relativePaths(const CleanCatalogue& catalogue)
{
    QStringList paths;
    for (const CleanGroup* group :
         {&catalogue.userEssentials, &catalogue.developerTools, &catalogue.diagnostics, &catalogue.trash})
        for (const CleanTarget& target : group->targets)
            paths << target.relativePath;
    for (const CleanBrowser& browser : catalogue.browsers)
        paths << browser.relativePaths;
    return paths;
}

bool isPlace(const QString& home, const QString& path)
{
    const QString homeText = PathText::standardized(home);
    const QString candidate = PathText::standardized(path);
    for (const CleanCatalogue* catalogue : {&macOS(), &linuxDesktop()})
        for (const QString& relativePath : relativePaths(*catalogue))
            if (PathText::joined(homeText, relativePath) == candidate)
                return true;
    return false;
}

} // namespace CleanLocations
