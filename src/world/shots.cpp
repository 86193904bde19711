// placeholder
#include "world/passes.h"
namespace vane {
void shotPass(Actor&) {}
}
