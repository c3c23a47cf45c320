#pragma once
// The user's side of the save dialog in a window test.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QString>

#include "tests/support/ModalScript.h"

// Types a file name into the save dialog, in the given folder, and confirms it.
inline ModalScript::Action SaveAs(const QString& folder, const QString& name) {
  return [folder, name](QDialog& d) {
    auto* fd = qobject_cast<QFileDialog*>(&d);
    ASSERT_NE(fd, nullptr);
    fd->setDirectory(folder);
    auto* edit = fd->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
    d.accept();
  };
}
