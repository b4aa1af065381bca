import QtCore
import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import Kelvo 1.0

// The settings page: permissions, protection lists, appearance, language, updates and version.
FeaturePage {
    id: page
    objectName: "page_maintenance"
    feature: AppFeature.Maintenance

    readonly property bool hasCustomBackground: AppModel.appearance.customWindowBackgroundURL.toString().length > 0
    readonly property string backgroundFileName: AppModel.appearance.customWindowBackgroundPath.split("/").pop()

    SettingsSection {
        objectName: "permissionsSection"
        // Full Disk Access and App Data access are macOS privacy settings; elsewhere file permissions alone apply.
        visible: Theme.macOS
        Layout.fillWidth: true
        title: Theme.t("权限", "Permissions")

        SettingsRow {
            title: Theme.t("减少系统弹窗", "Reduce Permission Prompts")
            detail: Theme.t("如果清理或分析时反复出现权限弹窗，可以一次性给 Kelvo 授予完整磁盘访问权限和 App 数据权限。",
                            "If cleanup or analysis repeatedly shows permission prompts, grant Kelvo Full Disk Access and App Data access once.")
        }
        BodyText {
            Layout.fillWidth: true
            font.pixelSize: Theme.fontSmall + 0.5
            text: Theme.t("授权后重新打开 Kelvo，之后的检查会少很多系统确认。",
                          "After granting access, reopen Kelvo. Future scans should show far fewer system confirmations.")
        }
        Flow {
            Layout.fillWidth: true
            visible: AppModel.appearance.canOpenSystemSettings
            spacing: Theme.spacingSmall
            KButton {
                objectName: "fullDiskAccessButton"
                text: Theme.t("打开完整磁盘访问权限", "Open Full Disk Access")
                onClicked: AppModel.appearance.openSystemSettingsPane(
                               "x-apple.systempreferences:com.apple.preference.security?Privacy_AllFiles")
            }
            KButton {
                objectName: "appDataAccessButton"
                text: Theme.t("打开 App 数据权限", "Open App Data Access")
                onClicked: AppModel.appearance.openSystemSettingsPane(
                               "x-apple.systempreferences:com.apple.preference.security?Privacy_AppData")
            }
        }
    }

    SettingsSection {
        objectName: "protectionSection"
        Layout.fillWidth: true
        title: Theme.t("保护设置", "Protection Settings")

        BodyText {
            Layout.fillWidth: true
            text: Theme.t("这些设置会直接影响后续的清理和优化行为。",
                          "These settings directly affect later cleanup and optimization actions.")
        }
        NavigationRow {
            objectName: "cleanProtectionEntry"
            symbol: "qrc:/icons/shield.svg"
            text: Theme.t("清理保护名单", "Cleanup Protection List")
            onClicked: AppModel.request(Actions.cleanWhitelist())
        }
        NavigationRow {
            objectName: "optimizeSafeguardsEntry"
            symbol: "qrc:/icons/optimize.svg"
            text: Theme.t("优化保护项", "Optimization Safeguards")
            onClicked: AppModel.request(Actions.optimizeWhitelist())
        }
    }

    SettingsSection {
        objectName: "appearanceSection"
        Layout.fillWidth: true
        title: Theme.t("外观", "Appearance")

        SettingsRow {
            title: Theme.t("外观模式", "Color Scheme")
            detail: Theme.t("浅色或深色，或随系统的外观设置自动切换。",
                            "Light or dark, or switch along with the system's appearance setting.")
            SegmentedControl {
                objectName: "colorSchemeChoice"
                segmentPrefix: "scheme_"
                value: AppModel.appearance.colorScheme
                options: [
                    { value: "light", label: Theme.t("浅色", "Light") },
                    { value: "dark", label: Theme.t("深色", "Dark") },
                    { value: "system", label: Theme.t("跟随系统", "Follow System") }
                ]
                onActivated: value => AppModel.appearance.colorScheme = value
            }
        }

        Divider {}

        SettingsRow {
            title: Theme.t("窗口背景", "Window Background")
            detail: page.hasCustomBackground
                    ? Theme.t("正在使用自定义图片：", "Using custom image: ") + page.backgroundFileName
                    : Theme.bySystem(Theme.t("正在使用系统桌面壁纸作为背景。", "Using the system desktop wallpaper as the background."),
                                     Theme.t("正在使用 Kelvo 自带的渐变背景。", "Using Kelvo's own gradient as the background."))
        }
        BodyText {
            Layout.fillWidth: true
            font.pixelSize: Theme.fontSmall + 0.5
            text: Theme.bySystem(
                      Theme.t("未设置时使用系统桌面壁纸。过于花哨的图片可能会让玻璃面板上的文字不易阅读。",
                              "Uses the system desktop wallpaper when none is set. Very busy images may make text on glass panels harder to read."),
                      Theme.t("未设置时使用 Kelvo 自带的渐变。过于花哨的图片可能会让玻璃面板上的文字不易阅读。",
                              "Uses Kelvo's own gradient when none is set. Very busy images may make text on glass panels harder to read."))
        }
        Row {
            spacing: Theme.spacingSmall
            KButton {
                objectName: "chooseBackgroundButton"
                text: Theme.t("选择背景图片", "Choose Background Image")
                onClicked: imageChooser.open()
            }
            KButton {
                objectName: "clearBackgroundButton"
                visible: page.hasCustomBackground
                text: Theme.t("清除", "Clear")
                onClicked: AppModel.appearance.clearWindowBackgroundImage()
            }
        }

        Divider {}

        SettingsRow {
            title: Theme.t("健康氛围背景", "Health Aura Background")
            detail: Theme.bySystem(
                        Theme.t("根据系统健康评分，在背景图片或壁纸上叠加一层柔和的色调。",
                                "Adds a soft tint on top of your background image or wallpaper based on the system health score."),
                        Theme.t("根据系统健康评分，在背景图片或渐变上叠加一层柔和的色调。",
                                "Adds a soft tint on top of your background image or gradient based on the system health score."))
            ToggleSwitch {
                objectName: "healthAuraSwitch"
                Accessible.name: Theme.t("健康氛围背景", "Health Aura Background")
                checked: AppModel.appearance.showHealthAura
                onToggled: AppModel.appearance.showHealthAura = checked
            }
        }
    }

    SettingsSection {
        objectName: "languageSection"
        Layout.fillWidth: true
        title: Theme.t("语言", "Language")

        SettingsRow {
            detail: Theme.t("默认会跟随系统语言，也可以在这里手动切换。",
                            "By default the app follows the system language, and you can switch it manually here.")
            SegmentedControl {
                objectName: "languageChoice"
                value: Localization.preference
                options: [
                    { value: "system", label: Theme.t("跟随系统", "Follow System") },
                    // Each language is named in itself, so it can be found whatever is shown now.
                    { value: "chinese", label: "中文" },
                    { value: "english", label: "English" }
                ]
                onActivated: value => Localization.preference = value
            }
        }
    }

    SettingsSection {
        objectName: "updatesSection"
        Layout.fillWidth: true
        title: Theme.t("更新", "Updates")

        SettingsRow {
            title: "Kelvo " + AppModel.appearance.versionText
            detail: AppModel.update.updateStatusDetail
            BusyIndicator {
                objectName: "updateCheckBusy"
                width: 24
                height: 24
                padding: 0
                anchors.verticalCenter: parent.verticalCenter
                running: AppModel.update.isCheckingForUpdates
                visible: running
            }
            KButton {
                objectName: "checkForUpdatesButton"
                enabled: !AppModel.update.isCheckingForUpdates
                text: Theme.t("检查更新", "Check for Updates")
                onClicked: AppModel.update.checkNow()
            }
        }
        BodyText {
            objectName: "lastUpdateCheck"
            Layout.fillWidth: true
            visible: text.length > 0
            font.pixelSize: Theme.fontSmall
            text: lastCheck.text
            LastRun {
                id: lastCheck
                feature: AppFeature.Maintenance
            }
        }
        BodyText {
            objectName: "updateFeedHint"
            Layout.fillWidth: true
            visible: !AppModel.update.feedConfigured
            font.pixelSize: Theme.fontSmall + 0.5
            text: Theme.t("发布前请先配置更新地址。配置之后，这里就可以检查新版本。",
                          "Configure the update feed URL before release. Once configured, this page can check for new versions.")
        }

        Divider { visible: AppModel.update.canInstallUpdate }

        SettingsRow {
            objectName: "newVersionRow"
            visible: AppModel.update.canInstallUpdate
            title: Theme.t("新版本 ", "New version ") + AppModel.update.latestUpdateVersionText
            detail: Theme.t("下载后会先校验，再替换当前安装并重新打开 Kelvo。",
                            "The download is verified before it replaces this installation and Kelvo reopens.")
            KButton {
                objectName: "downloadUpdateButton"
                primary: true
                text: Theme.t("下载并安装", "Download & Install")
                onClicked: AppModel.update.installUpdate()
            }
        }
    }

    SettingsSection {
        objectName: "aboutSection"
        Layout.fillWidth: true
        title: Theme.t("关于", "About")

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing
            BrandMark { size: 44 }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2
                RowLayout {
                    spacing: Theme.spacingSmall
                    Label {
                        text: "Kelvo"
                        color: Theme.textPrimary
                        font.pixelSize: Theme.fontHeadline
                        font.weight: Font.Bold
                    }
                    Label {
                        objectName: "versionText"
                        text: AppModel.appearance.versionText
                        color: Theme.textSecondary
                        font.pixelSize: Theme.fontBody
                    }
                }
                Label {
                    text: Theme.bySystem(Theme.t("Mac 清理与优化", "Mac Cleanup & Optimization"),
                                  Theme.t("Linux 清理与优化", "Linux Cleanup & Optimization"))
                    color: Theme.textSecondary
                    font.pixelSize: Theme.fontBody
                }
            }
        }
    }

    FileDialog {
        id: imageChooser
        objectName: "backgroundImageChooser"
        title: Theme.t("选择一张用作 Kelvo 窗口背景的图片。", "Choose an image for the Kelvo window background.")
        acceptLabel: Theme.t("选择", "Choose")
        fileMode: FileDialog.OpenFile
        currentFolder: StandardPaths.writableLocation(StandardPaths.PicturesLocation)
        nameFilters: [Theme.t("图片", "Images") + " (*.png *.jpg *.jpeg *.heic *.webp *.tiff *.tif *.bmp *.gif)"]
        onAccepted: AppModel.appearance.chooseWindowBackgroundImage(selectedFile)
    }
}
