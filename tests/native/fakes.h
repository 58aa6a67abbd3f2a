// Recording fakes of the platform side, the program over them, and helpers
// that put what a window shows in one line.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/program.h"
#include "ui/model/backend.h"
#include "ui/model/painter.h"

namespace fakes {

// Keeps the window operations it was asked for and, like the real backend,
// writes none of a window's state: the desktop does.
class FakeBackend : public ui::Backend {
 public:
  struct Call {
    std::string op;      // "create", "destroy", "show", "hide", "state", "move", "focus", ...
    std::string window;  // form name
    int arg = 0;
    ui::Rect rect;
  };
  void Create(ui::Window& w, ui::Window* owner) override {
    Note("create", w, 0, w.ScreenRect());
    ownerOf.push_back(std::string(w.Name()) + "<-" + (owner ? std::string(owner->Name()) : ""));
  }
  void Destroy(ui::Window& w) override { Note("destroy", w); }
  // The model must still be whole here: the desktop frees it only afterwards.
  void Release(ui::Window& w) override { Note("release", w, w.IsClosed()); }
  void Show(ui::Window& w, bool visible) override { Note(visible ? "show" : "hide", w); }
  void SetDisplayState(ui::Window& w, ui::DisplayState s) override { Note("state", w, int(s)); }
  void Move(ui::Window& w, ui::Rect r) override { Note("move", w, 0, r); }
  ui::Size ScreenSize(const ui::Window*) override { return screen; }
  ui::Rect WorkArea(const ui::Window&) override { return workArea; }
  int PopupMenu(ui::Window& owner, const std::vector<std::string_view>& items) override {
    Note("menu", owner);
    lastMenu = items;
    return menuChoice;
  }
  int ShowMessageBox(std::string_view text, int flags, std::string_view title,
                     ui::Window* owner) override {
    boxes.push_back({std::string(text), std::string(title), flags, owner != nullptr});
    calls.push_back({"messagebox", "", flags, {}});
    return 1;
  }
  void Focus(ui::Window& w) override { Note("focus", w); }
  void ApplyVisualStyle(int code) override { calls.push_back({"style", "", code, {}}); }
  void Raise(ui::Window& w) override { Note("raise", w); }
  void Invalidate(ui::Window&, ui::Rect r) override { invalidated.push_back(r); }
  void ControlChanged(ui::Window& w, ui::ControlId id, ui::Change change) override {
    const std::string control = id == ui::kNoControl ? "" : w.At(id).name;
    calls.push_back({"changed", std::string(w.Name()) + "." + control, int(change), {}});
  }

  std::vector<Call> Calls(const std::string& op) const;  // the calls named op, in order
  std::vector<std::string> Ops() const;                  // "op window", all but "changed"

  ui::Size screen{1920, 1080};
  ui::Rect workArea{0, 0, 1920, 1040};
  int menuChoice = -1;  // what the user picks in the next pop-up menu
  std::vector<Call> calls;
  std::vector<std::string> ownerOf;  // "window<-owner" per create
  struct Box {
    std::string text, title;
    int flags = 0;
    bool owned = false;
  };
  std::vector<Box> boxes;
  std::vector<std::string_view> lastMenu;
  std::vector<ui::Rect> invalidated;

 private:
  void Note(const char* op, const ui::Window& w, int arg = 0, ui::Rect r = {}) {
    calls.push_back({op, std::string(w.Name()), arg, r});
  }
};

// Keeps the drawing calls, each with the clip in force.
class FakePainter : public ui::Painter {
 public:
  struct Op {
    std::string what;  // "fill", "frame", "line", "part", "image", "greyed image", "text"
    ui::Rect rect;
    ui::Color color;
    ui::Rect clip;
    std::string text;
    assets::Asset image = assets::Asset::kNone;
    int frame = 0;
    ui::Font font;
    ui::TextLayout layout;
    ui::Part part = ui::Part::kRadio;
    ui::PartState state = ui::PartState::kNormal;
    bool checked = false;
  };
  void PushClip(ui::Rect r) override {
    clips.push_back(clips.empty() ? r : clips.back().Intersect(r));
  }
  void PopClip() override {
    if (!clips.empty()) clips.pop_back();
  }
  void FillRect(ui::Rect r, ui::Color c) override { Add("fill", r, c); }
  void FrameRect(ui::Rect r, ui::Color c) override { Add("frame", r, c); }
  void Line(ui::Point a, ui::Point b, ui::Color c) override {
    Add("line", {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x) + 1,
                 std::abs(b.y - a.y) + 1}, c);
  }
  void DrawPart(ui::Part part, ui::PartState state, bool checked, ui::Rect r) override {
    Op& op = Add("part", r, {});
    std::tie(op.part, op.state, op.checked) = std::tuple(part, state, checked);
  }
  void DrawImage(assets::Asset image, int frame, ui::Rect dest) override {
    Op& op = Add("image", dest, {});
    std::tie(op.image, op.frame) = std::tuple(image, frame);
  }
  void DrawGreyedImage(assets::Asset image, int frame, ui::Rect dest) override {
    DrawImage(image, frame, dest);
    ops.back().what = "greyed image";
  }
  void PaintText(std::string_view utf8, const ui::Font& font, ui::Color c, ui::Rect r,
                 ui::TextLayout layout) override {
    Op& op = Add("text", r, c);
    std::tie(op.text, op.font, op.layout) = std::tuple(std::string(utf8), font, layout);
  }

  // The text op drawing exactly this string, or nullptr.
  const Op* Text(const std::string& s) const;
  const Op* Image(assets::Asset a) const;

  std::vector<Op> ops;
  std::vector<ui::Rect> clips;

 private:
  Op& Add(const char* what, ui::Rect r, ui::Color c) {
    return ops.emplace_back(Op{what, r, c, clips.empty() ? ui::Rect{} : clips.back()});
  }
};

// Every image has the size its identifier promises; kNone is missing.
class FakeImages : public ui::ImageCatalog {
 public:
  ui::Size ImageSize(assets::Asset image) override;
  int FrameCount(assets::Asset image) override;
  int FrameDelayMs(assets::Asset image, int frame) override;
};

// The platform services, each recording what the program asked of it.
class FakeClock : public task::Clock {
 public:
  task::LocalTime Now() override { return now; }
  task::LocalTime now{2026, 12, 8, 18, 29, 55, 0};
};

class FakeTray : public shell::Tray {
 public:
  struct Notice {
    std::string title, text;
    int iconKind;
  };
  void AddIcon(ui::Window& owner, std::string_view tip) override;
  // Like the shell: nothing shows before the icon exists or after it is gone.
  void Notify(std::string_view title, std::string_view text, int iconKind) override;
  void RemoveIcon() override;

  std::string Last() const {  // the latest notice's "title|text"
    return notices.empty() ? "" : notices.back().title + "|" + notices.back().text;
  }
  std::vector<std::string> icons;  // "owner|tip" per add
  std::vector<Notice> notices;
  int removed = 0;
  bool added = false;
};

// EndProcess throws Ended so a test can see the process end and where. A
// process started at the tick of its id, in session 1, unless `starts` and
// `sessions` say otherwise.
class FakeProcesses : public app::Processes {
 public:
  struct Ended {
    int exitCode;
  };
  std::vector<app::ProcessEntry> RunningProcesses() override { return processes; }
  std::string OwnExecutable() override { return own; }
  std::uint32_t OwnId() override { return ownId; }
  app::ProcessStart StartOf(std::uint32_t id) override {
    auto it = starts.find(id);
    return it != starts.end() ? it->second : app::ProcessStart{true, id};
  }
  std::optional<std::uint32_t> SessionOf(std::uint32_t id) override {
    return sessions.contains(id) ? sessions[id] : 1u;
  }
  void EndProcess(int exitCode) override { throw Ended{exitCode}; }
  void RegisterRestart(const std::string& arguments) override { restarts.push_back(arguments); }
  void UnregisterRestart() override { restarts.push_back("unregistered"); }
  std::vector<std::string> restarts;  // every registration and its removal, in order

  std::vector<app::ProcessEntry> processes{{"services.exe", 4}, {"QuondaHalvix.exe", 100}};
  std::string own = "QuondaHalvix.exe";
  std::uint32_t ownId = 100;
  std::map<std::uint32_t, app::ProcessStart> starts;
  std::map<std::uint32_t, std::optional<std::uint32_t>> sessions;
};

class FakeNetwork : public net::Network {
 public:
  bool ProbeNetwork() override {
    ++probes;
    return connected;
  }
  bool connected = true;
  int probes = 0;
};

class FakeWebPages : public net::WebPages {
 public:
  bool OpenWebPage(std::string_view address) override { return opened.emplace_back(address), opens; }
  std::vector<std::string> opened;
  bool opens = true;  // false: handed on to nobody
};

class FakePower : public task::PowerActions {
 public:
  void RunPowerAction(task::PowerMode mode) override { fired.push_back(mode); }
  bool HibernateAvailable() override { return canHibernate; }
  void KeepAwake(const task::AwakeRequest& r) override {
    awakeCalls.push_back(r.reason);
    dues.push_back(r.dueInMs);
  }
  std::vector<task::PowerMode> fired;
  std::vector<std::string> awakeCalls;  // each request's reason; empty: withdrawn
  std::vector<std::int64_t> dues;  // each request's time until the task
  bool canHibernate = true;
};

class FakeSmartReport : public disk::SmartReport {
 public:
  disk::DiskReading CollectSmartReport() override {
    if (onCollect) onCollect();
    ++collected;
    return {lines, why, failing};
  }
  void ReleaseObjects() override { ++objectsReleased; }
  void ReleaseEnumerators() override { ++enumeratorsReleased; }

  std::vector<std::string> lines{"硬盘已经使用了:5000个小时\r\n", "硬盘当前温度:35摄氏度\r\n"};
  disk::Unread why = disk::Unread::kDriveSilent;
  bool failing = false;
  int collected = 0, objectsReleased = 0, enumeratorsReleased = 0;
  std::function<void()> onCollect;  // sees how far start-up had got
};

// The program over a recording backend and recording services.
struct TestProgram {
  TestProgram();
  TestProgram(const TestProgram&) = delete;
  TestProgram& operator=(const TestProgram&) = delete;
  ui::Window& Main();  // loaded on first use
  // One event to the control of w so named (none for a name w lacks).
  void Send(ui::Window& w, std::string_view control, ui::EventKind kind, int arg = 0);

  FakeBackend backend;
  FakeClock clock;
  FakeTray tray;
  FakeProcesses processes;
  FakeNetwork network;
  FakeWebPages web;
  FakePower power;
  FakeSmartReport smart;
  app::Program program;
};

std::string Hex(ui::Color c);  // "rrggbb"
// MainWindow's task controls as one line: 按钮1's caption | 分组框3's caption
// and colour | 任务时钟 and 时钟4 in ms | whether 图片框5 plays.
std::string TaskFace(const ui::Window& main);

}  // namespace fakes
