#pragma once
// Showing a window modally. Every modal window of the program is shown through here, so a
// test can script what the user does inside it.
#include <functional>

class QDialog;

namespace platform {

// Shows the dialog modally and returns its result code (QDialog::exec, or the hook's).
int ShowModal(QDialog& dialog);

// A hook that replaces QDialog::exec for every ShowModal; returns the previous one.
// An empty hook restores the real exec.
using ModalHook = std::function<int(QDialog&)>;
ModalHook SetModalHook(ModalHook hook);

}  // namespace platform
