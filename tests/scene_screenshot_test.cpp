// Screenshots of headless matches: the whole logical screen of a tick, 3D view included.
#include <unistd.h>
#include <gtest/gtest.h>

#include <stb/stb_image.h>
#include <sys/wait.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

int RunForScreenshots(const std::string& args, std::string* err = nullptr) {
  const fs::path errFile = fs::temp_directory_path() / ("kelmora-shot-stderr-" + std::to_string(getpid()) + ".txt");
  const std::string cmd = std::string("SDL_AUDIODRIVER=dummy ") + KELMORA_BINARY + " " + args +
                          " >/dev/null 2>" + errFile.string();
  const int st = std::system(cmd.c_str());
  if (err) {
    std::ifstream f(errFile);
    err->assign(std::istreambuf_iterator<char>(f), {});
  }
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

struct Image {
  int w = 0, h = 0;
  std::vector<uint8_t> rgb;
  explicit Image(const std::string& file) {
    int n = 0;
    if (uint8_t* p = stbi_load(file.c_str(), &w, &h, &n, 3)) {
      rgb.assign(p, p + static_cast<size_t>(w) * h * 3);
      stbi_image_free(p);
    }
  }
  std::array<int, 3> At(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * w + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }
};

class Screenshots : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(fs::path(KELMORA_BUILD_DIR) / "model" / "stage1.x")) GTEST_SKIP() << "no generated models";
    dir_ = fs::temp_directory_path() / ("kelmora-shots-" + std::to_string(getpid()));
    fs::create_directories(dir_);
    std::ofstream(Path("esc.txt")) << "4 key-down 27 0\n";  // end the match after tick 3
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST_F(Screenshots, ATickOfTheFramedModeShowsTheViewInsideBlackAroundIt) {
  std::string err;
  ASSERT_EQ(RunForScreenshots("--headless --match 0:0,1,2,3 --mode 240 --script " + Path("esc.txt") +
                " --screenshot 2:" + Path("framed.png"), &err),
            0) << err;
  const Image img(Path("framed.png"));
  ASSERT_EQ(img.w, 640);
  ASSERT_EQ(img.h, 480);
  EXPECT_EQ(img.At(50, 30), (std::array<int, 3>{0, 0, 0}));  // the view window around the viewport
  // The first stage's sky (0.5, 0.5, 1) at the viewport's top corners.
  for (int x : {101, 498}) {
    const auto c = img.At(x, 66);
    EXPECT_NEAR(c[0], 128, 1);
    EXPECT_NEAR(c[2], 255, 1);
  }
}

TEST_F(Screenshots, TheLastTickWhichRendersNothingShowsThePictureBeforeIt) {
  ASSERT_EQ(RunForScreenshots("--headless --match 0:0,-1,-1,-1 --mode 240 --screenshot 1900:" + Path("last.png")), 0);
  const Image img(Path("last.png"));
  ASSERT_EQ(img.w, 640);
  EXPECT_NE(img.At(300, 215), (std::array<int, 3>{0, 0, 0}));  // the view, not an empty window
}

TEST_F(Screenshots, TheSmallModeShotIs320By240) {
  ASSERT_EQ(RunForScreenshots("--headless --match 0:0,-1,-1,-1 --mode 80 --script " + Path("esc.txt") +
                " --screenshot 1:" + Path("small.png")),
            0);
  const Image img(Path("small.png"));
  EXPECT_EQ(img.w, 320);
  EXPECT_EQ(img.h, 240);
}

// Mean difference of two pictures of one size, per colour channel.
double MeanDifference(const Image& a, const Image& b) {
  double sum = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(a.rgb[i] - b.rgb[i]);
  return sum / static_cast<double>(a.rgb.size());
}

TEST_F(Screenshots, AShotHalfwayBetweenTwoTicksLiesBetweenTheirPictures) {
  std::ofstream(Path("end.txt")) << "62 key-down 27 0\n";
  ASSERT_EQ(RunForScreenshots("--headless --match 0:0,1,2,3:1111 --script " + Path("end.txt") + " --screenshot 60:" +
                              Path("a.png") + " --screenshot 60.5:" + Path("m.png") + " --screenshot 61:" +
                              Path("b.png")),
            0);
  const Image a(Path("a.png")), m(Path("m.png")), b(Path("b.png"));
  ASSERT_TRUE(a.w == m.w && m.w == b.w && a.h == m.h && m.h == b.h && !a.rgb.empty());
  const double whole = MeanDifference(a, b), first = MeanDifference(a, m), second = MeanDifference(m, b);
  ASSERT_GT(whole, 0);
  // Moved part of the way from each: nearer to either tick than the two ticks are to each other.
  EXPECT_GT(first, 0);
  EXPECT_GT(second, 0);
  EXPECT_LT(first, 0.8 * whole);
  EXPECT_LT(second, 0.8 * whole);
  std::string err;
  EXPECT_EQ(RunForScreenshots("--headless --match 0:0,1,2,3 --screenshot 60.x:" + Path("bad.png"), &err), 2);
  EXPECT_NE(err.find("60.x"), std::string::npos) << err;
}

TEST_F(Screenshots, AShotThatCannotBeWrittenIsReportedWithItsFile) {
  const std::string file = Path("no-such-folder/shot.png");
  std::string err;
  EXPECT_EQ(RunForScreenshots("--headless --match 0:0,-1,-1,-1 --script " + Path("esc.txt") + " --screenshot 1:" + file, &err), 1);
  EXPECT_NE(err.find(file), std::string::npos) << err;
}

}  // namespace
