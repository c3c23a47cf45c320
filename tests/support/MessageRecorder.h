#pragma once
// Records the texts of the message boxes shown while it lives, instead of showing them.
#include <string>
#include <vector>

#include "model/Messages.h"

class MessageRecorder {
 public:
  MessageRecorder()
      : previous_(lab::SetMessageHandler([this](const std::string& t) { texts.push_back(t); })) {}
  ~MessageRecorder() { lab::SetMessageHandler(previous_); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  std::vector<std::string> texts;

 private:
  lab::MessageHandler previous_;
};
