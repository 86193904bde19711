// SPDX-License-Identifier: GPL-3.0-or-later
// A preloaded counter of a program's heap: at exit it writes to $VANE_HEAP_REPORT the most ever in
// use and what is still in use (KiB), and with VANE_HEAP_LEAK=N it leaks 32 bytes on every Nth
// allocation (for the soak's own test).
#define _GNU_SOURCE
#include <dlfcn.h>
#include <malloc.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// Live bytes as the allocator counts them (malloc_usable_size), so that counting does not depend
// on how the program's own timing or the machine's page cache fall. Only the program's own
// thread allocates in a vane-sim run; the counts are atomic for whatever else may.
static atomic_long live, most, calls;
static long leakEvery;
static void* (*realMalloc)(size_t);
static void* (*realCalloc)(size_t, size_t);
static void* (*realRealloc)(void*, size_t);
static void (*realFree)(void*);
static int (*realMemalign)(void**, size_t, size_t);
static void* (*realAligned)(size_t, size_t);

// dlsym may itself call calloc before the real one is known; a small static pool serves it.
static char early[4096];
static size_t earlyUsed;

static void counted(void* p) {
  if (p == NULL) return;
  const long now =
      atomic_fetch_add(&live, (long)malloc_usable_size(p)) + (long)malloc_usable_size(p);
  long seen = atomic_load(&most);
  while (now > seen && !atomic_compare_exchange_weak(&most, &seen, now)) {
  }
  if (leakEvery > 0 && atomic_fetch_add(&calls, 1) % leakEvery == leakEvery - 1) {
    void* leak = realMalloc(32);
    if (leak != NULL) {
      memset(leak, 1, 32);
      atomic_fetch_add(&live, (long)malloc_usable_size(leak));
    }
  }
}

static void uncounted(void* p) {
  if (p != NULL) atomic_fetch_sub(&live, (long)malloc_usable_size(p));
}

// A function pointer from dlsym's object pointer, as POSIX has it.
static void lookUp(void* into, size_t size, const char* name) {
  void* found = dlsym(RTLD_NEXT, name);
  memcpy(into, &found, size);
}

__attribute__((constructor)) static void start(void) {
  lookUp(&realMalloc, sizeof realMalloc, "malloc");
  lookUp(&realCalloc, sizeof realCalloc, "calloc");
  lookUp(&realRealloc, sizeof realRealloc, "realloc");
  lookUp(&realFree, sizeof realFree, "free");
  lookUp(&realMemalign, sizeof realMemalign, "posix_memalign");
  lookUp(&realAligned, sizeof realAligned, "aligned_alloc");
  const char* every = getenv("VANE_HEAP_LEAK");
  leakEvery = every != NULL ? atol(every) : 0;
}

__attribute__((destructor)) static void report(void) {
  const char* path = getenv("VANE_HEAP_REPORT");
  FILE* out = path != NULL ? fopen(path, "w") : NULL;
  if (out == NULL) return;
  fprintf(out, "%ld %ld\n", atomic_load(&most) / 1024, atomic_load(&live) / 1024);
  fclose(out);
}

void* malloc(size_t size) {
  if (realMalloc == NULL) start();
  void* p = realMalloc(size);
  counted(p);
  return p;
}

void* calloc(size_t count, size_t size) {
  if (realCalloc == NULL) {
    const size_t bytes = (count * size + 15) & ~(size_t)15;
    if (earlyUsed + bytes > sizeof early) return NULL;
    void* p = early + earlyUsed;
    earlyUsed += bytes;
    return p;
  }
  void* p = realCalloc(count, size);
  counted(p);
  return p;
}

void* realloc(void* old, size_t size) {
  if (realRealloc == NULL) start();
  const long before = old != NULL ? (long)malloc_usable_size(old) : 0;
  void* p = realRealloc(old, size);
  if (p != NULL || size == 0) {
    atomic_fetch_sub(&live, before);
    counted(p);
  }
  return p;
}

void free(void* p) {
  if ((char*)p >= early && (char*)p < early + sizeof early) return;
  if (realFree == NULL) start();
  uncounted(p);
  realFree(p);
}

int posix_memalign(void** out, size_t alignment, size_t size) {
  if (realMemalign == NULL) start();
  const int failed = realMemalign(out, alignment, size);
  if (failed == 0) counted(*out);
  return failed;
}

void* aligned_alloc(size_t alignment, size_t size) {
  if (realAligned == NULL) start();
  void* p = realAligned(alignment, size);
  counted(p);
  return p;
}
