// Saving against other processes: a crash in the middle of a save, two
// Tweakforge processes writing at once, and a running Wine server.
#include "registry/machine.h"

#include "registry/errors.h"
#include "registry/registry.h"
#include "registry/text.h"
#include "tests/registry/fake_wine_server.h"
#include "tests/registry/temp_prefix.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace reg;
namespace fs = std::filesystem;

namespace {

// Runs `body` in a child process; the child exits 0 when it returns and 1
// when it throws. Never returns in the child.
pid_t forkChild(const std::function<void()> &body) {
  pid_t pid = ::fork();
  if (pid != 0)
    return pid;
  int status = 0;
  try {
    body();
  } catch (...) {
    status = 1;
  }
  ::_exit(status);
}

int waitExitStatus(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void writeValue(const std::shared_ptr<Machine> &machine,
                const std::string &name, const std::string &text) {
  TRegistry registry(machine);
  registry.setLazyWrite(false);
  if (!registry.OpenKey("Software\\TFTest", true))
    throw RegistryError("cannot open the test key");
  registry.WriteString(name, text);
  registry.CloseKey();
}

std::string readValue(const std::shared_ptr<Machine> &machine,
                      const std::string &key, const std::string &name) {
  TRegistry registry(machine);
  return registry.OpenKey(key, false) ? registry.ReadString(name) : "<no key>";
}

// The payload of save number `round`: long enough that a save takes a while.
std::string payload(int round) {
  std::string text;
  while (text.size() < 20000)
    text += std::to_string(round) + ";";
  return text;
}

TEST(MachineProcessTest, AKilledSaveLeavesTheOldOrTheNewFile) {
  tftest::TempPrefix prefix;
  std::mt19937 random(20240531);
  std::uniform_int_distribution<int> delayUs(0, 12000);
  int killsAfterASave = 0;
  for (int kill = 0; kill < 50; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    pid_t child = forkChild([&] {
      auto machine = Machine::open(prefix.Dir.path());
      for (int round = 0;; ++round)
        writeValue(machine, "Counter", payload(kill * 1000000 + round));
    });
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    auto machine = Machine::open(prefix.Dir.path());
    TRegistry registry(machine);
    ASSERT_NO_THROW(registry.OpenKey("Software\\TFTest", true));
    std::string counter = registry.ReadString("Counter");
    if (!counter.empty()) {
      int round = std::stoi(counter.substr(0, counter.find(';')));
      EXPECT_EQ(counter, payload(round));
      killsAfterASave += round / 1000000 == kill;
    }
    EXPECT_EQ(readValue(machine,
                        "Software\\Microsoft\\Windows\\CurrentVersion"
                        "\\Explorer\\Shell Folders",
                        "Templates"),
              "C:\\WINDOWS\\ShellNew");
  }
  EXPECT_GT(killsAfterASave, 10); // the kills did land among saves
}

TEST(MachineProcessTest, TwoProcessesWritingAtOnceLoseNoUpdate) {
  tftest::TempPrefix prefix;
  constexpr int Rounds = 25;
  int start[2];
  ASSERT_EQ(::pipe(start), 0);
  std::vector<pid_t> children;
  for (int process = 0; process < 2; ++process) {
    children.push_back(forkChild([&, process] {
      ::close(start[1]);
      char go;
      (void)!::read(start[0], &go, 1);
      auto machine = Machine::open(prefix.Dir.path());
      for (int round = 0; round < Rounds; ++round)
        writeValue(machine,
                   "P" + std::to_string(process) + "R" + std::to_string(round),
                   std::to_string(round));
    }));
  }
  ::close(start[0]);
  ::close(start[1]); // both children start now
  for (pid_t child : children)
    EXPECT_EQ(waitExitStatus(child), 0);

  auto machine = Machine::open(prefix.Dir.path());
  TRegistry registry(machine);
  ASSERT_TRUE(registry.OpenKey("Software\\TFTest", false));
  for (int process = 0; process < 2; ++process)
    for (int round = 0; round < Rounds; ++round)
      EXPECT_EQ(registry.ReadString("P" + std::to_string(process) + "R" +
                                    std::to_string(round)),
                std::to_string(round));
}

class WineServerTest : public ::testing::Test {
protected:
  tftest::TempPrefix Prefix;
  tftest::TempDir Tmp;
  tftest::ScopedEnv TmpDir{"TWEAKFORGE_WINE_TMPDIR", Tmp.path().string()};

  // Where each Wine keeps the server's lock file.
  fs::path wine8LockFile() {
    tftest::writeFile(Prefix.file("wineserver"), "wine-aty6XY\n");
    return Tmp / "wine-aty6XY" / tftest::wineServerDirName(Prefix.Dir.path()) /
           "lock";
  }
  fs::path olderWineLockFile() {
    return Tmp / (".wine-" + std::to_string(::getuid())) /
           tftest::wineServerDirName(Prefix.Dir.path()) / "lock";
  }

  // Tries to save a change; returns the refusal, "" when saved.
  std::string saveChange(const std::string &text = "x") {
    try {
      writeValue(Prefix.M, "V", text);
    } catch (const RegistryError &error) {
      return error.what();
    }
    return "";
  }
};

TEST_F(WineServerTest, SaveIsRefusedWhileAServerHoldsItsLock) {
  for (bool wine8 : {true, false}) {
    SCOPED_TRACE(wine8 ? "Wine 8" : "older Wine");
    fs::path lock = wine8 ? wine8LockFile() : olderWineLockFile();
    std::string before = tftest::readFile(Prefix.file("user.reg"));
    tftest::FakeWineServer server(lock);
    std::string refusal = saveChange(wine8 ? "8" : "7");
    EXPECT_NE(refusal.find("Wine is running for the prefix " +
                           Prefix.Dir.path().string()),
              std::string::npos)
        << refusal;
    EXPECT_NE(
        refusal.find("wineserver process " + std::to_string(server.pid())),
        std::string::npos)
        << refusal;
    EXPECT_NE(refusal.find("`wineserver -k`"), std::string::npos);
    EXPECT_EQ(tftest::readFile(Prefix.file("user.reg")), before);
    EXPECT_TRUE(Prefix.M->hasUnsavedChanges());

    server.stop(); // the lock file stays, without a lock: no server
    Prefix.M->flush();
    EXPECT_FALSE(Prefix.M->hasUnsavedChanges());
    EXPECT_TRUE(tftest::readFile(Prefix.file("user.reg")) != before);
  }
}

TEST_F(WineServerTest, AServerOfAnotherPrefixDoesNotMatter) {
  tftest::TempPrefix other;
  tftest::writeFile(Prefix.file("wineserver"), "wine-aty6XY\n");
  tftest::FakeWineServer server(Tmp / "wine-aty6XY" /
                                tftest::wineServerDirName(other.Dir.path()) /
                                "lock");
  EXPECT_EQ(saveChange(), "");
}

} // namespace
