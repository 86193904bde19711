// placeholder
#include "stages/stages.h"
#include "world/passes.h"
namespace vane {
void enemyPass(Actor&) {}
void bulletPass(Actor&) {}
void runStage1Timeline() {}
void runStage2Timeline() {}
void spawnDecoration() {}
}
