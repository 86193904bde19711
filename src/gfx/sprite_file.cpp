// placeholder
#include "gfx/sprite.h"
namespace vane {
SpriteSheet playerSheet, enemySheet, ebSheet, backSheet, stageSheet, xSheet, etcSheet;
SpriteSheet::~SpriteSheet() { clear(); }
void SpriteSheet::clear() {}
int insertFrame(SpriteSheet&, const SpriteFrame&, int) { return 1; }
const SpriteFrame* frameAt(const SpriteSheet&, int) { return nullptr; }
int frameCountOf(const SpriteSheet&) { return 0; }
int loadSpriteSheet(SpriteSheet&, const char*, int) { return 1; }
int loadSpriteSheetFromBytes(SpriteSheet&, std::span<const uint8_t>, const char*, int) { return 1; }
int drawSprite(const platform::LockedSurface&, int, int, const SpriteFrame*) { return 1; }
int drawSpriteBlended(const platform::LockedSurface&, int, int, const SpriteFrame*, int, int) { return 1; }
void resetSheets() {}
}
