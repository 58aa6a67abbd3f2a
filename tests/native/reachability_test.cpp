// The start-up reachability display and its one notice, connected and not.
#include <gtest/gtest.h>

#include "tests/native/fakes.h"
#include "ui/main_window/main_window_names.h"

namespace {

using namespace ui::main_window;

struct Outcome {
  bool connected;
  const char* caption;
  ui::Color colour;
  bool animating;
  const char* notice;
};

TEST(Reachability, StatusBarAndNoticeFollowTheProbe) {
  const Outcome outcomes[] = {
      {true, "已成功连接到Quonda云服务器中心...", ui::kGreen, true,
       "检测到网络正常！Quonda云服务器成功连接...程序关闭后右下角图标会晚窗口消失，鼠标划过图标即可消失，感谢使用！"},
      {false, "网络异常！与QuondaHalvix云云服务器中心断开连接", ui::kRed, false,
       "检测到网络异常！请检查网络是否已成功连接..."},
  };
  for (const Outcome& o : outcomes) {
    fakes::TestProgram t;
    t.network.connected = o.connected;
    ui::Window& main = t.Main();
    EXPECT_EQ(t.network.probes, 1);
    EXPECT_EQ(main.Get(透明标签7).caption, o.caption);
    EXPECT_EQ(main.Get(透明标签7).textColor, o.colour);
    EXPECT_EQ(main.Get(图片框4).picture, assets::Asset::kLinkAnim);
    EXPECT_EQ(main.Get(图片框4).animating, o.animating);
    // Exactly one notice, after the icon exists.
    ASSERT_EQ(t.tray.notices.size(), 1u);
    EXPECT_EQ(t.tray.Last(), std::string("Quonda云服务器中心提示！|") + o.notice);
    EXPECT_EQ(t.tray.icons.size(), 1u);
  }
}

}  // namespace
