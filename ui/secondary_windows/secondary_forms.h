// The three secondary windows: the exit confirmation, the task notice that
// slides up from the lower right corner, and the latest-version window.
#pragma once

#include "ui/model/form.h"

namespace ui {

const FormSpec& ExitConfirmWindowForm();
const FormSpec& TaskDoneWindowForm();
const FormSpec& VersionWindowForm();

}  // namespace ui
