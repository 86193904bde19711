// SPDX-License-Identifier: GPL-3.0-or-later
// The game fields of a frame in the trace's words: counters, settings, the five lists, the sound.
#include "shell/frame_fields.h"

#include <cstdio>

#include "core/random.h"
#include "core/state.h"
#include "world/actor.h"

namespace vane {

namespace {

void appendActor(std::string& out, const Actor& a) {
  const int32_t slots[17] = {a.counter, a.type,      a.x,         a.y,     a.mode,      a.hitLeft,
                             a.hitTop,  a.hitRight,  a.hitBottom, a.angle, a.speed,     a.hp,
                             a.anim,    a.fireTimer, a.keyLatch,  a.aux,   a.scoreValue};
  out += '[';
  for (int i = 0; i < 17; ++i) {
    if (i > 0) out += ',';
    out += std::to_string(slots[i]);
  }
  out += ']';
}

void appendList(std::string& out, const char* key, ListId list) {
  out += ",\"";
  out += key;
  out += "\":[";
  bool first = true;
  for (const Actor* a = World.next[list]; a != nullptr; a = a->next[list]) {
    if (!first) out += ',';
    first = false;
    appendActor(out, *a);
  }
  out += ']';
}

void appendSound(std::string& out, const std::vector<SoundEvent>& events) {
  out += ",\"snd\":[";
  bool first = true;
  for (const SoundEvent& e : events) {
    if (!first) out += ',';
    first = false;
    switch (e.kind) {
      case SoundEvent::Effect:
        out += "[\"fx\"," + std::to_string(e.clip) + "]";
        break;
      case SoundEvent::Music:
        out += "[\"music\"," + std::to_string(e.clip) + "," + std::to_string(e.looped) + "]";
        break;
      case SoundEvent::Release:
        out += "[\"release\"]";
        break;
    }
  }
  out += ']';
}

}  // namespace

uint64_t fnv1a(std::string_view bytes, uint64_t h) {
  for (const char c : bytes) {
    h ^= static_cast<uint8_t>(c);
    h *= 0x100000001b3ull;
  }
  return h;
}

std::string hexDigest(uint64_t digest) {
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(digest));
  return hex;
}

std::string gameFieldsText(long long f, const std::vector<SoundEvent>& events) {
  std::string out = "{\"f\":" + std::to_string(f) + ",\"gs\":" + std::to_string(gameState) +
                    ",\"fc\":" + std::to_string(frameCount) +
                    ",\"pause\":" + std::to_string(pauseCount) +
                    ",\"scroll\":" + std::to_string(scrollPos) +
                    ",\"rng\":" + std::to_string(randomState()) + ",\"W\":[";
  const int32_t settings[6] = {World.menuCursor(), World.stageChoice(), World.shipChoice(),
                               World.upLatch(),    World.downLatch(),   World.endMusicLatch()};
  for (int i = 0; i < 6; ++i) {
    if (i > 0) out += ',';
    out += std::to_string(settings[i]);
  }
  out += ']';
  appendList(out, "P", PlayerList);
  appendList(out, "S", ShotList);
  appendList(out, "E", EnemyList);
  appendList(out, "B", BulletList);
  appendList(out, "I", ItemList);
  appendSound(out, events);
  return out;
}

uint64_t frameDigest(long long f, const std::vector<SoundEvent>& events) {
  return fnv1a(gameFieldsText(f, events));
}

int64_t shipScore() {
  const Actor* ship = firstPlayer();
  return ship == nullptr ? -1 : ship->scoreValue;
}

}  // namespace vane
