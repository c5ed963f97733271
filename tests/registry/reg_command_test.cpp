// tweakforge-reg, run as a program on a temporary prefix.
#include "tests/registry/fake_wine_server.h"
#include "tests/registry/temp_prefix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Result {
  int Exit;
  std::string Out;
  std::string Err;
};

class RegCommandTest : public ::testing::Test {
protected:
  tftest::TempPrefix P;
  tftest::TempDir Scratch; // HOME, XDG_DATA_HOME, the Wine tmp dir, output

  // Runs tweakforge-reg with WINEPREFIX set to the test prefix.
  Result reg(const std::vector<std::string> &args) {
    fs::path out = Scratch / "out", err = Scratch / "err";
    pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
      ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
      ::setenv("WINEPREFIX", P.Dir.path().c_str(), 1);
      ::setenv("HOME", Scratch.path().c_str(), 1);
      ::setenv("XDG_DATA_HOME", Scratch.path().c_str(), 1);
      ::setenv("TWEAKFORGE_WINE_TMPDIR", Scratch.path().c_str(), 1);
      std::vector<char *> argv = {const_cast<char *>(TF_TWEAKFORGE_REG)};
      for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
      argv.push_back(nullptr);
      ::execv(TF_TWEAKFORGE_REG, argv.data());
      ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, tftest::readFile(out),
            tftest::readFile(err)};
  }

  void add(const std::vector<std::string> &args) {
    std::vector<std::string> command = {"add"};
    command.insert(command.end(), args.begin(), args.end());
    Result result = reg(command);
    ASSERT_EQ(result.Exit, 0) << result.Err;
    EXPECT_EQ(result.Out, "The operation completed successfully.\r\n");
  }

  std::string userReg() { return tftest::readFile(P.file("user.reg")); }
};

TEST_F(RegCommandTest, FailuresGiveTheirExitCodeAndOneLine) {
  struct Case {
    std::vector<std::string> Args;
    int Exit;
    const char *Message; // part of the line on stderr
  };
  const std::string desktop = "HKCU\\Control Panel\\Desktop";
  const Case cases[] = {
      {{}, 2, "No operation given"},
      {{"frobnicate", "HKCU"}, 2, "Invalid operation [frobnicate]"},
      {{"query"}, 2, "No key given"},
      {{"query", "HKXX\\Software"}, 2, "Invalid key name"},
      {{"query", "HKCU\\Software\\\\Wine"}, 2, "Invalid key name"},
      {{"query", "HKCU", "/v"}, 2, "needs an argument"},
      {{"query", "HKCU", "/v", "a", "/ve"}, 2, "only one of"},
      {{"query", "HKCU", "/s", "/S"}, 2, "given twice"},
      {{"query", "HKCU", "/va"}, 2, "Invalid option [/va]"},
      {{"query", "HKCU", "extra"}, 2, "Invalid option [extra]"},
      {{"add", "HKCU\\Software\\T", "/t", "REG_DWORD", "/d", "12x"},
       2,
       "valid integer"},
      {{"add", "HKCU\\Software\\T", "/t", "REG_DWORD", "/d", "0x100000000"},
       2,
       "valid integer"},
      {{"add", "HKCU\\Software\\T", "/t", "REG_FOO"},
       2,
       "Unsupported registry data type [REG_FOO]"},
      {{"add", "HKCU\\Software\\T", "/t", "REG_BINARY", "/d", "0g"},
       2,
       "valid hexadecimal value"},
      {{"delete", "HKCU\\Software\\T", "/v", "a", "/va"}, 2, "only one of"},
      {{"delete", "HKCR"}, 2, "root key"},
      {{"query", "HKCU\\Software\\Missing"},
       1,
       "Unable to find the specified registry key"},
      {{"query", desktop, "/v", "Missing"},
       1,
       "Unable to find the specified registry value"},
      {{"delete", "HKCU\\Software\\Missing", "/f"},
       1,
       "Unable to find the specified registry key"},
      {{"delete", desktop, "/v", "Missing"},
       1,
       "Unable to find the specified registry value"},
      {{"delete", desktop, "/ve"},
       1,
       "Unable to find the specified registry value"},
  };
  std::string before = userReg();
  for (const Case &c : cases) {
    std::string label;
    for (const std::string &arg : c.Args)
      label += arg + " ";
    SCOPED_TRACE(label);
    Result result = reg(c.Args);
    EXPECT_EQ(result.Exit, c.Exit);
    EXPECT_NE(result.Err.find(c.Message), std::string::npos) << result.Err;
    EXPECT_EQ(std::count(result.Err.begin(), result.Err.end(), '\n'), 1);
  }
  EXPECT_EQ(userReg(), before); // no failed command wrote anything
}

TEST_F(RegCommandTest, HelpPrintsTheUsage) {
  for (const char *help : {"--help", "/?"}) {
    Result result = reg({help});
    EXPECT_EQ(result.Exit, 0);
    EXPECT_NE(result.Out.find("tweakforge-reg add    KEY [/v NAME | /ve] "
                              "[/t TYPE] [/d DATA] [/f]"),
              std::string::npos);
    EXPECT_NE(result.Out.find("never ask for"), std::string::npos);
  }
  EXPECT_EQ(reg({"query", "/?"}).Exit, 0);
}

TEST_F(RegCommandTest, QueryPrintsWhatWineRegPrints) {
  const std::string key = "HKCU\\Software\\TFTest";
  add({key, "/ve", "/d", "default", "/f"});
  add({key, "/v", "bin", "/t", "REG_BINARY", "/d", "000102ff"});
  add({key, "/v", "dw", "/t", "REG_DWORD", "/d", "0xffffffff"});
  add({key + "\\Sub", "/v", "s", "/d", "a b"});
  add({key + "\\Sub\\Empty"});

  const std::string top = "\r\n"
                          "HKEY_CURRENT_USER\\Software\\TFTest\r\n"
                          "    (Default)    REG_SZ    default\r\n"
                          "    bin    REG_BINARY    000102FF\r\n"
                          "    dw    REG_DWORD    0xffffffff\r\n"
                          "\r\n";
  const std::string sub = "HKEY_CURRENT_USER\\Software\\TFTest\\Sub\r\n"
                          "    s    REG_SZ    a b\r\n"
                          "\r\n";
  struct Case {
    std::vector<std::string> Args;
    std::string Out;
  };
  const Case cases[] = {
      {{"query", key}, top + "HKEY_CURRENT_USER\\Software\\TFTest\\Sub\r\n"},
      {{"query", key + "\\", "/s"},
       top + sub + "HKEY_CURRENT_USER\\Software\\TFTest\\Sub\\Empty\r\n\r\n"},
      {{"query", "HKEY_CURRENT_USER\\Software\\TFTest\\Sub\\Empty"}, "\r\n"},
      {{"query", key, "/v", "dw"},
       "\r\nHKEY_CURRENT_USER\\Software\\TFTest\r\n"
       "    dw    REG_DWORD    0xffffffff\r\n\r\n"},
      {{"query", "hkcu\\software\\tftest", "/v", "DW"},
       "\r\nHKEY_CURRENT_USER\\software\\tftest\r\n"
       "    DW    REG_DWORD    0xffffffff\r\n\r\n"},
      {{"query", key + "\\Sub", "/ve"},
       "\r\nHKEY_CURRENT_USER\\Software\\TFTest\\Sub\r\n"
       "    (Default)    REG_SZ    (value not set)\r\n"},
      {{"query", key, "/v", "s", "/s"},
       "\r\n" + sub + "End of search: 1 match(es) found.\r\n"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Args.back());
    Result result = reg(c.Args);
    EXPECT_EQ(result.Exit, 0) << result.Err;
    EXPECT_EQ(result.Out, c.Out);
    EXPECT_EQ(result.Err, "");
  }
}

TEST_F(RegCommandTest, AddStoresEachTypeAsWineDoes) {
  struct Case {
    std::vector<std::string> Args;
    const char *FileLine;
    const char *QueryLine;
  };
  const Case cases[] = {
      {{"/v", "sz", "/d", "C:\\WINDOWS"},
       "\"sz\"=\"C:\\\\WINDOWS\"",
       "    sz    REG_SZ    C:\\WINDOWS"},
      {{"/v", "e", "/t", "REG_EXPAND_SZ", "/d", "%PATH%"},
       "\"e\"=str(2):\"%PATH%\"",
       "    e    REG_EXPAND_SZ    %PATH%"},
      {{"/v", "m", "/t", "reg_multi_sz", "/d", "a\\0b"},
       "\"m\"=str(7):\"a\\0b\\0\"",
       "    m    REG_MULTI_SZ    a\\0b"},
      {{"/v", "d", "/t", "REG_DWORD", "/d", "42"},
       "\"d\"=dword:0000002a",
       "    d    REG_DWORD    0x2a"},
      {{"/v", "q", "/t", "REG_QWORD", "/d", "0x100000000"},
       "\"q\"=hex(b):00,00,00,00,01,00,00,00",
       "    q    REG_QWORD    0x100000000"},
      {{"/v", "b", "/t", "REG_BINARY", "/d", "ABC"},
       "\"b\"=hex:0a,bc",
       "    b    REG_BINARY    0ABC"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.FileLine);
    std::vector<std::string> args = {"HKCU\\Software\\Types"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    add(args);
    EXPECT_NE(userReg().find(c.FileLine), std::string::npos);
    Result result = reg({"query", "HKCU\\Software\\Types", "/v", c.Args[1]});
    EXPECT_NE(result.Out.find(std::string(c.QueryLine) + "\r\n"),
              std::string::npos)
        << result.Out;
  }
}

TEST_F(RegCommandTest, ClassesRootIsInSystemReg) {
  add({"HKCR\\.tft", "/ve", "/d", "tftfile"});
  EXPECT_NE(tftest::readFile(P.file("system.reg"))
                .find("[Software\\\\Classes\\\\.tft]"),
            std::string::npos);
  Result result = reg({"query", "HKEY_CLASSES_ROOT\\.tft"});
  EXPECT_EQ(result.Out, "\r\nHKEY_CLASSES_ROOT\\.tft\r\n"
                        "    (Default)    REG_SZ    tftfile\r\n\r\n");
  EXPECT_EQ(reg({"query", "HKLM\\Software\\Classes\\.tft", "/ve"}).Exit, 0);
}

TEST_F(RegCommandTest, DeleteRemovesValuesOrTheKey) {
  const std::string key = "HKCU\\Software\\TFTest";
  add({key, "/ve", "/d", "x"});
  add({key, "/v", "a", "/d", "1"});
  add({key, "/v", "b", "/d", "2"});
  add({key + "\\Sub\\Deeper"});

  EXPECT_EQ(reg({"delete", key, "/v", "a", "/f"}).Exit, 0);
  EXPECT_EQ(reg({"query", key, "/v", "a"}).Exit, 1);
  EXPECT_EQ(reg({"query", key, "/v", "b"}).Exit, 0);
  EXPECT_EQ(reg({"delete", key, "/ve"}).Exit, 0);
  EXPECT_EQ(reg({"delete", key, "/va"}).Exit, 0);
  EXPECT_EQ(reg({"query", key}).Out,
            "\r\nHKEY_CURRENT_USER\\Software\\TFTest\\Sub\r\n");
  EXPECT_EQ(reg({"delete", key}).Exit, 0);
  EXPECT_EQ(reg({"query", key}).Exit, 1);
  EXPECT_EQ(userReg().find("TFTest"), std::string::npos);
}

TEST_F(RegCommandTest, WritesAreRefusedWhileWineRuns) {
  tftest::writeFile(P.file("wineserver"), "wine-test\n");
  tftest::FakeWineServer server(
      Scratch / "wine-test" / tftest::wineServerDirName(P.Dir.path()) / "lock");
  std::string before = userReg();
  Result result = reg({"add", "HKCU\\Software\\TFTest", "/v", "a", "/d", "1"});
  EXPECT_EQ(result.Exit, 1);
  EXPECT_NE(result.Err.find("Wine is running for the prefix"),
            std::string::npos)
      << result.Err;
  EXPECT_EQ(userReg(), before);
  EXPECT_EQ(
      reg({"query", "HKCU\\Control Panel\\Desktop", "/v", "Wallpaper"}).Exit,
      0); // reading goes on
}

} // namespace
