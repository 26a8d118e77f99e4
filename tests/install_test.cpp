// Installing the game: an install into a scratch prefix that plays a whole match from another
// working directory and puts every file where the desktop standards expect it, an uninstall that
// removes exactly what was installed, and the two Debian packages (the program and its data)
// with their contents, dependencies and a clean bill from lintian.
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

  // Both components, as `make install` installs them. The record is taken from what the
  // installs say they put in place: CMake's own record of a component is in the build folder,
  // where a packaging run in parallel rewrites it.
  std::string record;
  for (const char* component : {"game", "data"}) {
    const Result install = Shell("cmake --install " + Quote(kBuild) + " --component " + component +
                                 " --prefix " + Quote(prefix));
    ASSERT_EQ(install.status, 0) << install.out;
    std::istringstream lines(install.out);
    for (std::string line; std::getline(lines, line);) {
      for (const std::string said : {"-- Installing: ", "-- Up-to-date: "})
        if (line.rfind(said, 0) == 0 && !fs::is_directory(line.substr(said.size())))
          record += line.substr(said.size()) + "\n";
    }
  }
  const fs::path manifest = dir_ / "install_manifest.txt";
  std::ofstream(manifest) << record;

  // A whole four-computer match, run from an unrelated working directory.
  fs::create_directories(dir_ / "elsewhere");
  const Result match = Shell("cd " + Quote(dir_ / "elsewhere") + " && SDL_AUDIODRIVER=dummy " +
                           Quote(prefix / "games" / "kelmora") + " --headless --match 0:0,1,2,3:1111");
  EXPECT_EQ(match.status, 0) << match.out;
  EXPECT_NE(match.out.find("\"ticks\":1900"), std::string::npos) << match.out;

  EXPECT_EQ(access((prefix / "games" / "kelmora").c_str(), X_OK), 0);
  for (const char* sub : {"model", "tex", "sound"})
    EXPECT_EQ(FilesUnder(share / "kelmora" / sub), FilesUnder(kBuild / sub)) << sub;
  for (int size : {48, 128, 256}) {
    const std::string px = std::to_string(size) + "x" + std::to_string(size);
    EXPECT_EQ(PngSize(share / "icons" / "hicolor" / px / "apps" / (std::string(kAppId) + ".png")),
              std::make_pair(size, size)) << px;
  }
  const Result manual = Shell("gzip -dc " + Quote(share / "man" / "man6" / "kelmora.6.gz"));
  EXPECT_TRUE(manual.status == 0 && manual.out == kelmora::testing::ReadFileText(kSource / "packaging" / "kelmora.6"));
  for (const char* package : {"kelmora", "kelmora-data"}) {
    EXPECT_EQ(FilesUnder(share / "doc" / package), (std::set<std::string>{"changelog.gz", "copyright"})) << package;
  }
  const fs::path desktop = share / "applications" / (std::string(kAppId) + ".desktop");
  const fs::path metainfo = share / "metainfo" / (std::string(kAppId) + ".metainfo.xml");
  const std::string entry = kelmora::testing::ReadFileText(desktop);
  EXPECT_NE(entry.find("\nExec=kelmora\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find(std::string("\nIcon=") + kAppId + "\n"), std::string::npos) << entry;
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
  for (const fs::path& own : {share / "kelmora", share / "doc" / "kelmora", share / "doc" / "kelmora-data"})
    EXPECT_FALSE(fs::exists(own)) << own;
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

// The first version named in a file after `prefix` (the changelog's "kelmora (", the
// metainfo's first release), up to `end`.
std::string VersionAfter(const std::string& text, const std::string& prefix, char end) {
  const size_t at = text.find(prefix);
  if (at == std::string::npos) return "";
  const size_t from = at + prefix.size();
  return text.substr(from, text.find(end, from) - from);
}

TEST_F(Installing, DebianPackagesHoldTheGameAndItsDataAndPassLintian) {
  // gzip instead of the release packages' xz: the same contents in a third of the time.
  const Result pack = Shell("cpack --config " + Quote(kBuild / "CPackConfig.cmake") + " -B " + Quote(dir_) +
                            " -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip");
  ASSERT_EQ(pack.status, 0) << pack.out;
  const fs::path game = dir_ / "kelmora_0.1_amd64.deb", data = dir_ / "kelmora-data_0.1_all.deb";
  ASSERT_TRUE(fs::exists(game) && fs::exists(data)) << pack.out;
  auto contents = [](const fs::path& deb) {
    const Result list = Shell("dpkg-deb --contents " + Quote(deb));
    std::printf("%s (%ju bytes)\n%s", deb.filename().c_str(), static_cast<uintmax_t>(fs::file_size(deb)), list.out.c_str());
    return list.out;
  };
  const std::string gameFiles = contents(game), dataFiles = contents(data);
  for (std::string file : {"usr/games/kelmora", "usr/share/applications/org.kelmora.kelmora.desktop",
                           "usr/share/metainfo/org.kelmora.kelmora.metainfo.xml",
                           "usr/share/icons/hicolor/256x256/apps/org.kelmora.kelmora.png", "usr/share/man/man6/kelmora.6.gz",
                           "usr/share/doc/kelmora/copyright", "usr/share/doc/kelmora/changelog.gz"})
    EXPECT_NE(gameFiles.find("./" + file + "\n"), std::string::npos) << file;
  EXPECT_EQ(gameFiles.find("./usr/share/kelmora/"), std::string::npos);
  for (std::string file : {"usr/share/kelmora/model/bear.x", "usr/share/kelmora/tex/net.bmp",
                           "usr/share/kelmora/sound/bgm.mid", "usr/share/doc/kelmora-data/copyright"})
    EXPECT_NE(dataFiles.find("./" + file + "\n"), std::string::npos) << file;
  EXPECT_EQ(dataFiles.find("./usr/games/"), std::string::npos);

  const Result depends = Shell("dpkg-deb --field " + Quote(game) + " Depends");
  std::printf("Depends: %s", depends.out.c_str());
  for (const char* lib : {"libsdl2-2.0-0", "libsdl2-mixer-2.0-0", "libassimp5", "libepoxy0", "libc6", "libgl1", "libegl1",
                          "kelmora-data (= 0.1)"})
    EXPECT_NE(depends.out.find(lib), std::string::npos) << lib << " in " << depends.out;
  EXPECT_EQ(Shell("dpkg-deb --field " + Quote(data) + " Architecture").out, "all\n");

  // The version is said in three places: the package, its changelog and the metainfo.
  const std::string version = Shell("dpkg-deb --field " + Quote(game) + " Version").out;
  EXPECT_EQ(version, "0.1\n");
  EXPECT_EQ(VersionAfter(kelmora::testing::ReadFileText(kSource / "packaging" / "changelog"), "kelmora (", ')') + "\n", version);
  EXPECT_EQ(VersionAfter(kelmora::testing::ReadFileText(kSource / "packaging" / (std::string(kAppId) + ".metainfo.xml")),
                         "<release version=\"", '"') + "\n", version);

  // No error and no warning; the notes (I:) and the overrides the packages explain are allowed.
  const Result lint = Shell("lintian --tag-display-limit 0 " + Quote(game) + " " + Quote(data));
  std::printf("lintian: %s", lint.out.c_str());
  const std::string said = "\n" + lint.out;
  EXPECT_EQ(lint.status, 0) << lint.out;
  EXPECT_EQ(said.find("\nE: "), std::string::npos) << lint.out;
  EXPECT_EQ(said.find("\nW: "), std::string::npos) << lint.out;
}

}  // namespace
