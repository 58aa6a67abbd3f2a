// libFuzzer targets, one per reader of outside bytes or text, picked by
// QH_FUZZ_TARGET (scripts/fuzz); a broken promise aborts as a crash would.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/restart.h"
#include "disk/smart_decode.h"
#include "disk/storage_reading.h"
#include "shell/tray.h"
#include "task/time_text.h"
#include "ui/html_view/web_view_rule.h"

namespace {

using Bytes = std::span<const std::uint8_t>;
void Require(bool holds) { if (!holds) std::abort(); }
std::string_view Text(Bytes b) { return {reinterpret_cast<const char*>(b.data()), b.size()}; }

// A storage driver that answers every question with the next piece of input.
struct FuzzedDrives : disk::StorageDrives {
  explicit FuzzedDrives(FuzzedDataProvider& in) : in(in) {}
  bool Exists(int) override { return in.ConsumeBool(); }
  std::vector<std::uint8_t> Ask(int, const disk::StorageRequest& r) override {
    return in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, r.replySize));
  }
  bool Elevated() override { return in.ConsumeBool(); }
  FuzzedDataProvider& in;
};

void Run(std::string_view target, Bytes b) {
  using namespace disk;
  if (target == "smart_table") {
    Require(DecodeSmartLines(b).size() <= 30);
    for (double member; b.size() >= sizeof member; b = b.subspan(sizeof member)) {  // members arrive as doubles
      std::memcpy(&member, b.data(), sizeof member);
      MemberToByte(member);
    }
  } else if (target == "nvme_reply") {
    const bool log = NvmeLogOf(b).has_value();
    Require(NvmePredictsFailure(b).has_value() == log && DecodeNvmeHealthReply(b).empty() != log);
  } else if (target == "predict_failure") {
    Require(DecodePredictFailure(b).size() <= 30 && PredictFailureFlag(b).has_value() == (b.size() >= 4));
  } else if (target == "temperature_reply") {
    DecodeTemperatureReply(b);
  } else if (target == "verdict") {
    FuzzedDataProvider in(b.data(), b.size());
    FuzzedDrives drives(in);
    Require(ReadDiskHealth({}, drives).lines.size() <= 31);  // one drive's: 30 records and a temperature
  } else if (target == "restart_line") {
    if (const auto task = app::ParseRestartArguments(Text(b))) {
      Require(app::RestartArguments(app::ParseRestartArguments(app::RestartArguments(task))) ==
              app::RestartArguments(task));
    }
  } else if (target == "typed_time") {
    // Typed in full width (U+FF01..U+FF5E, and U+3000 for a blank), it reads the same.
    std::string wide;
    for (const char c : Text(b)) {
      const unsigned u = c == ' ' ? 0x3000u : c > ' ' && c < 0x7F ? 0xFF00u + c - 0x20u : 0u;
      if (u == 0) wide += c; else wide += {char(0xE0 | u >> 12), char(0x80 | (u >> 6 & 0x3F)), char(0x80 | (u & 0x3F))};
    }
    Require(task::TextToNumber(Text(b)) == task::TextToNumber(wide));
  } else if (target == "version_page_address") {
    constexpr std::string_view start = "https://ver.quondahalvix.com/html/ruanjianbanben-123456789/index.htm";
    const bool top = !b.empty() && (b[0] & 1) != 0;
    // Allowed either way round only within one origin, where frames may go anywhere.
    if (ui::MayNavigate(start, Text(b), top) || ui::MayNavigate(Text(b), start, top)) {
      Require(ui::MayNavigate(start, Text(b), false) && ui::MayNavigate(Text(b), start, false));
    }
  } else if (target == "notice_text") {
    if (b.empty()) return;
    const std::string_view all = Text(b.subspan(1)), cut = shell::CutGbk(all, b[0]);
    Require(cut.size() <= b[0] && cut.data() == all.data() && shell::CutGbk(cut, cut.size()) == cut);
  } else {
    std::abort();  // a target built for a name this file does not know
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Run(QH_FUZZ_TARGET, {data, size});
  return 0;
}
