// Picture box playback: when a box plays, each frame's own delay, stopping
// when the window cannot be seen, a swapped picture, and the shared frame clock.
#include "ui/behaviour/animation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using assets::Asset;
using ui::Kind;

// Frame delays by picture; a picture not listed is a still.
struct TestImages final : ui::ImageCatalog {
  ui::Size ImageSize(Asset) override { return {10, 10}; }
  int FrameCount(Asset a) override { return delays.contains(a) ? int(delays[a].size()) : 1; }
  int FrameDelayMs(Asset a, int f) override { return delays.contains(a) ? delays[a].at(f) : 0; }
  void Settle(Asset a) override { settled.push_back(a); }
  std::vector<Asset> settled;
  std::map<Asset, std::vector<int>> delays{
      {Asset::kLinkAnim, {100, 250, 40}},
      {Asset::kGlobeAnim, {70, 30}},
      {Asset::kTaskAnim, {0, 0}},  // a GIF that asks for no delay at all
  };
};

// What the platform was asked to do, and which timers run.
struct TestTimers final : ui::FrameTimers {
  void StartFrameTimer(ui::ControlId id, int delayMs) override {
    log.push_back("start " + std::to_string(id) + " " + std::to_string(delayMs));
    running[id] = delayMs;
  }
  void StopFrameTimer(ui::ControlId id) override {
    log.push_back("stop " + std::to_string(id));
    running.erase(id);
  }
  std::vector<std::string> log;
  std::map<ui::ControlId, int> running;
};

const ui::ControlSpec kControls[] = {
    {.name = "图片框1", .kind = Kind::kPictureBox, .rect = {0, 0, 20, 20}, .picture = Asset::kLinkAnim},
    {.name = "图片框2", .kind = Kind::kPictureBox, .rect = {30, 0, 20, 20}, .picture = Asset::kAppIcon},
    {.name = "选择夹1", .kind = Kind::kTab, .rect = {0, 30, 100, 50}},
    {.name = "图片框3", .kind = Kind::kPictureBox, .parent = "选择夹1", .rect = {0, 0, 20, 20},
     .picture = Asset::kGlobeAnim, .animating = false},
    {.name = "图片框4", .kind = Kind::kPictureBox, .rect = {200, 0, 20, 20}, .picture = Asset::kGlobeAnim},
};

const ui::FormSpec kForm{.name = "AnimWindow", .clientSize = {100, 100}, .controls = kControls};

struct AnimationTest : ::testing::Test {
  ui::Window window{kForm};
  TestImages images;
  TestTimers timers;
  ui::Animations animations{window, images, timers};
  ui::ControlId Id(const char* name) { return window.Find(name); }
  int Frame(const char* name) { return window.At(Id(name)).frame; }
};

TEST_F(AnimationTest, PlaysOnlyWhenWindowBoxSettingAndPictureAllAllow) {
  struct Case {
    const char* why;
    void (*change)(ui::Window&);
    bool windowShows;
    const char* box;
    bool plays;
  } cases[] = {
      {"everything allows it", [](ui::Window&) {}, true, "图片框1", true},
      {"the window cannot be seen", [](ui::Window&) {}, false, "图片框1", false},
      {"the box is hidden", [](ui::Window& w) { w.SetVisible(ui::ControlName{"图片框1"}, false); }, true, "图片框1", false},
      {"a still picture", [](ui::Window&) {}, true, "图片框2", false},
      {"not set to animate", [](ui::Window&) {}, true, "图片框3", false},
      {"set to animate", [](ui::Window& w) { w.SetAnimating(ui::ControlName{"图片框3"}, true); }, true, "图片框3", true},
      {"its parent is hidden",
       [](ui::Window& w) {
         w.SetAnimating(ui::ControlName{"图片框3"}, true);
         w.SetVisible(ui::ControlName{"选择夹1"}, false);
       },
       true, "图片框3", false},
      {"outside the client area", [](ui::Window&) {}, true, "图片框4", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    ui::Window w{kForm};
    c.change(w);
    EXPECT_EQ(ui::ShouldPlay(w, w.Find(c.box), c.windowShows, images), c.plays);
  }
  EXPECT_FALSE(ui::ShouldPlay(window, 99, true, images));
  EXPECT_FALSE(ui::ShouldPlay(window, ui::kNoControl, true, images));
}

TEST_F(AnimationTest, FramesWrapAndEachKeepsItsOwnDelay) {
  animations.SyncAll(true);
  EXPECT_EQ(timers.log, (std::vector<std::string>{"start 0 100"}));
  std::vector<int> frames, delays;
  for (int i = 0; i < 5; ++i) {
    animations.Advance(Id("图片框1"), true);
    frames.push_back(Frame("图片框1"));
    delays.push_back(timers.running.at(0));
  }
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 0, 1, 2}));
  EXPECT_EQ(delays, (std::vector<int>{250, 40, 100, 250, 40}));
  // Syncing again while nothing changed leaves the running timer alone.
  animations.SyncAll(true);
  EXPECT_EQ(timers.log.size(), 6u);
  // Frames that share a delay leave the periodic timer running as it is.
  images.delays[Asset::kLinkAnim] = {100, 100, 100, 60};
  for (int i = 0; i < 4; ++i) animations.Advance(Id("图片框1"), true);
  EXPECT_EQ(std::vector<std::string>(timers.log.begin() + 6, timers.log.end()),
            (std::vector<std::string>{"start 0 60", "start 0 100"}));
  animations.StopAll();  // the window is going
  EXPECT_TRUE(timers.running.empty());
  EXPECT_FALSE(animations.IsPlaying(Id("图片框1")));
}

TEST_F(AnimationTest, AZeroDelayDoesNotSpin) {
  window.SetPicture(ui::ControlName{"图片框1"}, Asset::kTaskAnim);
  animations.Sync(Id("图片框1"), true);
  EXPECT_GT(timers.running.at(0), 0);
}

TEST_F(AnimationTest, StopsWhenTheWindowCanNoLongerBeSeen) {
  const ui::Rect screen{0, 0, 1920, 1080};
  struct Case {
    const char* why;
    ui::WindowPlacement placement;
    bool shows;
  } cases[] = {
      {"on the screen", {true, false, {1536, 875, 384, 205}, screen}, true},
      {"partly on the screen", {true, false, {1536, 1000, 384, 205}, screen}, true},
      {"hidden", {false, false, {100, 100, 384, 205}, screen}, false},
      {"minimised", {true, true, {100, 100, 384, 205}, screen}, false},
      {"parked just below the screen", {true, false, {1536, 1080, 384, 205}, screen}, false},
      {"left of a second monitor's desktop", {true, false, {-400, 0, 384, 205}, {-1920, 0, 3840, 1080}}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(ui::ShowsOnScreen(c.placement), c.shows);
  }

  animations.SyncAll(true);
  animations.Advance(Id("图片框1"), true);
  animations.SyncAll(false);
  EXPECT_TRUE(timers.running.empty());
  EXPECT_FALSE(animations.IsPlaying(Id("图片框1")));
  // Stopped, each picture keeps only the frame it shows decoded.
  EXPECT_EQ(images.settled, std::vector<Asset>{Asset::kLinkAnim});
  // A tick that was already queued changes nothing.
  animations.Advance(Id("图片框1"), false);
  animations.Advance(Id("图片框1"), true);
  EXPECT_EQ(Frame("图片框1"), 1);
  EXPECT_TRUE(timers.running.empty());
  // Back on screen it carries on from the frame it showed, with that frame's delay.
  animations.SyncAll(true);
  EXPECT_EQ(timers.running.at(0), 250);
}

TEST_F(AnimationTest, APictureSwappedWhilePlayingStartsAgainFromAValidFrame) {
  animations.SyncAll(true);
  animations.Advance(Id("图片框1"), true);
  animations.Advance(Id("图片框1"), true);  // frame 2 of 3, 40 ms
  window.SetPicture(ui::ControlName{"图片框1"}, Asset::kGlobeAnim);
  animations.Sync(Id("图片框1"), true);
  EXPECT_EQ(Frame("图片框1"), 0);
  EXPECT_EQ(timers.running.at(0), 70);  // the new picture's first frame, not the old 40 ms
  animations.Advance(Id("图片框1"), true);
  animations.Advance(Id("图片框1"), true);
  EXPECT_EQ(Frame("图片框1"), 0);  // wraps at two frames, not three

  // A frame set past the end, then a swap noticed only at the next tick.
  window.SetFrame(Id("图片框1"), 7);
  animations.Advance(Id("图片框1"), true);
  EXPECT_EQ(Frame("图片框1"), 0);
  window.SetPicture(ui::ControlName{"图片框1"}, Asset::kLinkAnim);
  window.SetFrame(Id("图片框1"), 2);
  animations.Advance(Id("图片框1"), true);
  EXPECT_EQ(timers.running.at(0), 40);  // restarted on frame 2's own delay

  // Swapped for a still picture, it stops.
  window.SetPicture(ui::ControlName{"图片框1"}, Asset::kAppIcon);
  animations.Sync(Id("图片框1"), true);
  EXPECT_TRUE(timers.running.empty());
}

// The platform's one window timer, on a clock the test moves.
struct TestWindowTimer final : ui::WindowTimer {
  void StartWindowTimer(int intervalMs) override {
    log.push_back("start " + std::to_string(intervalMs));
    interval = intervalMs;
    elapsesAt = now + intervalMs;
  }
  void StopWindowTimer() override {
    log.push_back("stop");
    interval = 0;
  }
  long long NowMs() override { return now; }
  // Moves the clock to the timer's next elapse, as a periodic timer does.
  void Elapse() {
    now = elapsesAt;
    elapsesAt += interval;
  }
  long long now = 1000;
  long long elapsesAt = 0;
  int interval = 0;
  std::vector<std::string> log;
};

struct FrameClockTest : ::testing::Test {
  TestWindowTimer timer;
  ui::FrameClock clock{timer};
  std::vector<ui::ControlId> TickAt(long long now) {
    timer.now = now;
    std::vector<ui::ControlId> due = clock.Tick();
    clock.Rearm();
    return due;
  }
};

TEST_F(FrameClockTest, BoxesDueTogetherShareOneWakeupAndOneTimerCall) {
  clock.StartFrameTimer(3, 100);
  clock.StartFrameTimer(7, 100);
  ASSERT_EQ(timer.interval, 100);
  const std::size_t calls = timer.log.size();
  for (int i = 0; i < 5; ++i) {
    timer.Elapse();
    EXPECT_EQ(TickAt(timer.now), (std::vector<ui::ControlId>{3, 7})) << i;
  }
  // One box ended by its handler inside the tick: the rearm after it is the
  // one place the timer is looked at again.
  timer.Elapse();
  EXPECT_EQ(clock.Tick(), (std::vector<ui::ControlId>{3, 7}));
  clock.StopFrameTimer(7);
  clock.Rearm();
  // The periodic timer came round by itself every time.
  EXPECT_EQ(timer.log.size(), calls);
}

TEST_F(FrameClockTest, ABoxStartedLaterFallsInStepWithinHalfADelay) {
  clock.StartFrameTimer(1, 100);  // due 1100, 1200, ...
  timer.now = 1030;
  clock.StartFrameTimer(2, 100);  // 70 ms to 1100: in step at once
  timer.now = 1080;
  clock.StartFrameTimer(3, 100);  // 20 ms to 1100 is too short: 1200
  clock.StartFrameTimer(4, 60);   // no box at 60 ms: its own time
  EXPECT_EQ(TickAt(1100), (std::vector<ui::ControlId>{1, 2}));
  EXPECT_EQ(TickAt(1140), (std::vector<ui::ControlId>{4}));
  EXPECT_EQ(TickAt(1200), (std::vector<ui::ControlId>{1, 2, 3, 4}));
  EXPECT_EQ(TickAt(1260), (std::vector<ui::ControlId>{4}));
  EXPECT_EQ(TickAt(1300), (std::vector<ui::ControlId>{1, 2, 3}));
}

TEST_F(FrameClockTest, EachBoxKeepsItsOwnDelays) {
  clock.StartFrameTimer(1, 100);  // due 1100
  clock.StartFrameTimer(2, 70);   // due 1070
  EXPECT_EQ(timer.interval, 70);
  EXPECT_EQ(TickAt(1070), (std::vector<ui::ControlId>{2}));  // next: 1100 and 1140
  EXPECT_EQ(timer.interval, 30);
  EXPECT_EQ(TickAt(1100), (std::vector<ui::ControlId>{1}));  // next: 1140 and 1200
  EXPECT_EQ(TickAt(1140), (std::vector<ui::ControlId>{2}));
  // Due within the slack of a tick: goes with it.
  EXPECT_EQ(TickAt(1196), (std::vector<ui::ControlId>{1}));
  EXPECT_EQ(TickAt(1210), (std::vector<ui::ControlId>{2}));
  // A delay changed on a frame restarts that box from now.
  clock.Tick();
  clock.StartFrameTimer(2, 250);
  clock.Rearm();
  EXPECT_EQ(TickAt(1296), (std::vector<ui::ControlId>{1}));
  EXPECT_EQ(TickAt(1400), (std::vector<ui::ControlId>{1}));
  EXPECT_EQ(TickAt(1460), (std::vector<ui::ControlId>{2}));  // 250 ms after the change
}

TEST_F(FrameClockTest, LateTicksAndStopsKeepTheScheduleSound) {
  clock.StartFrameTimer(4, 100);  // due 1100
  // A tick before anything is due advances nothing.
  EXPECT_TRUE(TickAt(1050).empty());
  // Very late (the program was busy): one frame, then the schedule from now.
  EXPECT_EQ(TickAt(1650), (std::vector<ui::ControlId>{4}));
  EXPECT_EQ(timer.interval, 100);
  EXPECT_EQ(TickAt(1750), (std::vector<ui::ControlId>{4}));
  clock.StopFrameTimer(4);
  EXPECT_EQ(timer.log.back(), "stop");
  EXPECT_TRUE(TickAt(1850).empty());  // a tick already queued
  EXPECT_EQ(timer.log.back(), "stop");
}

}  // namespace
