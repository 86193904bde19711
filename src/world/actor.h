// SPDX-License-Identifier: GPL-3.0-or-later
// The actor record, the World that heads the five lists, and the list operations.
#pragma once

#include <cstdint>

namespace vane {

enum ListId : int {
  PlayerList = 0,
  ShotList = 1,
  EnemyList = 2,
  BulletList = 3,
  ItemList = 4,
  ListCount = 5,
};

// One game object: 17 integer slots and the next/prev links of the five lists.
class Actor {
 public:
  int32_t counter = 0;
  int32_t type = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t mode = 0;
  int32_t hitLeft = 0;
  int32_t hitTop = 0;
  int32_t hitRight = 0;
  int32_t hitBottom = 0;
  int32_t angle = 0;
  int32_t speed = 0;
  int32_t hp = 0;
  int32_t anim = 0;
  int32_t fireTimer = 0;
  int32_t keyLatch = 0;
  int32_t aux = 0;
  int32_t scoreValue = 0;
  Actor* next[ListCount] = {};
  Actor* prev[ListCount] = {};

  Actor() { resetLinks(); }

  void resetLinks();
  // Unlinks this actor from the list its type names and frees it.
  void removeActor();

  // World operations.
  void spawnActor(int32_t counter, int32_t type, int32_t x, int32_t y, int32_t angle,
                  int32_t speed);
  void clearBulletList();
  void clearAllLists();

  // The slots the player ship reuses.
  int32_t& energy() { return angle; }
  int32_t& lives() { return speed; }
  int32_t& weaponLevel() { return hp; }
  int32_t& missiles() { return aux; }  // the second ship's missiles in flight
  int32_t energy() const { return angle; }
  int32_t lives() const { return speed; }
  int32_t weaponLevel() const { return hp; }
  int32_t missiles() const { return aux; }

  // The World's settings slots.
  int32_t& menuCursor() { return x; }
  int32_t& stageChoice() { return y; }
  int32_t& downLatch() { return angle; }
  int32_t& upLatch() { return speed; }
  int32_t& shipChoice() { return hp; }
  int32_t& endMusicLatch() { return scoreValue; }
};

extern Actor World;

// The list a type code belongs to, or -1.
int listOfType(int32_t type);

// The head of playerList, the ship: holds the score and the missile count.
inline Actor* firstPlayer() {
  return World.next[PlayerList];
}

// Pixel position of an actor (hundredths truncated toward zero).
inline int32_t pixelX(const Actor& a) {
  return a.x / 100;
}
inline int32_t pixelY(const Actor& a) {
  return a.y / 100;
}

// Walks list L with the removal rule: the body may call `remove()` on the actor under the cursor.
// Usage: forEachActor(PlayerList, [](Actor& a, auto& remove) { ... remove(); return; });
// After remove() the body must not touch the actor again.
template <typename Body>
void forEachActor(ListId list, Body&& body) {
  Actor* cursor = World.next[list];
  while (cursor != nullptr) {
    Actor* current = cursor;
    auto remove = [&cursor, current, list]() {
      cursor = current->prev[list];
      cursor->next[list]->removeActor();
    };
    body(*current, remove);
    cursor = cursor->next[list];
  }
}

// Empties all lists and puts the World's slots back to zero.
void resetWorld();

}  // namespace vane
