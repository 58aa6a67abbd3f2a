// ExitConfirmWindow as data: a red warning band over a grey window with the
// two ways out, "取消返回" and "确认退出".
#include "assets/version.h"
#include "ui/secondary_windows/exit_confirm_names.h"
#include "ui/secondary_windows/secondary_forms.h"

namespace ui {

namespace {

using namespace exit_confirm;
using assets::Asset;
using enum Kind;

// One control per line, as the form reads.
// clang-format off
const ControlSpec kControls[] = {
    {.name = 按钮2, .kind = kButton, .rect = {408, 208, 120, 48}, .caption = "取消返回", .font = Bold(14)},
    {.name = 按钮1, .kind = kButton, .rect = {256, 208, 120, 48}, .caption = "确认退出", .font = Bold(14)},
    {.name = 图形按钮1, .kind = kGraphicButton, .rect = {0, 8, 24, 32}, .picture = Asset::kAppIcon},
    {.name = 图片框1, .kind = kPictureBox, .rect = {-56, 0, 592, 192}, .background = kRed},
    {.name = 透明标签4, .kind = kTransparentLabel, .parent = 图片框1, .rect = {216, 128, 432, 40}, .caption = "软件正在运行您确认要退出吗？", .font = Bold(19), .textColor = kWhite},
    {.name = 透明标签3, .kind = kTransparentLabel, .parent = 图片框1, .rect = {192, 80, 448, 56}, .caption = "主人您退出后正在执行的任务也会被关闭哦！", .font = Bold(19), .textColor = kWhite},
    {.name = 图形按钮3, .kind = kGraphicButton, .parent = 图片框1, .rect = {72, 56, 128, 128}, .picture = Asset::kWarningEmblem},
    {.name = 透明标签6, .kind = kTransparentLabel, .parent = 图片框1, .rect = {88, 8, 128, 24}, .caption = "QuondaHalvix" QH_VERSION_TEXT, .font = Bold(12), .textColor = kWhite},
    // Both lie left of the window's edge and are never seen.
    {.name = 图形按钮2, .kind = kGraphicButton, .parent = 图片框1, .rect = {8, 8, 24, 32}, .picture = Asset::kAppIcon},
    {.name = 透明标签1, .kind = kTransparentLabel, .parent = 图片框1, .rect = {8, 8, 32, 24}, .caption = "X", .font = Bold(16), .textColor = kWhite, .cursor = Cursor::kHand},
};
// clang-format on

const WiringEntry kWiring[] = {
    {按钮2, EventKind::kClick, HandlerId::kExitCancel},
    {按钮1, EventKind::kClick, HandlerId::kExitConfirm},
};

// Reading order: the warning, then the two ways out. The window has no close
// mark, so the platform's close key does nothing here.
const ReadingEntry kReading[] = {
    {.control = 透明标签6},
    {.control = 图形按钮3, .name = "警告"},
    {.control = 透明标签3},
    {.control = 透明标签4},
    {.control = 按钮1, .tabStop = true},
    {.control = 按钮2, .tabStop = true},
};

const FormSpec kForm{
    .name = ExitConfirmWindow,
    .className = "QuondaHalvixExitConfirm",
    .clientSize = {536, 278},
    .background = Rgb(192, 192, 192),
    .controls = kControls,
    .wiring = kWiring,
    .reading = kReading,
};

}  // namespace

const FormSpec& ExitConfirmWindowForm() { return kForm; }

}  // namespace ui
