// The row loops this processor runs against their plain forms, byte for byte, on random rows
// around each kernel's width: the plain forms are what processors without vector units run.
#include "imaging/filter_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace kelpra {
namespace {

std::vector<std::uint8_t> RandomBytes(std::size_t n, std::mt19937& rng) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<std::uint8_t> bytes(n);
  for (auto& b : bytes)
    b = std::uint8_t(byte(rng));
  return bytes;
}

std::vector<float> Weights(int zone) {
  std::vector<float> gf(3 * zone + 1);
  for (int i = 0; i <= 3 * zone; ++i)
    gf[i] = float(std::exp(double(-(i * i)) / double(2 * zone * zone)));
  return gf;
}

// The sum of the taps of each channel that lie inside a row of `width` pixels.
std::vector<float> ChannelSums(int width, const std::vector<float>& gf) {
  const int range = int(gf.size()) - 1;
  std::vector<float> sums;
  for (int x = 0; x < width; ++x) {
    float sum = 0;
    for (int ix = std::max(0, x - range); ix <= std::min(width - 1, x + range); ++ix)
      sum = float(double(sum) + double(gf[std::abs(ix - x)]));
    sums.insert(sums.end(), 3, sum);
  }
  return sums;
}

constexpr int kZones[] = {1, 2, 3, 5, 13, 30};

TEST(FilterRowsTest, BlurAcrossMatchesThePlainLoops) {
  std::mt19937 rng(1);
  for (const int zone : kZones) {
    const std::vector<float> gf = Weights(zone);
    const int span = 6 * zone + 1;
    for (const int width : {1, 2, 3 * zone, span, span + 1, span + 3, span + 11, span + 40}) {
      SCOPED_TRACE("zone " + std::to_string(zone) + ", width " + std::to_string(width));
      const std::size_t n = 3 * std::size_t(width);
      const std::vector<float> sums = ChannelSums(width, gf);
      for (int row = 0; row < 20; ++row) {
        const std::vector<std::uint8_t> in = RandomBytes(n, rng);
        std::vector<float> expected(n), actual(n), scratch(n);
        portable::BlurAcross(in.data(), expected.data(), width, gf, sums.data(), scratch.data());
        BlurAcross(in.data(), actual.data(), width, gf, sums.data(), scratch.data());
        ASSERT_EQ(expected, actual);
      }
    }
  }
}

TEST(FilterRowsTest, BlurDownMatchesThePlainLoops) {
  std::mt19937 rng(2);
  const SoftenBlend blends[] = {{0.0f}, {0.3f}, {0.5f}, {1.0f}};
  for (const int zone : kZones) {
    const std::vector<float> gf = Weights(zone);
    for (const int taps : {1, 3 * zone + 1, 6 * zone + 1}) {
      std::vector<float> weights(taps);
      float weightSum = 0;
      for (int i = 0; i < taps; ++i) {
        weights[i] = gf[std::abs(i - taps / 2)];
        weightSum = float(double(weightSum) + double(weights[i]));
      }
      for (const int values : {1, 7, 8, 33, 64, 101}) {
        SCOPED_TRACE("zone " + std::to_string(zone) + ", " + std::to_string(taps) + " taps, " +
                     std::to_string(values) + " values");
        std::vector<std::vector<float>> rows(taps);
        std::vector<const float*> rowAddresses;
        for (auto& row : rows) {
          for (const std::uint8_t b : RandomBytes(values, rng))
            row.push_back(b);
          rowAddresses.push_back(row.data());
        }
        const std::vector<std::uint8_t> original = RandomBytes(values, rng);
        std::vector<float> scratch(values);
        for (const SoftenBlend* blend : {static_cast<const SoftenBlend*>(nullptr), &blends[0],
                                         &blends[1], &blends[2], &blends[3]}) {
          std::vector<std::uint8_t> expected = original;
          std::vector<std::uint8_t> actual = original;
          portable::BlurDown(rowAddresses.data(), weights.data(), taps, weightSum, expected.data(),
                             values, blend, scratch.data());
          BlurDown(rowAddresses.data(), weights.data(), taps, weightSum, actual.data(), values,
                   blend, scratch.data());
          ASSERT_EQ(expected, actual);
        }
      }
    }
  }
}

// One tap of weight 1 passes each blurred channel through unchanged, so every pair of a channel
// and its blurred value meets Soften's mix, at every percentage.
TEST(FilterRowsTest, SoftenMixesEveryPairAsTheFormulaDoes) {
  std::vector<float> blurred(256 * 256);
  std::vector<std::uint8_t> pixels(256 * 256);
  for (int c = 0; c < 256; ++c) {
    for (int s = 0; s < 256; ++s) {
      pixels[c * 256 + s] = std::uint8_t(c);
      blurred[c * 256 + s] = float(s);
    }
  }
  const float* rows[] = {blurred.data()};
  const float weight = 1;
  std::vector<float> scratch(pixels.size());
  for (int percent = 0; percent <= 100; ++percent) {
    SCOPED_TRACE(percent);
    const SoftenBlend blend{float(percent / 100.0)};
    std::vector<std::uint8_t> mixed = pixels;
    BlurDown(rows, &weight, 1, 1, mixed.data(), int(mixed.size()), &blend, scratch.data());
    const double r = blend.rate;
    for (int c = 0; c < 256; ++c) {
      for (int s = 0; s < 256; ++s) {
        const double exact = std::nearbyint((1.0 - r) * double(c) + r * double(s));
        ASSERT_EQ(mixed[c * 256 + s], std::uint8_t(exact)) << "c " << c << ", s " << s;
      }
    }
  }
}

TEST(FilterRowsTest, SharpenRowMatchesThePlainLoops) {
  std::mt19937 rng(3);
  for (const int percent : {0, 1, 30, 50, 100}) {
    for (const int width : {1, 2, 3, 5, 8, 11, 40}) {
      SCOPED_TRACE(std::to_string(percent) + "% on width " + std::to_string(width));
      const std::size_t n = 3 * std::size_t(width);
      const auto up = RandomBytes(n, rng), mid = RandomBytes(n, rng), down = RandomBytes(n, rng);
      std::vector<std::uint8_t> expected(n), actual(n);
      std::vector<int> columns(n + 6);
      portable::SharpenRow(up.data(), mid.data(), down.data(), expected.data(), width,
                           percent / 100.0, columns.data() + 3);
      SharpenRow(up.data(), mid.data(), down.data(), actual.data(), width, percent / 100.0,
                 columns.data() + 3);
      ASSERT_EQ(expected, actual);
    }
  }
}

}  // namespace
}  // namespace kelpra
