// TaskDoneWindow as data: the notice that names the scheduled action.
#include "assets/version.h"
#include "ui/secondary_windows/secondary_forms.h"
#include "ui/secondary_windows/task_done_names.h"

namespace ui {

namespace {

using namespace task_done;
using assets::Asset;
using enum Kind;

// One control per line, as the form reads.
// clang-format off
const ControlSpec kControls[] = {
    {.name = 透明标签3, .kind = kTransparentLabel, .rect = {240, 136, 120, 48}, .caption = "等待...", .font = Bold(16), .textColor = kGreen},
    {.name = 透明标签2, .kind = kTransparentLabel, .rect = {128, 136, 96, 48}, .caption = "当前执行任务：", .font = Bold(14), .textColor = kBlack},
    {.name = 透明标签1, .kind = kTransparentLabel, .rect = {128, 96, 256, 32}, .caption = "小主人您的任务已经成功执行！", .font = Bold(16), .textColor = kBlack},
    {.name = 图片框2, .kind = kPictureBox, .rect = {16, 104, 88, 80}, .background = kWhite, .picture = Asset::kNoticeAnim},
    {.name = 图片框1, .kind = kPictureBox, .rect = {0, 0, 392, 80}, .picture = Asset::kNoticeHeader},
    {.name = 透明标签4, .kind = kTransparentLabel, .parent = 图片框1, .rect = {360, 0, 32, 24}, .caption = "X", .font = Bold(16), .textColor = kWhite, .cursor = Cursor::kHand},
    {.name = 透明标签6, .kind = kTransparentLabel, .parent = 图片框1, .rect = {40, 0, 128, 40}, .caption = "QuondaHalvix" QH_VERSION_TEXT, .font = Bold(12), .textColor = kWhite},
    {.name = 图形按钮1, .kind = kGraphicButton, .parent = 图片框1, .rect = {8, 8, 24, 32}, .picture = Asset::kAppIcon},
    {.name = 时钟1, .kind = kTimer, .interval = 15000},
};
// clang-format on

const WiringEntry kWiring[] = {
    {{}, EventKind::kCreated, HandlerId::kNoEffect},
    {透明标签4, EventKind::kPress, HandlerId::kTaskNoticeClose},
    {透明标签6, EventKind::kPress, HandlerId::kNoEffect},
    {时钟1, EventKind::kTick, HandlerId::kTaskNoticeTick},
};

// Reading order. The notice never takes the focus, so nothing is a tab stop.
const ReadingEntry kReading[] = {
    {.control = 透明标签6},
    {.control = 透明标签1},
    {.control = 透明标签2},
    {.control = 透明标签3},
    {.control = 透明标签4, .button = true},
};

const FormSpec kForm{
    .name = TaskDoneWindow,
    .className = "QuondaHalvixTaskNotice",
    .clientSize = {384, 205},
    .background = kWhite,
    .topmost = true,
    .noActivate = true,
    .controls = kControls,
    .wiring = kWiring,
    .reading = kReading,
    .closeMark = 透明标签4,
};

}  // namespace

const FormSpec& TaskDoneWindowForm() { return kForm; }

}  // namespace ui
