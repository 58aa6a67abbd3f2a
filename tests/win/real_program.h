// What the Windows-side tests of whole windows share: the program wired to
// the real Win32 backend and platform services, except the two that must not
// act for real in a test process (ending the process, the power actions),
// and a message pump that waits for a condition (win_test.h).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/processes_win.h"
#include "app/program.h"
#include "disk/smart_report_win.h"
#include "net/network_win.h"
#include "shell/tray_win.h"
#include "task/clock_win.h"
#include "tests/win/win_test.h"
#include "ui/win32/backend_win.h"

namespace testing_win {

// The real process list, but a second copy never ends the test process.
class TestProcesses final : public app::Processes {
 public:
  std::vector<app::ProcessEntry> RunningProcesses() override { return real.RunningProcesses(); }
  std::string OwnExecutable() override { return real.OwnExecutable(); }
  std::uint32_t OwnId() override { return real.OwnId(); }
  app::ProcessStart StartOf(std::uint32_t id) override { return real.StartOf(id); }
  std::optional<std::uint32_t> SessionOf(std::uint32_t id) override { return real.SessionOf(id); }
  void EndProcess(int code) override { ended = code; }
  void RegisterRestart(const std::string& arguments) override { restarts.push_back(arguments); }
  void UnregisterRestart() override { restarts.push_back("unregistered"); }
  std::vector<std::string> restarts;
  app::Win32Processes real;
  int ended = -1;
};

// Never the real action: it would end every process of the prefix.
class CountingPower final : public task::PowerActions {
 public:
  void RunPowerAction(task::PowerMode) override { ++fired; }
  bool HibernateAvailable() override { return true; }
  void KeepAwake(const task::AwakeRequest&) override {}
  int fired = 0;
};

class RecordingWebPages final : public net::WebPages {
 public:
  bool OpenWebPage(std::string_view address) override { return opened.emplace_back(address), true; }
  std::vector<std::string> opened;
};

// Members in the order they must be made (and go in reverse).
struct RealProgram {
  RealProgram() = default;
  // With a taskbar and shell of the test's own.
  explicit RealProgram(shell::TrayCalls calls) : tray{backend, GetModuleHandleW(nullptr), std::move(calls)} {}

  ui::GdiplusSession gdiplus;
  ui::ImageStore images{gdiplus, nullptr};
  ui::Win32Backend backend{GetModuleHandleW(nullptr), images};
  task::Win32Clock clock;
  shell::Win32Tray tray{backend, GetModuleHandleW(nullptr)};
  TestProcesses processes;
  net::Win32Network network;
  RecordingWebPages web;
  CountingPower power;
  disk::WmiSmartReport smart;
  app::Program program{backend, app::Services{clock, tray, processes, network, web, power, smart}};

  void Attach() {
    backend.Attach(program.desktop);
    tray.Attach(program.desktop);
  }
};

}  // namespace testing_win
