// The main window: header, task settings, disk-check area, right-hand column,
// status bar and the tray menu, with the wiring of their events.
#pragma once

#include "ui/model/form.h"

namespace ui {

const FormSpec& MainWindowForm();

}  // namespace ui
