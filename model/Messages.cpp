#include "model/Messages.h"

#include <cstdio>
#include <utility>

namespace lab {
namespace {

void WriteToStderr(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
}

MessageHandler& Handler() {
  static MessageHandler handler = WriteToStderr;
  return handler;
}

}  // namespace

void ShowMessage(const std::string& text) {
  // Copy first: a handler may install another one while it runs.
  MessageHandler h = Handler();
  h(text);
}

MessageHandler SetMessageHandler(MessageHandler handler) {
  MessageHandler previous = std::move(Handler());
  Handler() = handler ? std::move(handler) : MessageHandler(WriteToStderr);
  return previous;
}

}  // namespace lab
