#include "platform/resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

static void initCompiledResources() { Q_INIT_RESOURCE(tweakforge); }

namespace tf {

namespace {

QStringList &overriddenDirectories() {
  static QStringList directories;
  return directories;
}

} // namespace

void initResources() {
  static const bool done = (initCompiledResources(), true);
  (void)done;
}

QStringList dataDirectories() {
  if (!overriddenDirectories().isEmpty())
    return overriddenDirectories();
  const QString programDir = QCoreApplication::applicationDirPath();
  return {programDir,
          // An installed tree moved elsewhere as a whole.
          QDir(programDir).filePath(QStringLiteral("../share/tweakforge")),
          QStringLiteral(TF_INSTALLED_DATA_DIR),
          QStringLiteral(TF_SOURCE_RESOURCES_DIR)};
}

void setDataDirectories(const QStringList &directories) {
  overriddenDirectories() = directories;
}

QString findDataFile(const QString &fileName) {
  for (const QString &dir : dataDirectories()) {
    const QString candidate = QDir(dir).filePath(fileName);
    if (QFileInfo(candidate).isFile())
      return candidate;
  }
  return {};
}

} // namespace tf
