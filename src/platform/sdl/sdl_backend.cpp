// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL back end: a desktop window, full screen or not, its events, and the audio output.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>
#include <sys/prctl.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/sdl/gamepads.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/message_box.h"
#include "platform/sdl/presenters.h"

namespace vane::platform {

namespace {

// About 23 ms a callback at any rate: SDL lets the output drain for two callbacks' worth when it
// closes, so a quit request stays well inside a tenth of a second.
Uint16 callbackFramesFor(uint32_t rate) {
  return rate <= 24000 ? 512 : 1024;
}

bool isWholePicture(std::span<const Block> changed) {
  return changed.size() == 1 && changed[0].rows.first == 0 &&
         changed[0].rows.end == Backend::kHeight && changed[0].columns.first == 0 &&
         changed[0].columns.end == Backend::kWidth;
}

class SdlDesktop : public SdlBackend {
 public:
  explicit SdlDesktop(const DisplayOptions& options) : options_(options), windows_(options) {
    // The frame pacing sleeps to within a fraction of a millisecond: ask for the tightest wake-ups.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  }

  ~SdlDesktop() override {
    closeDisplay();
    closeAudio();
    pads_.close();
    windows_.close();
    finishClosingAudio();
    SDL_Quit();
  }

  WindowState windowState() const override { return windows_.state(); }
  void toggleWindowMode() override { windows_.toggle(); }

  // --- window and screen ---

  bool openWindow() override {
    if (!windows_.open()) return false;
    window_ = windows_.window();
    return true;
  }

  void closeWindow() override {
    windows_.close();
    window_ = nullptr;
  }

  bool openDisplay(bool& is565) override {
    if (window_ == nullptr) return false;
    presenter_ = choosePresenter(window_, options_);
    if (presenter_ == nullptr) {
      std::fprintf(stderr, "vane: cannot draw into the window: %s\n", SDL_GetError());
      return false;
    }
    pacer_.emplace(presenter_->waitsForDisplay());
    const std::vector<uint16_t> black(static_cast<size_t>(kWidth) * kHeight, 0);
    presenter_->show(black.data(), {}, true);
    is565 = true;
    return true;
  }

  void closeDisplay() override {
    pacer_.reset();
    presenter_.reset();
  }

  // A picture that has not changed is not sent at all, though the flip still takes its time.
  bool present(const uint16_t* pixels, std::span<const Block> changed) override {
    if (presenter_ == nullptr) return false;
    if (changed.empty()) {
      const uint64_t wait = pacer_->waitBeforeHold(now());
      if (wait != 0) sleep(wait);
      pacer_->held(now());
      return true;
    }
    const uint64_t wait = pacer_->waitBeforePresent(now());
    if (wait != 0) sleep(wait);
    if (!presenter_->show(pixels, changed, isWholePicture(changed))) return false;
    pacer_->presented(now());
    return true;
  }

  // --- events ---

  bool pollEvent(Event& out) override {
    if (pending_.empty()) {
      pads_.update(now());
      SDL_Event event;
      while (pending_.empty() && SDL_PollEvent(&event) != 0) translate(event);
    }
    return takePending(out);
  }

  // Waits in steps, reading the controllers between them; -1 (no controllers at all) waits for
  // the desktop alone.
  bool waitEvent(Event& out) override {
    while (pending_.empty()) {
      SDL_Event event;
      pads_.update(now());
      const int millis = pads_.millisToUpdate(now());
      if (millis < 0) {
        if (SDL_WaitEvent(&event) == 0) return false;
      } else if (SDL_WaitEventTimeout(&event, millis) == 0) {
        if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return false;
        continue;
      }
      translate(event);
    }
    return takePending(out);
  }

  // --- audio ---

  bool openAudio(uint32_t rate, AudioPull pull, void* user, uint32_t& openedRate) override {
    finishClosingAudio();
    pull_ = pull;
    pullUser_ = user;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return noAudio();
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(rate);
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = callbackFramesFor(rate);
    want.callback = &SdlDesktop::audioCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    audio_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                 SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (audio_ == 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return noAudio();
    }
    openedRate = static_cast<uint32_t>(have.freq);
    if (options_.verbose) sayAudio(have);
    SDL_PauseAudioDevice(audio_, 0);
    return true;
  }

  void pauseAudio(bool paused) override {
    if (audio_ != 0) SDL_PauseAudioDevice(audio_, paused ? 1 : 0);
  }

  // The pulls end here, before the caller lets go of what they read: SDL runs the callback under
  // the device lock, so once the lock is held no pull is under way and the later ones are silent.
  // SDL's wait for the output to drain then goes on beside whatever the program does next
  // (closing the window, writing its config), and is over before the output opens again.
  void closeAudio() override {
    if (audio_ == 0) return;
    SDL_LockAudioDevice(audio_);
    pull_ = nullptr;
    SDL_UnlockAudioDevice(audio_);
    closer_ = std::thread([device = audio_] { SDL_CloseAudioDevice(device); });
    audio_ = 0;
  }

  // --- clock and dialogs ---

  // Counted from the machine's start, so the tick count (the seed of a run) is too: a count from
  // the program's start would give only the few hundred values a start-up can take.
  uint64_t now() override {
    timespec t{};
    clock_gettime(CLOCK_BOOTTIME, &t);
    return static_cast<uint64_t>(t.tv_sec) * 1'000'000'000 + static_cast<uint64_t>(t.tv_nsec);
  }

  // A signal (SIGTERM: SDL's quit request) cuts the sleep short, so the quit is seen at once
  // rather than after the frame's wait.
  void sleep(uint64_t nanos) override {
    const timespec wait{static_cast<time_t>(nanos / 1'000'000'000),
                        static_cast<long>(nanos % 1'000'000'000)};
    clock_nanosleep(CLOCK_MONOTONIC, 0, &wait, nullptr);
  }

  void messageBox(std::string_view text, std::string_view title, Icon icon) override {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
    const Uint32 flags = icon == Icon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    // Without a desktop the box cannot be shown; the line on stderr is then all there is.
    showMessageBox(flags, std::string(title).c_str(), std::string(text).c_str(), window_);
  }

 private:
  void finishClosingAudio() {
    if (!closer_.joinable()) return;
    closer_.join();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  static void audioCallback(void* self, Uint8* stream, int bytes) {
    auto* b = static_cast<SdlDesktop*>(self);
    if (b->pull_ == nullptr) {
      std::memset(stream, 0, static_cast<size_t>(bytes));
      return;
    }
    b->pull_(b->pullUser_, reinterpret_cast<int16_t*>(stream), static_cast<size_t>(bytes) / 4);
  }

  // Once: the game goes on without sound, as with --mute.
  bool noAudio() {
    if (!saidNoAudio_) {
      std::fprintf(stderr, "vane: no sound output (%s): playing without sound\n", SDL_GetError());
      saidNoAudio_ = true;
    }
    return false;
  }

  static void sayAudio(const SDL_AudioSpec& have) {
    char* name = nullptr;
    SDL_AudioSpec spec{};
    const bool named = SDL_GetDefaultAudioInfo(&name, &spec, 0) == 0 && name != nullptr;
    std::fprintf(stderr, "vane: sound: %s driver, device %s, %d Hz, %d frames a callback\n",
                 SDL_GetCurrentAudioDriver(), named ? name : "(the default)", have.freq,
                 have.samples);
    SDL_free(name);
  }

  bool takePending(Event& out) {
    if (pending_.empty()) return false;
    out = pending_.front();
    pending_.pop_front();
    return true;
  }

  void emit(Event::Kind kind, bool focused = false, int key = 0) {
    Event event;
    event.kind = kind;
    event.focused = focused;
    event.key = key;
    pending_.push_back(event);
  }

  void translate(const SDL_Event& event) {
    switch (event.type) {
      case SDL_KEYDOWN:
        onKeyDown(event.key.keysym, event.key.repeat != 0);
        break;
      case SDL_KEYUP:
        emit(Event::Kind::KeyUp, false, event.key.keysym.scancode);
        break;
      case SDL_WINDOWEVENT:
        onWindowEvent(event.window.event);
        break;
      case SDL_QUIT:
        emit(Event::Kind::Close);
        break;
      default:
        pads_.handle(event, [this](const Event& e) { pending_.push_back(e); });
        break;
    }
  }

  void onKeyDown(const SDL_Keysym& key, bool repeat) {
    const KeyRoute route = routeKey(key);
    if (route == KeyRoute::ToggleWindow) {
      // A key held down switches once.
      if (!repeat) windows_.toggle();
      return;
    }
    if (route == KeyRoute::Close) {
      emit(Event::Kind::Close);
      return;
    }
    Event down;
    down.kind = Event::Kind::KeyDown;
    down.key = key.scancode;
    down.virtualKey = virtualKeyFor(key.scancode, key.sym);
    down.repeat = repeat;
    down.message = route == KeyRoute::Game;
    if (down.virtualKey != 0) pending_.push_back(down);
  }

  void onWindowEvent(uint8_t what) {
    switch (what) {
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        emit(Event::Kind::Focus, true);
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST:
        emit(Event::Kind::Focus, false);
        break;
      case SDL_WINDOWEVENT_CLOSE:
        emit(Event::Kind::Close);
        break;
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SIZE_CHANGED:
        emit(Event::Kind::Exposed);
        break;
      default:
        break;
    }
  }

  DisplayOptions options_;
  WindowModes windows_;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<Presenter> presenter_;
  std::optional<FlipPacer> pacer_;
  Gamepads pads_;
  std::deque<Event> pending_;
  SDL_AudioDeviceID audio_ = 0;
  std::thread closer_;
  AudioPull pull_ = nullptr;
  void* pullUser_ = nullptr;
  bool saidNoAudio_ = false;
};

// SDL falls back to drivers that draw nowhere and read no keys; a game nobody can see or stop
// is no use, so those are taken only when asked for by name.
bool drawsNowhereUnasked() {
  const std::string_view driver = SDL_GetCurrentVideoDriver();
  return (driver == "offscreen" || driver == "dummy") && SDL_getenv("SDL_VIDEODRIVER") == nullptr;
}

constexpr const char* kNoDesktop =
    "vane: cannot open the display: no desktop found (DISPLAY or WAYLAND_DISPLAY)\n";

// With no desktop named at all, SDL's own complaints would come before the game's message.
bool desktopNamed() {
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
         std::getenv("SDL_VIDEODRIVER") != nullptr;
}

void sayDisplay() {
  SDL_DisplayMode mode{};
  SDL_GetDesktopDisplayMode(0, &mode);
  std::fprintf(stderr, "vane: video: %s driver, display %dx%d at %d Hz\n",
               SDL_GetCurrentVideoDriver(), mode.w, mode.h, mode.refresh_rate);
}

}  // namespace

std::unique_ptr<SdlBackend> makeSdlBackend(const DisplayOptions& options) {
  if (!desktopNamed()) {
    std::fputs(kNoDesktop, stderr);
    return nullptr;
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "vane: cannot open the display: %s\n", SDL_GetError());
    return nullptr;
  }
  if (drawsNowhereUnasked()) {
    std::fputs(kNoDesktop, stderr);
    SDL_Quit();
    return nullptr;
  }
  if (options.verbose) sayDisplay();
  return std::make_unique<SdlDesktop>(options);
}

void prepareDesktopProgram() {}

std::unique_ptr<DesktopBackend> makeDesktopBackend(const DisplayOptions& options) {
  return makeSdlBackend(options);
}

}  // namespace vane::platform
