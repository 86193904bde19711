// The two stage timelines and the Stage 2 decoration spawner.
#pragma once

namespace vane {

void runStage1Timeline();
void runStage2Timeline();
void spawnDecoration();

}  // namespace vane
