// placeholder
#include "world/passes.h"
namespace vane {
void playerPass(Actor&) {}
}
