// Where the HTML view may go: its start page in the top frame, pages of the
// same origin in frames, nothing else, however the address is dressed up.
#include "ui/html_view/web_view_rule.h"

#include <gtest/gtest.h>

namespace {

constexpr char kStart[] = "https://ver.quondahalvix.com/html/ruanjianbanben-123456789/index.htm";

TEST(WebViewRule, OnlyTheStartPageAndFramesOfItsOrigin) {
  struct Case {
    const char* target;
    bool top;    // allowed in the top frame
    bool frame;  // allowed in a frame of the page
  };
  const Case cases[] = {
      {kStart, true, true},
      {"https://ver.quondahalvix.com/html/ruanjianbanben-123456789/index.htm#latest", true, true},
      {"HTTPS://VER.QuondaHalvix.com/html/ruanjianbanben-123456789/index.htm", true, true},
      {"https://ver.quondahalvix.com:443/html/ruanjianbanben-123456789/index.htm", true, true},
      // Another page, port, scheme or host.
      {"https://ver.quondahalvix.com/ad/frame.htm", false, true},
      {"https://ver.quondahalvix.com:8443/html/ruanjianbanben-123456789/index.htm", false, false},
      {"http://ver.quondahalvix.com/html/ruanjianbanben-123456789/index.htm", false, false},
      {"http://ver.quondahalvix.com/ad/frame.htm", false, false},  // a redirect or frame off https
      {"https://www.quondahalvix.com/html/ruanjianbanben-123456789/index.htm", false, false},
      {"https://ver.quondahalvix.com.example.net/", false, false},
      {"https://example.net/?https://ver.quondahalvix.com/", false, false},
      // Other schemes: mail, script, files, protocol handlers, internals.
      {"mailto:someone@example.net", false, false},
      {"javascript:location='http://example.net/'", false, false},
      {"file:///C:/Windows/System32/calc.exe", false, false},
      {"quondahalvix-update://ver.quondahalvix.com/run", false, false},
      // Dressed up as the version host.
      {"https://ver.quondahalvix.com@example.net/html/ruanjianbanben-123456789/index.htm", false, false},
      {"https://ver.quondahalvix.com\t/html/ruanjianbanben-123456789/index.htm", false, false},
      {"https:/ver.quondahalvix.com/html/ruanjianbanben-123456789/index.htm", false, false},
      {"", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    EXPECT_EQ(ui::MayNavigate(kStart, c.target, true), c.top);
    EXPECT_EQ(ui::MayNavigate(kStart, c.target, false), c.frame);
  }
  // Before the view is sent to a web address, nothing may load.
  EXPECT_FALSE(ui::MayNavigate("", kStart, false));
  EXPECT_FALSE(ui::MayNavigate("about:blank", "about:blank", true));
  // A plain-http start page allows nothing, not even itself.
  const char http[] = "http://ver.quondahalvix.com/html/ruanjianbanben-123456789/index.htm";
  EXPECT_FALSE(ui::MayNavigate(http, http, true));
}

}  // namespace
