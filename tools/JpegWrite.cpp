#include "tools/JpegWrite.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/JpegError.h"

namespace drawassets {

namespace {

struct EncodeJob {
  jpeg_compress_struct cinfo;
  platform::jpeg::ErrorManager err;
  const QImage* rgb;  // Format_RGB888
  int quality;
  unsigned char* out;
  unsigned long outSize;
};

// No C++ object with a destructor lives across a libjpeg call here, so the long jump from
// the error handler skips nothing.
bool RunEncode(EncodeJob* job) {
  jpeg_compress_struct* cinfo = &job->cinfo;
  if (setjmp(job->err.jump)) return false;
  jpeg_mem_dest(cinfo, &job->out, &job->outSize);
  cinfo->image_width = static_cast<JDIMENSION>(job->rgb->width());
  cinfo->image_height = static_cast<JDIMENSION>(job->rgb->height());
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_RGB;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, job->quality, TRUE);
  cinfo->dct_method = JDCT_ISLOW;
  cinfo->optimize_coding = TRUE;
  for (int c = 0; c < cinfo->num_components; ++c) {
    cinfo->comp_info[c].h_samp_factor = 1;
    cinfo->comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(cinfo, TRUE);
  while (cinfo->next_scanline < cinfo->image_height) {
    JSAMPROW row =
        const_cast<JSAMPROW>(job->rgb->constScanLine(static_cast<int>(cinfo->next_scanline)));
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

}  // namespace

QByteArray EncodeJpeg(const QImage& image, int quality, QString* error) {
  if (image.isNull()) {
    if (error) *error = QStringLiteral("empty picture");
    return {};
  }
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  EncodeJob job;
  std::memset(&job.cinfo, 0, sizeof job.cinfo);
  job.rgb = &rgb;
  job.quality = quality;
  job.out = nullptr;
  job.outSize = 0;
  job.cinfo.err = platform::jpeg::Install(job.err, false);
  jpeg_create_compress(&job.cinfo);
  const bool ok = RunEncode(&job);
  jpeg_destroy_compress(&job.cinfo);

  QByteArray result;
  if (ok) {
    result =
        QByteArray(reinterpret_cast<const char*>(job.out), static_cast<qsizetype>(job.outSize));
  } else if (error) {
    *error = QString::fromLocal8Bit(job.err.message);
  }
  std::free(job.out);  // jpeg_mem_dest's buffer is the caller's to free
  return result;
}

}  // namespace drawassets
