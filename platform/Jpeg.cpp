#include "platform/Jpeg.h"

#include <QFile>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QtGlobal>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "platform/JpegError.h"

// The embedded pictures live in a static library: referencing the resource's initialiser
// keeps the linker from dropping it. Q_INIT_RESOURCE must be used outside any namespace.
static void InitStoredPictures() {
  Q_INIT_RESOURCE(assets);
}

namespace platform {

namespace {

// A picture larger than this is refused before any pixel memory is allocated, so a forged
// header cannot ask for gigabytes.
constexpr long long MaxPixels = 64ll * 1024 * 1024;

struct DecodeJob {
  jpeg_decompress_struct cinfo;
  jpeg::ErrorManager err;
  const QByteArray* data;
  QImage* image;
  bool tooLarge;
  bool noMemory;
};

// Adobe CMYK JPEGs store inverted values; plain ones do not.
QRgb CmykToRgb(const JSAMPLE* p, bool inverted) {
  int c = p[0], m = p[1], y = p[2], k = p[3];
  if (!inverted) {
    c = 255 - c;
    m = 255 - m;
    y = 255 - y;
    k = 255 - k;
  }
  // With inverted values, colour = value * k / 255.
  return qRgb(c * k / 255, m * k / 255, y * k / 255);
}

// Runs the whole decompression. It holds no C++ object with a destructor across a libjpeg
// call, so a long jump back here skips nothing. Returns false after an error or warning.
bool RunDecode(DecodeJob* job) {
  jpeg_decompress_struct* cinfo = &job->cinfo;
  if (setjmp(job->err.jump)) return false;

  jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(job->data->constData()),
               static_cast<unsigned long>(job->data->size()));
  jpeg_read_header(cinfo, TRUE);

  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  if (cmyk) {
    cinfo->out_color_space = JCS_CMYK;
  } else {
#if defined(JCS_ALPHA_EXTENSIONS) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    cinfo->out_color_space = JCS_EXT_BGRA;  // the memory layout of QImage::Format_RGB32
#elif defined(JCS_ALPHA_EXTENSIONS)
    cinfo->out_color_space = JCS_EXT_ARGB;
#else
    cinfo->out_color_space = JCS_RGB;
#endif
  }
  jpeg_calc_output_dimensions(cinfo);
  const long long pixels =
      static_cast<long long>(cinfo->output_width) * static_cast<long long>(cinfo->output_height);
  if (cinfo->output_width == 0 || cinfo->output_height == 0 || pixels > MaxPixels) {
    job->tooLarge = true;
    return false;
  }

  const int w = static_cast<int>(cinfo->output_width);
  const int h = static_cast<int>(cinfo->output_height);
  const bool direct = !cmyk && cinfo->output_components == 4;
  *job->image = QImage(w, h, direct || cmyk ? QImage::Format_RGB32 : QImage::Format_RGB888);
  if (job->image->isNull()) {
    job->noMemory = true;
    return false;
  }
  const bool inverted = cinfo->saw_Adobe_marker;

  jpeg_start_decompress(cinfo);
  // CMYK rows go through a row buffer owned by the library's pool (freed with it).
  JSAMPARRAY cmykRow = cmyk ? (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                          JPOOL_IMAGE, cinfo->output_width * 4, 1)
                            : nullptr;
  while (cinfo->output_scanline < cinfo->output_height) {
    const int y = static_cast<int>(cinfo->output_scanline);
    uchar* line = job->image->scanLine(y);
    if (cmyk) {
      jpeg_read_scanlines(cinfo, cmykRow, 1);
      auto* out = reinterpret_cast<QRgb*>(line);
      for (int x = 0; x < w; ++x) out[x] = CmykToRgb(cmykRow[0] + 4 * x, inverted);
    } else {
      JSAMPROW row = line;
      jpeg_read_scanlines(cinfo, &row, 1);
    }
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& data, QString* error) {
  auto fail = [error](const QString& why) {
    if (error) *error = why;
    return QImage();
  };
  if (data.isEmpty()) return fail(QStringLiteral("Рисунок JPEG: нет данных."));

  QImage image;
  DecodeJob job;
  std::memset(&job.cinfo, 0, sizeof job.cinfo);
  job.data = &data;
  job.image = &image;
  job.tooLarge = false;
  job.noMemory = false;
  job.cinfo.err = jpeg::Install(job.err, true);
  jpeg_create_decompress(&job.cinfo);

  const bool ok = RunDecode(&job);
  jpeg_destroy_decompress(&job.cinfo);
  if (!ok) {
    if (job.tooLarge) return fail(QStringLiteral("Рисунок JPEG: недопустимый размер."));
    if (job.noMemory) return fail(QStringLiteral("Рисунок JPEG: недостаточно памяти."));
    return fail(QStringLiteral("Рисунок JPEG повреждён: ") +
                QString::fromLocal8Bit(job.err.message));
  }
  if (image.format() != QImage::Format_RGB32) image.convertTo(QImage::Format_RGB32);
  if (error) error->clear();
  return image;
}

QImage StoredPicture(const QString& name) {
  if (name.isEmpty()) return {};
  static QMutex mutex;
  static QHash<QString, QImage> cache;
  static bool initialised = false;

  QMutexLocker lock(&mutex);
  if (!initialised) {
    InitStoredPictures();
    initialised = true;
  }
  const auto found = cache.constFind(name);
  if (found != cache.constEnd()) return *found;

  QImage image;
  QFile file(QStringLiteral(":/assets/") + name);
  if (file.open(QIODevice::ReadOnly)) {
    QString why;
    image = DecodeJpeg(file.readAll(), &why);
    if (image.isNull()) qWarning("Stored picture %s: %s", qPrintable(name), qPrintable(why));
  } else {
    qWarning("Stored picture %s is missing", qPrintable(name));
  }
  cache.insert(name, image);
  return image;
}

}  // namespace platform
