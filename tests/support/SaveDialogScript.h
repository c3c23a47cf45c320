#pragma once
// The user's side of the save dialog in a window test.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QString>
#include <QStringList>

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

// What the save dialog offered when it came up.
struct SaveOffer {
  QString name;  // the file name proposed
  QString suffix;
  QStringList filters;
  bool asksBeforeReplacing = false;
};

// Records what the save dialog offers, then saves as SaveAs does (an empty name keeps the
// offered one).
inline ModalScript::Action SaveAsOffered(const QString& folder, const QString& name,
                                         SaveOffer& offer) {
  return [folder, name, &offer](QDialog& d) {
    auto* fd = qobject_cast<QFileDialog*>(&d);
    ASSERT_NE(fd, nullptr);
    offer.name = QFileInfo(fd->selectedFiles().value(0)).fileName();
    offer.suffix = fd->defaultSuffix();
    offer.filters = fd->nameFilters();
    offer.asksBeforeReplacing = !fd->testOption(QFileDialog::DontConfirmOverwrite);
    SaveAs(folder, name.isEmpty() ? offer.name : name)(d);
  };
}
