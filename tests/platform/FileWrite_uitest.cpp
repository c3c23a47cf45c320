#include "platform/FileWrite.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>
#include <csignal>

namespace {

// While it lives, no file of this process may grow beyond `bytes`: a write past that
// fails as on a full disk (and the signal such a write raises is ignored).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousSignal_);
  }
  bool active() const { return active_; }

 private:
  rlimit previous_{};
  void (*previousSignal_)(int) = nullptr;
  bool active_ = false;
};

}  // namespace

TEST(FileWrite, ReplacesAWholeFileOrLeavesTheOldOneAndNoTemporaryFile) {
  QTemporaryDir dir;
  const QString name = dir.filePath("data.csv");
  QString error;
  ASSERT_TRUE(platform::WriteFileReplacing("old", name, &error)) << error.toStdString();
  ASSERT_TRUE(platform::WriteFileReplacing("new", name, &error)) << error.toStdString();
  EXPECT_EQ(FileBytes(name), "new");

  // The disk fills up halfway through a long file.
  const QByteArray big(1 << 20, 'x');
  {
    FileSizeLimit limit(64 * 1024);
    ASSERT_TRUE(limit.active());
    EXPECT_FALSE(platform::WriteFileReplacing(big, name, &error));
  }
  EXPECT_EQ(error.toStdString(), "Не удаётся записать файл " + name.toStdString() +
                                     ": ошибка записи на диск (возможно, диск заполнен).");
  EXPECT_EQ(FileBytes(name), "new");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.csv"});

  // No folder to write in.
  EXPECT_FALSE(platform::WriteFileReplacing("x", dir.filePath("none/data.csv"), &error));
  EXPECT_TRUE(error.endsWith(": папка не существует.")) << error.toStdString();
}
