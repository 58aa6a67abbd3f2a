// A window's state has one writer, the desktop: its own operations, the
// platform's reports, and freeing a closed window only once nothing runs.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/native/fakes.h"
#include "ui/behaviour/desktop.h"

namespace {

using ui::DisplayState;

const ui::ControlSpec kControls[] = {
    {.name = "按钮1", .kind = ui::Kind::kButton, .rect = {0, 0, 20, 20}},
};
const ui::WiringEntry kWiring[] = {
    {"按钮1", ui::EventKind::kClick, ui::HandlerId::kExitCancel},
};
const ui::FormSpec kForm{.name = "StateWindow",
                         .clientSize = {100, 80},
                         .position = {30, 40},
                         .controls = kControls,
                         .wiring = kWiring};
const ui::FormSpec kOtherForm{.name = "OtherWindow", .clientSize = {10, 10}};

// Runs whatever the test puts in `handler` for every bound event.
struct LambdaHandlers final : ui::HandlerSink {
  void Run(ui::HandlerId, const ui::Event& event) override {
    if (handler) handler(event);
  }
  std::function<void(const ui::Event&)> handler;
};

struct WindowStateTest : ::testing::Test {
  fakes::FakeBackend backend;
  LambdaHandlers handlers;
  ui::Desktop desktop{backend, handlers};
  ui::Window& window = desktop.Load(kForm, nullptr);

  void Click() {
    desktop.Deliver(ui::Event{&window, window.Find("按钮1"), ui::EventKind::kClick, 0});
  }
  size_t Released() { return backend.Calls("release").size(); }
};

TEST_F(WindowStateTest, OwnOperationsSetTheStateAsThePlatformWillHaveIt) {
  struct Case {
    const char* ops;  // h hide, m minimise, r restore, u raise
    bool visible;
    DisplayState state;
  } cases[] = {
      {"", true, DisplayState::kRestored},
      {"h", false, DisplayState::kRestored},
      {"hm", true, DisplayState::kMinimized},  // a hidden window minimised shows as a button
      {"mhr", true, DisplayState::kRestored},  // restoring a minimised, hidden window shows it
      {"hr", false, DisplayState::kRestored},  // not minimised: restoring leaves it hidden
      {"mu", true, DisplayState::kRestored},   // raising a minimised window restores it
      {"hu", true, DisplayState::kRestored},   // raising a hidden window shows it
  };
  for (const Case& c : cases) {
    fakes::FakeBackend fake;
    LambdaHandlers none;
    ui::Desktop d{fake, none};
    ui::Window& w = d.Load(kForm, nullptr);
    for (char op : std::string(c.ops)) {
      if (op == 'h') d.SetVisible(w, false);
      if (op == 'm') d.SetDisplayState(w, DisplayState::kMinimized);
      if (op == 'r') d.SetDisplayState(w, DisplayState::kRestored);
      if (op == 'u') d.Raise(w);
    }
    EXPECT_EQ(w.IsVisible(), c.visible) << c.ops;
    EXPECT_EQ(w.GetDisplayState(), c.state) << c.ops;
  }
  desktop.Move(window, 5, std::nullopt);
  EXPECT_EQ(window.ScreenRect(), (ui::Rect{5, 40, 100, 80}));
}

TEST_F(WindowStateTest, ReportsTakeInOnlyWhatThePlatformSays) {
  desktop.Report(window, {.displayState = DisplayState::kMinimized});
  EXPECT_EQ(window.GetDisplayState(), DisplayState::kMinimized);
  EXPECT_TRUE(window.IsVisible());
  desktop.Report(window, {.visible = false});  // hidden with its minimised owner
  EXPECT_FALSE(window.IsVisible());
  EXPECT_EQ(window.GetDisplayState(), DisplayState::kMinimized);
  desktop.Report(window, {.position = ui::Point{300, -5}});  // dragged
  EXPECT_EQ(window.ScreenRect(), (ui::Rect{300, -5, 100, 80}));
  // A later move from a handler starts from where the user left it.
  desktop.Move(window, std::nullopt, 10);
  EXPECT_EQ(backend.Calls("move").back().rect, (ui::Rect{300, 10, 100, 80}));

  desktop.Close(window);
  desktop.Report(window, {.visible = true, .position = ui::Point{0, 0}});
  EXPECT_FALSE(window.IsVisible());  // what a dying window's messages say no longer counts
  EXPECT_EQ(window.ScreenRect().left, 300);
}

// The backend frees its part of a window in Release; doing that while the
// window's own message is being dispatched freed the host under its feet.
TEST_F(WindowStateTest, ClosedWindowsAreFreedOnlyWhenNothingRuns) {
  int collectedInside = -1;
  handlers.handler = [&](const ui::Event& e) {
    desktop.Close(*e.window);
    collectedInside = desktop.CollectClosed();
    EXPECT_FALSE(e.window->IsVisible());  // the model is still there to read
  };
  {
    ui::Desktop::DispatchScope outer(&desktop);
    {
      ui::Desktop::DispatchScope inner(&desktop);
      Click();
    }
    EXPECT_EQ(collectedInside, 0);
    EXPECT_EQ(desktop.CollectClosed(), 0);  // the outer dispatch still runs
    EXPECT_EQ(Released(), 0u);
    EXPECT_EQ(desktop.Find(ui::WindowName{"StateWindow"}), nullptr);
  }
  EXPECT_EQ(desktop.CollectClosed(), 1);
  ASSERT_EQ(Released(), 1u);
  EXPECT_EQ(backend.Calls("release")[0].arg, 1);  // released while the model was whole
  EXPECT_EQ(desktop.CollectClosed(), 0);          // and only once
  EXPECT_EQ(Released(), 1u);
  ui::Desktop::DispatchScope nobody(nullptr);  // a backend with no desktop yet
}

TEST_F(WindowStateTest, TheDesktopReleasesEveryWindowWhenItEnds) {
  fakes::FakeBackend fake;
  LambdaHandlers none;
  {
    ui::Desktop d{fake, none};
    ui::Window& a = d.Load(kForm, nullptr);
    d.Load(kOtherForm, &a);
    d.Close(a);
  }
  std::vector<std::string> released;
  for (const auto& c : fake.Calls("release")) released.push_back(c.window);
  EXPECT_EQ(released, (std::vector<std::string>{"StateWindow", "OtherWindow"}));
  EXPECT_EQ(fake.Calls("destroy").size(), 2u);
}

}  // namespace
