// VersionWindow as data: the current version, the lookup button and the
// framed slot through which the version page shows once a lookup ends.
#include "assets/version.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/secondary_windows/version_names.h"

namespace ui {

namespace {

using namespace version;
using assets::Asset;
using enum Kind;
constexpr Color kYellow = Rgb(255, 255, 0);

// One control per line, as the form reads.
// clang-format off
const ControlSpec kControls[] = {
    // The masks that frame the page's slot, and one that nothing shows.
    {.name = 图片框9, .kind = kPictureBox, .rect = {256, 128, 24, 56}, .visible = false, .background = kWhite},
    {.name = 图片框8, .kind = kPictureBox, .rect = {96, 120, 16, 48}, .visible = false, .background = kWhite},
    {.name = 图片框7, .kind = kPictureBox, .rect = {88, 160, 184, 24}, .visible = false, .background = kWhite},
    {.name = 图片框6, .kind = kPictureBox, .rect = {104, 112, 184, 24}, .visible = false, .background = kWhite},
    {.name = 图片框10, .kind = kPictureBox, .rect = {88, 112, 184, 24}, .visible = false, .background = kWhite},
    {.name = 图片框2, .kind = kPictureBox, .rect = {0, 72, 384, 160}, .background = kWhite},
    {.name = 超文本浏览框1, .kind = kHtmlView, .parent = 图片框2, .rect = {104, 48, 176, 64}, .visible = false, .disabled = true},
    {.name = 图片框3, .kind = kPictureBox, .parent = 图片框2, .rect = {0, 128, 384, 32}, .background = kGreen},
    {.name = 透明标签8, .kind = kTransparentLabel, .parent = 图片框3, .rect = {256, 8, 112, 24}, .caption = "QuondaHalvix官网", .font = BoldSong(12), .textColor = kYellow},
    {.name = 透明标签7, .kind = kTransparentLabel, .parent = 图片框3, .rect = {136, 8, 120, 24}, .caption = "软件下载中心", .font = BoldSong(12), .textColor = kYellow, .cursor = Cursor::kHand},
    {.name = 透明标签5, .kind = kTransparentLabel, .parent = 图片框3, .rect = {8, 8, 112, 24}, .caption = "推荐最新版本下载：", .font = BoldSong(12), .textColor = kWhite},
    {.name = 时钟1, .kind = kTimer, .parent = 图片框2},
    {.name = 透明标签3, .kind = kTransparentLabel, .parent = 图片框2, .rect = {112, 72, 144, 16}, .disabled = true, .caption = "等待检测最新版本信息", .font = BoldSong(12), .textColor = kBlack},
    {.name = 透明标签2, .kind = kTransparentLabel, .parent = 图片框2, .rect = {216, 16, 40, 32}, .caption = QH_VERSION_TEXT, .font = BoldSong(16), .textColor = kRed},
    {.name = 透明标签1, .kind = kTransparentLabel, .parent = 图片框2, .rect = {104, 16, 104, 32}, .caption = "当前软件版本", .font = BoldSong(16), .textColor = kGrey},
    {.name = 按钮1, .kind = kButton, .parent = 图片框2, .rect = {288, 40, 88, 48}, .caption = "检测最新版本"},
    {.name = 图片框4, .kind = kPictureBox, .parent = 图片框2, .rect = {0, 16, 96, 104}, .background = kWhite, .picture = Asset::kVersionAnim, .animating = false},
    {.name = 图片框5, .kind = kPictureBox, .parent = 图片框4, .rect = {96, 40, 184, 8}},
    {.name = 图片框1, .kind = kPictureBox, .rect = {0, 0, 384, 72}, .background = kGreen},
    {.name = 透明标签6, .kind = kTransparentLabel, .parent = 图片框1, .rect = {40, 8, 128, 24}, .caption = "QuondaHalvix" QH_VERSION_TEXT, .font = Bold(12), .textColor = kWhite},
    {.name = 图形按钮2, .kind = kGraphicButton, .parent = 图片框1, .rect = {8, 8, 24, 32}, .picture = Asset::kAppIcon},
    {.name = 透明标签4, .kind = kTransparentLabel, .parent = 图片框1, .rect = {360, 0, 32, 24}, .caption = "X", .font = Bold(16), .textColor = kWhite, .cursor = Cursor::kHand},
};
// clang-format on

const WiringEntry kWiring[] = {
    {{}, EventKind::kCreated, HandlerId::kVersionWindowCreated},
    {透明标签4, EventKind::kPress, HandlerId::kHideVersionWindow},
    {按钮1, EventKind::kClick, HandlerId::kVersionLookupClick},
    {时钟1, EventKind::kTick, HandlerId::kVersionLookupTick},
    {透明标签7, EventKind::kPress, HandlerId::kDownloadLink},
    {透明标签8, EventKind::kPress, HandlerId::kOfficialSiteLink},
    {图片框6, EventKind::kPress, HandlerId::kNoEffect},
};

// Reading order: the current version, the lookup, the download bar, the
// close mark. Tab visits the lookup button and the two links.
const ReadingEntry kReading[] = {
    {.control = 透明标签6},
    {.control = 透明标签1},
    {.control = 透明标签2},
    {.control = 透明标签3},
    {.control = 按钮1, .tabStop = true},
    {.control = 透明标签5},
    {.control = 透明标签7, .tabStop = true},
    {.control = 透明标签8, .tabStop = true},
    {.control = 透明标签4, .button = true},
};

const FormSpec kForm{
    .name = VersionWindow,
    .className = "QuondaHalvixVersion",
    .clientSize = {378, 232},
    .background = kGrey,
    .controls = kControls,
    .wiring = kWiring,
    .reading = kReading,
    .closeMark = 透明标签4,
};

}  // namespace

const FormSpec& VersionWindowForm() { return kForm; }

}  // namespace ui
