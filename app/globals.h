// The program-wide records: created zero-filled at start, released when the
// program ends. Handlers reach them through the program.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace app {

// The shell's balloon record with its three character buffers (tip, notice
// text, notice title). Zero-filled until a notice is shown.
struct TrayRecord {
  std::uint32_t cbSize = 0;
  std::uint64_t hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uint64_t hIcon = 0;
  char szTip[128] = {};
  std::uint32_t dwState = 0;
  std::uint32_t dwStateMask = 0;
  char szInfo[256] = {};
  std::uint32_t uTimeout = 0;
  char szInfoTitle[64] = {};
  std::uint32_t dwInfoFlags = 0;
};

// Live enumerators of collection walks, with their keys; whatever is still in
// it at the end is released with the program.
struct EnumeratorTable {
  std::vector<std::shared_ptr<void>> enumerators;
  std::vector<std::uint32_t> keys;
};

struct Globals {
  std::unique_ptr<TrayRecord> trayRecord;
  std::int32_t instanceCount = 0;
  std::unique_ptr<EnumeratorTable> enumeratorTable;
  int slideUp = 0;
};

void InitGlobals(Globals& globals);
void ReleaseGlobals(Globals& globals);

}  // namespace app
