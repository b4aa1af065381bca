#pragma once

#include "status/SystemReport.h"

#include <QObject>
#include <QVariantMap>

#include <optional>

// The status report as the Overview's cards show it: every figure already a text in the display
// language, an unknown one reading "—" or a plain sentence, never "0"; levels are Health and Concern
// values (StatusLevel in QML).
//   hero:    {label, message, level (Health), score}
//   host:    {name, platform, uptime}
//   cpu:     {usage (0–1, -1 unknown), usageText, coresText, loadText, perCore [0–1], note}
//   memory:  {fraction, usedText, cachedText, totalText, totalCaption, pressureText, level (Concern),
//             swapText}
//   disks:   [{name, mount, fraction, usedText, freeText, totalText, external}], hint,
//            hintLevel (Concern)
//   diskIO:  {readText, writeText, readHistory, writeHistory}
//   network: {rxText, txText, interfaceText, rxHistory, txHistory, note (which traffic is counted)}
//   power:   {hasBattery, percentText, fraction, stateText, detailText, wattsText}
//   proxy, trash: texts
namespace StatusPresenter {
Q_NAMESPACE

// The hero card's verdict: Good from a health score of 76, Fair from 46, else High; Unchecked without
// a report, Unknown for a report without a score.
enum class Health { Unchecked, Good, Fair, High, Unknown };
Q_ENUM_NS(Health)
// How worrying a figure is: the memory pressure ("warn", "critical") and the fullest disk.
enum class Concern { Calm, Warn, Danger };
Q_ENUM_NS(Concern)

QVariantMap present(const std::optional<SystemReport>& report);

Health healthLevel(int score);
// The fullest disk's warning: Calm below 90 %, Warn from 90 %, Danger from 95 %; disks whose use is
// unknown are left out.
Concern diskFullnessLevel(const std::vector<SystemReport::Disk>& disks);
} // namespace StatusPresenter
