// The size of every embedded picture and whether it is an animation: the one
// table the tests check the decoded artwork against and the fakes draw with.
// assets/make_art.py generates the pictures to these sizes.
#pragma once

#include "assets/assets.h"

namespace assets {

struct AssetSize {
  Asset asset;
  int width;
  int height;
  bool animated;
};

inline constexpr AssetSize kAssetSizes[] = {
    {Asset::kAppIcon, 24, 24, false},       {Asset::kHeaderLeft, 752, 152, false},
    {Asset::kHeaderRight, 750, 149, false}, {Asset::kHeaderEmblem, 128, 128, false},
    {Asset::kHeaderDecor, 109, 116, false}, {Asset::kUpdateIcon, 16, 16, false},
    {Asset::kResultIcon, 72, 72, false},    {Asset::kDiskIcon, 32, 32, false},
    {Asset::kHourIcon, 32, 32, false},      {Asset::kMinuteIcon, 32, 32, false},
    {Asset::kSecondIcon, 32, 32, false},    {Asset::kProductEmblem, 96, 96, false},
    {Asset::kCheckUp, 137, 41, false},      {Asset::kCheckDown, 137, 41, false},
    {Asset::kGlobeAnim, 100, 100, true},    {Asset::kTaskAnim, 200, 200, true},
    {Asset::kLinkAnim, 18, 18, true},       {Asset::kNoticeHeader, 521, 94, false},
    {Asset::kNoticeAnim, 70, 70, true},     {Asset::kWarningEmblem, 128, 128, false},
    {Asset::kVersionAnim, 100, 100, true},  {Asset::kResultUnread, 72, 72, false},
    {Asset::kResultFailing, 72, 72, false},
};

// The table's row for a picture, or nullptr (kNone and unknown ids).
constexpr const AssetSize* SizeOf(Asset asset) {
  for (const AssetSize& s : kAssetSizes) {
    if (s.asset == asset) return &s;
  }
  return nullptr;
}

}  // namespace assets
