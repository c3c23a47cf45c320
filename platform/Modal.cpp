#include "platform/Modal.h"

#include <QDialog>
#include <utility>

namespace platform {
namespace {
ModalHook& Hook() {
  static ModalHook hook;
  return hook;
}
}  // namespace

int ShowModal(QDialog& dialog) {
  ModalHook hook = Hook();
  return hook ? hook(dialog) : dialog.exec();
}

ModalHook SetModalHook(ModalHook hook) {
  ModalHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

}  // namespace platform
