// SPDX-License-Identifier: GPL-3.0-or-later
// The software scaler: 5-6-5 pixels widened by arithmetic, and per-line taps of the enlargement.
#include "platform/picture/software_scaler.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// Where the compiler can build functions for wider vectors, they are used when the processor has
// them.
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define VANE_SCALER_AVX2 1
#define VANE_AVX2 __attribute__((target("avx2")))
#endif

namespace vane::platform {

namespace {

// Blends two pixels of byte-wide channels, `weight` (0..256) parts of `b` in 256.
uint32_t blend(uint32_t a, uint32_t b, uint32_t weight) {
  const uint32_t keep = 256 - weight;
  const uint32_t oddBytes = ((a & 0x00FF00FF) * keep + (b & 0x00FF00FF) * weight) >> 8 & 0x00FF00FF;
  const uint32_t evenBytes =
      (((a >> 8) & 0x00FF00FF) * keep + ((b >> 8) & 0x00FF00FF) * weight) & 0xFF00FF00;
  return oddBytes | evenBytes;
}

#if defined(__SSE2__)
// Four pixels at once, as blend() does each: every byte (a * keep + b * weight) >> 8 in 16-bit
// lanes, where it cannot overflow (255 * 256 at most). `keep` and `weight` hold a lane per byte
// of two pixels, `...Low` for the first two and `...High` for the last two.
__m128i blendFour(__m128i a, __m128i b, __m128i keepLow, __m128i weightLow, __m128i keepHigh,
                  __m128i weightHigh) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i low =
      _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(a, zero), keepLow),
                                   _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), weightLow)),
                     8);
  const __m128i high =
      _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), keepHigh),
                                   _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), weightHigh)),
                     8);
  return _mm_packus_epi16(low, high);
}

__m128i load(const uint32_t* pixels) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
}
#endif

#if defined(VANE_SCALER_AVX2)
bool hasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2") != 0;
  return has;
}

// Eight pixels at once: blendFour's steps in each 128-bit half.
VANE_AVX2 __m256i blendEight(__m256i a, __m256i b, __m256i keepLow, __m256i weightLow,
                             __m256i keepHigh, __m256i weightHigh) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i low = _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(a, zero), keepLow),
                       _mm256_mullo_epi16(_mm256_unpacklo_epi8(b, zero), weightLow)),
      8);
  const __m256i high = _mm256_srli_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(a, zero), keepHigh),
                       _mm256_mullo_epi16(_mm256_unpackhi_epi8(b, zero), weightHigh)),
      8);
  return _mm256_packus_epi16(low, high);
}

VANE_AVX2 __m256i loadEight(const void* from) {
  return _mm256_loadu_si256(static_cast<const __m256i*>(from));
}

// blendLines over the whole eights of `count`; returns the pixels done.
VANE_AVX2 size_t blendLinesByEights(const uint32_t* a, const uint32_t* b, uint32_t weight,
                                    uint32_t* out, size_t count) {
  const __m256i weights = _mm256_set1_epi16(static_cast<int16_t>(weight));
  const __m256i keeps = _mm256_set1_epi16(static_cast<int16_t>(256 - weight));
  size_t x = 0;
  for (; x + 8 <= count; x += 8) {
    _mm256_storeu_si256(
        reinterpret_cast<__m256i*>(out + x),
        blendEight(loadEight(a + x), loadEight(b + x), keeps, weights, keeps, weights));
  }
  return x;
}

// blendColumns over the whole eights of `count`; returns the pixels done.
VANE_AVX2 size_t blendColumnsByEights(const uint32_t* line, const int* firsts, const int* seconds,
                                      const uint32_t* weights, uint32_t* out, size_t count) {
  const __m256i full = _mm256_set1_epi16(256);
  const auto* source = reinterpret_cast<const int*>(line);
  size_t x = 0;
  for (; x + 8 <= count; x += 8) {
    // Each pixel's weight copied into the four lanes of its bytes, as blendColumns does.
    const __m256i eight = loadEight(weights + x);
    const __m256i pairLow = _mm256_unpacklo_epi32(eight, eight);
    const __m256i pairHigh = _mm256_unpackhi_epi32(eight, eight);
    const __m256i weightLow = _mm256_packs_epi32(_mm256_unpacklo_epi64(pairLow, pairLow),
                                                 _mm256_unpackhi_epi64(pairLow, pairLow));
    const __m256i weightHigh = _mm256_packs_epi32(_mm256_unpacklo_epi64(pairHigh, pairHigh),
                                                  _mm256_unpackhi_epi64(pairHigh, pairHigh));
    const __m256i first = _mm256_i32gather_epi32(source, loadEight(firsts + x), 4);
    const __m256i second = _mm256_i32gather_epi32(source, loadEight(seconds + x), 4);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                        blendEight(first, second, _mm256_sub_epi16(full, weightLow), weightLow,
                                   _mm256_sub_epi16(full, weightHigh), weightHigh));
  }
  return x;
}
#endif

// out[x] = blend(a[x], b[x], weight) along a line.
void blendLines(const uint32_t* a, const uint32_t* b, uint32_t weight, uint32_t* out,
                size_t count) {
  size_t x = 0;
#if defined(VANE_SCALER_AVX2)
  if (hasAvx2()) x = blendLinesByEights(a, b, weight, out, count);
#endif
#if defined(__SSE2__)
  const __m128i weights = _mm_set1_epi16(static_cast<int16_t>(weight));
  const __m128i keeps = _mm_set1_epi16(static_cast<int16_t>(256 - weight));
  for (; x + 4 <= count; x += 4) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                     blendFour(load(a + x), load(b + x), keeps, weights, keeps, weights));
  }
#endif
  for (; x < count; ++x) out[x] = blend(a[x], b[x], weight);
}

// out[x] = blend(line[firsts[x]], line[seconds[x]], weights[x]): each output pixel blends two
// pixels of the line, by its own weight.
void blendColumns(const uint32_t* line, const int* firsts, const int* seconds,
                  const uint32_t* weights, uint32_t* out, size_t count) {
  size_t x = 0;
#if defined(VANE_SCALER_AVX2)
  if (hasAvx2()) x = blendColumnsByEights(line, firsts, seconds, weights, out, count);
#endif
#if defined(__SSE2__)
  const __m128i full = _mm_set1_epi16(256);
  const auto gather = [line](const int* at) {
    return _mm_set_epi32(static_cast<int>(line[at[3]]), static_cast<int>(line[at[2]]),
                         static_cast<int>(line[at[1]]), static_cast<int>(line[at[0]]));
  };
  for (; x + 4 <= count; x += 4) {
    // Each pixel's weight copied into the four lanes of its bytes.
    const __m128i four = load(weights + x);
    const __m128i pairLow = _mm_unpacklo_epi32(four, four);
    const __m128i pairHigh = _mm_unpackhi_epi32(four, four);
    const __m128i weightLow =
        _mm_packs_epi32(_mm_unpacklo_epi64(pairLow, pairLow), _mm_unpackhi_epi64(pairLow, pairLow));
    const __m128i weightHigh = _mm_packs_epi32(_mm_unpacklo_epi64(pairHigh, pairHigh),
                                               _mm_unpackhi_epi64(pairHigh, pairHigh));
    _mm_storeu_si128(
        reinterpret_cast<__m128i*>(out + x),
        blendFour(gather(firsts + x), gather(seconds + x), _mm_sub_epi16(full, weightLow),
                  weightLow, _mm_sub_epi16(full, weightHigh), weightHigh));
  }
#endif
  for (; x < count; ++x) out[x] = blend(line[firsts[x]], line[seconds[x]], weights[x]);
}

// A 5-bit level widened to the nearest of 0..255, (level * 255 + 15) / 31, without a division.
constexpr uint32_t fiveToEight(uint32_t level) {
  return (level * 527 + 23) >> 6;
}
// A 6-bit level likewise, (level * 255 + 31) / 63.
constexpr uint32_t sixToEight(uint32_t level) {
  return (level * 259 + 33) >> 6;
}

constexpr bool widensToNearest() {
  for (uint32_t level = 0; level < 64; ++level) {
    if (level < 32 && fiveToEight(level) != (level * 255 + 15) / 31) return false;
    if (sixToEight(level) != (level * 255 + 31) / 63) return false;
  }
  return true;
}
static_assert(widensToNearest());

}  // namespace

SoftwareScaler::SoftwareScaler(const PixelLayout& layout, int pictureWidth, int pictureHeight)
    : pictureWidth_(pictureWidth), pictureHeight_(pictureHeight), layout_(layout) {}

// Each channel widened to the nearest of 0..255, as a graphics card reads the texture.
uint32_t SoftwareScaler::outputPixel(uint16_t value) const {
  return fiveToEight(value >> 11u) << layout_.redShift |
         sixToEight((value >> 5u) & 0x3Fu) << layout_.greenShift |
         fiveToEight(value & 0x1Fu) << layout_.blueShift | layout_.alwaysSet;
}

void SoftwareScaler::setTarget(int width, int height) {
  const PictureRect target{0, 0, width, height};
  const int step = enlargementFor(target, pictureWidth_, pictureHeight_);
  columns_ = tapsFor(pictureWidth_, width, step);
  rows_ = tapsFor(pictureHeight_, height, step);
  columnStep_ = width == pictureWidth_ * step ? step : 0;
  converted_.assign(static_cast<size_t>(pictureWidth_), 0);
  columnFirsts_.resize(columns_.size());
  columnSeconds_.resize(columns_.size());
  columnWeights_.resize(columns_.size());
  for (size_t x = 0; x < columns_.size(); ++x) {
    columnFirsts_[x] = columns_[x].first;
    columnSeconds_[x] = columns_[x].second;
    columnWeights_[x] = columns_[x].weight;
  }
  for (Widened& w : widened_) w.scratch.assign(columns_.size(), 0);
}

std::vector<SoftwareScaler::Tap> SoftwareScaler::tapsFor(int source, int target, int step) {
  std::vector<Tap> taps(static_cast<size_t>(std::max(target, 0)));
  const int64_t enlarged = static_cast<int64_t>(source) * step;
  for (int i = 0; i < target; ++i) {
    // The centre of output pixel i in the enlarged picture's pixels, less half a pixel, is
    // position / scale; linear filtering blends enlarged pixels floor(p) and floor(p) + 1.
    const int64_t position = (2 * static_cast<int64_t>(i) + 1) * enlarged - target;
    const int64_t scale = 2 * static_cast<int64_t>(target);
    if (position <= 0) continue;  // at the very edge: the first pixel alone
    const int64_t left = position / scale;
    const int first = static_cast<int>(left / step);
    const int second = std::min(static_cast<int>((left + 1) / step), source - 1);
    if (first == second) {
      taps[static_cast<size_t>(i)] = Tap{first, first, 0};
      continue;
    }
    const auto weight = static_cast<uint32_t>((position - left * scale) * 256 / scale);
    taps[static_cast<size_t>(i)] = Tap{first, weight == 0 ? first : second, weight};
  }
  return taps;
}

void SoftwareScaler::convert(const uint16_t* sourceRow, uint32_t* out) const {
  int x = span_.sourceFirst;
#if defined(__SSE2__)
  // Eight pixels at a time in 16-bit lanes: the low and high halves of the output pixels are
  // built apart, then interleaved. A channel goes into the half its byte is in: shifted by 16 or
  // more, a lane comes out empty, so each channel is shifted into both and lands in one.
  const auto inLow = [](int shift) { return _mm_cvtsi32_si128(shift < 16 ? shift : 16); };
  const auto inHigh = [](int shift) { return _mm_cvtsi32_si128(shift >= 16 ? shift - 16 : 16); };
  const __m128i redLow = inLow(layout_.redShift);
  const __m128i redHigh = inHigh(layout_.redShift);
  const __m128i greenLow = inLow(layout_.greenShift);
  const __m128i greenHigh = inHigh(layout_.greenShift);
  const __m128i blueLow = inLow(layout_.blueShift);
  const __m128i blueHigh = inHigh(layout_.blueShift);
  const __m128i lowSet = _mm_set1_epi16(static_cast<int16_t>(layout_.alwaysSet & 0xFFFF));
  const __m128i highSet = _mm_set1_epi16(static_cast<int16_t>(layout_.alwaysSet >> 16));
  const __m128i fiveBits = _mm_set1_epi16(0x1F);
  const __m128i sixBits = _mm_set1_epi16(0x3F);
  const __m128i fiveScale = _mm_set1_epi16(527);
  const __m128i fiveRound = _mm_set1_epi16(23);
  const __m128i sixScale = _mm_set1_epi16(259);
  const __m128i sixRound = _mm_set1_epi16(33);
  for (; x + 8 <= span_.sourceEnd; x += 8) {
    const __m128i value = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sourceRow + x));
    const __m128i red = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(value, 11), fiveScale), fiveRound), 6);
    const __m128i green = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(_mm_srli_epi16(value, 5), sixBits), sixScale),
                      sixRound),
        6);
    const __m128i blue = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(value, fiveBits), fiveScale), fiveRound), 6);
    const __m128i low =
        _mm_or_si128(_mm_or_si128(lowSet, _mm_sll_epi16(red, redLow)),
                     _mm_or_si128(_mm_sll_epi16(green, greenLow), _mm_sll_epi16(blue, blueLow)));
    const __m128i high =
        _mm_or_si128(_mm_or_si128(highSet, _mm_sll_epi16(red, redHigh)),
                     _mm_or_si128(_mm_sll_epi16(green, greenHigh), _mm_sll_epi16(blue, blueHigh)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_unpacklo_epi16(low, high));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 4), _mm_unpackhi_epi16(low, high));
  }
#endif
  for (; x < span_.sourceEnd; ++x) out[x] = outputPixel(sourceRow[x]);
}

void SoftwareScaler::repeatColumns(const uint32_t* converted, uint32_t* out) const {
  const int from = span_.sourceFirst;
  const int end = span_.sourceEnd;
#if defined(__SSE2__)
  // Streaming stores: the output is written whole and read by the display, not by us, so its old
  // contents are not fetched into the cache first.
  uint32_t* start = out + static_cast<std::ptrdiff_t>(from) * columnStep_;
  if ((columnStep_ == 1 || columnStep_ == 2) && reinterpret_cast<uintptr_t>(start) % 16 == 0 &&
      (end - from) % 4 == 0) {
    auto* wide = reinterpret_cast<__m128i*>(start);
    for (int x = from; x < end; x += 4) {
      const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(converted + x));
      if (columnStep_ == 1) {
        _mm_stream_si128(wide++, four);
      } else {
        _mm_stream_si128(wide++, _mm_unpacklo_epi32(four, four));
        _mm_stream_si128(wide++, _mm_unpackhi_epi32(four, four));
      }
    }
    return;
  }
#endif
  // The usual steps get loops of a known count, which the compiler turns into wide stores.
  switch (columnStep_) {
    case 1:
      std::memcpy(out + from, converted + from, static_cast<size_t>(end - from) * sizeof(uint32_t));
      return;
    case 2:
      for (int x = from; x < end; ++x) out[2 * x] = out[2 * x + 1] = converted[x];
      return;
    case 3:
      for (int x = from; x < end; ++x) out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = converted[x];
      return;
    default:
      for (int x = from; x < end; ++x) {
        std::fill_n(out + static_cast<std::ptrdiff_t>(x) * columnStep_, columnStep_, converted[x]);
      }
      return;
  }
}

void SoftwareScaler::widen(const uint16_t* sourceRow, uint32_t* out) const {
  convert(sourceRow, converted_.data());
  if (columnStep_ != 0) {
    // Whole steps: each pixel converted once and written as many times over.
    repeatColumns(converted_.data(), out);
    return;
  }
  // Each column's two source pixels blended, many at a time; a weight of 0 keeps the first exactly.
  const auto from = static_cast<size_t>(span_.outFirst);
  blendColumns(converted_.data(), columnFirsts_.data() + from, columnSeconds_.data() + from,
               columnWeights_.data() + from, out + from, span_.width());
}

RowBand SoftwareScaler::draw(const uint16_t* picture, RowBand rows, uint32_t* out,
                             int outPitch) const {
  return draw(picture, rows, RowBand{0, pictureWidth_}, out, outPitch).lines;
}

SoftwareScaler::Drawn SoftwareScaler::draw(const uint16_t* picture, RowBand rows, RowBand columns,
                                           uint32_t* out, int outPitch) const {
  if (rows.empty() || columns.empty() || rows_.empty() || columns_.empty()) return Drawn{};
  const RowBand lines = reached(rows_, rows);
  // Whole steps go four source pixels at a time, so the band is widened to fours.
  if (columnStep_ != 0) {
    columns = RowBand{columns.first & ~3, std::min((columns.end + 3) & ~3, pictureWidth_)};
  }
  const RowBand across = reached(columns_, columns);
  span_ = Span{columns_[static_cast<size_t>(across.first)].first,
               columns_[static_cast<size_t>(across.end) - 1].second + 1, across.first, across.end};
  const size_t spanBytes = span_.width() * sizeof(uint32_t);
  for (Widened& w : widened_) w.row = -1;
  int convertedRow = -1;
  for (int y = lines.first; y < lines.end; ++y) {
    uint32_t* line = out + static_cast<std::ptrdiff_t>(y) * outPitch;
    const Tap& tap = rows_[static_cast<size_t>(y)];
    if (columnStep_ != 0 && tap.weight == 0) {
      // Each line of a whole-step enlargement is written from the converted row, never read back
      // from the output, which may be memory the display reads.
      if (tap.first != convertedRow) {
        convert(picture + static_cast<std::ptrdiff_t>(tap.first) * pictureWidth_,
                converted_.data());
        convertedRow = tap.first;
      }
      repeatColumns(converted_.data(), line);
      continue;
    }
    convertedRow = -1;  // widening below converts into the same line
    if (y > lines.first && tap == rows_[static_cast<size_t>(y) - 1]) {
      std::memcpy(line + span_.outFirst, line - outPitch + span_.outFirst, spanBytes);
      continue;
    }
    if (tap.weight == 0) {
      const uint32_t* row = widenedRow(picture, tap.first, line);
      if (row != line) std::memcpy(line + span_.outFirst, row + span_.outFirst, spanBytes);
      continue;
    }
    const uint32_t* upper = widenedRow(picture, tap.first, nullptr);
    const uint32_t* lower = widenedRow(picture, tap.second, nullptr);
    blendLines(upper + span_.outFirst, lower + span_.outFirst, tap.weight, line + span_.outFirst,
               span_.width());
  }
#if defined(__SSE2__)
  _mm_sfence();  // the streaming stores reach memory before the display is told to read it
#endif
  return Drawn{lines, across};
}

RowBand SoftwareScaler::reached(const std::vector<Tap>& taps, RowBand source) {
  // Taps only ever move on through the picture, so the output reached forms one band.
  const auto first = std::partition_point(
      taps.begin(), taps.end(), [&](const Tap& tap) { return tap.second < source.first; });
  const auto end = std::partition_point(first, taps.end(),
                                        [&](const Tap& tap) { return tap.first < source.end; });
  return RowBand{static_cast<int>(first - taps.begin()), static_cast<int>(end - taps.begin())};
}

const uint32_t* SoftwareScaler::widenedRow(const uint16_t* picture, int row, uint32_t* into) const {
  for (const Widened& w : widened_) {
    if (w.row == row) return w.pixels;
  }
  Widened& oldest = widened_[0].row < widened_[1].row ? widened_[0] : widened_[1];
  uint32_t* target = into != nullptr ? into : oldest.scratch.data();
  widen(picture + static_cast<std::ptrdiff_t>(row) * pictureWidth_, target);
  oldest.row = row;
  oldest.pixels = target;
  return target;
}

}  // namespace vane::platform
