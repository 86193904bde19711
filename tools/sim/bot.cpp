// SPDX-License-Identifier: GPL-3.0-or-later
// vane-bot: plays a stage on the in-memory back end and prints the keys it held as a key script.
//
// It steers towards power-ups and enemies, fires without pause, spends energy on the boss, holds
// T whenever a bullet comes near, continues after a game over, and leaves the stage once cleared.
// Its scripts feed vane-sim for replay tests and screenshots.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "core/state.h"
#include "flow/flow.h"
#include "platform/headless/headless.h"
#include "shell/game.h"
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
  if (a.mode == kHitMode) return false;
  return std::any_of(std::begin(kHittableTypes), std::end(kHittableTypes),
                     [&a](TypeRange r) { return r.contains(a.type); });
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
  if (target.x < ship.x - kReachX) keys.push_back(platform::kVkLeft);
  if (target.x > ship.x + kReachX) keys.push_back(platform::kVkRight);
  if (target.y < ship.y - kReachX) keys.push_back(platform::kVkUp);
  if (target.y > ship.y + kReachX) keys.push_back(platform::kVkDown);
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
      if (f % 2 == 0) keys.push_back(platform::kVkC);
      return keys;
    }
    if (frameCount > bossFrame_ && !bossAlive()) {
      if (++clearFrames_ > kClearScreenFrames) keys.push_back(platform::kVkReturn);
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
    if (bulletNear(at) || item == nullptr) keys.push_back(platform::kVkT);
    if (f % 2 == 0) keys.push_back(platform::kVkShift);
    if (ship->energy() >= 100 && bossAlive() && f % 2 == 1) keys.push_back(platform::kVkZ);
    return keys;
  }

 private:
  uint32_t bossFrame_;
  int clearFrames_ = 0;
};

std::string scriptLine(long long f, const std::vector<int>& keys) {
  std::string line = std::to_string(f);
  for (int k : keys) line += " " + std::to_string(k);
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: vane-bot SEED STAGE SHIP FRAMES > keys\n");
    return 2;
  }
  const auto seed = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
  const int stage = std::atoi(argv[2]);
  const int ship = std::atoi(argv[3]);
  const long long frames = std::atoll(argv[4]);
  if ((stage != 1 && stage != 2) || (ship != 1 && ship != 2) || frames < 1) {
    std::fprintf(stderr, "vane-bot: stage and ship are 1 or 2, frames at least 1\n");
    return 2;
  }
  platform::HeadlessBackend backend;
  platform::setBackend(&backend);
  resetGame();
  if (chdir(VANE_DATA_DIR) != 0 || !startUp(seed)) return 1;
  startStageFromMenu(stage, ship);
  Bot bot(stage);
  std::vector<int> held;
  bool first = true;
  for (long long f = 1; f <= frames && (gameState == Stage1 || gameState == Stage2); ++f) {
    std::vector<int> keys = bot.decide(f);
    if (first || keys != held) std::printf("%s\n", scriptLine(f, keys).c_str());
    first = false;
    backend.releaseAllKeys();
    for (int k : keys) backend.setKeyHeld(k, true);
    held = keys;
    runFrame();
  }
  resetGame();
  return 0;
}
