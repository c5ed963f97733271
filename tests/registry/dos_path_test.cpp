// DOS paths of a prefix, mapped through dosdevices/ as Wine maps them.
#include "registry/dos_path.h"

#include "registry/errors.h"
#include "tests/registry/temp_prefix.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace reg;
namespace fs = std::filesystem;

namespace {

class DosPathTest : public ::testing::Test {
protected:
  DosPathTest() {
    fs::create_directories(C / "WINDOWS" / "ShellNew");
    fs::create_directories(C / "Program Files");
    tftest::writeFile(C / "WINDOWS" / "Win.ini", "");
  }
  tftest::TempPrefix P;
  fs::path C = P.Dir / "drive_c";
};

TEST_F(DosPathTest, DosToHostMatchesExistingComponentsWithoutCase) {
  struct Case {
    const char *Dos;
    std::optional<fs::path> Host;
  };
  const Case cases[] = {
      {"C:\\WINDOWS\\Win.ini", C / "WINDOWS/Win.ini"},
      {"c:\\windows\\WIN.INI", C / "WINDOWS/Win.ini"},
      {"C:\\windows\\shellnew\\TXT.txt", C / "WINDOWS/ShellNew/TXT.txt"},
      {"C:\\New\\Sub\\a.txt", C / "New/Sub/a.txt"},
      {"C:/program files/./x/../Setup.exe", C / "Program Files/Setup.exe"},
      {"C:\\\\WINDOWS\\\\", C / "WINDOWS"},
      {"C:\\..\\..", C},
      {"C:", C},
      {"C:\\", C},
      {"\\txt.txt", C / "txt.txt"},
      {"Z:\\", fs::path("/")},
      {"z:\\TMP", fs::path("/tmp")},
      {"D:\\setup.exe", std::nullopt},
      {"txt.txt", std::nullopt},
      {"C:txt.txt", std::nullopt},
      {"\\\\server\\share\\a.txt", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Dos);
    EXPECT_EQ(dosToHost(*P.M, c.Dos), c.Host);
  }
}

TEST_F(DosPathTest, DosToHostPrefersTheExactNameThenTheFirstByName) {
  fs::create_directories(C / "Dir" / "foo");
  fs::create_directories(C / "Dir" / "FOO");
  fs::create_directories(C / "Dir" / "Foo");
  EXPECT_EQ(dosToHost(*P.M, "C:\\Dir\\Foo"), C / "Dir" / "Foo");
  EXPECT_EQ(dosToHost(*P.M, "C:\\Dir\\fOO"), C / "Dir" / "FOO");
}

// The DOS path of a host file through z: -> /.
std::string onDriveZ(const fs::path &host) {
  std::string dos = "Z:" + fs::weakly_canonical(host).string();
  std::replace(dos.begin(), dos.end(), '/', '\\');
  return dos;
}

TEST_F(DosPathTest, HostToDosUsesTheDeepestDrive) {
  struct Case {
    fs::path Host;
    std::optional<std::string> Dos;
  };
  const Case cases[] = {
      {C / "WINDOWS/ShellNew/a.txt", "C:\\WINDOWS\\ShellNew\\a.txt"},
      {C, "C:\\"},
      {P.Dir / "dosdevices/c:/WINDOWS", "C:\\WINDOWS"},
      {"/etc/passwd", "Z:\\etc\\passwd"},
      {P.file("user.reg"), onDriveZ(P.file("user.reg"))},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.Host);
    EXPECT_EQ(hostToDos(*P.M, c.Host), c.Dos);
  }
  fs::remove(P.Dir / "dosdevices/z:");
  EXPECT_EQ(hostToDos(*P.M, "/etc/passwd"), std::nullopt);
}

TEST_F(DosPathTest, BothWaysAgree) {
  std::optional<fs::path> host = dosToHost(*P.M, "c:\\windows\\win.ini");
  ASSERT_TRUE(host);
  EXPECT_EQ(hostToDos(*P.M, *host), "C:\\WINDOWS\\Win.ini");
}

TEST_F(DosPathTest, CreateDosFileWritesTheContentsAndMissingDirectories) {
  createDosFile(*P.M, "C:\\windows\\shellnew\\txt.txt", "\r\n");
  EXPECT_EQ(tftest::readFile(C / "WINDOWS/ShellNew/txt.txt"), "\r\n");
  createDosFile(*P.M, "C:\\WINDOWS\\ShellNew\\TXT.TXT", "again");
  EXPECT_EQ(tftest::readFile(C / "WINDOWS/ShellNew/txt.txt"), "again");
  createDosFile(*P.M, "C:\\My Templates\\doc.doc", "");
  EXPECT_TRUE(fs::is_regular_file(C / "My Templates/doc.doc"));
}

TEST_F(DosPathTest, CreateDosFileFailsWithCannotCreateFile) {
  const char *cases[] = {
      "D:\\txt.txt",                 // no such drive
      "txt.txt",                     // not absolute
      "C:\\WINDOWS",                 // a directory
      "C:\\WINDOWS\\Win.ini\\a.txt", // below a file
  };
  for (const char *dos : cases) {
    SCOPED_TRACE(dos);
    try {
      createDosFile(*P.M, dos, "x");
      ADD_FAILURE() << "no error";
    } catch (const RegistryError &error) {
      EXPECT_EQ(std::string(error.what()),
                std::string("Cannot create file ") + dos);
    }
  }
}

} // namespace
