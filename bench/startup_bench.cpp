// Start-up cost of Tweakforge against a bare Qt window of the same size, in
// the same run: time from process start until the main window is shown and
// the event loop is idle, and peak memory. The prefix is a copy of the Wine
// 8.0 fixture prefix, so the hives are as large as a real prefix's. Ordinary
// starts reuse one prefix that has seen a start before; first starts get a
// fresh copy each, so they also write the settings key's defaults. All run
// on the offscreen platform.
//   startup_bench [runs]
#include "app/application.h"
#include "app/main_window.h"
#include "app/program.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// The child's side: shows its window, waits until the loop is idle, tells
// the parent through the pipe on fd 3 and ends.
void signalWhenIdle() {
  // Two turns of the loop: the first delivers what showing posted (layout,
  // expose, paint), the second finds nothing left to do.
  QTimer::singleShot(0, [] {
    QTimer::singleShot(0, [] {
      const char ready = 'r';
      if (::write(3, &ready, 1) != 1)
        std::_Exit(3);
      QCoreApplication::quit();
    });
  });
}

int runTweakforge(int argc, char **argv) {
  tf::Application application(argc, argv);
  const auto form = tf::createMainWindow();
  form->show();
  signalWhenIdle();
  return QApplication::exec();
}

// The bare window is the target's reference. The same window with one line
// of text is shown beside it for information only: it tells how much of the
// difference is the font system, which any window with text pays.
int runBareWindow(int argc, char **argv, bool withText) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(tf::TForm1::DesignClientWidth, tf::TForm1::DesignClientHeight);
  if (withText)
    new QLabel(QStringLiteral("Welcomme to Tweakforge"), &window);
  window.show();
  signalWhenIdle();
  return QApplication::exec();
}

struct Sample {
  double milliseconds;
  long peakKilobytes;
};

// A writable copy of the fixture prefix, and a home, in `work`.
void freshPrefix(const fs::path &work) {
  fs::remove_all(work);
  fs::create_directories(work / "home");
  fs::copy(fs::path(TF_FIXTURES_DIR) / "wine-8.0-prefix", work / "prefix");
  for (const auto &entry : fs::recursive_directory_iterator(work))
    fs::permissions(entry.path(), fs::perms::owner_write,
                    fs::perm_options::add);
  fs::permissions(work / "prefix", fs::perms::owner_all, fs::perm_options::add);
}

// Starts this program in `mode` on the prefix in `work` and measures until
// the child reports idle; peak memory comes from the child's usage.
Sample measure(const char *mode, const fs::path &work) {
  const fs::path prefix = work / "prefix";
  ::setenv("WINEPREFIX", prefix.c_str(), 1);
  ::setenv("HOME", (work / "home").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (work / "home" / "data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (work / "home" / "config").c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

  int ready[2];
  if (::pipe(ready) != 0)
    std::exit(2);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The read end may itself be fd 3: close it before the write end goes there.
  posix_spawn_file_actions_addclose(&actions, ready[0]);
  posix_spawn_file_actions_adddup2(&actions, ready[1], 3);
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  char *const args[] = {const_cast<char *>(self.c_str()),
                        const_cast<char *>(mode), nullptr};
  const auto start = Clock::now();
  pid_t child = 0;
  if (posix_spawn(&child, self.c_str(), &actions, nullptr, args, environ) != 0)
    std::exit(2);
  ::close(ready[1]);
  char byte = 0;
  const bool reported = ::read(ready[0], &byte, 1) == 1;
  const auto idle = Clock::now();
  ::close(ready[0]);
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  posix_spawn_file_actions_destroy(&actions);
  if (!reported || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s did not start cleanly\n", mode);
    std::exit(1);
  }
  return {std::chrono::duration<double, std::milli>(idle - start).count(),
          usage.ru_maxrss};
}

template <typename T> T median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Series {
  std::vector<double> times;
  std::vector<long> memory;

  void add(const Sample &sample) {
    times.push_back(sample.milliseconds);
    memory.push_back(sample.peakKilobytes);
  }
  void print(const char *name) const {
    std::printf("%-28s %8.1f ms  %7ld KiB peak\n", name, median(times),
                median(memory));
  }
};

// Tweakforge's medians against a reference's; true within the targets.
bool compare(const char *name, const Series &ours, const Series &bare,
             const char *note = "(targets: <= 2 x)") {
  const double time = median(ours.times) / median(bare.times);
  const double memory =
      double(median(ours.memory)) / double(median(bare.memory));
  std::printf("%-28s %8.2f x   %7.2f x       %s\n", name, time, memory, note);
  return time <= 2.0 && memory <= 2.0;
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 2 && std::string(argv[1]) == "--tweakforge")
    return runTweakforge(argc, argv);
  if (argc == 2 && std::string(argv[1]) == "--bare")
    return runBareWindow(argc, argv, false);
  if (argc == 2 && std::string(argv[1]) == "--label")
    return runBareWindow(argc, argv, true);

  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const fs::path work =
      fs::temp_directory_path() /
      ("tweakforge-startup-bench-" + std::to_string(::getpid()));
  Series bare, label, ordinary, first;
  freshPrefix(work);
  measure("--tweakforge", work); // the prefix's first start, not counted
  // Alternate the kinds so all see the same machine load.
  for (int run = 0; run < runs; ++run) {
    bare.add(measure("--bare", work));
    label.add(measure("--label", work));
    ordinary.add(measure("--tweakforge", work));
  }
  for (int run = 0; run < runs; ++run) {
    freshPrefix(work);
    first.add(measure("--tweakforge", work));
  }
  fs::remove_all(work);

  std::printf("medians of %d runs\n", runs);
  bare.print("bare Qt window 522 x 412:");
  label.print("same with one label:");
  ordinary.print("tweakforge, ordinary start:");
  first.print("tweakforge, first start:");
  const bool ordinaryOk = compare("ratio, ordinary start:", ordinary, bare);
  compare("ratio, first start:", first, bare);
  compare("ordinary start / label:", ordinary, label, "(for information)");
  return ordinaryOk ? 0 : 1;
}
