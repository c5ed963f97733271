#include "registry/hive_file.h"

#include "registry/errors.h"
#include "registry/hive_format.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace reg {

namespace fs = std::filesystem;

namespace {

std::string systemError(const std::string &action, const fs::path &path,
                        int error) {
  return action + " " + path.string() + ": " + std::strerror(error);
}

// Closes the descriptor when it goes out of scope.
class FileDescriptor {
public:
  explicit FileDescriptor(int fd) : Fd(fd) {}
  FileDescriptor(const FileDescriptor &) = delete;
  FileDescriptor &operator=(const FileDescriptor &) = delete;
  ~FileDescriptor() {
    if (Fd >= 0)
      ::close(Fd);
  }
  int get() const { return Fd; }
  // Closes now, reporting the error that close() can reveal (NFS, quotas).
  int close() {
    const int result = ::close(Fd);
    Fd = -1;
    return result;
  }

private:
  int Fd;
};

std::string readWholeFile(const fs::path &path) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0)
    throw RegistryError(systemError("Cannot read", path, errno));
  struct stat info {};
  if (::fstat(file.get(), &info) != 0)
    throw RegistryError(systemError("Cannot read", path, errno));
  // One byte more than the file, so that reading it whole does not grow the
  // buffer just to see the end.
  std::string text(static_cast<std::size_t>(info.st_size) + 1, '\0');
  std::size_t done = 0;
  for (;;) {
    if (done == text.size()) // the file grew since fstat
      text.resize(text.size() * 2);
    const ssize_t n =
        ::read(file.get(), text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      throw RegistryError(systemError("Cannot read", path, errno));
    if (n == 0)
      break;
    done += static_cast<std::size_t>(n);
  }
  text.resize(done);
  return text;
}

// A name beside the target that no other writer will pick.
fs::path temporaryName(const fs::path &target) {
  static std::atomic<unsigned> counter{0};
  static thread_local std::mt19937_64 random{std::random_device{}()};
  char suffix[64];
  std::snprintf(suffix, sizeof suffix, ".tf%d-%u-%llx", int(::getpid()),
                counter.fetch_add(1),
                static_cast<unsigned long long>(random()));
  return target.parent_path() /
         ("." + target.filename().string() + suffix + ".tmp");
}

void writeAll(int fd, std::string_view data, const fs::path &target) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      throw RegistryError(systemError("Cannot save", target, errno));
    data.remove_prefix(static_cast<std::size_t>(n));
  }
}

// Buffered writing of the file's text, which comes in pieces (key blocks).
class FileOutput {
public:
  FileOutput(int fd, const fs::path &target) : Fd(fd), Target(target) {
    Buffer.reserve(Capacity);
  }
  void append(std::string_view text) {
    if (Buffer.size() + text.size() > Capacity)
      flush();
    if (text.size() >= Capacity)
      writeAll(Fd, text, Target);
    else
      Buffer.append(text);
  }
  void flush() {
    writeAll(Fd, Buffer, Target);
    Buffer.clear();
  }

private:
  static constexpr std::size_t Capacity = 1 << 20;
  int Fd;
  const fs::path &Target;
  std::string Buffer;
};

using TextProducer = std::function<void(FileOutput &)>;

void syncDirectory(const fs::path &directory, const fs::path &target) {
  FileDescriptor dir(
      ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0 || ::fsync(dir.get()) != 0)
    throw RegistryError(systemError("Cannot save", target, errno));
}

// Replaces `target` with `data` so that a crash leaves the old file or the
// new one, never a mix: a temporary file in the same directory, written and
// flushed, renamed over the target, then the directory entry flushed.
void replaceFileDurably(const fs::path &path, const TextProducer &produce) {
  // Saving through a symbolic link updates the file it points to.
  fs::path target = path;
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    target = fs::weakly_canonical(path, error);
    if (error)
      throw RegistryError("Cannot save " + path.string() + ": " +
                          error.message());
  }
  const fs::path directory =
      target.has_parent_path() ? target.parent_path() : fs::path(".");

  struct stat original {};
  const bool exists = ::stat(target.c_str(), &original) == 0;

  fs::path temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
    temporary = temporaryName(directory / target.filename());
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                0666);
    if (fd < 0 && errno != EEXIST)
      break;
  }
  if (fd < 0)
    throw RegistryError(systemError("Cannot save", target, errno));
  FileDescriptor file(fd);
  try {
    if (exists && ::fchmod(file.get(), original.st_mode & 07777) != 0)
      throw RegistryError(systemError("Cannot save", target, errno));
    FileOutput output(file.get(), target);
    produce(output);
    output.flush();
    if (::fsync(file.get()) != 0 || file.close() != 0)
      throw RegistryError(systemError("Cannot save", target, errno));
    if (::rename(temporary.c_str(), target.c_str()) != 0)
      throw RegistryError(systemError("Cannot save", target, errno));
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
  syncDirectory(directory, target);
}

} // namespace

std::unique_ptr<Hive> parseHive(std::string text, std::string displayName) {
  return HiveReader::parse(std::move(text), std::move(displayName));
}

std::unique_ptr<Hive> loadHiveFile(const fs::path &path) {
  return parseHive(readWholeFile(path), path.filename().string());
}

std::string serializeHive(const Hive &hive) {
  if (HiveWriter::isUnchanged(hive))
    return HiveWriter::source(hive);
  std::string text;
  text.reserve(HiveWriter::source(hive).size() + 4096);
  const HiveWriter::Output append = [&](std::string_view piece) {
    text += piece;
  };
  HiveWriter(hive).write(append, false);
  return text;
}

void saveHiveFile(Hive &hive, const fs::path &path) {
  if (HiveWriter::isUnchanged(hive)) {
    replaceFileDurably(path, [&](FileOutput &output) {
      output.append(HiveWriter::source(hive));
    });
    return;
  }
  // The text goes to the file block by block; only the blocks written anew
  // are kept, beside the loaded text.
  HiveWriter writer(hive);
  replaceFileDurably(path, [&](FileOutput &output) {
    const HiveWriter::Output append = [&](std::string_view piece) {
      output.append(piece);
    };
    writer.write(append, true);
    if (!writer.canAdopt())
      throw RegistryError("Cannot save " + path.string() +
                          ": the hive is too large");
  });
  writer.adopt(hive);
}

} // namespace reg
