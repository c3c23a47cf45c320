// Stand-in for the stored-picture decoder until the decoder itself is linked in: every
// picture is missing (a null image). The real definition overrides this weak one.
#include "platform/Jpeg.h"

namespace platform {

__attribute__((weak)) QImage StoredPicture(const QString&) {
  return QImage();
}

}  // namespace platform
