#include "app/SavePicture.h"

#include "model/Messages.h"
#include "platform/Bmp.h"
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
  if (!platform::ChooseSaveFileName(&image, request, &name)) return;
  if (!platform::CorrectSaveName(&image, name, QStringLiteral(".bmp"))) return;
  QString error;
  if (!platform::WriteBmpFile(image.Picture().Image(), name, &error)) {
    lab::ShowMessage(error.toStdString());
  }
}
