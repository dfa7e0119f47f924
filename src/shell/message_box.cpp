#include "shell/message_box.h"

#include <atomic>
#include <cstdio>

namespace {

MessageBoxAnswer PrintToStderr(const std::string& text, const std::string& caption,
                               MessageBoxButtons buttons) {
  std::fprintf(stderr, "Zelvane: %s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ",
               text.c_str());
  return buttons == MessageBoxButtons::kYesNo ? MessageBoxAnswer::kNo : MessageBoxAnswer::kOk;
}

std::atomic<MessageBoxHandler> gHandler{&PrintToStderr};

}  // namespace

MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                MessageBoxButtons buttons) {
  return gHandler.load()(text, caption, buttons);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  return gHandler.exchange(handler != nullptr ? handler : &PrintToStderr);
}
