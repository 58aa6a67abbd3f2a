// What the network handlers work with: the windows, the tray for notices,
// the connection state and the browser; and the handlers themselves.
#pragma once

#include "net/network.h"
#include "net/web_pages.h"
#include "shell/tray.h"
#include "ui/behaviour/desktop.h"

namespace net {

struct NetContext {
  ui::Desktop& desktop;
  shell::Tray& tray;
  Network& network;
  WebPages& web;
};

void OnOfficialSiteLink(const NetContext& net, const ui::Event& event);
void OnFeedbackLink(const NetContext& net, const ui::Event& event);
void OnDownloadLink(const NetContext& net, const ui::Event& event);
void OnVersionLookupClick(const NetContext& net, const ui::Event& event);
void OnVersionLookupTick(const NetContext& net, const ui::Event& event);

}  // namespace net
