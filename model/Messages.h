#pragma once
// Messages of the computational modules: one-button message boxes with a fixed text.
// The core never talks to a window system; it hands the text to the handler installed
// by the application (a modal message box) or by a test (a recorder).
#include <functional>
#include <string>

namespace lab {

using MessageHandler = std::function<void(const std::string& text)>;

// Shows one message and returns when the user has dismissed it.
void ShowMessage(const std::string& text);

// Installs a handler and returns the previous one. An empty handler restores the
// default, which writes the text to standard error.
MessageHandler SetMessageHandler(MessageHandler handler);

}  // namespace lab
