// SPDX-License-Identifier: GPL-3.0-or-later
// The waveOut stream: buffers written to the device as it hands them back, on their own thread.
#include "platform/win32/wave_out.h"

#include <algorithm>
#include <cstdio>

namespace vane::platform::win32 {

namespace {

void sayNoSound(MMRESULT result) {
  wchar_t text[MAXERRORLENGTH] = L"";
  waveOutGetErrorTextW(result, text, MAXERRORLENGTH);
  std::fprintf(stderr, "vane: no sound output (%ls): playing without sound\n", text);
}

}  // namespace

WaveOut::~WaveOut() {
  close();
}

bool WaveOut::open(uint32_t rate, AudioPull pull, void* user, bool verbose) {
  close();
  pull_ = pull;
  user_ = user;
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = rate;
  format.wBitsPerSample = 16;
  format.nBlockAlign = 4;
  format.nAvgBytesPerSec = rate * 4;
  done_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  const MMRESULT result = waveOutOpen(&device_, WAVE_MAPPER, &format,
                                      reinterpret_cast<DWORD_PTR>(done_), 0, CALLBACK_EVENT);
  if (result != MMSYSERR_NOERROR) {
    sayNoSound(result);
    device_ = nullptr;
    CloseHandle(done_);
    done_ = nullptr;
    return false;
  }
  if (verbose) {
    WAVEOUTCAPSW caps{};
    waveOutGetDevCapsW(reinterpret_cast<UINT_PTR>(device_), &caps, sizeof caps);
    std::fprintf(stderr, "vane: sound: waveOut, device %ls, %u Hz, %zu buffers of %zu frames\n",
                 caps.szPname, rate, kBuffers, kBufferFrames);
  }
  stopping_ = false;
  for (size_t i = 0; i < kBuffers; ++i) {
    samples_[i].assign(kBufferFrames * 2, 0);
    headers_[i] = WAVEHDR{};
    headers_[i].lpData = reinterpret_cast<LPSTR>(samples_[i].data());
    headers_[i].dwBufferLength = static_cast<DWORD>(kBufferFrames * 4);
    waveOutPrepareHeader(device_, &headers_[i], sizeof(WAVEHDR));
    // Marked played, so the thread fills and queues every buffer at once.
    headers_[i].dwFlags |= WHDR_DONE;
  }
  thread_ = std::thread([this] { play(); });
  return true;
}

void WaveOut::fill(WAVEHDR& header) {
  auto* out = reinterpret_cast<int16_t*>(header.lpData);
  if (paused_) {
    std::fill(out, out + kBufferFrames * 2, int16_t{0});
  } else {
    pull_(user_, out, kBufferFrames);
  }
  waveOutWrite(device_, &header, sizeof(WAVEHDR));
}

void WaveOut::play() {
  // The mix must be ready before the device runs dry, whatever the frame thread is doing.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  while (!stopping_) {
    for (WAVEHDR& header : headers_) {
      if ((header.dwFlags & WHDR_DONE) != 0 && !stopping_) fill(header);
    }
    WaitForSingleObject(done_, 100);
  }
}

void WaveOut::close() {
  if (device_ == nullptr) return;
  stopping_ = true;
  SetEvent(done_);
  if (thread_.joinable()) thread_.join();
  waveOutReset(device_);
  for (WAVEHDR& header : headers_) waveOutUnprepareHeader(device_, &header, sizeof(WAVEHDR));
  waveOutClose(device_);
  CloseHandle(done_);
  device_ = nullptr;
  done_ = nullptr;
}

}  // namespace vane::platform::win32
