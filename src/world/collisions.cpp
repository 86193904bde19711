// placeholder
#include "world/passes.h"
namespace vane {
void playerCollisionPass(Actor&) {}
void shotCollisionPass(Actor&) {}
}
