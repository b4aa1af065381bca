#pragma once

#include "status/SystemReport.h"

#include <QVariantMap>

#include <optional>

// The status report as the Overview's cards show it: every figure already a text in the display
// language, an unknown one reading "—" or a plain sentence, never "0".
//   hero:    {label, message, level ("good", "fair", "high", "none"), score}
//   host:    {name, platform, uptime}
//   cpu:     {usage (0–1, -1 unknown), usageText, coresText, loadText, perCore [0–1], note}
//   memory:  {fraction, usedText, cachedText, totalText, pressureText, level, swapText}
//   disks:   [{name, mount, fraction, usedText, freeText, totalText, external}], hint, hintLevel
//   diskIO:  {readText, writeText, readHistory, writeHistory}
//   network: {rxText, txText, interfaceText, rxHistory, txHistory}
//   power:   {hasBattery, percentText, fraction, stateText, detailText, wattsText}
//   proxy, trash: texts
namespace StatusPresenter {
QVariantMap present(const std::optional<SystemReport>& report);

// The hero card's verdict by the health score: "good" from 76, "fair" from 46, else "high".
QString healthLevel(int score);
// The fullest disk's warning: none below 90 %, "warn" from 90 %, "danger" from 95 %; disks whose use
// is unknown are left out.
QString diskFullnessLevel(const std::vector<SystemReport::Disk>& disks);
} // namespace StatusPresenter
