// Where the HTML view may go. The view shows one page, the address the program
// sends it to, and runs with the program's rights (often an administrator's)
// and without the sandbox a browser would give it; a page must not take it
// anywhere else: not to another address, not to another scheme (mailto:,
// javascript:, file:, a registered protocol handler that starts a program),
// and no frame inside the page may load from another origin. Plain http is
// never allowed, not even from the start page's own host: whoever can change
// traffic on the way could otherwise put any page in the view, or in a frame.
#pragma once

#include <string_view>

namespace ui {

// True when the view, sent to `start`, may load `target`: in its top frame
// only `start` itself (a #fragment aside); in a frame of the page any address
// of start's origin (same scheme, host and port). Only https addresses are
// ever allowed; anything that does not read as a plain one
// (user names, escapes or spaces in the host, control characters,
// backslashes) is refused. UTF-8.
bool MayNavigate(std::string_view start, std::string_view target, bool topFrame);

}  // namespace ui
