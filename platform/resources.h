// The program's data: resources compiled into it (help, fallback pictures)
// and data files looked up on disk ("TwkForge.bmp").
#pragma once

#include <QStringList>

namespace tf {

// Registers the compiled-in resources; safe to call more than once.
void initResources();

// The directories searched for data files, in order: beside the executable,
// share/tweakforge next to its bin/, the installed data directory, the
// source tree's resources/ (for a program run from its build directory). The
// current directory is not searched: on Linux the program is rarely started
// from its own directory.
QStringList dataDirectories();
// Replaces the search directories (tests, the screenshot tool); an empty
// list restores the ones above.
void setDataDirectories(const QStringList &directories);

// The first existing file of that name in the data directories; empty when
// there is none.
QString findDataFile(const QString &fileName);

} // namespace tf
