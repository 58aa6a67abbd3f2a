// Keeping the program's icon in the notification area when the shell does
// not take it at once. At log-on the program can start before the shell's
// notification area exists, and a busy shell can let an add time out even
// though the icon went in. Either way the icon is asked for again, on a
// timer and whenever the shell restarts, until the shell answers; meanwhile
// the latest notice waits for the icon instead of being lost. A shell that
// takes the first add sees exactly the calls it always did.
#pragma once

#include <optional>
#include <string>

namespace shell {

struct TrayNotice {
  std::string title;
  std::string text;
  int iconKind = 0;
};

// How often the icon is asked for while the shell has not taken it.
inline constexpr int kIconRetryMs = 2000;

// The platform's side: the shell calls, each true when the shell took it,
// and the timer whose ticks call IconKeeper::Retry.
class IconShell {
 public:
  virtual ~IconShell() = default;
  virtual bool AddShellIcon() = 0;
  // The icon's image, tip and callback set again; fails when there is no icon.
  virtual bool ModifyShellIcon() = 0;
  virtual void ShowNotice(const TrayNotice& notice) = 0;
  virtual void RunRetryTimer(bool on) = 0;
};

class IconKeeper {
 public:
  explicit IconKeeper(IconShell& shell) : shell_(shell) {}

  // The program wants its icon from now on.
  void Add();
  // The shell (re)started: the icon it had may be gone.
  void ShellRestarted();
  // A tick of the retry timer.
  void Retry();
  // Shown at once while the icon is there, otherwise kept in place of any
  // notice kept before. Before Add and after Remove, dropped.
  void Notify(TrayNotice notice);
  // The program takes its icon away: nothing more is asked or kept.
  void Remove();

  bool IconShown() const { return shown_; }

 private:
  // Modify first: it succeeds when an add that reported failure went in
  // after all, where a second add would fail.
  bool AskAgain() { return shell_.ModifyShellIcon() || shell_.AddShellIcon(); }
  void Settle(bool shown);

  IconShell& shell_;
  std::optional<TrayNotice> waiting_;
  bool wanted_ = false;
  bool shown_ = false;
  bool retrying_ = false;
};

}  // namespace shell
