// SPDX-License-Identifier: GPL-3.0-or-later
// The page's sound: Web Audio at the game's own rate, pulling the portable mixer.
#include <emscripten.h>

#include <algorithm>

#include "platform/web/web_backend.h"

namespace vane::platform {

namespace {

// The page's processor asks for this many frames at a time: about 93 ms at 22050 Hz, so a frame
// of the game running long never starves it.
constexpr int kPullFrames = 2048;

EM_JS(void, openPageAudio, (int rate, int frames), { Module.page.openAudio(rate, frames); });
EM_JS(void, closePageAudio, (), { Module.page.closeAudio(); });

}  // namespace

bool WebBackend::openAudio(uint32_t rate, AudioPull pull, void* user, uint32_t& openedRate) {
  pull_ = pull;
  pullUser_ = user;
  audioPaused_ = false;
  audioChunk_.assign(static_cast<size_t>(kPullFrames) * 2, 0);
  openedRate = rate;
  openPageAudio(static_cast<int>(rate), kPullFrames);
  return true;
}

void WebBackend::closeAudio() {
  closePageAudio();
  pull_ = nullptr;
}

const int16_t* WebBackend::pullAudio(size_t frames) {
  if (frames * 2 > audioChunk_.size()) audioChunk_.assign(frames * 2, 0);
  if (pull_ == nullptr || audioPaused_) {
    std::fill(audioChunk_.begin(), audioChunk_.end(), int16_t{0});
  } else {
    pull_(pullUser_, audioChunk_.data(), frames);
  }
  return audioChunk_.data();
}

}  // namespace vane::platform
