// IconKeeper; see icon_keeper.h.
#include "shell/icon_keeper.h"

#include <utility>

namespace shell {

void IconKeeper::Add() {
  wanted_ = true;
  Settle(shell_.AddShellIcon());
}

void IconKeeper::ShellRestarted() {
  if (wanted_) Settle(AskAgain());
}

void IconKeeper::Retry() {
  if (wanted_ && !shown_) Settle(AskAgain());
}

void IconKeeper::Notify(TrayNotice notice) {
  if (!wanted_) return;
  if (shown_) {
    shell_.ShowNotice(notice);
  } else {
    waiting_ = std::move(notice);
  }
}

void IconKeeper::Remove() {
  wanted_ = false;
  shown_ = false;
  waiting_.reset();
  if (retrying_) shell_.RunRetryTimer(false);
  retrying_ = false;
}

void IconKeeper::Settle(bool shown) {
  shown_ = shown;
  if (retrying_ == shown) {
    retrying_ = !shown;
    shell_.RunRetryTimer(retrying_);
  }
  if (shown_ && waiting_) {
    TrayNotice notice = std::move(*waiting_);
    waiting_.reset();
    shell_.ShowNotice(notice);
  }
}

}  // namespace shell
