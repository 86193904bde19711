// The SDL sound device: one-shot and looping PCM buffers mixed in the audio callback.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/platform.h"

namespace vane::platform {

class SdlMixer {
 public:
  SdlMixer();
  ~SdlMixer();
  SdlMixer(const SdlMixer&) = delete;
  SdlMixer& operator=(const SdlMixer&) = delete;

  // Opens the machine's audio output; false when there is none.
  bool open();
  void close();
  BufferId create(const WaveFormat& format, uint32_t bytes);
  uint8_t* lock(BufferId buffer, uint32_t& bytes);
  bool unlock(BufferId buffer);
  bool play(BufferId buffer, bool looping);
  bool stop(BufferId buffer);
  uint32_t status(BufferId buffer);
  void release(BufferId buffer);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vane::platform
