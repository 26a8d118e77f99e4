// Online play without a network: two machines' rollback sessions fed each other's controls
// late, out of order and in bursts, and the packet decoder fed garbage.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "match/state_fields.h"
#include "match/tick.h"
#include "net/protocol.h"
#include "net/rollback.h"

namespace kelmora {
namespace {

MatchRules TwoPlayersTwoComputers() {
  MatchRules m;
  m.st.stage = 1;
  m.st.playerCharacter = {0, 2, 5, 8};
  m.st.isCpu = {0, 0, 1, 1};
  SetUpRules(m);
  return m;
}

// A player's changes to its seat in one tick: now and then a direction, a press or a release.
net::SeatInput RandomInput(std::mt19937& dice, int seat) {
  net::SeatInput in;
  const auto s = static_cast<int8_t>(seat);
  const int roll = static_cast<int>(dice() % 12);
  const auto dir = static_cast<int16_t>(static_cast<int>(dice() % 3) - 1);
  if (roll == 0) in.Add({ControlKind::StickX, s, dir});
  if (roll == 1) in.Add({ControlKind::StickZ, s, dir});
  if (roll == 2) in.Add({ControlKind::LetGoX, s, dir});
  if (roll == 3) in.Add({ControlKind::PressAction, s, 0});
  if (roll == 4) in.Add({ControlKind::ReleaseAction, s, 0});
  if (roll == 5) in.Add({ControlKind::PressSpecial, s, 0});
  if (roll == 6) in.Add({ControlKind::ReleaseSpecial, s, 0});
  return in;
}

TEST(Rollback, LateControlsEndInTheStatesOfTheSameMatchOnOneMachine) {
  constexpr int kMatchTicks = 700;
  const MatchRules start = TwoPlayersTwoComputers();
  std::mt19937 dice(7);
  std::vector<net::TickInput> inputs(kMatchTicks + 40);
  for (auto& tick : inputs) {
    tick[0] = RandomInput(dice, 0);
    tick[1] = RandomInput(dice, 1);
  }
  // The match on one machine.
  std::vector<MatchRules> reference(kMatchTicks + 1);
  MatchRules one = start;
  for (int t = 1; t <= kMatchTicks; ++t) {
    TickEvents e;
    RunTick(one, net::ControlsOf(inputs[static_cast<size_t>(t)]), e);
    reference[static_cast<size_t>(t)] = one;
  }
  // Two machines, each with its own seat; the other's controls arrive 0 to 7 ticks late.
  const std::array<bool, kSeats> needed{true, true, false, false};
  net::Rollback a(start, needed, 8), b(start, needed, 8);
  struct InFlight {
    int due, tick, seat;
  };
  std::vector<InFlight> toA, toB;
  int checkedA = 0, checkedB = 0;
  for (int step = 1; checkedA < kMatchTicks || checkedB < kMatchTicks; ++step) {
    ASSERT_LT(step, 4 * kMatchTicks) << "the sessions stopped advancing";
    for (auto* s : {&a, &b}) {
      const int seat = s == &a ? 0 : 1;
      const int next = s->current() + 1;
      if (next <= kMatchTicks + 20 && !s->HasInput(next, seat)) {
        s->SetInput(next, seat, inputs[static_cast<size_t>(next)][seat]);
        (s == &a ? toB : toA).push_back({step + static_cast<int>(dice() % 8), next, seat});
      }
    }
    for (auto* queue : {&toA, &toB}) {
      net::Rollback& to = queue == &toA ? a : b;
      std::erase_if(*queue, [&](const InFlight& f) {
        if (f.due > step) return false;
        to.SetInput(f.tick, f.seat, inputs[static_cast<size_t>(f.tick)][f.seat]);
        return true;
      });
    }
    for (auto* s : {&a, &b}) {
      bool ended = false;
      if (s->CanAdvance() && s->current() < kMatchTicks + 20) s->Advance(ended);
      s->Settle();
      int& checked = s == &a ? checkedA : checkedB;
      while (checked < std::min(s->confirmed(), kMatchTicks)) {
        ++checked;
        const MatchRules& want = reference[static_cast<size_t>(checked)];
        const MatchRules& got = s->StateAfter(checked);
        ASSERT_EQ(FirstDifferentField(want.st, want.rnd, got.st, got.rnd), "") << "tick " << checked;
      }
    }
  }
  EXPECT_GT(a.stats().rollbacks, 0) << "late controls that change the match roll it back";
  EXPECT_LE(a.stats().longestRollback, 9);
}

TEST(Rollback, AComputerTakesOverASeatFromTheTickItIsToldOf) {
  const MatchRules start = TwoPlayersTwoComputers();
  net::Rollback r(start, {true, true, false, false}, 8);
  for (int t = 1; t <= 20; ++t) {
    r.SetInput(t, 0, {});
    if (t <= 5) r.SetInput(t, 1, {});
    bool ended = false;
    if (r.CanAdvance()) r.Advance(ended);
  }
  EXPECT_EQ(r.confirmed(), 5) << "seat 1's controls stop at tick 5";
  r.TakeOver(1, 6);
  r.Settle();
  bool ended = false;
  while (r.CanAdvance() && r.current() < 30) {
    r.SetInput(r.current() + 1, 0, {});
    r.Advance(ended);
  }
  r.Settle();
  EXPECT_GE(r.confirmed(), 20);
  EXPECT_EQ(r.StateAfter(5).st.isCpu[1], 0);
  EXPECT_EQ(r.StateAfter(6).st.isCpu[1], 1);
}

// Every packet the decoder takes is whole and in range, and nothing it is given crashes it:
// random bytes, and valid packets cut short, lengthened or with bytes changed.
TEST(PacketDecoder, GarbageIsRefusedAndWhatPassesIsInRange) {
  std::mt19937 dice(3);
  net::Inputs in;
  in.tick = 40;
  net::InputRange range;
  range.seat = 1;
  range.from = 30;
  // Idle ticks and a pad held over three ticks travel as runs of copies.
  for (int t = 0; t < net::kMaxRangeTicks; ++t) range.ticks.push_back(RandomInput(dice, 1));
  for (int t = 3; t < 6; ++t) range.ticks[t] = {}, range.ticks[t].hasPad = true, range.ticks[t].pad = {true, 1, -1, 3};
  in.ranges.push_back(range);
  const std::vector<uint8_t> good = net::Encode(in);
  const auto back = net::Decode(good.data(), good.size());
  ASSERT_TRUE(back);
  ASSERT_EQ(back->inputs.ranges.size(), 1u);
  EXPECT_TRUE(back->inputs.ranges[0].ticks == range.ticks);
  int passed = 0;
  for (int round = 0; round < 20000; ++round) {
    std::vector<uint8_t> bytes = good;
    const int how = round % 4;
    if (how == 0) {
      bytes.resize(dice() % 1400);
      for (auto& b : bytes) b = static_cast<uint8_t>(dice());
      if (bytes.size() > 2) bytes[0] = 'K', bytes[1] = 'M';
    } else if (how == 1) {
      bytes.resize(dice() % bytes.size());
    } else if (how == 2) {
      for (int i = 0; i < 3; ++i) bytes[dice() % bytes.size()] = static_cast<uint8_t>(dice());
    } else {
      bytes.resize(bytes.size() + 1 + dice() % 2000, static_cast<uint8_t>(dice()));
    }
    const auto m = net::Decode(bytes.data(), bytes.size());
    if (!m) continue;
    ++passed;
    if (m->kind != net::MessageKind::Inputs) continue;
    for (const net::InputRange& r : m->inputs.ranges) {
      ASSERT_LT(r.seat, kSeats);
      ASSERT_LE(r.ticks.size(), static_cast<size_t>(net::kMaxRangeTicks));
      for (const net::SeatInput& t : r.ticks) {
        ASSERT_LE(t.count, net::kMaxOpsPerSeat);
        for (int i = 0; i < t.count; ++i) {
          ASSERT_EQ(t.ops[i].seat, r.seat) << "a change only ever to the range's own seat";
          ASSERT_LE(static_cast<int>(t.ops[i].kind), static_cast<int>(ControlKind::ReleaseSpecial));
        }
      }
    }
  }
  EXPECT_GT(passed, 0);
}

// The menu's messages come back as sent, and whatever the decoder takes of changed ones stays
// in the ranges the joiner's menu draws from (a character or stage out of range would pick a
// picture that is not there).
TEST(PacketDecoder, TheMenusMessagesRoundTripAndStayInRange) {
  net::Lobby l;
  l.you = 2;
  l.stage = 4;
  l.cpuOption = 0;
  l.menuCursor = 300;
  l.characters = {0, 5, -1, 8};
  l.owner = {0, 2, net::kNoMachine, 7};
  l.device = {0, 1, net::kNoMachine, 3};
  l.machines = {{0, "Ann"}, {2, "Bob"}, {7, "Cat"}};
  net::MenuPads pads{};
  pads[1] = {-1, 1, 1};
  const std::vector<uint8_t> lobby = net::Encode(l), menu = net::Encode(pads);
  const auto back = net::Decode(lobby.data(), lobby.size());
  ASSERT_TRUE(back && back->kind == net::MessageKind::Lobby);
  EXPECT_EQ(back->lobby.characters, l.characters);
  EXPECT_EQ(back->lobby.owner, l.owner);
  ASSERT_EQ(back->lobby.machines.size(), 3u);
  EXPECT_EQ(back->lobby.machines[2].name, "Cat");
  const auto padsBack = net::Decode(menu.data(), menu.size());
  ASSERT_TRUE(padsBack && padsBack->menuPads == pads);
  std::mt19937 dice(5);
  for (int round = 0; round < 20000; ++round) {
    std::vector<uint8_t> bytes = round % 2 ? lobby : menu;
    for (int i = 0; i < 2; ++i) bytes[3 + dice() % (bytes.size() - 3)] = static_cast<uint8_t>(dice());
    const auto m = net::Decode(bytes.data(), bytes.size());
    if (!m) continue;
    if (m->kind == net::MessageKind::Lobby) {
      ASSERT_TRUE(m->lobby.stage >= 0 && m->lobby.stage <= 5);
      for (int16_t c : m->lobby.characters) ASSERT_TRUE(c >= -1 && c <= 8);
      for (uint8_t d : m->lobby.device) ASSERT_TRUE(d < kSeats || d == net::kNoMachine);
      ASSERT_LE(m->lobby.machines.size(), 5u);
    } else if (m->kind == net::MessageKind::MenuPads) {
      for (const net::MenuDevice& d : m->menuPads) ASSERT_TRUE(d.x >= -1 && d.x <= 1 && d.z >= -1 && d.z <= 1 && d.action <= 1);
    }
  }
}

}  // namespace
}  // namespace kelmora
