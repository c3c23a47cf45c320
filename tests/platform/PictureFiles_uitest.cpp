#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/Bmp.h"
#include "platform/FileNames.h"
#include "platform/SaveDialog.h"

namespace {
int Read32(const QByteArray& b, int at) {
  int v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}
}  // namespace

TEST(Bmp, TwentyFourBitRowsBottomUpPaddedToFourBytes) {
  QImage img(3, 2, QImage::Format_RGB32);
  img.setPixel(0, 0, qRgb(10, 20, 30));  // top left
  img.setPixel(1, 0, qRgb(1, 2, 3));
  img.setPixel(2, 0, qRgb(4, 5, 6));
  img.setPixel(0, 1, qRgb(200, 100, 50));  // bottom left
  img.setPixel(1, 1, qRgb(7, 8, 9));
  img.setPixel(2, 1, qRgb(250, 251, 252));
  const QByteArray b = platform::EncodeBmp24(img);
  const int row = 12;  // 9 bytes padded
  ASSERT_EQ(b.size(), 54 + 2 * row);
  EXPECT_EQ(b.left(2), "BM");
  EXPECT_EQ(Read32(b, 2), b.size());
  EXPECT_EQ(Read32(b, 10), 54);
  EXPECT_EQ(Read32(b, 14), 40);
  EXPECT_EQ(Read32(b, 18), 3);
  EXPECT_EQ(Read32(b, 22), 2);
  EXPECT_EQ(b[28], 24);
  EXPECT_EQ(Read32(b, 30), 0);
  // The bottom row comes first, each pixel blue, green, red.
  EXPECT_EQ(static_cast<unsigned char>(b[54]), 50);
  EXPECT_EQ(static_cast<unsigned char>(b[55]), 100);
  EXPECT_EQ(static_cast<unsigned char>(b[56]), 200);
  EXPECT_EQ(static_cast<unsigned char>(b[54 + row]), 30);
  EXPECT_EQ(static_cast<unsigned char>(b[54 + row + 2]), 10);
  EXPECT_EQ(b[54 + 9], 0);  // padding

  QTemporaryDir dir;
  QString error;
  ASSERT_TRUE(platform::WriteBmpFile(img, dir.filePath("a.bmp"), &error)) << error.toStdString();
  const QImage back(dir.filePath("a.bmp"), "BMP");
  ASSERT_EQ(back.size(), img.size());
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(back.pixel(x, y), img.pixel(x, y));
}

TEST(Bmp, AFailedWriteSaysWhyAndWritesNothing) {
  QTemporaryDir dir;
  QImage img(4, 4, QImage::Format_RGB32);
  img.fill(Qt::red);
  QString error;
  EXPECT_FALSE(platform::WriteBmpFile(img, dir.filePath("missing/x.bmp"), &error));
  EXPECT_TRUE(error.startsWith("Не удаётся записать файл")) << error.toStdString();
  EXPECT_TRUE(error.contains("папка не существует")) << error.toStdString();
  EXPECT_FALSE(platform::WriteBmpFile(QImage(), dir.filePath("y.bmp"), &error));
  EXPECT_FALSE(QFile::exists(dir.filePath("y.bmp")));
  // A directory in the way of the file.
  QDir(dir.path()).mkdir("taken.bmp");
  EXPECT_FALSE(platform::WriteBmpFile(img, dir.filePath("taken.bmp"), &error));
  EXPECT_FALSE(error.isEmpty());
}

TEST(FileNames, ExtensionFromTheLastPointOfTheFilePart) {
  using platform::ChangeFileExt;
  using platform::ExtractFileExt;
  EXPECT_EQ(ExtractFileExt("Graph.BMP"), ".BMP");
  EXPECT_EQ(ExtractFileExt("a.b/graph"), "");
  EXPECT_EQ(ExtractFileExt("a.b\\graph.tar.gz"), ".gz");
  EXPECT_EQ(ExtractFileExt("graph."), ".");
  EXPECT_EQ(ChangeFileExt("dir.v2/graph", ".bmp"), "dir.v2/graph.bmp");
  EXPECT_EQ(ChangeFileExt("graph.jpg", ".bmp"), "graph.bmp");
  EXPECT_EQ(ChangeFileExt("graph.", ".bmp"), "graph.bmp");

  QString name = "Graph.BMP";
  EXPECT_FALSE(platform::CorrectFileExt(name, ".bmp").has_value());
  EXPECT_EQ(name, "Graph.BMP");
  name = "рис.JPG";
  auto m = platform::CorrectFileExt(name, ".bmp");
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(*m, "рис.JPG:\nФормат файлов .jpg не поддерживается.Произведена коррекция.");
  EXPECT_EQ(name, "рис.bmp");
  name = "graph.";
  m = platform::CorrectFileExt(name, ".bmp");
  EXPECT_EQ(*m, "graph.:\nФормат файлов . не поддерживается.Произведена коррекция.");
  EXPECT_EQ(name, "graph.bmp");
}

TEST(SaveDialog, FiltersInDescriptionPatternPairs) {
  EXPECT_EQ(platform::NameFiltersOf("Bitmaps (*.bmp)|*.bmp"), QStringList{"Bitmaps (*.bmp)"});
  EXPECT_EQ(platform::NameFiltersOf("Bitmaps|*.bmp|All|*.*"),
            (QStringList{"Bitmaps (*.bmp)", "All (*.*)"}));
  EXPECT_EQ(platform::NameFiltersOf("Pictures|*.bmp;*.jpg"), QStringList{"Pictures (*.bmp *.jpg)"});
}
