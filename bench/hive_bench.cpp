// Load, save and memory figures of the text hive code on a large hive made
// of many copies of Wine's system.reg, each under its own top-level key.
//
//   hive_bench [megabytes]   (default 50)
//
// Targets: load >= 150 MB/s, writing the text >= 300 MB/s (before fsync),
// peak memory of a process that loads the hive <= 2.5 times the file.
#include "registry/hive_file.h"
#include "registry/text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// system.reg's keys again and again, each copy under "CopyN\\".
std::string largeHiveText(std::size_t minimumBytes) {
  const std::string source =
      readFile(fs::path(TF_FIXTURES_DIR) / "wine-8.0-prefix" / "system.reg");
  const std::size_t firstKey = source.find("\n[");
  std::string text = source.substr(0, firstKey);
  const std::string body = source.substr(firstKey);
  for (int copy = 0; text.size() < minimumBytes; ++copy) {
    const std::string prefix = "\n[Copy" + std::to_string(copy) + "\\\\";
    std::size_t from = 0;
    for (std::size_t at; (at = body.find("\n[", from)) != std::string::npos;
         from = at + 2) {
      text.append(body, from, at - from);
      text += prefix;
    }
    text.append(body, from, std::string::npos);
  }
  return text;
}

double cpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) +
         1e-9 * static_cast<double>(now.tv_nsec);
}

// The best of `runs` runs, as wall-clock and as CPU time: the machine is
// shared, and the CPU time shows what the code costs when others wait.
struct Timing {
  double Wall = 1e9;
  double Cpu = 1e9;
};

Timing best(int runs, const std::function<void()> &prepare,
            const std::function<void()> &run) {
  Timing result;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const double cpuStart = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> wall =
        std::chrono::steady_clock::now() - start;
    result.Wall = std::min(result.Wall, wall.count());
    result.Cpu = std::min(result.Cpu, cpuSeconds() - cpuStart);
  }
  return result;
}

void report(const char *what, double megabytes, Timing timing) {
  std::printf("%-30s %6.0f MB/s  (CPU time: %6.0f MB/s)\n", what,
              megabytes / timing.Wall, megabytes / timing.Cpu);
}

void rewriteEveryKey(reg::Key &key) {
  const std::vector<reg::Value> values = key.values();
  if (!values.empty()) {
    key.removeValue(values.front().name);
    key.setValue(values.front().name, values.front().type, values.front().data);
  }
  for (std::size_t i = 0; i < key.childCount(); ++i)
    rewriteEveryKey(key.childAt(i));
}

reg::Key &someKey(reg::Hive &hive) {
  return hive.ensure({u"Copy7", u"Software", u"Classes", u".bmp"});
}

// In a fresh process (run as "--peak MODE FILE"): the peak resident size of
// loading the file, and of loading it and saving one change.
int childPeak(const std::string &mode, const fs::path &file) {
  auto hive = reg::loadHiveFile(file);
  if (mode == "save") {
    someKey(*hive).setValue(u"Bench", reg::REG_DWORD, {1, 0, 0, 0});
    reg::saveHiveFile(*hive, file.string() + ".saved");
  }
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("%ld\n", usage.ru_maxrss);
  return 0;
}

double peakRatio(const char *self, const char *mode, const fs::path &file) {
  const std::string command =
      std::string(self) + " --peak " + mode + " " + file.string();
  FILE *child = ::popen(command.c_str(), "r");
  long kilobytes = 0;
  if (!child || std::fscanf(child, "%ld", &kilobytes) != 1)
    return -1;
  ::pclose(child);
  return kilobytes * 1024.0 / static_cast<double>(fs::file_size(file));
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 4 && std::string(argv[1]) == "--peak")
    return childPeak(argv[2], argv[3]);
  const std::size_t megabytes = argc > 1 ? std::stoul(argv[1]) : 50;

  std::string pattern =
      (fs::temp_directory_path() / "tf-bench-XXXXXX").string();
  const fs::path dir = ::mkdtemp(pattern.data());
  const fs::path file = dir / "system.reg";
  {
    const std::string text = largeHiveText(megabytes << 20);
    std::ofstream(file, std::ios::binary) << text;
  }
  const double mb = static_cast<double>(fs::file_size(file)) / (1 << 20);
  std::printf("hive file: %.1f MB\n", mb);

  std::unique_ptr<reg::Hive> hive;
  report(
      "load", mb,
      best(
          5, [&] { hive.reset(); }, [&] { hive = reg::loadHiveFile(file); }));

  someKey(*hive).setValue(u"Bench", reg::REG_DWORD, {1, 0, 0, 0});
  std::string text;
  const auto dropText = [&] { std::string().swap(text); };
  report("write text, one key changed", mb,
         best(5, dropText, [&] { text = reg::serializeHive(*hive); }));
  report("save with fsync, one change", mb, best(1, dropText, [&] {
           reg::saveHiveFile(*hive, dir / "saved.reg");
         }));

  rewriteEveryKey(hive->root());
  report("write text, every key anew", mb,
         best(5, dropText, [&] { text = reg::serializeHive(*hive); }));
  dropText();
  report("save with fsync, every key anew", mb,
         best(
             1, [] {}, [&] { reg::saveHiveFile(*hive, dir / "saved.reg"); }));
  hive.reset();
  dropText();

  std::printf("%-30s %6.2f x file\n", "peak memory, load",
              peakRatio(argv[0], "load", file));
  std::printf("%-30s %6.2f x file\n", "peak memory, load + save",
              peakRatio(argv[0], "save", file));
  fs::remove_all(dir);
  return 0;
}
