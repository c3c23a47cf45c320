// drawassets: draws the stored pictures of the bench and writes them as JPEG files, and the
// program's icon as PNG files.
//   drawassets <folder>                  bench.jpg, circuit1..8.jpg, hello.jpg and the icon
//                                        labbench-<size>.png at every size of IconSizes
//   drawassets <folder> --overlay <png>  also the bench with its hot-spots marked
// The output depends only on this program and the font files, so a rerun gives the same
// bytes.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "tools/BenchPicture.h"
#include "tools/CircuitFigures.h"
#include "tools/DrawKit.h"
#include "tools/JpegWrite.h"

namespace {

constexpr int Quality = 92;

bool WriteBytes(const QDir& dir, const QString& name, const QImage& image,
                const QByteArray& bytes) {
  QFile file(dir.filePath(name));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "drawassets: cannot write %s: %s\n", qPrintable(file.fileName()),
                 qPrintable(file.errorString()));
    return false;
  }
  std::printf("%s  %dx%d  %lld bytes\n", qPrintable(file.fileName()), image.width(), image.height(),
              static_cast<long long>(bytes.size()));
  return true;
}

bool Write(const QDir& dir, const QString& name, const QImage& image) {
  QString why;
  const QByteArray jpeg = drawassets::EncodeJpeg(image, Quality, &why);
  if (jpeg.isEmpty()) {
    std::fprintf(stderr, "drawassets: %s: %s\n", qPrintable(name), qPrintable(why));
    return false;
  }
  return WriteBytes(dir, name, image, jpeg);
}

// The icon keeps its transparency, so it is stored as PNG (no text chunks: same bytes on
// every run).
bool WritePng(const QDir& dir, const QString& name, const QImage& image) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    std::fprintf(stderr, "drawassets: %s: cannot encode PNG\n", qPrintable(name));
    return false;
  }
  return WriteBytes(dir, name, image, png);
}

}  // namespace

int main(int argc, char* argv[]) {
  // Drawing needs fonts but no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 2 && !(args.size() == 4 && args[2] == QLatin1String("--overlay"))) {
    std::fprintf(stderr, "usage: drawassets <folder> [--overlay <file.png>]\n");
    return 2;
  }
  const QDir dir(args[1]);
  if (!dir.exists()) {
    std::fprintf(stderr, "drawassets: no folder %s\n", qPrintable(args[1]));
    return 2;
  }
  drawassets::LoadFonts();

  bool ok = true;
  const QImage bench = drawassets::DrawBench();
  ok = Write(dir, QStringLiteral("bench.jpg"), bench) && ok;
  for (int page = 0; page < model::CircuitCount; ++page)
    ok = Write(dir, QStringLiteral("circuit%1.jpg").arg(page + 1), drawassets::DrawCircuit(page)) &&
         ok;
  ok = Write(dir, QStringLiteral("hello.jpg"), drawassets::DrawTitleCard()) && ok;
  for (const int size : drawassets::IconSizes)
    ok = WritePng(dir, QStringLiteral("labbench-%1.png").arg(size), drawassets::DrawIcon(size)) &&
         ok;

  if (args.size() == 4) {
    if (!drawassets::BenchOverlay(bench).save(args[3], "PNG")) {
      std::fprintf(stderr, "drawassets: cannot write %s\n", qPrintable(args[3]));
      ok = false;
    }
  }
  return ok ? 0 : 1;
}
