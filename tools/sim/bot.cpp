// SPDX-License-Identifier: GPL-3.0-or-later
// vane-bot: plays a stage on the in-memory back end and prints the keys it held as a key script.
//
// It steers towards power-ups and enemies, fires without pause, spends energy on the boss, holds
// T whenever a bullet comes near, continues after a game over, and leaves the stage once cleared.
// Its scripts feed vane-sim for replay tests and screenshots.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/state.h"
#include "flow/flow.h"
#include "host/host.h"
#include "platform/headless/headless.h"
#include "shell/game.h"
#include "shell/option_table.h"
#include "tools/sim/sim_run.h"
#include "world/actor.h"
#include "world/catalogue.h"

namespace {

using namespace vane;

constexpr int kSafeDistance = 60;  // pixels: nearer bullets make the bot hold T
constexpr int kReachX = 4;         // pixels of slack before it steers
constexpr int kFightY = 380;       // the height it keeps while fighting
constexpr int kClearScreenFrames = 120;

struct Point {
  int x;
  int y;
};

Point pixelOf(const Actor& a) {
  return {pixelX(a), pixelY(a)};
}

bool isBoss(const Actor& a) {
  return kBossTypes.contains(a.type) && a.mode != kHitMode;
}
bool isHittable(const Actor& a) {
  return a.mode != kHitMode && isHittableType(a.type);
}

bool bulletNear(Point ship) {
  for (const Actor* b = World.next[BulletList]; b != nullptr; b = b->next[BulletList]) {
    const Point p = pixelOf(*b);
    if (std::abs(p.x - ship.x) < kSafeDistance && std::abs(p.y - ship.y) < kSafeDistance + 30) {
      return true;
    }
  }
  return false;
}

// The item worth fetching: a power-up below level 3, else the nearest energy ball.
const Actor* wantedItem(const Actor& ship) {
  const Actor* best = nullptr;
  int bestDistance = 1 << 30;
  for (const Actor* i = World.next[ItemList]; i != nullptr; i = i->next[ItemList]) {
    if (i->type == PowerUp && ship.weaponLevel() >= 3) continue;
    const Point p = pixelOf(*i);
    const int d = std::abs(p.x - pixelX(ship)) + std::abs(p.y - pixelY(ship)) -
                  (i->type == PowerUp ? 400 : 0);
    if (p.y > 80 && d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

// The enemy to line up under: the boss if present, else the lowest enemy on the field.
const Actor* wantedEnemy() {
  const Actor* best = nullptr;
  for (const Actor* e = World.next[EnemyList]; e != nullptr; e = e->next[EnemyList]) {
    if (!isHittable(*e) || e->y < 0) continue;
    if (isBoss(*e)) return e;
    if (best == nullptr || e->y > best->y) best = e;
  }
  return best;
}

bool bossAlive() {
  for (const Actor* e = World.next[EnemyList]; e != nullptr; e = e->next[EnemyList]) {
    if (isBoss(*e)) return true;
  }
  return false;
}

void steer(std::vector<int>& keys, Point ship, Point target) {
  if (target.x < ship.x - kReachX) keys.push_back(host::kVkLeft);
  if (target.x > ship.x + kReachX) keys.push_back(host::kVkRight);
  if (target.y < ship.y - kReachX) keys.push_back(host::kVkUp);
  if (target.y > ship.y + kReachX) keys.push_back(host::kVkDown);
}

class Bot {
 public:
  explicit Bot(int stage) : bossFrame_(stage == 1 ? kStage1EndFrame : kStage2EndFrame) {}

  // The keys to hold in this frame; empty once the bot is done.
  std::vector<int> decide(long long f) {
    std::vector<int> keys;
    const Actor* ship = firstPlayer();
    if (ship == nullptr) return keys;
    if (ship->lives() < 0) {
      if (f % 2 == 0) keys.push_back(host::kVkC);
      return keys;
    }
    if (frameCount > bossFrame_ && !bossAlive()) {
      if (++clearFrames_ > kClearScreenFrames) keys.push_back(host::kVkReturn);
      return keys;
    }
    const Point at = pixelOf(*ship);
    const Actor* item = wantedItem(*ship);
    const Actor* enemy = wantedEnemy();
    if (item != nullptr) {
      steer(keys, at, pixelOf(*item));
    } else if (enemy != nullptr) {
      steer(keys, at, {pixelX(*enemy), kFightY});
    }
    if (bulletNear(at) || item == nullptr) keys.push_back(host::kVkT);
    if (f % 2 == 0) keys.push_back(host::kVkShift);
    if (ship->energy() >= 100 && bossAlive() && f % 2 == 1) keys.push_back(host::kVkZ);
    return keys;
  }

 private:
  uint32_t bossFrame_;
  int clearFrames_ = 0;
};

// Wanders through the whole program at random: the title screens, the menu to a stage and ship
// of its choosing, stretches of the bot's play, of random keys and of idling (which ends in game
// overs), continues or returns to the menu after a game over, and the return after a clear.
// Never presses ESCAPE and never takes the menu's quit row, so the run lasts as long as asked.
class Wanderer {
 public:
  explicit Wanderer(uint32_t seed) : random_(seed) {}

  std::vector<int> decide(long long f) {
    switch (gameState) {
      case Stage1:
      case Stage2:
        return inStage(f);
      case Menu:
        return inMenu(f);
      default:
        bot_.reset();
        return f % 2 == 0 ? std::vector<int>{host::kVkSpace} : std::vector<int>{};
    }
  }

 private:
  enum class Mode { Bot, Random, Idle };

  int below(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }

  std::vector<int> inMenu(long long f) {
    bot_.reset();
    if (!menuChosen_) {
      targetStage_ = 1 + below(2);
      targetShip_ = 1 + below(2);
      menuChosen_ = true;
    }
    // Up and Down act once per press, so every other frame holds nothing.
    if (f % 2 == 1) return {};
    const int row = World.menuCursor();
    const int wantedRow = World.stageChoice() != targetStage_ ? StageRow
                          : World.shipChoice() != targetShip_ ? ShipRow
                                                              : StartRow;
    if (row > wantedRow) return {host::kVkUp};
    if (row < wantedRow) return {host::kVkDown};
    if (row == StageRow)
      return {World.stageChoice() < targetStage_ ? host::kVkRight : host::kVkLeft};
    if (row == ShipRow) return {World.shipChoice() < targetShip_ ? host::kVkRight : host::kVkLeft};
    menuChosen_ = false;
    return {host::kVkReturn};
  }

  std::vector<int> inStage(long long f) {
    if (!bot_) {
      bot_.emplace(gameState == Stage1 ? 1 : 2);
      modeLeft_ = 0;
    }
    const Actor* ship = firstPlayer();
    if (ship != nullptr && ship->lives() < 0) {
      // Game over: mostly continue, sometimes go back to the menu.
      if (gameOverChoice_ == 0) gameOverChoice_ = below(4) == 0 ? host::kVkReturn : host::kVkC;
      return f % 2 == 0 ? std::vector<int>{gameOverChoice_} : std::vector<int>{};
    }
    gameOverChoice_ = 0;
    if (modeLeft_-- <= 0) {
      const int pick = below(10);
      mode_ = pick < 6 ? Mode::Bot : (pick < 9 ? Mode::Random : Mode::Idle);
      modeLeft_ = 200 + below(1800);
    }
    switch (mode_) {
      case Mode::Bot:
        return bot_->decide(f);
      case Mode::Idle:
        return {};
      case Mode::Random:
        break;
    }
    if (below(12) == 0) {
      held_.clear();
      for (const int key : kStageKeys) {
        if (below(3) == 0) held_.push_back(key);
      }
    }
    return held_;
  }

  static constexpr int kStageKeys[] = {
      host::kVkLeft, host::kVkRight, host::kVkUp,    host::kVkDown,   host::kVkShift,
      host::kVkZ,    host::kVkT,     host::kVkSpace, host::kVkReturn, host::kVkNumpad4};
  std::mt19937 random_;
  std::optional<Bot> bot_;
  Mode mode_ = Mode::Bot;
  int modeLeft_ = 0;
  std::vector<int> held_;
  bool menuChosen_ = false;
  int targetStage_ = 1;
  int targetShip_ = 1;
  int gameOverChoice_ = 0;
};

std::string scriptLine(long long f, const std::vector<int>& keys) {
  std::string line = std::to_string(f);
  for (int k : keys) {
    line += ' ';  // not " " + std::to_string(k), of which GCC 12 warns falsely at -O3
    line += std::to_string(k);
  }
  return line;
}

// Drives the main loop as vane-sim does when it replays a script (keys set, key-downs posted and
// handled, then the frame), printing the keys `decide(f)` holds in each frame as script lines.
template <typename Decide, typename More>
class ScriptPrinter : public LoopObserver {
 public:
  ScriptPrinter(long long frames, Decide decide, More more, platform::HeadlessBackend& backend)
      : frames_(frames), decide_(decide), more_(more), backend_(backend) {}

  Next beforeFrame() override {
    if (f_ > frames_ || !more_()) return Next::Stop;
    if (keysSet_) return Next::RunFrame;
    keysSet_ = true;
    std::vector<int> keys = decide_(f_);
    if (f_ == 1 || keys != held_) std::printf("%s\n", scriptLine(f_, keys).c_str());
    bool posted = false;
    for (int k = 0; k < 256; ++k) {
      if (host::keyHeld(k) && std::find(keys.begin(), keys.end(), k) == keys.end()) {
        host::scriptKeyUp(k);
      }
    }
    for (int k : keys) {
      if (host::keyHeld(k)) continue;
      host::scriptKeyHold(k);
      host::postMessage(host::Message{host::kWmKeyDown, static_cast<uint32_t>(k), 0});
      posted = true;
    }
    held_ = std::move(keys);
    return posted ? Next::HandleMessages : Next::RunFrame;
  }
  void afterFrame() override {
    ++f_;
    keysSet_ = false;
  }
  bool whileInactive() override { return false; }

 private:
  long long frames_;
  Decide decide_;
  More more_;
  platform::HeadlessBackend& backend_;
  long long f_ = 1;
  bool keysSet_ = false;
  std::vector<int> held_;
};

template <typename Decide, typename More>
void printScript(long long frames, Decide decide, More more, platform::HeadlessBackend& backend) {
  ScriptPrinter<Decide, More> printer(frames, decide, more, backend);
  runMainLoop(&printer);
}

constexpr const char* kUsage =
    "usage: vane-bot SEED STAGE SHIP FRAMES > keys    plays a stage to its end\n"
    "       vane-bot --wander SEED FRAMES > keys      wanders through the whole program\n";

enum BotOption { kWander, kHelp };

constexpr std::array<OptionSpec, 2> kOptions{{
    {kWander, "wander", "", "wander through the menus and stages at random (SEED FRAMES)"},
    {kHelp, "help", "", "show this text and leave"},
}};

// A number the command line gives, and the whole numbers it may be.
struct Operand {
  const char* name;
  long long low;
  long long high;
};

constexpr Operand kSeed{"SEED", 0, 0xFFFFFFFFll};
constexpr Operand kStage{"STAGE", 1, 2};
constexpr Operand kShip{"SHIP", 1, 2};
constexpr Operand kFrames{"FRAMES", 1, std::numeric_limits<long long>::max()};

// The operand's number; a word that is none of its numbers is refused with one line.
std::optional<long long> numberFor(const Operand& operand, const std::string& word) {
  const auto n = decimalNumber(word);
  if (n && *n >= operand.low && *n <= operand.high) return n;
  std::string range = std::to_string(operand.low);
  if (operand.high == operand.low + 1) {
    range += " or " + std::to_string(operand.high);
  } else if (operand.high == kFrames.high) {
    range.insert(0, "a whole number of at least ");
  } else {
    range.insert(0, "a whole number from ");
    range += " to " + std::to_string(operand.high);
  }
  std::fprintf(stderr, "vane-bot: %s must be %s, not '%s'\n", operand.name, range.c_str(),
               word.c_str());
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedArguments parsed = parseArguments(kOptions, programArguments(argc, argv));
  if (const auto status = helpOrFault("vane-bot", kUsage, kOptions, parsed)) return *status;
  // --wander is the only other option.
  const bool wander = !parsed.options.empty();
  const std::vector<Operand> wanted = wander ? std::vector<Operand>{kSeed, kFrames}
                                             : std::vector<Operand>{kSeed, kStage, kShip, kFrames};
  if (parsed.operands.size() != wanted.size()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::vector<long long> numbers;
  for (size_t i = 0; i < wanted.size(); ++i) {
    const auto n = numberFor(wanted[i], parsed.operands[i]);
    if (!n) return 2;
    numbers.push_back(*n);
  }
  const auto seed = static_cast<uint32_t>(numbers.front());
  const int stage = wander ? 1 : static_cast<int>(numbers[1]);
  const int ship = wander ? 1 : static_cast<int>(numbers[2]);
  const long long frames = numbers.back();
  platform::HeadlessBackend backend;
  backend.keepRecords = false;
  platform::setBackend(&backend);
  resetGame();
  std::error_code noData;
  std::filesystem::current_path(VANE_DATA_DIR, noData);
  if (noData || !startUp(seed)) return 1;
  if (wander) {
    std::printf("# vane-bot --wander %u %lld\n", seed, frames);
    Wanderer wanderer(seed);
    printScript(
        frames, [&](long long f) { return wanderer.decide(f); }, [] { return gameState != Quit; },
        backend);
  } else {
    startStageFromMenu(stage, ship);
    Bot bot(stage);
    printScript(
        frames, [&](long long f) { return bot.decide(f); },
        [] { return gameState == Stage1 || gameState == Stage2; }, backend);
  }
  resetGame();
  return 0;
}
