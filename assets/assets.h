// The program's artwork, by identifier. Each value is also the resource id
// under which the image bytes are embedded (RCDATA) in the executable, so the
// forms can name pictures without knowing how the platform stores them.
#pragma once

namespace assets {

enum class Asset : int {
  kNone = 0,
  kAppIcon = 101,        // 24x24 PNG, the mark drawn inside windows
  kHeaderLeft = 102,     // 752x152 JPEG, left header piece
  kHeaderRight = 103,    // 750x149 JPEG, right header piece
  kHeaderEmblem = 104,   // 128x128 PNG drawn over the header
  kHeaderDecor = 105,    // 109x116 PNG header decoration
  kUpdateIcon = 106,     // 16x16 PNG, "check for updates"
  kResultIcon = 107,     // 72x72 PNG, disk-check result
  kDiskIcon = 108,       // 32x32 PNG before the disk-check title
  kHourIcon = 109,       // 32x32 PNG before the hour field
  kMinuteIcon = 110,     // 32x32 PNG before the minute field
  kSecondIcon = 111,     // 32x32 PNG before the second field
  kProductEmblem = 112,  // 96x96 PNG product emblem
  kCheckUp = 113,        // 137x41 JPEG, disk-check button normal/hover
  kCheckDown = 114,      // 137x41 JPEG, disk-check button pressed
  kGlobeAnim = 115,      // 100x100 animated GIF, right-hand column
  kTaskAnim = 116,       // 200x200 animated GIF, runs while a task is armed
  kLinkAnim = 117,       // 18x18 four-frame 100 ms GIF, connection status
  kNoticeHeader = 118,   // 521x94 JPEG, task notice header
  kNoticeAnim = 119,     // 70x70 animated GIF, task notice
  kWarningEmblem = 120,  // 128x128 PNG, exit confirmation
  kVersionAnim = 121,    // 100x100 animated GIF, version lookup
  kResultUnread = 122,   // 72x72 PNG, disk-check result when nothing could be read
  kResultFailing = 123,  // 72x72 PNG, disk-check result when a disk predicts its failure
};

// The 2x picture of an asset is embedded under its id plus this.
inline constexpr int kDoubleScaleOffset = 100;

// Every embedded image, for tests that decode them all.
inline constexpr Asset kAllAssets[] = {
    Asset::kAppIcon,     Asset::kHeaderLeft,    Asset::kHeaderRight,  Asset::kHeaderEmblem,
    Asset::kHeaderDecor, Asset::kUpdateIcon,    Asset::kResultIcon,   Asset::kDiskIcon,
    Asset::kHourIcon,    Asset::kMinuteIcon,    Asset::kSecondIcon,   Asset::kProductEmblem,
    Asset::kCheckUp,     Asset::kCheckDown,     Asset::kGlobeAnim,    Asset::kTaskAnim,
    Asset::kLinkAnim,    Asset::kNoticeHeader,  Asset::kNoticeAnim,   Asset::kWarningEmblem,
    Asset::kVersionAnim, Asset::kResultUnread,  Asset::kResultFailing,
};

}  // namespace assets
