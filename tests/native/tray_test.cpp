// Tray icon, balloon record, tray actions, the tray menu and the
// single-instance guard, through the real handlers with a recording platform.
#include <gtest/gtest.h>

#include "app/single_instance.h"
#include "shell/icon_keeper.h"
#include "shell/tray.h"
#include "tests/native/fakes.h"

namespace {

using ui::EventKind;

struct TrayTest : ::testing::Test, fakes::TestProgram {
  ui::Window& main = Main();
  void Tray(int action) {
    program.desktop.Deliver(ui::Event{&main, ui::kNoControl, EventKind::kTray, action});
  }
};

TEST_F(TrayTest, IconIsAddedAtStartWithItsTip) {
  EXPECT_EQ(tray.icons, std::vector<std::string>{"MainWindow|QuondaHalvix正版 软件正在运行..."});
}

TEST(TrayTexts, TextsThatDoNotFitAreCutAtCharacterBoundaries) {
  struct Case {
    std::string gbk;
    size_t max;
    size_t kept;
  };
  std::string cjk;  // 40 two-byte characters
  for (int i = 0; i < 40; ++i) cjk += "\xb6\xcc";
  Case cases[] = {
      {cjk, 63, 62},          // the 32nd character would be split: dropped whole
      {"a" + cjk, 63, 63},    // odd start: fits exactly
      {"ab" + cjk, 63, 62},
      {cjk + cjk + cjk + cjk, 255, 254},  // 320 bytes: 127 whole characters
      {std::string(300, 'x'), 255, 255},
      {"\xb6", 63, 0},        // a lone lead byte at the end is not a character
      {"", 63, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(shell::CutGbk(c.gbk, c.max).size(), c.kept);
}

// The shell answering each add or modify from a script ('y' taken, else
// refused) and logging everything asked of it.
struct ScriptedShell : shell::IconShell {
  std::string answers, log;
  bool Answer(const char* call) {
    log += call;
    const bool taken = !answers.empty() && answers[0] == 'y';
    if (!answers.empty()) answers.erase(0, 1);
    return taken;
  }
  bool AddShellIcon() override { return Answer("add "); }
  bool ModifyShellIcon() override { return Answer("modify "); }
  void ShowNotice(const shell::TrayNotice& n) override { log += "show " + n.text + " "; }
  void RunRetryTimer(bool on) override { log += on ? "timer " : "no-timer "; }
};

TEST(TrayIconKeeper, AnIconTheShellDidNotTakeIsAskedForAgainAndTheLatestNoticeWaits) {
  // Steps: A the program adds its icon, a digit a notice with that text,
  // T a tick of the retry timer, R the shell restarted, X the exit's removal.
  struct Case {
    const char* steps;
    const char* answers;
    const char* log;
  } cases[] = {
      // A healthy shell sees what it always did: no timer, the notice at once.
      {"A1T", "y", "add show 1 "},
      // No shell yet at log-on: asked again on every tick until it answers.
      {"A1TT", "nnnny", "add timer modify add modify add no-timer show 1 "},
      // An add timed out though the icon went in: not added twice; the latest notice kept.
      {"A12T", "ny", "add timer modify no-timer show 2 "},
      // A restarted shell that takes the icon only on the next tick.
      {"AR1T", "ynny", "add modify add timer modify no-timer show 1 "},
      // The shell announced itself again but still has the icon.
      {"AR1", "yy", "add modify show 1 "},
      // Removed while waiting: the timer stops, nothing is shown after.
      {"A1XT2", "n", "add timer no-timer "},
      // Before the program adds its icon nothing is asked or kept.
      {"1RTA", "y", "add "},
  };
  for (const Case& c : cases) {
    ScriptedShell shellSide;
    shellSide.answers = c.answers;
    shell::IconKeeper keeper(shellSide);
    for (char step : std::string(c.steps)) {
      if (step == 'A') keeper.Add();
      else if (step == 'T') keeper.Retry();
      else if (step == 'R') keeper.ShellRestarted();
      else if (step == 'X') keeper.Remove();
      else keeper.Notify({"t", std::string(1, step), 1});
    }
    EXPECT_EQ(shellSide.log, c.log) << c.steps;
  }
}

TEST_F(TrayTest, ActionCodes) {
  program.desktop.SetDisplayState(main, ui::DisplayState::kMinimized);
  Tray(2);
  EXPECT_EQ(main.GetDisplayState(), ui::DisplayState::kRestored);
  // Hidden by its "X": a click on the icon shows it and brings it forward.
  program.desktop.SetVisible(main, false);
  Tray(2);
  EXPECT_TRUE(main.IsVisible());
  EXPECT_FALSE(backend.Calls("raise").empty());
  size_t before = backend.calls.size();
  for (int other : {0, 1, 4, 515, -1}) Tray(other);
  EXPECT_EQ(backend.calls.size(), before);
  Tray(3);
  EXPECT_EQ(backend.Calls("menu").size(), 1u);
  EXPECT_EQ(backend.lastMenu.size(), 5u);
}

TEST_F(TrayTest, AboutBoxHasNoOwnerNoIconAndOnlyOk) {
  backend.menuChoice = 2;
  Tray(3);
  ASSERT_EQ(backend.boxes.size(), 1u);
  const auto& box = backend.boxes[0];
  EXPECT_EQ(std::tie(box.flags, box.owned, box.title, box.text),
            std::tuple(0, false, "关于QuondaHalvix",
                       "QuondaHalvix 2.1\n按设定的时间自动关机、重启、注销或休眠。"));
}

TEST(SingleInstance, CountsThisCopyAndOnlyCopiesStartedBeforeIt) {
  // This copy is id 100, started at tick 1000.
  const std::string q = "QuondaHalvix.exe", az = "abcdefghijklmnopqrstuvwxyz.exe";
  const app::ProcessEntry self{q, 100}, services{"services.exe", 4};
  struct Case {
    std::vector<app::ProcessEntry> list;
    app::ProcessStart other;  // the start of id 50
    int count;
    std::optional<std::uint32_t> session = 1;  // of id 50; this copy's is 1
    std::string own = "QuondaHalvix.exe";
  } cases[] = {
      {{}, {}, 0},
      {{self}, {}, 0},  // the first entry is never examined
      {{services, self}, {}, 1},
      {{services, self, {q, 50}}, {true, 999}, 2},
      {{services, {q, 50}, self}, {true, 1001}, 1},  // started after this copy
      {{services, self, {q, 50}}, {true, 1000}, 2},  // same tick: the lower id came first
      {{services, self, {q, 1000}}, {}, 1},  // at tick 1000 too, higher id: both used to end
      {{services, self, {q, 50}}, {false, 999}, 1},  // ended since the list was taken
      {{services, self, {q, 50}}, {false, std::nullopt}, 1},  // ended, as the system tells it
      {{services, self, {q, 50}}, {true, std::nullopt}, 2},  // not ours to ask
      {{services, self, {q, 50}}, {true, 999}, 1, 2},  // another user's session
      {{services, self, {q, 50}}, {true, 999}, 1, std::nullopt},  // session not ours to read
      {{services, self, {"quondahalvix.EXE", 50}}, {true, 1}, 2},  // the file system ignores case
      {{services, self, {"QUONDAHALVIX.exe", 50}}, {true, 1}, 2},
      {{services, self, {"QuondaHalvix2.exe", 50}, {"QuondaHalvix.exe ", 50}}, {true, 1}, 1},
      // Every letter is folded, from a to z.
      {{services, {az, 100}, {"ABCDEFGHIJKLMNOPQRSTUVWXYZ.EXE", 50}}, {true, 999}, 2, 1, az},
      {{services, {az, 100}, {"aBcDeFgHiJkLmNoPqRsTuVwXyZ.ExE", 50}}, {true, 999}, 2, 1, az},
  };
  for (const Case& c : cases) {
    fakes::FakeProcesses p;
    p.processes = c.list;
    p.own = c.own;
    p.starts = {{100, {true, 1000}}, {50, c.other}};
    p.sessions = {{50, c.session}};
    EXPECT_EQ(app::CountInstances(p), c.count) << &c - cases;
  }
}

TEST(SingleInstance, SecondCopyShowsItsNoticeAndEndsBeforeTheNoticeWindow) {
  fakes::TestProgram t;
  auto& [backend, clock, tray, processes, network, web, power, smart, program] = t;
  // The other copy, id 50, started first.
  processes.processes = {{"services.exe", 4}, {"QuondaHalvix.exe", 100}, {"explorer.exe", 8},
                         {"QuondaHalvix.exe", 50}};
  try {
    t.Main();
    FAIL() << "the second copy kept running";
  } catch (const fakes::FakeProcesses::Ended& ended) {
    EXPECT_EQ(ended.exitCode, 0);
  }
  EXPECT_EQ(program.records.instanceCount, 2);
  // The reachability notice first, then the duplicate notice last.
  ASSERT_EQ(tray.notices.size(), 2u);
  EXPECT_EQ(tray.Last(), "Quonda程序重复！！|已经运行一个QuondaHalvix！不得重复运行。");
  EXPECT_EQ(tray.removed, 0);  // its icon stays so the notice can be read
  EXPECT_EQ(backend.Calls("create").size(), 1u);  // TaskDoneWindow never loaded
  EXPECT_TRUE(backend.Calls("show").empty());
}

}  // namespace
