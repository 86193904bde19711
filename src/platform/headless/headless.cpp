// The in-memory back end used by tests and vane-sim.
#include "platform/headless/headless.h"

#include <cstdio>
#include <cstring>

#include "platform/text.h"

namespace vane::platform {

namespace {
constexpr uint64_t kNanosPerMilli = 1'000'000;
// Each clock query moves time on by a microsecond, so a loop that polls the clock always ends.
constexpr uint64_t kQueryStepNanos = 1'000;
}  // namespace

HeadlessBackend::HeadlessBackend()
    : back_(static_cast<size_t>(kWidth) * kHeight, 0), front_(back_) {}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::setKeyHeld(int virtualKey, bool held) {
  if (virtualKey < 0 || virtualKey > 255) return;
  held_[static_cast<size_t>(virtualKey)] = held;
  keyboardState[static_cast<size_t>(virtualKey)] = held ? 0x80 : 0;
}

void HeadlessBackend::releaseAllKeys() {
  for (int k = 0; k < 256; ++k) setKeyHeld(k, false);
}

void HeadlessBackend::advanceNanos(uint64_t nanos) {
  nanos_ += nanos;
}

const HeadlessBackend::Buffer* HeadlessBackend::buffer(BufferId id) const {
  if (id == 0 || id > buffers_.size()) return nullptr;
  return buffers_[id - 1].get();
}

HeadlessBackend::Buffer* HeadlessBackend::find(BufferId id) {
  if (id == 0 || id > buffers_.size()) return nullptr;
  Buffer* b = buffers_[id - 1].get();
  return b->released ? nullptr : b;
}

uint64_t HeadlessBackend::screenHash() const {
  uint64_t h = 0xcbf29ce484222325ull;
  for (uint16_t w : front_) {
    for (uint8_t byte : {static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>(w >> 8)}) {
      h ^= byte;
      h *= 0x100000001b3ull;
    }
  }
  return h;
}

bool HeadlessBackend::registerWindowClass(WindowProc proc) {
  if (failRegisterClass) return false;
  setWindowProc(proc);
  return true;
}

bool HeadlessBackend::createWindow() {
  windowAlive_ = true;
  dispatchMessage(Message{kWmCreate, 0, 0});
  // Shown and focused at once, as a desktop does with a new full-screen window.
  postMessage(Message{kWmActivateApp, 1, 0});
  return true;
}

void HeadlessBackend::destroyWindow() {
  if (!windowAlive_) return;
  windowAlive_ = false;
  dispatchMessage(Message{kWmDestroy, 0, 0});
}

bool HeadlessBackend::peekMessage(Message& out) {
  if (queue_.empty()) return false;
  out = queue_.front();
  return true;
}

Message HeadlessBackend::getMessage() {
  if (queue_.empty()) return Message{kWmQuit, 0, 0};  // nothing will ever arrive
  Message m = queue_.front();
  queue_.pop_front();
  return m;
}

void HeadlessBackend::waitMessage() {}

void HeadlessBackend::postMessage(const Message& message) {
  posted.push_back(message);
  queue_.push_back(message);
}

bool HeadlessBackend::keyHeld(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return false;
  return held_[static_cast<size_t>(virtualKey)];
}

void HeadlessBackend::getKeyboardState(uint8_t state[256]) {
  std::memcpy(state, keyboardState.data(), 256);
}

void HeadlessBackend::setKeyboardState(const uint8_t state[256]) {
  std::memcpy(keyboardState.data(), state, 256);
}

uint32_t HeadlessBackend::tickCount() {
  nanos_ += kQueryStepNanos;
  return static_cast<uint32_t>(nanos_ / kNanosPerMilli);
}

uint64_t HeadlessBackend::monotonicNanos() {
  nanos_ += kQueryStepNanos;
  return nanos_;
}

void HeadlessBackend::sleepNanos(uint64_t nanos) {
  nanos_ += nanos;
}

void HeadlessBackend::messageBox(std::string_view text, std::string_view title, Icon icon) {
  dialogs.push_back(Dialog{std::string(text), std::string(title), icon});
  if (echoDialogs) {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
  }
}

bool HeadlessBackend::createDisplay() {
  if (failDisplay) return false;
  displayReady_ = true;
  return true;
}

bool HeadlessBackend::readGreenMask(uint32_t& greenMask) {
  if (failPixelFormat || !displayReady_) return false;
  greenMask = use565Layout ? 0x07E0 : 0x03E0;
  return true;
}

bool HeadlessBackend::fill(uint16_t colour) {
  if (!displayReady_) return false;
  ++fills;
  std::fill(back_.begin(), back_.end(), colour);
  return true;
}

bool HeadlessBackend::describeBackBuffer() {
  return displayReady_ && !failDescribe;
}

bool HeadlessBackend::lock(LockedSurface& out) {
  if (!displayReady_ || failLock) return false;
  out = LockedSurface{back_.data(), kWidth, kHeight, kWidth * 2};
  return true;
}

bool HeadlessBackend::unlock() {
  return displayReady_ && !failUnlock;
}

TextContext* HeadlessBackend::getTextContext() {
  if (!text_) text_ = makeTextContext(back_.data(), kWidth, kHeight, kWidth * 2, use565Layout);
  return text_.get();
}

void HeadlessBackend::releaseTextContext(TextContext*) {}

bool HeadlessBackend::flip() {
  if (!displayReady_) return false;
  ++flips;
  // A flip exchanges the two surfaces: the old front becomes the next back buffer.
  std::swap(front_, back_);
  text_.reset();
  return true;
}

void HeadlessBackend::releaseDisplay() {
  displayReady_ = false;
  displayReleased = true;
}

bool HeadlessBackend::createSoundDevice() {
  if (failSoundDevice) return false;
  soundReady_ = true;
  return true;
}

BufferId HeadlessBackend::createBuffer(const WaveFormat& format, uint32_t bytes) {
  if (!soundReady_ || failCreateBuffer || bytes == 0) return 0;
  auto b = std::make_unique<Buffer>();
  b->format = format;
  b->bytes.assign(bytes, 0);
  buffers_.push_back(std::move(b));
  const auto id = static_cast<BufferId>(buffers_.size());
  soundOps.push_back(SoundOp{SoundOp::Create, id});
  return id;
}

uint8_t* HeadlessBackend::lockBuffer(BufferId id, uint32_t& bytes) {
  Buffer* b = find(id);
  if (b == nullptr || failLockBuffer) return nullptr;
  bytes = static_cast<uint32_t>(b->bytes.size());
  return b->bytes.data();
}

bool HeadlessBackend::unlockBuffer(BufferId id) {
  return find(id) != nullptr && !failUnlockBuffer;
}

bool HeadlessBackend::play(BufferId id, bool looping) {
  Buffer* b = find(id);
  if (b == nullptr) return false;
  if (!b->playing) b->startedNanos = nanos_;
  b->playing = true;
  b->looping = looping;
  soundOps.push_back(SoundOp{looping ? SoundOp::Loop : SoundOp::Play, id});
  return true;
}

bool HeadlessBackend::stop(BufferId id) {
  Buffer* b = find(id);
  if (b == nullptr) return false;
  b->playing = false;
  soundOps.push_back(SoundOp{SoundOp::Stop, id});
  return true;
}

uint32_t HeadlessBackend::status(BufferId id) {
  Buffer* b = find(id);
  if (b == nullptr || !b->playing) return 0;
  if (b->looping) return kStatusPlaying | kStatusLooping;
  const uint64_t rate = b->format.avgBytesPerSec == 0 ? 1 : b->format.avgBytesPerSec;
  const uint64_t lengthNanos = b->bytes.size() * 1'000'000'000ull / rate;
  if (nanos_ - b->startedNanos >= lengthNanos) b->playing = false;
  return b->playing ? kStatusPlaying : 0;
}

void HeadlessBackend::releaseBuffer(BufferId id) {
  Buffer* b = find(id);
  if (b == nullptr) return;
  b->released = true;
  b->playing = false;
  b->bytes.clear();
  b->bytes.shrink_to_fit();
  soundOps.push_back(SoundOp{SoundOp::Release, id});
}

void HeadlessBackend::releaseSoundDevice() {
  soundReady_ = false;
  soundReleased = true;
}

}  // namespace vane::platform
