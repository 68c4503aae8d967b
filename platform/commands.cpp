#include "platform/commands.h"

#include <stdexcept>

namespace qv {

void CommandDispatcher::RunShowingErrors(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ++errors_;
    showError_(e);
  } catch (...) {
    ++errors_;
    showError_(std::runtime_error("Unknown error"));
  }
}

bool CommandDispatcher::Execute(const std::function<void()>& handler) {
  if (busy_) return false;
  busy_ = true;
  RunShowingErrors(handler);
  busy_ = false;
  if (pendingClose_) {
    auto close = std::move(pendingClose_);
    pendingClose_ = nullptr;
    close();
  }
  return true;
}

void CommandDispatcher::ExecuteAlongside(const std::function<void()>& handler) {
  if (!busy_) {
    Execute(handler);
  } else {
    RunShowingErrors(handler);
  }
}

void CommandDispatcher::RequestClose(const std::function<void()>& close) {
  if (busy_) {
    pendingClose_ = close;
  } else {
    close();
  }
}

}  // namespace qv
