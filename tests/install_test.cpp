// Installing the game: an install into a scratch prefix that plays a whole match from another
// working directory and puts every file where the desktop standards expect it, an uninstall that
// removes exactly what was installed, and the Debian package with its contents and dependencies.
#include <unistd.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "test_dirs.h"
#include "command_support.h"
#include "shell/main_window.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = fs::path(KELMORA_TEST_DATA_DIR).parent_path().parent_path();
const char* kAppId = "org.kelmora.kelmora";

using Result = kelmora::testing::CommandResult;

Result Shell(const std::string& cmd) { return kelmora::testing::RunCommand(cmd + " 2>&1"); }

std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }


// Every regular file under a folder, as paths relative to it.
std::set<std::string> FilesUnder(const fs::path& root) {
  std::set<std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (!e.is_directory()) files.insert(fs::relative(e.path(), root).string());
  return files;
}

// Width and height from a PNG's header.
std::pair<int, int> PngSize(const fs::path& p) {
  const std::string b = kelmora::testing::ReadFileText(p);
  if (b.size() < 24 || b.compare(1, 3, "PNG") != 0) return {0, 0};
  auto be = [&](size_t at) {
    return (static_cast<unsigned char>(b[at]) << 24) | (static_cast<unsigned char>(b[at + 1]) << 16) |
           (static_cast<unsigned char>(b[at + 2]) << 8) | static_cast<unsigned char>(b[at + 3]);
  };
  return {be(16), be(20)};
}

class Installing : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kelmora-install-" + std::to_string(getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(Installing, PlaysFromAnotherFolderPutsFilesByTheStandardsAndUninstallsExactly) {
  const fs::path prefix = dir_ / "prefix";
  const fs::path share = prefix / "share";
  // Someone else's file in a shared folder: the uninstall must leave it.
  fs::create_directories(share / "applications");
  std::ofstream(share / "applications" / "other.desktop") << "[Desktop Entry]\n";

  // The install's own record goes to a file of its own, so a real install's record in the
  // build folder is left alone.
  const Result install = Shell("cmake --install " + Quote(kBuild) + " --component Unspecified --prefix " + Quote(prefix));
  ASSERT_EQ(install.status, 0) << install.out;
  const fs::path manifest = dir_ / "install_manifest.txt";
  fs::copy_file(kBuild / "install_manifest_Unspecified.txt", manifest);

  // A whole four-computer match, run from an unrelated working directory.
  fs::create_directories(dir_ / "elsewhere");
  const Result match = Shell("cd " + Quote(dir_ / "elsewhere") + " && SDL_AUDIODRIVER=dummy " +
                           Quote(prefix / "bin" / "kelmora") + " --headless --match 0:0,1,2,3:1111");
  EXPECT_EQ(match.status, 0) << match.out;
  EXPECT_NE(match.out.find("\"ticks\":1900"), std::string::npos) << match.out;

  EXPECT_EQ(access((prefix / "bin" / "kelmora").c_str(), X_OK), 0);
  for (const char* sub : {"model", "tex", "sound"})
    EXPECT_EQ(FilesUnder(share / "kelmora" / sub), FilesUnder(kBuild / sub)) << sub;
  for (int size : {48, 128, 256}) {
    const std::string px = std::to_string(size) + "x" + std::to_string(size);
    EXPECT_EQ(PngSize(share / "icons" / "hicolor" / px / "apps" / "kelmora.png"), std::make_pair(size, size)) << px;
  }
  EXPECT_TRUE(fs::is_regular_file(share / "man" / "man6" / "kelmora.6"));
  const fs::path desktop = share / "applications" / (std::string(kAppId) + ".desktop");
  const fs::path metainfo = share / "metainfo" / (std::string(kAppId) + ".metainfo.xml");
  const std::string entry = kelmora::testing::ReadFileText(desktop);
  EXPECT_NE(entry.find("\nExec=kelmora\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nIcon=kelmora\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("Categories=Game;"), std::string::npos) << entry;
  const std::string meta = kelmora::testing::ReadFileText(metainfo);
  EXPECT_NE(meta.find(std::string("<id>") + kAppId + "</id>"), std::string::npos);
  EXPECT_NE(meta.find(std::string(">") + kAppId + ".desktop</launchable>"), std::string::npos);
  const Result desktopCheck = Shell("desktop-file-validate " + Quote(desktop));
  EXPECT_TRUE(desktopCheck.status == 0 && desktopCheck.out.empty()) << desktopCheck.out;
  const Result metaCheck = Shell("appstreamcli validate --no-net --pedantic " + Quote(metainfo));
  EXPECT_EQ(metaCheck.status, 0) << metaCheck.out;

  const Result uninstall = Shell("cmake -DMANIFEST=" + Quote(manifest) + " -P " + Quote(kSource / "cmake" / "uninstall.cmake"));
  ASSERT_EQ(uninstall.status, 0) << uninstall.out;
  EXPECT_EQ(FilesUnder(prefix), std::set<std::string>{"share/applications/other.desktop"});
  EXPECT_FALSE(fs::exists(share / "kelmora"));
}

TEST(ProgramFolder, IsTheBuildFolderBesideTheProgramOrTheFolderNamedByData) {
  // The test program lives in the build folder, beside the generated assets.
  EXPECT_EQ(fs::path(kelmora::ResolveProgramFolder("")), kBuild.lexically_normal());
  EXPECT_EQ(kelmora::ResolveProgramFolder("/opt/kelmora/data//"), "/opt/kelmora/data");
}

TEST_F(Installing, UninstallWithoutAnInstallRecordRemovesNothing) {
  std::ofstream(dir_ / "keep") << "x";
  const Result r = Shell("cmake -DMANIFEST=" + Quote(dir_ / "missing.txt") + " -P " + Quote(kSource / "cmake" / "uninstall.cmake"));
  EXPECT_NE(r.status, 0);
  EXPECT_TRUE(fs::exists(dir_ / "keep"));
}

TEST_F(Installing, DebianPackageHoldsTheGameAndNamesItsLibraries) {
  // gzip instead of the release package's xz: the same contents in a third of the time.
  const Result pack = Shell("cpack --config " + Quote(kBuild / "CPackConfig.cmake") + " -B " + Quote(dir_) +
                            " -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip");
  ASSERT_EQ(pack.status, 0) << pack.out;
  fs::path deb;
  for (const auto& e : fs::directory_iterator(dir_))
    if (e.path().extension() == ".deb") deb = e.path();
  ASSERT_FALSE(deb.empty()) << pack.out;
  const Result list = Shell("dpkg-deb --contents " + Quote(deb));
  ASSERT_EQ(list.status, 0) << list.out;
  std::printf("%s (%ju bytes)\n%s", deb.filename().c_str(), static_cast<uintmax_t>(fs::file_size(deb)), list.out.c_str());
  for (std::string file : {"usr/bin/kelmora", "usr/share/kelmora/model/bear.x", "usr/share/kelmora/tex/net.bmp",
                           "usr/share/kelmora/sound/bgm.mid", "usr/share/applications/org.kelmora.kelmora.desktop",
                           "usr/share/metainfo/org.kelmora.kelmora.metainfo.xml",
                           "usr/share/icons/hicolor/256x256/apps/kelmora.png", "usr/share/man/man6/kelmora.6"})
    EXPECT_NE(list.out.find("./" + file + "\n"), std::string::npos) << file;
  const Result depends = Shell("dpkg-deb --field " + Quote(deb) + " Depends");
  std::printf("Depends: %s", depends.out.c_str());
  for (const char* lib : {"libsdl2-2.0-0", "libsdl2-mixer-2.0-0", "libassimp5", "libepoxy0", "libc6", "libgl1", "libegl1"})
    EXPECT_NE(depends.out.find(lib), std::string::npos) << lib << " in " << depends.out;
}

}  // namespace
