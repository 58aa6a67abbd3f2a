// MayNavigate; see web_view_rule.h.
#include "ui/html_view/web_view_rule.h"

#include <optional>
#include <string>

namespace ui {
namespace {

struct Address {
  std::string origin;     // "https://host" or "https://host:8443", lower case
  std::string_view page;  // path and query, "/" at least
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Lower(c);
  return out;
}

// Splits a plain https address; nullopt for anything else. Browsers
// read a backslash as a slash and take the host after an '@', so either could
// make one address look like another: such addresses are simply refused.
std::optional<Address> Parse(std::string_view url) {
  for (char c : url) {
    if (static_cast<unsigned char>(c) <= ' ' || c == '\x7f' || c == '\\') return std::nullopt;
  }
  const size_t colon = url.find("://");
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string scheme = Lowered(url.substr(0, colon));
  if (scheme != "https") return std::nullopt;
  std::string_view rest = url.substr(colon + 3);
  const size_t end = rest.find_first_of("/?#");
  std::string host = Lowered(rest.substr(0, end));
  if (host.empty() || host.find_first_of("@%/") != std::string::npos) return std::nullopt;
  // The default port is the same origin written out.
  constexpr std::string_view defaultPort = ":443";
  if (host.size() > defaultPort.size() && host.ends_with(defaultPort)) {
    host.resize(host.size() - defaultPort.size());
  }
  std::string_view page = end == std::string_view::npos ? std::string_view() : rest.substr(end);
  page = page.substr(0, page.find('#'));
  if (page.empty()) page = "/";
  return Address{scheme + "://" + host, page};
}

}  // namespace

bool MayNavigate(std::string_view start, std::string_view target, bool topFrame) {
  const std::optional<Address> from = Parse(start);
  const std::optional<Address> to = Parse(target);
  if (!from || !to || from->origin != to->origin) return false;
  return !topFrame || from->page == to->page;
}

}  // namespace ui
