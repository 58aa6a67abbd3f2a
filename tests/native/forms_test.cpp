// The four forms as data: names unique, every parent and wiring source real.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/main_window/main_window_form.h"
#include "ui/main_window/main_window_names.h"
#include "ui/model/window.h"
#include "ui/secondary_windows/secondary_forms.h"

namespace {

using namespace ui::main_window;

const ui::FormSpec* const kForms[] = {&ui::MainWindowForm(), &ui::ExitConfirmWindowForm(),
                                      &ui::TaskDoneWindowForm(), &ui::VersionWindowForm()};

TEST(Forms, NamesParentsAndWiringAreConsistent) {
  for (const ui::FormSpec* form : kForms) {
    SCOPED_TRACE(std::string(form->name));
    std::set<std::string_view> names;
    for (const auto& c : form->controls) {
      EXPECT_TRUE(names.insert(c.name).second) << "duplicate " << c.name;
    }
    for (const auto& c : form->controls) {
      if (!c.parent.empty()) {
        EXPECT_TRUE(names.count(c.parent)) << c.name << " in " << c.parent;
      }
    }
    std::set<std::string_view> items(form->menuItems.begin(), form->menuItems.end());
    for (const auto& w : form->wiring) {
      if (w.event == ui::EventKind::kItemChosen) {
        EXPECT_TRUE(items.count(w.source)) << w.source;
      } else if (!w.source.empty()) {
        EXPECT_TRUE(names.count(w.source)) << w.source;
      }
    }
  }
}

TEST(Forms, TheFourOptionsStandInOneRow) {
  ui::Window w(ui::MainWindowForm());
  auto centreY = [&](const char* n) {
    ui::Rect r = w.AbsoluteRect(w.Find(n));
    return r.top * 2 + r.height;  // twice the centre, to stay in integers
  };
  for (const char* n : {"单选框2", "单选框3", "单选框4"}) {
    EXPECT_LE(std::abs(centreY("单选框1") - centreY(n)), 2) << n;
  }
}

}  // namespace
