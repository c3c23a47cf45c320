// A picture file name corrected to ".bmp" after the save dialog closed ("keep.png" written
// as "keep.bmp") gets the overwrite question the dialog asks for the names it returns:
// declining keeps the existing file as it was; agreeing replaces it. Both for the bench
// picture and for a chart's picture.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>

#include "app/SavePicture.h"
#include "chart/Diagram.h"
#include "platform/Image.h"
#include "platform/SaveDialog.h"
#include "tests/support/Files.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalScript.h"
#include "tests/support/SaveDialogScript.h"

namespace {

// The user answers the overwrite question with the button; the question is recorded.
ModalScript::Action Answer(QMessageBox::StandardButton answer, QString* question) {
  return [answer, question](QDialog& d) {
    auto* box = qobject_cast<QMessageBox*>(&d);
    ASSERT_NE(box, nullptr) << "no question";
    EXPECT_EQ(box->objectName().toStdString(), platform::ReplaceQuestionObjectName);
    EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::No);
    *question = box->text();
    box->button(answer)->click();
  };
}

// Saves through save() into a folder that already holds keep.bmp, typing "keep.png":
// first declining the question, then agreeing.
void CheckCorrectedNameAsksBeforeReplacing(const std::function<void()>& save) {
  MessageRecorder rec;
  QTemporaryDir dir;
  const QString kept = dir.filePath("keep.bmp");
  ASSERT_TRUE(PutFile(kept, "the student's earlier picture"));
  ModalScript script;
  QString question;
  script.Then(SaveAs(dir.path(), "keep.png"));
  script.Then(Answer(QMessageBox::No, &question));
  save();
  ASSERT_EQ(rec.texts.size(), 1u);  // the correction message comes first
  EXPECT_NE(rec.texts[0].find("Формат файлов .png не поддерживается.Произведена коррекция."),
            std::string::npos);
  EXPECT_EQ(question.toStdString(), "keep.bmp уже существует.\nЗаменить его?");
  EXPECT_EQ(FileBytes(kept), "the student's earlier picture");
  EXPECT_FALSE(QFile::exists(dir.filePath("keep.png")));

  script.Then(SaveAs(dir.path(), "keep.png"));
  script.Then(Answer(QMessageBox::Yes, &question));
  save();
  EXPECT_EQ(FileBytes(kept).left(2), "BM");
  EXPECT_EQ(rec.texts.size(), 2u);
}

}  // namespace

TEST(CorrectedFileName, BenchPictureAsksBeforeReplacingTheCorrectedFile) {
  TImage image;
  QImage picture(40, 30, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  image.Picture().Assign(picture);
  CheckCorrectedNameAsksBeforeReplacing([&] { SavePictureAsBmp(image); });
}

TEST(CorrectedFileName, ChartPictureAsksBeforeReplacingTheCorrectedFile) {
  TDiagram chart;
  chart.resize(200, 150);
  CheckCorrectedNameAsksBeforeReplacing([&] { chart.SaveBmpFile(); });
}
