// Decoding of the stored pictures with libjpeg: every picture decodes to its size, and
// damaged, truncated or foreign data gives a null image and a reason instead of ending the
// process.
#include "platform/Jpeg.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <jpeglib.h>

namespace {

QByteArray StoredBytes(const QString& name) {
  platform::StoredPicture(name);  // makes sure the embedded resources are registered
  return FileBytes(QStringLiteral(":/assets/") + name);
}

// Position of the first marker 0xFF <code> at or after `from`, or -1.
qsizetype FindMarker(const QByteArray& d, unsigned char code, qsizetype from = 2) {
  for (qsizetype i = from; i + 1 < d.size(); ++i)
    if (static_cast<unsigned char>(d[i]) == 0xFF && static_cast<unsigned char>(d[i + 1]) == code)
      return i;
  return -1;
}

bool HasJpegWriter() {
  return QImageWriter::supportedImageFormats().contains("jpeg");
}

QByteArray QtJpeg(const QImage& image) {
  QByteArray out;
  QBuffer buf(&out);
  buf.open(QIODevice::WriteOnly);
  QImageWriter w(&buf, "jpeg");
  w.setQuality(95);
  w.write(image);
  return out;
}

// A CMYK JPEG of one flat colour, written the way print software does: with an Adobe
// marker and inverted values (255 = no ink).
QByteArray AdobeCmykJpeg(int c, int m, int y, int k) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = 16;
  cinfo.image_height = 8;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);  // CMYK input: no colour transform, Adobe marker written
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  unsigned char row[16 * 4];
  for (int i = 0; i < 16; ++i) {
    row[4 * i] = static_cast<unsigned char>(255 - c);
    row[4 * i + 1] = static_cast<unsigned char>(255 - m);
    row[4 * i + 2] = static_cast<unsigned char>(255 - y);
    row[4 * i + 3] = static_cast<unsigned char>(255 - k);
  }
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW r = row;
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  QByteArray data(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
  std::free(out);
  return data;
}

void ExpectRefused(const QByteArray& data, const char* what) {
  QString why;
  const QImage img = platform::DecodeJpeg(data, &why);
  EXPECT_TRUE(img.isNull()) << what;
  EXPECT_FALSE(why.isEmpty()) << what;
}

}  // namespace

TEST(StoredPicture, EveryPictureDecodesToItsSize) {
  struct Expected {
    const char* name;
    int w, h;
  };
  const Expected all[] = {{"bench.jpg", 952, 477},    {"circuit1.jpg", 300, 250},
                          {"circuit2.jpg", 300, 250}, {"circuit3.jpg", 300, 250},
                          {"circuit4.jpg", 300, 250}, {"circuit5.jpg", 300, 250},
                          {"circuit6.jpg", 300, 250}, {"circuit7.jpg", 300, 250},
                          {"circuit8.jpg", 300, 250}, {"hello.jpg", 400, 300}};
  for (const auto& e : all) {
    const QImage img = platform::StoredPicture(QString::fromLatin1(e.name));
    ASSERT_FALSE(img.isNull()) << e.name;
    EXPECT_EQ(img.width(), e.w) << e.name;
    EXPECT_EQ(img.height(), e.h) << e.name;
    EXPECT_EQ(img.format(), QImage::Format_RGB32) << e.name;
    // A real drawing, not a flat fill: it has both light and dark pixels.
    int light = 0, dark = 0;
    for (int y = 0; y < img.height(); y += 3)
      for (int x = 0; x < img.width(); x += 3) {
        const int g = qGray(img.pixel(x, y));
        light += g > 200;
        dark += g < 80;
      }
    EXPECT_GT(light, 0) << e.name;
    EXPECT_GT(dark, 0) << e.name;
  }
}

TEST(StoredPicture, IsDecodedOnceAndUnknownNamesGiveNull) {
  const QImage a = platform::StoredPicture(QStringLiteral("circuit3.jpg"));
  const QImage b = platform::StoredPicture(QStringLiteral("circuit3.jpg"));
  EXPECT_EQ(a.cacheKey(), b.cacheKey());
  EXPECT_TRUE(platform::StoredPicture(QStringLiteral("circuit9.jpg")).isNull());
  EXPECT_TRUE(platform::StoredPicture(QString()).isNull());
}

TEST(DecodeJpeg, AgreesWithAnIndependentDecoder) {
  const QByteArray data = StoredBytes(QStringLiteral("bench.jpg"));
  ASSERT_FALSE(data.isEmpty());
  const QImage reference = QImage::fromData(data, "JPG").convertToFormat(QImage::Format_RGB32);
  if (reference.isNull()) GTEST_SKIP() << "no JPEG image plugin to compare with";
  QString why = QStringLiteral("stale");
  const QImage ours = platform::DecodeJpeg(data, &why);
  ASSERT_FALSE(ours.isNull()) << why.toStdString();
  EXPECT_TRUE(why.isEmpty());  // success clears the reason
  ASSERT_EQ(ours.size(), reference.size());
  int worst = 0;
  for (int y = 0; y < ours.height(); ++y)
    for (int x = 0; x < ours.width(); ++x) {
      const QRgb a = ours.pixel(x, y), b = reference.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                        std::abs(qBlue(a) - qBlue(b))});
    }
  EXPECT_LE(worst, 2);
}

TEST(DecodeJpeg, GreyscaleAndColourContent) {
  if (!HasJpegWriter()) GTEST_SKIP() << "no JPEG writer to make test data";
  QImage grey(40, 24, QImage::Format_Grayscale8);
  grey.fill(100);
  for (int x = 0; x < 16; ++x)
    for (int y = 0; y < 24; ++y) grey.setPixel(x, y, qRgb(220, 220, 220));
  const QImage g = platform::DecodeJpeg(QtJpeg(grey));
  ASSERT_FALSE(g.isNull());
  EXPECT_EQ(g.size(), QSize(40, 24));
  EXPECT_NEAR(qRed(g.pixel(4, 12)), 220, 3);
  EXPECT_NEAR(qRed(g.pixel(32, 12)), 100, 3);
  EXPECT_EQ(qRed(g.pixel(32, 12)), qBlue(g.pixel(32, 12)));

  QImage colour(32, 16, QImage::Format_RGB32);
  colour.fill(qRgb(200, 30, 40));  // red: catches swapped channels
  const QImage c = platform::DecodeJpeg(QtJpeg(colour));
  ASSERT_FALSE(c.isNull());
  EXPECT_NEAR(qRed(c.pixel(10, 8)), 200, 4);
  EXPECT_NEAR(qGreen(c.pixel(10, 8)), 30, 4);
  EXPECT_NEAR(qBlue(c.pixel(10, 8)), 40, 4);
}

TEST(DecodeJpeg, AdobeCmykBecomesRgb) {
  const QImage red = platform::DecodeJpeg(AdobeCmykJpeg(0, 255, 255, 0));
  ASSERT_FALSE(red.isNull());
  EXPECT_EQ(red.size(), QSize(16, 8));
  EXPECT_NEAR(qRed(red.pixel(5, 4)), 255, 3);
  EXPECT_NEAR(qGreen(red.pixel(5, 4)), 0, 3);
  EXPECT_NEAR(qBlue(red.pixel(5, 4)), 0, 3);
  // Half black ink on cyan: (0, 128, 128) roughly.
  const QImage dim = platform::DecodeJpeg(AdobeCmykJpeg(255, 0, 0, 127));
  ASSERT_FALSE(dim.isNull());
  EXPECT_NEAR(qRed(dim.pixel(5, 4)), 0, 3);
  EXPECT_NEAR(qGreen(dim.pixel(5, 4)), 128, 3);
  EXPECT_NEAR(qBlue(dim.pixel(5, 4)), 128, 3);
}

TEST(DecodeJpeg, TruncatedDataGivesNullAndReason) {
  const QByteArray data = StoredBytes(QStringLiteral("circuit2.jpg"));
  ASSERT_GT(data.size(), 1000);
  const qsizetype n = data.size();
  for (qsizetype cut : {qsizetype(1), qsizetype(2), qsizetype(3), qsizetype(20), qsizetype(150),
                        qsizetype(600), n / 4, n / 2, n - 200, n - 2, n - 1})
    ExpectRefused(data.left(cut), qPrintable(QStringLiteral("cut at %1 of %2").arg(cut).arg(n)));
  // The whole file still decodes: the refusals above come from the cuts.
  EXPECT_FALSE(platform::DecodeJpeg(data).isNull());
}

TEST(DecodeJpeg, DamagedDataGivesNullAndReason) {
  const QByteArray good = StoredBytes(QStringLiteral("circuit6.jpg"));
  ASSERT_FALSE(good.isEmpty());

  QByteArray noStart = good;
  noStart[0] = 'J';
  ExpectRefused(noStart, "start marker overwritten");

  const qsizetype dht = FindMarker(good, 0xC4);
  ASSERT_GT(dht, 0);
  QByteArray badHuffman = good;
  for (int i = 5; i < 21; ++i) badHuffman[dht + i] = static_cast<char>(0xFF);  // code counts
  ExpectRefused(badHuffman, "Huffman table counts");

  const qsizetype sof = FindMarker(good, 0xC0);
  ASSERT_GT(sof, 0);
  QByteArray noComponents = good;
  noComponents[sof + 9] = 0;  // number of components
  ExpectRefused(noComponents, "zero components");

  // An end-of-image marker in the middle of the compressed data.
  const qsizetype sos = FindMarker(good, 0xDA);
  ASSERT_GT(sos, 0);
  QByteArray earlyEnd = good;
  const qsizetype mid = sos + (good.size() - sos) / 2;
  earlyEnd[mid] = static_cast<char>(0xFF);
  earlyEnd[mid + 1] = static_cast<char>(0xD9);
  ExpectRefused(earlyEnd, "end marker inside the scan");
}

TEST(DecodeJpeg, ForgedHugeSizeIsRefusedBeforeAllocating) {
  QByteArray forged = StoredBytes(QStringLiteral("circuit1.jpg"));
  const qsizetype sof = FindMarker(forged, 0xC0);
  ASSERT_GT(sof, 0);
  // Height and width: 65000 x 65000.
  forged[sof + 5] = static_cast<char>(0xFD);
  forged[sof + 6] = static_cast<char>(0xE8);
  forged[sof + 7] = static_cast<char>(0xFD);
  forged[sof + 8] = static_cast<char>(0xE8);
  QString why;
  EXPECT_TRUE(platform::DecodeJpeg(forged, &why).isNull());
  EXPECT_TRUE(why.contains(QStringLiteral("размер"))) << why.toStdString();
}

TEST(DecodeJpeg, ForeignDataGivesAnError) {
  ExpectRefused(QByteArray(), "empty");
  ExpectRefused(QByteArray("GIF89a this is not a JPEG picture at all"), "text");
  ExpectRefused(QByteArray(2, static_cast<char>(0xFF)), "two bytes");
  QImage img(8, 8, QImage::Format_RGB32);
  img.fill(Qt::green);
  QByteArray png;
  QBuffer buf(&png);
  buf.open(QIODevice::WriteOnly);
  ASSERT_TRUE(img.save(&buf, "PNG"));
  ExpectRefused(png, "PNG");
  // Without a place for the reason it still just fails.
  EXPECT_TRUE(platform::DecodeJpeg(png).isNull());
}

TEST(DecodeJpeg, RandomDamageNeverEndsTheProcess) {
  const QByteArray good = StoredBytes(QStringLiteral("circuit8.jpg"));
  ASSERT_FALSE(good.isEmpty());
  std::mt19937 rng(20240531);
  int refused = 0;
  for (int round = 0; round < 400; ++round) {
    QByteArray bad = good;
    const int hits = 1 + static_cast<int>(rng() % 8);
    for (int h = 0; h < hits; ++h)
      bad[static_cast<qsizetype>(rng() % static_cast<std::uint32_t>(bad.size()))] =
          static_cast<char>(rng() & 0xFF);
    if (rng() % 4 == 0) bad.truncate(static_cast<qsizetype>(rng() % bad.size()));
    QString why;
    const QImage img = platform::DecodeJpeg(bad, &why);
    if (img.isNull()) {
      ++refused;
      EXPECT_FALSE(why.isEmpty());
    } else {
      EXPECT_TRUE(why.isEmpty());
      EXPECT_GT(img.width(), 0);
      EXPECT_GT(img.height(), 0);
    }
  }
  EXPECT_GT(refused, 100);
}
