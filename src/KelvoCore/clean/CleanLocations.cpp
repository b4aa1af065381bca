#include "clean/CleanLocations.h"

#include "platform/PathText.h"

#include <tuple>

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

// An Electron application keeps its caches in its settings folder, not below ~/.cache.
void addElectronCaches(std::vector<CleanTarget>& targets, const char* name, const char* folder)
{
    const QString app = QString::fromUtf8(name);
    const QString base = QStringLiteral(".config/") + QString::fromUtf8(folder) + QLatin1Char('/');
    for (const auto& [zh, en, child] :
         {std::tuple("缓存", "cache", "Cache"), std::tuple("代码缓存", "code cache", "Code Cache"),
          std::tuple("GPU 缓存", "GPU cache", "GPUCache")})
        targets.push_back({app + QLatin1Char(' ') + QString::fromUtf8(zh),
                           app + QLatin1Char(' ') + QString::fromUtf8(en), base + QString::fromUtf8(child)});
}

// A Chromium-based browser: its disk cache below ~/.cache and the caches of its default profile.
CleanBrowser chromiumBrowser(const char* name, QStringList processNames, const char* cacheFolder,
                             const char* configFolder)
{
    const QString profile =
        QStringLiteral(".config/") + QString::fromUtf8(configFolder) + QStringLiteral("/Default/");
    return {QString::fromUtf8(name),
            std::move(processNames),
            {QStringLiteral(".cache/") + QString::fromUtf8(cacheFolder),
             profile + QStringLiteral("Service Worker/CacheStorage"),
             profile + QStringLiteral("Code Cache")}};
}

CleanCatalogue makeLinux()
{
    CleanCatalogue catalogue;
    // The XDG cache is listed application by application, never as a whole, so that what each entry
    // holds is what the user recognises.
    std::vector<CleanTarget> essentials = {
        target("缩略图缓存", "Thumbnails", ".cache/thumbnails"),
        target("字体缓存", "Font cache", ".cache/fontconfig"),
        target("着色器缓存", "Shader cache", ".cache/mesa_shader_cache"),
        target("着色器缓存", "Shader cache", ".cache/mesa_shader_cache_db"),
        target("NVIDIA 着色器缓存", "NVIDIA shader cache", ".cache/nvidia"),
        target("X 会话日志", "X session log", ".xsession-errors"),
        target("X 服务器日志", "X server logs", ".local/share/xorg"),
    };
    addElectronCaches(essentials, "Visual Studio Code", "Code");
    addElectronCaches(essentials, "VSCodium", "VSCodium");
    addElectronCaches(essentials, "Slack", "Slack");
    addElectronCaches(essentials, "Discord", "discord");
    addElectronCaches(essentials, "Signal", "Signal");
    addElectronCaches(essentials, "Microsoft Teams", "Microsoft/Microsoft Teams");
    addElectronCaches(essentials, "Element", "Element");
    addElectronCaches(essentials, "Obsidian", "obsidian");
    catalogue.userEssentials = group("用户基础项目", "User essentials", std::move(essentials));
    catalogue.browsersTitle = group("浏览器", "Browsers");
    // Process names as the kernel keeps them (at most 15 characters).
    catalogue.browsers = {
        chromiumBrowser("Google Chrome", {QStringLiteral("chrome")}, "google-chrome", "google-chrome"),
        chromiumBrowser("Chromium", {QStringLiteral("chromium")}, "chromium", "chromium"),
        chromiumBrowser("Microsoft Edge", {QStringLiteral("msedge")}, "microsoft-edge", "microsoft-edge"),
        chromiumBrowser("Brave Browser", {QStringLiteral("brave")}, "BraveSoftware/Brave-Browser",
                        "BraveSoftware/Brave-Browser"),
        chromiumBrowser("Vivaldi", {QStringLiteral("vivaldi-bin")}, "vivaldi", "vivaldi"),
        chromiumBrowser("Opera", {QStringLiteral("opera")}, "opera", "opera"),
        {QStringLiteral("Firefox"),
         {QStringLiteral("firefox"), QStringLiteral("firefox-esr"), QStringLiteral("firefox-bin")},
         {QStringLiteral(".cache/mozilla/firefox")}},
    };
    // Caches a tool fills again by itself; downloaded dependencies a build needs (~/.m2/repository,
    // ~/go/pkg/mod itself) and the tools' own homes are not caches.
    catalogue.developerTools =
        group("开发工具", "Developer tools",
              {tool("npm cache", ".npm/_cacache"), tool("Yarn cache", ".cache/yarn"),
               tool("pnpm cache", ".cache/pnpm"), tool("pnpm store", ".local/share/pnpm/store"),
               tool("pip cache", ".cache/pip"), tool("Go build cache", ".cache/go-build"),
               tool("Go module downloads", "go/pkg/mod/cache/download"),
               tool("Gradle cache", ".gradle/caches"), tool("Cargo registry cache", ".cargo/registry/cache"),
               tool("ccache", ".cache/ccache"), tool("ccache", ".ccache"),
               tool("node-gyp cache", ".cache/node-gyp"), tool("Composer cache", ".cache/composer")});
    catalogue.diagnostics = group("诊断与崩溃报告", "Diagnostics and crash reports",
                                  {target("崩溃报告", "Crash reports", ".local/share/drkonqi"),
                                   target("崩溃报告", "Crash reports", ".cache/abrt")});
    // The freedesktop Trash: files and their info records go together, as one place.
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

QSet<QString> places(const QString& home)
{
    const QString homeText = PathText::standardized(home);
    QSet<QString> found;
    for (const CleanCatalogue* catalogue : {&macOS(), &linuxDesktop()})
        for (const QString& relativePath : relativePaths(*catalogue))
            found.insert(PathText::joined(homeText, relativePath));
    return found;
}

} // namespace CleanLocations
