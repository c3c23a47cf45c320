#include "platform/SaveDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <memory>
#include <new>

#include "model/Messages.h"
#include "platform/FileNames.h"
#include "platform/Modal.h"

namespace platform {

QStringList NameFiltersOf(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
    out << (description.contains(QLatin1Char('(')) ? description
                                                   : description + " (" + pattern + ")");
  }
  if (out.isEmpty() && !filter.isEmpty()) out << filter;
  return out;
}

namespace {

// A small picture of the file under the cursor, beside the dialog's list.
void AddPreview(QFileDialog& dialog) {
  auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
  if (grid == nullptr) return;
  auto* preview = new QLabel(&dialog);
  preview->setObjectName(QStringLiteral("PicturePreview"));
  preview->setFixedSize(160, 160);
  preview->setAlignment(Qt::AlignCenter);
  preview->setFrameShape(QFrame::StyledPanel);
  grid->addWidget(preview, 1, grid->columnCount(), grid->rowCount() - 1, 1);
  QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
    QImageReader reader(path);
    const QImage image = reader.canRead() ? reader.read() : QImage();
    if (image.isNull()) {
      preview->clear();
      return;
    }
    preview->setPixmap(QPixmap::fromImage(
        image.scaled(preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  });
}

}  // namespace

const char* const SaveDialogNoMemoryMessage = "Не удаётся сохранить файл. Не достаточно памяти.";

bool ChooseSaveFileName(QWidget* owner, const SaveFileRequest& request, QString* fileName) {
  switch (AskSaveFileName(owner, request, fileName)) {
    case SaveFileOutcome::Chosen:
      return true;
    case SaveFileOutcome::Cancelled:
      return false;
    case SaveFileOutcome::Unavailable:
      lab::ShowMessage(SaveDialogNoMemoryMessage);
      return false;
  }
  return false;
}

SaveFileOutcome AskSaveFileName(QWidget* owner, const SaveFileRequest& request, QString* fileName) {
  std::unique_ptr<QFileDialog> dialog;
  try {
    dialog = std::make_unique<QFileDialog>(owner);
  } catch (const std::bad_alloc&) {
    return SaveFileOutcome::Unavailable;
  }
  dialog->setObjectName(QLatin1String(SaveDialogObjectName));
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
  dialog->setNameFilters(NameFiltersOf(request.filter));
  dialog->setDefaultSuffix(request.defaultExt);
  if (request.picturePreview) AddPreview(*dialog);
  // Start in the current folder, as a save dialog without an initial folder does, not in
  // the folder the toolkit remembered from an earlier run: the program keeps no state from
  // one start to the next, and a remembered folder such as /proc can stall the listing.
  dialog->setDirectory(QDir::currentPath());
  if (!request.initialName.isEmpty()) dialog->selectFile(request.initialName);
  if (ShowModal(*dialog) != QDialog::Accepted) return SaveFileOutcome::Cancelled;
  const QStringList chosen = dialog->selectedFiles();
  if (chosen.isEmpty()) return SaveFileOutcome::Cancelled;
  if (fileName != nullptr) *fileName = chosen.front();
  return SaveFileOutcome::Chosen;
}

bool CorrectSaveName(QWidget* owner, QString& name, const QString& ext) {
  const std::optional<QString> message = CorrectFileExt(name, ext);
  if (!message) return true;
  lab::ShowMessage(message->toStdString());
  // The corrected name is a file nobody was asked about yet.
  return MayReplaceFile(owner, name);
}

bool MayReplaceFile(QWidget* owner, const QString& fileName) {
  const QFileInfo info(fileName);
  if (!info.exists()) return true;
  // The very question (title, text, buttons, default No) that the save dialog asks.
  QMessageBox box(
      QMessageBox::Warning, QCoreApplication::translate("QFileDialog", "Save As"),
      QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
          .arg(info.fileName()),
      QMessageBox::Yes | QMessageBox::No, owner);
  box.setObjectName(QLatin1String(ReplaceQuestionObjectName));
  box.setDefaultButton(QMessageBox::No);
  return ShowModal(box) == QMessageBox::Yes;
}

}  // namespace platform
