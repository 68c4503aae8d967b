#include "app/commands.h"

#include <exception>
#include <stdexcept>

namespace qv {

bool CommandDispatcher::Execute(const std::function<void()>& handler) {
  if (busy_) return false;
  busy_ = true;
  try {
    handler();
  } catch (const std::exception& e) {
    ShowException(dialogs_, e);
  } catch (...) {
    ShowException(dialogs_, std::runtime_error("Unknown error"));
  }
  busy_ = false;
  if (pendingClose_) {
    auto close = std::move(pendingClose_);
    pendingClose_ = nullptr;
    close();
  }
  return true;
}

void CommandDispatcher::RequestClose(const std::function<void()>& close) {
  if (busy_) {
    pendingClose_ = close;
  } else {
    close();
  }
}

}  // namespace qv
