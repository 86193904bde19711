// SPDX-License-Identifier: GPL-3.0-or-later
// Spawn defaults by type code, list insertion and removal, and the clearing operations.
#include "world/actor.h"

#include <array>

namespace vane {

Actor World;

namespace {

constexpr int32_t kOpen = INT32_MIN;  // the slot is left as the cleared record has it

struct SpawnDefaults {
  int32_t firstType;
  int32_t lastType;
  int list;
  int32_t hp, hitLeft, hitTop, hitRight, hitBottom, mode, anim, fireTimer, aux, scoreValue;
};

constexpr int32_t o = kOpen;

// clang-format off
constexpr std::array<SpawnDefaults, 29> kSpawnDefaults{{
  //  types        list         hp   hitL hitT hitR hitB mode anim fire aux score
  {1, 1,       PlayerList,  1,    -5,  -7,  5,   7,   64,  0,   9,   o,  0},
  {2, 2,       PlayerList,  1,    -5,  -7,  5,   7,   64,  0,   9,   0,  0},
  {9, 9,       ShotList,    1,     0,   0,  5,  20,    o,  0,   o,   o,  o},
  {10, 10,     ShotList,    3,     0,   0,  5,   5,    o,  0,   o,   o,  o},
  {11, 11,     ShotList,    5,     0,   0, 10,  20,    o,  0,   o,   o,  o},
  {12, 12,     ShotList,    5,     0,   0, 10,  20,    o,  0,   o,   o,  o},
  {17, 17,     ShotList,    1,     0,   0,  5,  20,    o,  0,   o,   o,  o},
  {18, 18,     ShotList,   20,     0,   0,  7,  25,    o,  0,   o,   o,  o},
  {19, 19,     ShotList,    5,    -5,   0,  5,  30,    o,  0,   o,   o,  o},
  {101, 101,   BulletList,  1,    -1,  -1,  2,   2,    o,  o,   o,   o,  o},
  {102, 102,   BulletList,  1,    -4,  -4,  5,   5,    o,  o,   o,   o,  o},
  {103, 103,   BulletList,  1,    -7,  -7,  7,   7,    o,  o,   o,   o,  o},
  {104, 104,   BulletList,  1,    -5,   0,  5,  30,    o,  o,   o,   o,  o},
  {1001, 1001, EnemyList,   2,    -9,   0,  9,  25,    o,  0,   o,   o,  100},
  {1002, 1002, EnemyList,   2,    -9,   0,  9,  25,    o,  0,   o,   o,  100},
  {1003, 1003, EnemyList,   2,   -10,   0, 11,  32,    o,  0,   o,   o,  200},
  {1004, 1004, EnemyList,  10,   -24,   0, 25,  50,    o,  0,   o,   o,  200},
  {1005, 1005, EnemyList,  20,   -21, -10, 22,  11,    o,  0,   o,   o,  200},
  {1006, 1006, EnemyList,  20,   -21, -10, 22,  11,    o,  0,   o,   o,  200},
  {1007, 1007, EnemyList,  15,   -15,   0, 14,  30,    o,  0,   o,   o,  150},
  {1008, 1008, EnemyList,  15,   -11, -11, 10,  10,    0,  0,   o,   o,  300},
  {2001, 2001, EnemyList,  70,   -44, -34, 43,  33,    0,  0,   o,   o,  1000},
  {2002, 2002, EnemyList,  70,   -44, -34, 43,  33,    0,  0,   o,   o,  1000},
  {3001, 3001, EnemyList, 3000,  -37, -37, 37,  37,    0,  0,   0,   o,  10000},
  {3002, 3002, EnemyList, 3500,  -30, -65, 30,  65,    0,  0,   0,   o,  10000},
  {4001, 4001, ItemList,    o,    -5,  -5,  5,   5,    o,  0,   o,   o,  o},
  {4002, 4002, ItemList,    o,   -15, -15, 15,  15,    o,  0,   o,   o,  o},
  {5001, 5005, EnemyList,   o,     o,   o,  o,   o,    o,  0,   o,   o,  o},
  {9996, 9999, EnemyList,   o,     o,   o,  o,   o,    o,  0,   o,   o,  o},
}};
// clang-format on

const SpawnDefaults* defaultsFor(int32_t type) {
  for (const SpawnDefaults& d : kSpawnDefaults) {
    if (type >= d.firstType && type <= d.lastType) return &d;
  }
  return nullptr;
}

void setIfGiven(int32_t& slot, int32_t value) {
  if (value != kOpen) slot = value;
}

}  // namespace

int listOfType(int32_t type) {
  const SpawnDefaults* d = defaultsFor(type);
  return d == nullptr ? -1 : d->list;
}

void Actor::resetLinks() {
  for (int l = 0; l < ListCount; ++l) {
    next[l] = nullptr;
    prev[l] = nullptr;
  }
}

void Actor::spawnActor(int32_t counterArg, int32_t typeArg, int32_t xArg, int32_t yArg,
                       int32_t angleArg, int32_t speedArg) {
  Actor* a = new Actor();  // the record starts cleared
  a->counter = counterArg;
  a->type = typeArg;
  a->x = xArg * 100;
  a->y = yArg * 100;
  a->angle = angleArg;
  a->speed = speedArg;
  const SpawnDefaults* d = defaultsFor(typeArg);
  if (d == nullptr) {
    delete a;  // a code outside the catalogue joins no list
    return;
  }
  setIfGiven(a->hp, d->hp);
  setIfGiven(a->hitLeft, d->hitLeft);
  setIfGiven(a->hitTop, d->hitTop);
  setIfGiven(a->hitRight, d->hitRight);
  setIfGiven(a->hitBottom, d->hitBottom);
  setIfGiven(a->mode, d->mode);
  setIfGiven(a->anim, d->anim);
  setIfGiven(a->fireTimer, d->fireTimer);
  setIfGiven(a->aux, d->aux);
  setIfGiven(a->scoreValue, d->scoreValue);
  const int l = d->list;
  a->next[l] = next[l];
  next[l] = a;
  a->prev[l] = this;
  if (a->next[l] != nullptr) a->next[l]->prev[l] = a;
}

void Actor::removeActor() {
  const int l = listOfType(type);
  if (l >= 0) {
    prev[l]->next[l] = next[l];
    if (next[l] != nullptr) next[l]->prev[l] = prev[l];
  }
  delete this;
}

void Actor::clearBulletList() {
  while (next[BulletList] != nullptr) next[BulletList]->removeActor();
}

void Actor::clearAllLists() {
  for (ListId l : {BulletList, ShotList, PlayerList, EnemyList, ItemList}) {
    while (next[l] != nullptr) next[l]->removeActor();
  }
}

void resetWorld() {
  World.clearAllLists();
  World = Actor();
}

}  // namespace vane
