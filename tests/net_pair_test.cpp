// Two machines on loopback: a host and a joiner, each a whole program with its own script,
// under a clean and a bad network. Both must write the same dump and event log of confirmed
// ticks, and the host's recording must play back offline to the same dump.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

namespace kelmora {
namespace {

namespace fs = std::filesystem;

constexpr int kTicks = 250;
const char* const kMatch = "1:0,2,5,8:0011";

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The first n lines of a file.
std::string Lines(const fs::path& p, int n) {
  std::ifstream in(p, std::ios::binary);
  std::string out, line;
  for (int i = 0; i < n && std::getline(in, line); ++i) out += line + "\n";
  return out;
}

// Keys of both players: walks, scoops and throws, now and then a special.
std::string PlayerScript(int seat, unsigned seed) {
  const int left = seat == 0 ? 37 : 65, right = seat == 0 ? 39 : 68, up = seat == 0 ? 38 : 87, down = seat == 0 ? 40 : 83;
  std::mt19937 dice(seed);
  std::ostringstream s;
  for (int t = 3; t < kTicks + 20; t += 4 + static_cast<int>(dice() % 6)) {
    const int keys[] = {left, right, up, down};
    const int key = keys[dice() % 4];
    s << t << " key-down " << key << " 0\n" << t + 3 << " key-up " << key << " 0\n";
    if (dice() % 3 == 0) {
      if (seat == 0) {
        s << t + 1 << " key-down 17 2\n" << t + 2 << " key-up 17 0\n";
      } else {
        s << t + 1 << " key-down 70 0\n" << t + 2 << " key-up 70 0\n";
      }
    }
    if (dice() % 11 == 0) s << t + 1 << " key-down " << (seat == 0 ? "16 1" : "71 0") << "\n" << t + 2 << " key-up " << (seat == 0 ? "16 0" : "71 0") << "\n";
  }
  return s.str();
}

struct Pair {
  fs::path dir;
  int port;
  std::string hostErr, joinErr;
  int hostStatus = -1, joinStatus = -1;
  bool menu = false;  // the machines meet in the host's menu instead of a set match

  explicit Pair(const std::string& name) {
    dir = fs::temp_directory_path() / ("kelmora-net-" + name + "-" + std::to_string(getpid()));
    fs::create_directories(dir);
    port = 20000 + static_cast<int>((getpid() * 7 + std::hash<std::string>()(name)) % 20000);
    std::ofstream(dir / "host.txt") << PlayerScript(0, 11);
    std::ofstream(dir / "join.txt") << PlayerScript(1, 12);
  }
  ~Pair() {
    if (!::testing::Test::HasFailure()) fs::remove_all(dir);
  }

  std::string Peer(const std::string& role, const std::string& extra, const std::string& prefix) const {
    const fs::path d = dir;
    std::string c = "SDL_AUDIODRIVER=dummy " + prefix + KELMORA_BINARY + " --headless --tick-ms 10 --stop-after " +
                    std::to_string(kTicks) + " --dump " + (d / (role + ".jsonl")).string() + " --events " +
                    (d / (role + ".events")).string() + " --script " + (d / (role + ".txt")).string() + " " + extra;
    if (menu) {
      c += role == "host" ? " --name Ann --host " + std::to_string(port) : " --name Bob --join 127.0.0.1:" + std::to_string(port);
    } else if (role == "host") {
      c += " --record " + (d / (role + ".rec")).string();
      c += " --host " + std::to_string(port) + " --match " + kMatch + " --seats 0";
    } else {
      c += " --record " + (d / (role + ".rec")).string() + " --join 127.0.0.1:" + std::to_string(port) + " --seats 1";
    }
    return c + " > " + (d / (role + ".out")).string() + " 2> " + (d / (role + ".err")).string();
  }

  // Runs both; a prefix goes before a peer's command (a timeout that kills it).
  void Run(const std::string& hostExtra, const std::string& joinExtra, const std::string& joinPrefix = "",
           const std::string& hostPrefix = "") {
    const std::string script = "(" + Peer("host", hostExtra, hostPrefix) + "; echo $? > " + (dir / "host.rc").string() +
                               ") & sleep 0.3; " + Peer("join", joinExtra, joinPrefix) + "; echo $? > " +
                               (dir / "join.rc").string() + "; wait";
    std::system(("sh -c '" + script + "'").c_str());
    hostStatus = std::stoi("0" + Slurp(dir / "host.rc"));
    joinStatus = std::stoi("0" + Slurp(dir / "join.rc"));
    hostErr = Slurp(dir / "host.err");
    joinErr = Slurp(dir / "join.err");
  }

  // The host's recording played back on one machine gives the host's dump.
  void ExpectReplayGivesTheHostsDump() const {
    const std::string cmd = std::string("SDL_AUDIODRIVER=dummy ") + KELMORA_BINARY + " --headless --match " + kMatch +
                            " --script " + (dir / "host.rec").string() + " --dump " + (dir / "offline.jsonl").string() +
                            " > /dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_TRUE(Lines(dir / "offline.jsonl", kTicks) == Slurp(dir / "host.jsonl")) << "the offline replay of the recording";
  }

  void ExpectSameFiles() const {
    EXPECT_EQ(hostStatus, 0) << hostErr;
    EXPECT_EQ(joinStatus, 0) << joinErr;
    const std::string dump = Slurp(dir / "host.jsonl");
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), kTicks);
    EXPECT_TRUE(dump == Slurp(dir / "join.jsonl")) << "the two dumps differ";
    EXPECT_TRUE(Slurp(dir / "host.events") == Slurp(dir / "join.events")) << "the two event logs differ";
    ExpectReplayGivesTheHostsDump();
  }
};

TEST(OnlinePair, ACleanNetworkGivesBothTheSameMatch) {
  Pair p("clean");
  p.Run("", "");
  p.ExpectSameFiles();
  EXPECT_NE(Slurp(p.dir / "host.out").find("\"net\":{\"rollbacks\":"), std::string::npos);
}

TEST(OnlinePair, LossDelayAndJitterRollBackToTheSameMatch) {
  for (const char* sim : {"5,60,20,1", "10,150,0,2"}) {
    Pair p(std::string("bad") + sim[0]);
    p.Run(std::string("--net-sim ") + sim, std::string("--net-sim ") + sim);
    p.ExpectSameFiles();
    EXPECT_EQ(Slurp(p.dir / "host.out").find("\"rollbacks\":0,"), std::string::npos) << sim << ": no rollback at all";
  }
}

TEST(OnlinePair, ATwoSecondBlackoutIsWaitedOut) {
  Pair p("blackout");
  p.Run("", "--net-blackout 800,2000");
  p.ExpectSameFiles();
  EXPECT_NE(p.hostErr.find("waiting for"), std::string::npos) << p.hostErr;
  EXPECT_EQ(p.hostErr.find("computers play"), std::string::npos) << p.hostErr;
}

TEST(OnlinePair, AJoinerKilledMidMatchGivesItsSeatToAComputer) {
  Pair p("killed");
  p.Run("", "", "timeout -s KILL 1.5 ");
  EXPECT_EQ(p.hostStatus, 0) << p.hostErr;
  EXPECT_NE(p.hostErr.find("computers play 2P"), std::string::npos) << p.hostErr;
  const std::string dump = Slurp(p.dir / "host.jsonl");
  EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), kTicks);
  p.ExpectReplayGivesTheHostsDump();
}

TEST(OnlinePair, GarbageDatagramsAtTheHostChangeNothing) {
  Pair p("garbage");
  std::thread spray([&p] {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(p.port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::mt19937 dice(5);
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 3000; ++i) {
      bytes.resize(1 + dice() % 600);
      for (auto& b : bytes) b = static_cast<uint8_t>(dice());
      sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
      if (i % 50 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    close(fd);
  });
  p.Run("", "");
  spray.join();
  p.ExpectSameFiles();
}

TEST(OnlinePair, AWatcherWhoComesLateSeesTheSameMatch) {
  Pair p("watch");
  const fs::path d = p.dir;
  const std::string watcher = std::string("sleep 1.2; SDL_AUDIODRIVER=dummy ") + KELMORA_BINARY +
                              " --headless --stop-after " + std::to_string(kTicks) + " --spectate 127.0.0.1:" +
                              std::to_string(p.port) + " --dump " + (d / "watch.jsonl").string() + " --events " +
                              (d / "watch.events").string() + " > /dev/null 2> " + (d / "watch.err").string() +
                              "; echo $? > " + (d / "watch.rc").string();
  std::thread watch([&watcher] { std::system(("sh -c '" + watcher + "'").c_str()); });
  p.Run("", "");
  watch.join();
  p.ExpectSameFiles();
  EXPECT_EQ(Slurp(d / "watch.rc"), "0\n") << Slurp(d / "watch.err");
  EXPECT_TRUE(Slurp(d / "watch.jsonl") == Slurp(d / "host.jsonl")) << "the watcher's dump";
  EXPECT_TRUE(Slurp(d / "watch.events") == Slurp(d / "host.events")) << "the watcher's event log";
}

// Title, then the host's menu on both machines: the host's 1P joins and turns the computer
// players on, the joiner's F key takes the lowest free seat (2P) and its D key steps 2P's
// character; the host's Enter starts the match for both, and the joiner's D walks 2P in it.
TEST(OnlinePair, TheMenuSeatsTheJoinersPlayerAndStartsTheSameMatchOnBoth) {
  Pair p("menu");
  p.menu = true;
  auto press = [](int tick, int key, int shift = 0) {
    return std::to_string(tick) + " key-down " + std::to_string(key) + " " + std::to_string(shift) + "\n" +
           std::to_string(tick + 4) + " key-up " + std::to_string(key) + " 0\n";
  };
  // The host's computers come from its pad's computer button. The joiner's arrows take 2P,
  // step this machine's display mode on its own cursor's row (2P keeps its character), then
  // step 2P's character and walk it in the match.
  std::ofstream(p.dir / "host.txt") << press(5, 13) + press(40, 17, 2) + "60 joy 0 0 0 4\n64 joy 0 0 0 0\n" +
                                           press(200, 13);
  std::ofstream(p.dir / "join.txt") << press(5, 13) + press(40, 17, 2) + press(60, 40) + press(80, 39) +
                                           press(100, 38) + press(120, 39) + "300 key-down 39 0\n350 key-up 39 0\n";
  p.Run("", "");
  EXPECT_EQ(p.hostStatus, 0) << p.hostErr;
  EXPECT_EQ(p.joinStatus, 0) << p.joinErr;
  EXPECT_NE(p.hostErr.find("Bob joined the session"), std::string::npos) << p.hostErr;
  const std::string dump = Slurp(p.dir / "host.jsonl");
  EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), kTicks);
  EXPECT_TRUE(dump == Slurp(p.dir / "join.jsonl")) << "the two dumps differ";
  EXPECT_TRUE(Slurp(p.dir / "host.events") == Slurp(p.dir / "join.events")) << "the two event logs differ";
  EXPECT_NE(dump.find("\"playerCharacter\":[0,2,"), std::string::npos) << dump.substr(0, 400);
  EXPECT_NE(dump.find("\"isCpu\":[0,0,1,1]"), std::string::npos) << dump.substr(0, 400);
  const std::string last = dump.substr(dump.rfind('{'));
  EXPECT_EQ(last.find("\"posX\":[-300,300,"), std::string::npos) << "2P never moved: " << last.substr(0, 300);
}

TEST(OnlinePair, AnotherVersionIsRefusedWithBothNamed) {
  Pair p("version");
  p.Run("", "--net-version 9.9-other", "", "timeout 3 ");
  EXPECT_NE(p.joinStatus, 0);
  EXPECT_NE(p.joinErr.find("refused by the host"), std::string::npos) << p.joinErr;
  EXPECT_NE(p.joinErr.find("9.9-other"), std::string::npos) << p.joinErr;
  EXPECT_NE(p.hostErr.find("refused"), std::string::npos) << p.hostErr;
}

}  // namespace
}  // namespace kelmora
