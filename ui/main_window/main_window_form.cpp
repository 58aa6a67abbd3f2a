// MainWindow as data. Each table lists one parent's controls front to back,
// the way they are stacked on screen.
#include "ui/main_window/main_window_form.h"

#include "assets/version.h"
#include "ui/main_window/main_window_names.h"

namespace ui {

namespace {

using namespace main_window;
using assets::Asset;
using enum Kind;
constexpr Cursor kHand = Cursor::kHand;
constexpr Color kLink = Rgb(0, 136, 255);

// One control per line, as the form reads.
// clang-format off
const ControlSpec kControls[] = {
    // Window level.
    {.name = 单选框1, .kind = kRadioButton, .rect = {136, 432, 74, 31}, .caption = "关闭电脑", .cursor = kHand},
    {.name = 图形按钮5, .kind = kGraphicButton, .rect = {400, 24, 120, 120}, .picture = Asset::kHeaderEmblem},
    {.name = 选择夹1, .kind = kTab, .rect = {0, 136, 872, 368}},
    {.name = 图片框3, .kind = kPictureBox, .rect = {0, 496, 872, 32}, .background = kWhite},
    {.name = 图片框2, .kind = kPictureBox, .rect = {-16, 0, 168, 152}, .picture = Asset::kHeaderLeft},
    {.name = 图片框1, .kind = kPictureBox, .rect = {128, 0, 752, 152}, .picture = Asset::kHeaderRight},
    {.name = 时钟2, .kind = kTimer, .interval = 1000},

    // Header, children of 图片框2. 透明标签3 lies beyond the piece's width.
    {.name = 图形按钮2, .kind = kGraphicButton, .parent = 图片框2, .rect = {24, 8, 24, 32}, .picture = Asset::kAppIcon},
    {.name = 透明标签6, .kind = kTransparentLabel, .parent = 图片框2, .rect = {56, 8, 128, 24}, .caption = "QuondaHalvix" QH_VERSION_TEXT, .font = Bold(12), .textColor = kWhite},
    {.name = 透明标签3, .kind = kTransparentLabel, .parent = 图片框2, .rect = {240, 8, 120, 24}, .caption = "QuondaHalvix2.0", .font = Bold(14), .textColor = kWhite},

    // Header, children of 图片框1.
    {.name = 图形按钮6, .kind = kGraphicButton, .parent = 图片框1, .rect = {656, 8, 16, 24}, .cursor = kHand, .picture = Asset::kUpdateIcon},
    {.name = 透明标签4, .kind = kTransparentLabel, .parent = 图片框1, .rect = {600, 0, 64, 32}, .caption = "检查更新", .font = BoldSong(12), .textColor = kGrey, .cursor = kHand},
    {.name = 时钟4, .kind = kTimer, .parent = 图片框1},
    {.name = 图片框7, .kind = kPictureBox, .parent = 图片框1, .rect = {288, 8, 96, 112}, .picture = Asset::kHeaderDecor},
    {.name = 透明标签2, .kind = kTransparentLabel, .parent = 图片框1, .rect = {688, 0, 16, 24}, .caption = "-", .font = Bold(20), .textColor = kWhite, .cursor = kHand},
    {.name = 透明标签1, .kind = kTransparentLabel, .parent = 图片框1, .rect = {720, 0, 32, 24}, .caption = "X", .font = Bold(16), .textColor = kWhite, .cursor = kHand},

    // Content panel, children of the page of 选择夹1.
    {.name = 透明标签10, .kind = kTransparentLabel, .parent = 选择夹1, .rect = {200, 224, 280, 24}, .visible = false, .caption = "硬盘30-50度为正常，70度以上高温硬盘具有危险性！", .textColor = kGrey},
    {.name = 超级按钮2, .kind = kImageButton, .parent = 选择夹1, .rect = {512, 120, 144, 48}, .visible = false, .cursor = kHand, .stateImages = {Asset::kCheckUp}},
    {.name = 时钟3, .kind = kTimer, .parent = 选择夹1},
    {.name = 调节器2, .kind = kSpin, .parent = 选择夹1, .rect = {360, 264, 20, 24}, .cursor = kHand},
    {.name = 单选框4, .kind = kRadioButton, .parent = 选择夹1, .rect = {503, 300, 68, 24}, .caption = "休眠模式", .cursor = kHand},
    {.name = 单选框3, .kind = kRadioButton, .parent = 选择夹1, .rect = {383, 300, 72, 24}, .caption = "注销电脑", .cursor = kHand},
    {.name = 单选框2, .kind = kRadioButton, .parent = 选择夹1, .rect = {264, 300, 74, 24}, .caption = "重启电脑", .cursor = kHand},
    {.name = 编辑框3, .kind = kEditBox, .parent = 选择夹1, .rect = {465, 269, 28, 16}, .caption = "00"},
    {.name = 编辑框2, .kind = kEditBox, .parent = 选择夹1, .rect = {314, 269, 30, 16}, .caption = "30"},
    {.name = 标签4, .kind = kLabel, .parent = 选择夹1, .rect = {429, 269, 32, 16}, .caption = "几秒："},
    {.name = 标签3, .kind = kLabel, .parent = 选择夹1, .rect = {270, 269, 32, 16}, .caption = "几分："},
    {.name = 分组框3, .kind = kGroupBox, .parent = 选择夹1, .rect = {8, 249, 648, 108}, .caption = "QuondaHalvix定时系统", .font = Bold(12), .textColor = kOrange, .background = kWhite},
    {.name = 图形按钮4, .kind = kGraphicButton, .parent = 选择夹1, .rect = {112, 168, 72, 72}, .visible = false, .picture = Asset::kResultIcon},
    {.name = 时钟1, .kind = kTimer, .parent = 选择夹1, .interval = 1000},
    {.name = 图形按钮3, .kind = kGraphicButton, .parent = 选择夹1, .rect = {0, 128, 32, 40}, .picture = Asset::kDiskIcon},
    {.name = 透明标签9, .kind = kTransparentLabel, .parent = 选择夹1, .rect = {40, 128, 88, 32}, .caption = "硬盘检测", .font = Bold(20), .textColor = kGrey},
    {.name = 编辑框8, .kind = kEditBox, .parent = 选择夹1, .rect = {136, 192, 368, 32}, .visible = false, .disabled = true, .multiline = true},
    {.name = 超级按钮1, .kind = kImageButton, .parent = 选择夹1, .rect = {512, 120, 144, 48}, .cursor = kHand, .stateImages = {Asset::kCheckUp, Asset::kCheckUp, Asset::kCheckDown}},
    {.name = 进度条1, .kind = kProgressBar, .parent = 选择夹1, .rect = {128, 128, 368, 32}},
    {.name = 透明标签8, .kind = kTransparentLabel, .parent = 选择夹1, .rect = {120, 88, 480, 40}, .caption = "这是一款全新的软件，他可以按照用户设定的时间进行全自动关机等功能", .font = Bold(12), .textColor = kGrey},
    {.name = 分组框1, .kind = kGroupBox, .parent = 选择夹1, .rect = {664, 0, 208, 376}},
    {.name = 图形按钮1, .kind = kGraphicButton, .parent = 选择夹1, .rect = {16, 24, 96, 96}, .picture = Asset::kProductEmblem},
    {.name = 透明标签5, .kind = kTransparentLabel, .parent = 选择夹1, .rect = {120, 40, 400, 64}, .caption = "时刻保护您的计算机安全", .font = Bold(35), .textColor = kOrange},

    // The scheduling group, children of 分组框3.
    {.name = 图形按钮17, .kind = kGraphicButton, .parent = 分组框3, .rect = {384, 15, 40, 40}, .picture = Asset::kSecondIcon},
    {.name = 图形按钮16, .kind = kGraphicButton, .parent = 分组框3, .rect = {216, 16, 40, 31}, .picture = Asset::kMinuteIcon},
    {.name = 图形按钮8, .kind = kGraphicButton, .parent = 分组框3, .rect = {48, 16, 40, 31}, .picture = Asset::kHourIcon},
    {.name = 调节器3, .kind = kSpin, .parent = 分组框3, .rect = {504, 16, 20, 23}, .cursor = kHand},
    {.name = 调节器1, .kind = kSpin, .parent = 分组框3, .rect = {184, 16, 20, 23}, .cursor = kHand},
    {.name = 任务时钟, .kind = kTimer, .parent = 分组框3},
    {.name = 按钮1, .kind = kButton, .parent = 分组框3, .rect = {248, 76, 136, 24}, .caption = "QuondaHalvix执行命令", .cursor = kHand},
    {.name = 标签2, .kind = kLabel, .parent = 分组框3, .rect = {90, 20, 32, 16}, .caption = "几时："},
    {.name = 编辑框1, .kind = kEditBox, .parent = 分组框3, .rect = {141, 20, 28, 16}, .caption = "18"},

    // Right-hand column, children of 分组框1.
    {.name = 图片框6, .kind = kPictureBox, .parent = 分组框1, .rect = {56, 24, 104, 104}, .background = kWhite, .picture = Asset::kGlobeAnim},
    {.name = 图片框5, .kind = kPictureBox, .parent = 分组框1, .rect = {8, 192, 200, 176}, .background = kWhite, .picture = Asset::kTaskAnim, .animating = false},
    {.name = 透明标签17, .kind = kTransparentLabel, .parent = 分组框1, .rect = {56, 120, 120, 32}, .caption = "QuondaHalvix官网", .textColor = kLink, .cursor = kHand},

    // Status bar, children of 图片框3.
    {.name = 图片框4, .kind = kPictureBox, .parent = 图片框3, .rect = {8, 8, 24, 32}, .background = kWhite},
    {.name = 标签1, .kind = kLabel, .parent = 图片框3, .rect = {648, 8, 231, 16}},
    {.name = 透明标签7, .kind = kTransparentLabel, .parent = 图片框3, .rect = {40, 0, 336, 32}, .caption = "已成功连接到Quonda云服务器中心...", .textColor = kGreen},
};
// clang-format on

constexpr std::string_view kTrayMenuItems[] = {
    官方网站, 显示主界面, 关于本软件, 用户意见反馈, 退出本软件,
};

const WiringEntry kWiring[] = {
    {{}, EventKind::kCreated, HandlerId::kMainWindowCreated},
    {{}, EventKind::kTray, HandlerId::kTrayAction},
    {图形按钮6, EventKind::kClick, HandlerId::kOpenVersionWindow},
    {透明标签4, EventKind::kPress, HandlerId::kOpenVersionWindow},
    {透明标签2, EventKind::kPress, HandlerId::kMinimizeMainWindow},
    {透明标签1, EventKind::kPress, HandlerId::kHideMainWindow},
    {时钟4, EventKind::kTick, HandlerId::kSlideTick},
    {单选框1, EventKind::kClick, HandlerId::kActionOptionClick},
    {单选框2, EventKind::kClick, HandlerId::kActionOptionClick},
    {单选框3, EventKind::kClick, HandlerId::kActionOptionClick},
    {单选框4, EventKind::kClick, HandlerId::kActionOptionClick},
    {调节器1, EventKind::kArrow, HandlerId::kTimeSpin},
    {调节器2, EventKind::kArrow, HandlerId::kTimeSpin},
    {调节器3, EventKind::kArrow, HandlerId::kTimeSpin},
    {按钮1, EventKind::kClick, HandlerId::kCommandButtonClick},
    {任务时钟, EventKind::kTick, HandlerId::kTaskClockTick},
    {时钟1, EventKind::kTick, HandlerId::kClockTick},
    {超级按钮1, EventKind::kClick, HandlerId::kDiskCheckClick},
    {时钟3, EventKind::kTick, HandlerId::kDiskCheckTick},
    {透明标签17, EventKind::kPress, HandlerId::kOfficialSiteLink},
    {超级按钮2, EventKind::kClick, HandlerId::kNoEffect},
    {官方网站, EventKind::kItemChosen, HandlerId::kOfficialSiteLink},
    {显示主界面, EventKind::kItemChosen, HandlerId::kShowMainWindow},
    {关于本软件, EventKind::kItemChosen, HandlerId::kAboutBox},
    {用户意见反馈, EventKind::kItemChosen, HandlerId::kFeedbackLink},
    {退出本软件, EventKind::kItemChosen, HandlerId::kExitMenuItem},
};

// Reading order: the title, the task from its time to its command button, the
// disk check, the header's links and marks, the site link, the status bar.
// Tab visits the time fields, the options (one group), the command button,
// the disk-check button, the update link and the site link.
const ReadingEntry kReading[] = {
    {.control = 透明标签6},
    {.control = 透明标签5},
    {.control = 透明标签8},
    {.control = 分组框3},
    {.control = 标签2},
    {.control = 编辑框1, .tabStop = true, .name = "几时"},
    {.control = 调节器1, .name = "几时", .field = 编辑框1},
    {.control = 标签3},
    {.control = 编辑框2, .tabStop = true, .name = "几分"},
    {.control = 调节器2, .name = "几分", .field = 编辑框2},
    {.control = 标签4},
    {.control = 编辑框3, .tabStop = true, .name = "几秒"},
    {.control = 调节器3, .name = "几秒", .field = 编辑框3},
    {.control = 单选框1, .tabStop = true},
    {.control = 单选框2, .tabStop = true},
    {.control = 单选框3, .tabStop = true},
    {.control = 单选框4, .tabStop = true},
    {.control = 按钮1, .tabStop = true},
    {.control = 透明标签9},
    {.control = 进度条1, .name = "硬盘检测进度"},
    {.control = 超级按钮1, .tabStop = true, .name = "开始检测"},
    {.control = 超级按钮2, .name = "开始检测"},
    {.control = 图形按钮4, .name = "检测结果"},
    {.control = 编辑框8, .name = "硬盘信息"},
    {.control = 透明标签10},
    {.control = 图形按钮6, .name = "检查更新"},
    {.control = 透明标签4, .tabStop = true},
    {.control = 透明标签2, .button = true},
    {.control = 透明标签1, .button = true},
    {.control = 图片框5, .name = "任务动画"},
    {.control = 透明标签17, .tabStop = true},
    {.control = 图片框4, .name = "连接状态"},
    {.control = 透明标签7},
    {.control = 标签1},
};

const FormSpec kForm{
    .name = MainWindow,
    .className = "QuondaHalvixMainWindow",
    .caption = "QuondaHalvix",
    .clientSize = {867, 524},
    .background = kWhite,
    .icon = Asset::kAppIcon,
    .taskbarButton = true,
    .controls = kControls,
    .wiring = kWiring,
    .menuCaption = "菜单",
    .menuItems = kTrayMenuItems,
    .reading = kReading,
    .closeMark = 透明标签1,
};

}  // namespace

const FormSpec& MainWindowForm() { return kForm; }

}  // namespace ui
