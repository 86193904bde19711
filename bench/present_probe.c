// A preloaded probe for bench/play.sh: stamps each picture the game presents, when its window is
// shown, and the processor time the event pump takes.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

// The SDL window flags this probe reads: a window created without SDL_WINDOW_HIDDEN is shown.
#define PROBE_WINDOW_HIDDEN 0x00000008u

static FILE* out;

static long long realtimeNanos(void) {
  struct timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static int opened(void) {
  if (out == NULL) {
    const char* path = getenv("VANE_PROBE_OUT");
    if (path == NULL) return 0;
    out = fopen(path, "w");
    if (out == NULL) return 0;
    setvbuf(out, NULL, _IOLBF, 0);
  }
  return 1;
}

static void stamp(const char* what) {
  if (opened()) fprintf(out, "%s %lld\n", what, realtimeNanos());
}

static long long threadCpuNanos(void) {
  struct timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static void* next(const char* name) {
  return dlsym(RTLD_NEXT, name);
}

void* SDL_CreateWindow(const char* title, int x, int y, int w, int h, uint32_t flags) {
  static void* (*real)(const char*, int, int, int, int, uint32_t);
  if (real == NULL)
    real = (void* (*)(const char*, int, int, int, int, uint32_t))next("SDL_CreateWindow");
  void* window = real(title, x, y, w, h, flags);
  if (window != NULL && (flags & PROBE_WINDOW_HIDDEN) == 0) stamp("shown");
  return window;
}

void SDL_ShowWindow(void* window) {
  static void (*real)(void*);
  if (real == NULL) real = (void (*)(void*))next("SDL_ShowWindow");
  real(window);
  stamp("shown");
}

void SDL_RenderPresent(void* renderer) {
  static void (*real)(void*);
  if (real == NULL) real = (void (*)(void*))next("SDL_RenderPresent");
  real(renderer);
  stamp("present");
}

int SDL_UpdateWindowSurface(void* window) {
  static int (*real)(void*);
  if (real == NULL) real = (int (*)(void*))next("SDL_UpdateWindowSurface");
  const int result = real(window);
  stamp("present");
  return result;
}

int SDL_UpdateWindowSurfaceRects(void* window, const void* rects, int count) {
  static int (*real)(void*, const void*, int);
  if (real == NULL) real = (int (*)(void*, const void*, int))next("SDL_UpdateWindowSurfaceRects");
  const int result = real(window, rects, count);
  stamp("present");
  return result;
}

// The event pump: processor time in SDL_PollEvent and in the controller updates made beside it,
// and the looks at the queue (each ends with a call that finds it empty). Stamped every 100 looks
// as "pump TIME NANOS LOOKS".
static long long pumpNanos;
static long long looks;

int SDL_PollEvent(void* event) {
  static int (*real)(void*);
  if (real == NULL) real = (int (*)(void*))next("SDL_PollEvent");
  const long long from = threadCpuNanos();
  const int result = real(event);
  pumpNanos += threadCpuNanos() - from;
  if (result == 0 && ++looks % 100 == 0 && opened()) {
    fprintf(out, "pump %lld %lld %lld\n", realtimeNanos(), pumpNanos, looks);
  }
  return result;
}

void SDL_GameControllerUpdate(void) {
  static void (*real)(void);
  if (real == NULL) real = (void (*)(void))next("SDL_GameControllerUpdate");
  const long long from = threadCpuNanos();
  real();
  pumpNanos += threadCpuNanos() - from;
}
