// Unknown names; see names.h.
#include "ui/model/names.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace ui {

namespace {

#ifdef NDEBUG
bool gStrict = false;
#else
bool gStrict = true;
#endif

}  // namespace

void SetStrictNames(bool strict) { gStrict = strict; }

void ReportUnknownName(std::string_view window, std::string_view name) {
  if (!gStrict) return;
  std::fprintf(stderr, "unknown name %s in %s\n", std::string(name).c_str(),
               std::string(window).c_str());
  std::abort();
}

}  // namespace ui
