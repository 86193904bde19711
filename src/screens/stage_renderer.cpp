// SPDX-License-Identifier: GPL-3.0-or-later
// One stage frame: background, every actor in the picture its state selects, HUD, curtains, text.
#include <span>

#include "audio/sound.h"
#include "core/devices.h"
#include "core/random.h"
#include "core/state.h"
#include "gfx/sprite.h"
#include "screens/frame_choice.h"
#include "screens/screen_parts.h"
#include "screens/screens.h"
#include "world/actor.h"
#include "world/catalogue.h"
#include "world/geometry.h"

namespace vane {

namespace {

using host::LockedSurface;

constexpr int32_t kStageX = 10;
constexpr int32_t kStage1Picture = frames::number(frames::Stage::Stage1Ground);
constexpr int32_t kStage2Picture = frames::number(frames::Stage::Stage2Sky);
constexpr int32_t kStage2Height = 480;
constexpr uint32_t kStage1Scroll = 6;  // Stage 1 scrolls one pixel every sixth frame
constexpr uint32_t kStage2Scroll = 2;

// An exploding boss shakes: ten copies scattered -50..49 pixels around it, then itself.
constexpr int kBossShakeCopies = 10;
constexpr int kBossShakeSpan = 100;
constexpr int32_t kBossGlowFrame = frames::number(frames::Enemy::GlowSmall);
constexpr int32_t kBossGlowDrop = 15;
constexpr int kBossGlowLevel = 16;

constexpr int32_t kAimDrop = 15;  // turrets aim at a point below the ship's hot spot

constexpr int32_t kCurtainLeftX = -310;
constexpr int32_t kCurtainRightX = 329;

// The random weapon item: one chance in 1000 per frame while the weapon is at level 1.
constexpr int kItemChance = 1000;
constexpr int kItemSpread = 200;
constexpr int32_t kItemLeft = 111;
constexpr int32_t kItemSpeed = 10;

// Effects in "1.snd".
constexpr int kShipBlastSound = 1;
constexpr int kShotSound = 2;
constexpr int kEnemyBlastSound = 4;

int aimHeadingFrom(const Actor& actor) {
  const Actor* ship = firstPlayer();
  if (ship == nullptr) return 90;  // with no ship to face the turret looks straight down
  return headingTo(pixelX(actor), pixelY(actor), pixelX(*ship), pixelY(*ship) + kAimDrop);
}

void drawByRules(const LockedSurface& surface, std::span<const FrameRule> rules,
                 const Actor& actor) {
  for (const FrameRule& rule : rules) {
    if (!ruleMatches(rule, actor)) continue;
    const int heading = rule.aims ? aimHeadingFrom(actor) : 0;
    drawFrame(surface, sheetOf(rule.first.sheet), frameOf(rule, actor, frameCount, heading),
              pixelX(actor), pixelY(actor));
  }
}

// Returns whether the stage may count as clear as far as the background is concerned.
bool drawStage1Background(const LockedSurface& surface) {
  if (notPaused()) {
    if (frameCount % kStage1Scroll == 0) --scrollPos;
    if (scrollPos < 0) scrollPos = 0;
  }
  drawFrame(surface, stageSheet, kStage1Picture, kStageX, -scrollPos);
  return frameCount > kStage1EndFrame;
}

bool drawStage2Background(const LockedSurface& surface) {
  if (notPaused() && frameCount % kStage2Scroll == 0) --scrollPos;
  if (scrollPos == 0) {
    drawFrame(surface, stageSheet, kStage2Picture, kStageX, 0);
    scrollPos = kStage2Height;
  } else {
    drawFrame(surface, stageSheet, kStage2Picture, kStageX, -scrollPos);
    drawFrame(surface, stageSheet, kStage2Picture, kStageX, kStage2Height - scrollPos);
  }
  forEachActor(EnemyList,
               [&](Actor& actor, auto&) { drawByRules(surface, kDecorationFrames, actor); });
  return frameCount > kStage2EndFrame;
}

void drawExplodingEnemy(const LockedSurface& surface, const Actor& enemy) {
  if (enemy.anim == 0) playEffect(kEnemyBlastSound);
  const int32_t frame = enemy.anim + kEnemyBlastBase;
  if (kBossTypes.contains(enemy.type)) {
    for (int copy = 0; copy < kBossShakeCopies; ++copy) {
      const int32_t dy = gameRandom() % kBossShakeSpan - kBossShakeSpan / 2;
      const int32_t dx = gameRandom() % kBossShakeSpan - kBossShakeSpan / 2;
      drawFrame(surface, xSheet, frame, pixelX(enemy) + dx, pixelY(enemy) + dy);
    }
  }
  drawFrame(surface, xSheet, frame, pixelX(enemy), pixelY(enemy));
}

void soundCue(const Actor& actor) {
  for (const SoundCue& cue : kSoundCues) {
    if (cue.type == actor.type) playEffect(cue.effect);
  }
}

// Returns false when a boss still stands in the way of the stage clear.
bool drawEnemies(const LockedSurface& surface) {
  bool bossGone = true;
  forEachActor(EnemyList, [&](Actor& enemy, auto&) {
    if (enemy.mode == kHitMode) {
      drawExplodingEnemy(surface, enemy);
      return;
    }
    drawByRules(surface, kEnemyFrames, enemy);
    if (enemy.type == Stage2Boss && enemy.fireTimer > 0) {
      drawFrameBlended(surface, enemySheet, kBossGlowFrame + enemy.fireTimer % 2, pixelX(enemy),
                       pixelY(enemy) + kBossGlowDrop, kBossGlowLevel);
    }
    soundCue(enemy);
    if (kBossTypes.contains(enemy.type)) bossGone = false;
  });
  return bossGone;
}

void drawShots(const LockedSurface& surface) {
  forEachActor(ShotList, [&](Actor& shot, auto&) {
    if (shot.mode == kHitMode) {
      drawFrame(surface, xSheet, shot.anim + kShotSparkBase, pixelX(shot), pixelY(shot));
    } else {
      drawByRules(surface, kShotFrames, shot);
    }
  });
}

void drawItems(const LockedSurface& surface) {
  forEachActor(ItemList, [&](Actor& item, auto&) { drawByRules(surface, kItemFrames, item); });
}

void drawBullets(const LockedSurface& surface) {
  forEachActor(BulletList,
               [&](Actor& bullet, auto&) { drawByRules(surface, kBulletFrames, bullet); });
}

int shipBlendLevel(int32_t tilt) {
  for (const BlendRule& rule : kShipBlendLevels) {
    if (tilt >= rule.low && tilt <= rule.high) return rule.level;
  }
  return 0;
}

void drawShip(const LockedSurface& surface, const Actor& ship) {
  const int32_t levelFlight = kShipFrameBase[static_cast<size_t>(ship.type)] + ship.anim / 10;
  switch (ship.mode) {
    case ShipFlying:
      drawFrame(surface, playerSheet, levelFlight, pixelX(ship), pixelY(ship));
      break;
    case ShipArriving:
      drawFrameBlended(surface, playerSheet, levelFlight, pixelX(ship), pixelY(ship),
                       shipBlendLevel(ship.anim));
      break;
    case ShipExploding:
      if (ship.anim == kShipHitCountdown) playEffect(kShipBlastSound);
      drawFrame(surface, xSheet, kShipBlastTop - ship.anim, pixelX(ship), pixelY(ship));
      break;
    default:
      break;  // out of lives: nothing is drawn
  }
  // The shot sound follows the fire timer, whatever the ship is doing.
  if (ship.fireTimer % 2 != 0 && ship.fireTimer % 100 < 6) playEffect(kShotSound);
}

void drawPlayers(const LockedSurface& surface) {
  forEachActor(PlayerList, [&](Actor& ship, auto&) {
    if (kShipTypes.contains(ship.type)) drawShip(surface, ship);
  });
}

void dropRandomWeaponItem() {
  const Actor* ship = firstPlayer();
  if (ship == nullptr || ship->weaponLevel() != 1) return;
  if (gameRandom() % kItemChance != 0) return;
  const int32_t x = gameRandom() % kItemSpread + kItemLeft;
  World.spawnActor(1, PowerUp, x, 0, 90, kItemSpeed);
}

}  // namespace

int drawStageFrame() {
  fillBackBuffer(0);
  reclaimVoices(playingVoices);
  LockedSurface surface;
  bool describeFailed = false;
  if (lockBackBuffer(surface, &describeFailed) == 0) {
    return describeFailed ? kDescribeFailed : kLockFailed;
  }
  bool clearFlag =
      gameState == Stage1 ? drawStage1Background(surface) : drawStage2Background(surface);
  clearFlag = drawEnemies(surface) && clearFlag;
  drawShots(surface);
  drawItems(surface);
  drawBullets(surface);
  drawPlayers(surface);
  drawHud(surface);
  drawFrame(surface, backSheet, frames::number(frames::Back::PanelLeft), kCurtainLeftX, 0);
  drawFrame(surface, backSheet, frames::number(frames::Back::PanelRight), kCurtainRightX, 0);
  if (unlockBackBuffer() == 0) return kUnlockFailed;

  dropRandomWeaponItem();
  host::TextContext* dc = getBackBufferDC();
  runStageOverlays(dc, clearFlag);
  releaseBackBufferDC(dc);
  flipToScreen();
  return 0;
}

}  // namespace vane
