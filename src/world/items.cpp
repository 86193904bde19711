// placeholder
#include "world/passes.h"
namespace vane {
void itemPass(Actor&) {}
}
