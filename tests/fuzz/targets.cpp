// libFuzzer targets, one per reader of bytes or text from outside the
// program; each binary is this file built with QH_FUZZ_TARGET naming one row
// of the table (see scripts/fuzz). Beyond the sanitizers, each target checks
// what its reader promises, so a wrong answer is a finding as a crash is.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/restart.h"
#include "disk/smart_decode.h"
#include "disk/storage_reading.h"
#include "shell/tray.h"
#include "task/time_text.h"
#include "ui/web_view_rule.h"

namespace {

using Bytes = std::span<const std::uint8_t>;
void Require(bool holds) {
  if (!holds) std::abort();
}
std::string_view Text(Bytes b) { return {reinterpret_cast<const char*>(b.data()), b.size()}; }

// A storage driver that answers every request with the next piece of input.
struct FuzzedDrives : disk::StorageDrives {
  explicit FuzzedDrives(FuzzedDataProvider& in) : in(in) {}
  bool Exists(int) override { return in.ConsumeBool(); }
  std::vector<std::uint8_t> Ask(int, const disk::StorageRequest& r) override {
    return in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, r.replySize));
  }
  bool Elevated() override { return in.ConsumeBool(); }
  FuzzedDataProvider& in;
};

void SmartTable(Bytes b) {
  Require(disk::DecodeSmartLines(b).size() <= 30);
  for (std::size_t i = 0; i + 8 <= b.size(); i += 8) {  // members arrive as doubles
    double member;
    std::memcpy(&member, b.data() + i, sizeof member);
    disk::MemberToByte(member);
  }
}
void NvmeReply(Bytes b) {
  const bool log = disk::NvmeLogOf(b).has_value();
  Require(disk::NvmePredictsFailure(b).has_value() == log && (disk::DecodeNvmeHealthReply(b).size() > 0) == log);
}
void PredictFailure(Bytes b) {
  Require(disk::DecodePredictFailure(b).size() <= 30);
  Require(disk::PredictFailureFlag(b).has_value() == (b.size() >= 4));
}
void TemperatureReply(Bytes b) { disk::DecodeTemperatureReply(b); }
void Verdict(Bytes b) {
  FuzzedDataProvider in(b.data(), b.size());
  FuzzedDrives drives(in);
  const disk::DiskReading r = disk::ReadDiskHealth({{}, false}, drives);
  Require(r.lines.size() <= 31);  // one drive's lines: 30 records and a temperature at most
}
void RestartLine(Bytes b) {
  const auto task = app::ParseRestartArguments(Text(b));
  if (!task) return;
  const auto again = app::ParseRestartArguments(app::RestartArguments(task));
  Require(again && again->time.hour == task->time.hour && again->time.minute == task->time.minute &&
          again->time.second == task->time.second && again->mode == task->mode);
}
void TypedTime(Bytes b) {
  if (const auto n = task::TextToNumber(Text(b))) Require(task::TextToInt(Text(b)) == *n);
}
void VersionPageAddress(Bytes b) {
  constexpr std::string_view start = "https://ver.quondahalvix.com/html/ruanjianbanben-123456789/index.htm";
  const bool top = !b.empty() && (b[0] & 1) != 0;
  if (ui::MayNavigate(start, Text(b), true)) Require(ui::MayNavigate(start, Text(b), false));
  if (ui::MayNavigate(Text(b), start, top)) Require(ui::MayNavigate(start, Text(b), false));
}
void NoticeText(Bytes b) {
  if (b.empty()) return;
  const std::size_t max = b[0];
  const std::string_view all = Text(b.subspan(1));
  const std::string_view cut = shell::CutGbk(all, max);
  Require(cut.size() <= max && cut.data() == all.data());
  // Whole characters only: the cut text, cut again, is itself.
  Require(shell::CutGbk(cut, cut.size()).size() == cut.size());
}

struct Target {
  std::string_view name;
  void (*run)(Bytes);
};
constexpr Target kTargets[] = {
    {"smart_table", SmartTable},       {"nvme_reply", NvmeReply},
    {"predict_failure", PredictFailure}, {"temperature_reply", TemperatureReply},
    {"verdict", Verdict},              {"restart_line", RestartLine},
    {"typed_time", TypedTime},         {"version_page_address", VersionPageAddress},
    {"notice_text", NoticeText},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Target* target = [] {
    for (const Target& t : kTargets) {
      if (t.name == QH_FUZZ_TARGET) return &t;
    }
    std::abort();  // a build for a name the table does not have
  }();
  target->run({data, size});
  return 0;
}
