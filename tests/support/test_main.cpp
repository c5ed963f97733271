// The main of every Qt test program: an application object on the offscreen
// platform, a strict fake desktop, and HOME, XDG and WINEPREFIX pointing into
// a temporary directory so nothing can reach the user's own files.
#include "app/application.h"
#include "tests/support/fake_platform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void isolateFromUser(const QTemporaryDir &home) {
  const QByteArray root = home.path().toLocal8Bit();
  qputenv("HOME", root);
  qputenv("XDG_DATA_HOME", root + "/.local/share");
  qputenv("XDG_CONFIG_HOME", root + "/.config");
  qputenv("XDG_CACHE_HOME", root + "/.cache");
  const QString runtime = home.filePath(QStringLiteral("runtime"));
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime,
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
  qputenv("WINEPREFIX", root + "/no-prefix-here");
}

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  isolateFromUser(home);
  testing::InitGoogleTest(&argc, argv);
  tf::Application application(argc, argv);
  // Nothing may ever open a real box: a test that forgot its own fake gets
  // this one, and its leftovers fail the run at exit.
  tf::test::ScopedFakePlatform fallback;
  return RUN_ALL_TESTS();
}
