#include "app/SavePicture.h"

#include "model/Messages.h"
#include "platform/Bmp.h"
#include "platform/FileNames.h"
#include "platform/Image.h"
#include "platform/SaveDialog.h"

void SavePictureAsBmp(TImage& image) {
  platform::SaveFileRequest request;
  request.overwritePrompt = true;
  request.defaultExt = QStringLiteral("bmp");
  request.filter = QStringLiteral("Bitmaps (*.bmp)|*.bmp");
  request.initialName = QStringLiteral("Рисунок.bmp");
  request.picturePreview = true;
  QString name;
  switch (platform::AskSaveFileName(&image, request, &name)) {
    case platform::SaveFileOutcome::Unavailable:
      lab::ShowMessage("Не удаётся сохранить файл. Не достаточно памяти.");
      return;
    case platform::SaveFileOutcome::Cancelled:
      return;
    case platform::SaveFileOutcome::Chosen:
      break;
  }
  if (const std::optional<QString> message = platform::CorrectToBmpName(name)) {
    lab::ShowMessage(message->toStdString());
    if (!platform::MayReplaceFile(&image, name)) return;
  }
  QString error;
  if (!platform::WriteBmpFile(image.Picture().Image(), name, &error)) {
    lab::ShowMessage(error.toStdString());
  }
}
