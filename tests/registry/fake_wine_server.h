// A stand-in for a running Wine server: a child process that holds the POSIX
// write lock on the server's lock file, as wineserver does.
#pragma once

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tftest {

// "server-<dev>-<inode>": the name of the prefix's server directory.
inline std::string wineServerDirName(const std::filesystem::path &prefix) {
  struct stat info;
  if (::stat(prefix.c_str(), &info) != 0)
    throw std::runtime_error("stat failed");
  char name[64];
  std::snprintf(name, sizeof name, "server-%llx-%llx",
                static_cast<unsigned long long>(info.st_dev),
                static_cast<unsigned long long>(info.st_ino));
  return name;
}

class FakeWineServer {
public:
  explicit FakeWineServer(const std::filesystem::path &lockFile) {
    std::filesystem::create_directories(lockFile.parent_path());
    int ready[2];
    if (::pipe(ready) != 0)
      throw std::runtime_error("pipe failed");
    Pid = ::fork();
    if (Pid == 0) {
      int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0600);
      struct flock lock {};
      lock.l_type = F_WRLCK;
      lock.l_whence = SEEK_SET;
      char ok = fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0;
      (void)!::write(ready[1], &ok, 1);
      for (;;)
        ::pause();
    }
    ::close(ready[1]);
    char ok = 0;
    (void)!::read(ready[0], &ok, 1);
    ::close(ready[0]);
    if (!ok)
      throw std::runtime_error("the fake server could not take its lock");
  }
  ~FakeWineServer() { stop(); }
  FakeWineServer(const FakeWineServer &) = delete;
  FakeWineServer &operator=(const FakeWineServer &) = delete;

  pid_t pid() const { return Pid; }
  void stop() {
    if (Pid <= 0)
      return;
    ::kill(Pid, SIGKILL);
    ::waitpid(Pid, nullptr, 0);
    Pid = -1;
  }

private:
  pid_t Pid = -1;
};

} // namespace tftest
