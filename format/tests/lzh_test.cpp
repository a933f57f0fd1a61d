#include "format/lzh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "reference/lzhuf_ref.h"
#include "sample_skin.h"
#include "test_util.h"

using testutil::Bytes;
using testutil::RandomBytes;

namespace {

struct Case {
  const char* name;
  std::function<std::vector<uint8_t>()> make;
};

std::vector<uint8_t> Repeat(std::string_view s, size_t total) {
  std::vector<uint8_t> v;
  while (v.size() < total)
    v.insert(v.end(), s.begin(), s.end());
  v.resize(total);
  return v;
}

std::vector<uint8_t> SkinLike() {
  std::vector<uint8_t> v;
  for (const auto& m : MakeSampleSkin(2))
    v.insert(v.end(), m.Bytes.begin(), m.Bytes.end());
  return v;
}

// Literals drawn from a steeply skewed distribution: the adaptive tree grows
// deep and lopsided.
std::vector<uint8_t> Skewed(size_t n) {
  std::mt19937 rng(7);
  std::vector<uint8_t> v(n);
  for (auto& b : v) {
    uint32_t r = static_cast<uint32_t>(rng());
    int k = 0;
    while ((r & 1) && k < 40) {
      r >>= 1;
      ++k;
    }
    b = static_cast<uint8_t>(k * 5 + 1);
  }
  return v;
}

const Case kCases[] = {
    {"Empty", [] { return std::vector<uint8_t>{}; }},
    {"OneByte", [] { return Bytes("A"); }},
    {"ShortText", [] { return Bytes("abcabcabd"); }},
    {"FiftyNineBytes", [] { return Repeat("The quick brown fox ", 59); }},
    {"SixtyIdentical", [] { return std::vector<uint8_t>(60, 'x'); }},
    {"SixtyOneIdentical", [] { return std::vector<uint8_t>(61, 'x'); }},
    {"LeadingSpaces", [] { return Bytes("      spaces first, then text      and more   "); }},
    {"OnlySpaces", [] { return std::vector<uint8_t>(5000, ' '); }},
    {"LongRun", [] { return std::vector<uint8_t>(100000, 0); }},
    {"Text", [] { return Repeat("[Title]\r\nBitmap=title.bmp\r\nFrameCount=2\r\n", 60000); }},
    {"RandomFullAlphabet", [] { return RandomBytes(120000, 1); }},
    {"RandomFourSymbols", [] { return RandomBytes(200000, 2, 4); }},
    {"PeriodBeyondRing", [] { return Repeat(testutil::Text(RandomBytes(4097, 3)), 30000); }},
    {"PeriodAtRing", [] { return Repeat(testutil::Text(RandomBytes(4096, 4)), 30000); }},
    {"SkinLike", SkinLike},
};

class LzhCases : public ::testing::TestWithParam<Case> {};

TEST_P(LzhCases, MatchesTheReferenceCoderBitForBit) {
  std::vector<uint8_t> input = GetParam().make();
  std::vector<uint8_t> ours = LzhPack(input);
  std::vector<uint8_t> ref = lzhuf_ref::Encode(input);
  ASSERT_EQ(ours.size(), ref.size());
  EXPECT_TRUE(ours == ref);
}

TEST_P(LzhCases, RoundTripsBothWays) {
  std::vector<uint8_t> input = GetParam().make();
  const uint32_t n = static_cast<uint32_t>(input.size());
  std::vector<uint8_t> ours = LzhPack(input);

  TLzhUnpacked back = LzhUnpack(ours, n);
  EXPECT_FALSE(back.Overrun);
  EXPECT_TRUE(back.Bytes == input);
  // The reference decoder reads ours, and ours reads the reference's.
  EXPECT_TRUE(lzhuf_ref::Decode(ours, n) == input);
  TLzhUnpacked from_ref = LzhUnpack(lzhuf_ref::Encode(input), n);
  EXPECT_FALSE(from_ref.Overrun);
  EXPECT_TRUE(from_ref.Bytes == input);
  // The length bound the container trusts must hold for real streams.
  EXPECT_GE(LzhMaxExpansion(ours.size()), input.size());
}

INSTANTIATE_TEST_SUITE_P(Data, LzhCases, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Lzh, CallbackFormsMatchTheBufferForms) {
  std::vector<uint8_t> input = RandomBytes(70000, 9, 16);
  // A reader that hands out at most 3 bytes per call.
  size_t pos = 0;
  int reads = 0;
  TLZHRead read = [&](uint8_t* buf, uint16_t count) -> uint16_t {
    ++reads;
    size_t n = std::min<size_t>({count, 3, input.size() - pos});
    std::copy_n(input.begin() + static_cast<std::ptrdiff_t>(pos), n, buf);
    pos += n;
    return static_cast<uint16_t>(n);
  };
  std::vector<uint8_t> coded;
  TLZHWrite write = [&](const uint8_t* buf, uint16_t count) -> uint16_t {
    coded.insert(coded.end(), buf, buf + count);
    return count;
  };
  TLZH packer;
  EXPECT_EQ(packer.Pack(read, write), input.size());
  EXPECT_EQ(packer.TextSize(), input.size());
  EXPECT_EQ(packer.CodeSize(), coded.size());
  EXPECT_TRUE(coded == LzhPack(input));

  pos = 0;
  std::vector<uint8_t> out;
  size_t cpos = 0;
  TLZHRead read_coded = [&](uint8_t* buf, uint16_t count) -> uint16_t {
    size_t n = std::min<size_t>(count, coded.size() - cpos);
    std::copy_n(coded.begin() + static_cast<std::ptrdiff_t>(cpos), n, buf);
    cpos += n;
    return static_cast<uint16_t>(n);
  };
  TLZHWrite write_out = [&](const uint8_t* buf, uint16_t count) -> uint16_t {
    out.insert(out.end(), buf, buf + count);
    return count;
  };
  TLZH unpacker;
  unpacker.Unpack(static_cast<uint32_t>(input.size()), read_coded, write_out);
  EXPECT_FALSE(unpacker.InputOverrun());
  EXPECT_TRUE(out == input);
}

TEST(Lzh, EmptyInputCodesToNothingAndSizeZeroReadsNothing) {
  EXPECT_TRUE(LzhPack({}).empty());
  int reads = 0, writes = 0;
  TLZH codec;
  codec.Unpack(
      0,
      [&](uint8_t*, uint16_t) -> uint16_t {
        ++reads;
        return 0;
      },
      [&](const uint8_t*, uint16_t c) -> uint16_t {
        writes += c;
        return c;
      });
  EXPECT_EQ(reads, 0);
  EXPECT_EQ(writes, 0);
}

TEST(Lzh, SkewedLiteralsRoundTrip) {
  // Codes in a lopsided adaptive tree can pass 16 bits; they must come out
  // whole.
  std::vector<uint8_t> input = Skewed(400000);
  TLzhUnpacked back = LzhUnpack(LzhPack(input), static_cast<uint32_t>(input.size()));
  EXPECT_FALSE(back.Overrun);
  EXPECT_TRUE(back.Bytes == input);
}

TEST(Lzh, SmallAlphabetsMatchTheReferenceBitForBit) {
  // Few symbols in use climb to the top of the adaptive tree and keep
  // trading places there, next to the root and its sentinel; uniform and
  // weighted draws give runs of equal counts shorter and longer than the
  // eight nodes the exchange search looks at in one step.
  for (int alphabet = 2; alphabet <= 12; ++alphabet) {
    for (bool weighted : {false, true}) {
      std::mt19937 rng(static_cast<uint32_t>(alphabet * 2 + weighted));
      std::vector<uint8_t> input(90000);
      for (auto& b : input) {
        uint32_t v = static_cast<uint32_t>(rng() % static_cast<uint32_t>(alphabet));
        if (weighted)
          v = std::min(v, static_cast<uint32_t>(rng() % static_cast<uint32_t>(alphabet)));
        b = static_cast<uint8_t>('a' + v * 19);
      }
      std::vector<uint8_t> coded = LzhPack(input);
      EXPECT_TRUE(coded == lzhuf_ref::Encode(input)) << alphabet << " " << weighted;
      EXPECT_TRUE(LzhUnpack(coded, static_cast<uint32_t>(input.size())).Bytes == input)
          << alphabet << " " << weighted;
    }
  }
}

TEST(Lzh, AFinalMatchIsCopiedWholePastTheRequestedSize) {
  std::vector<uint8_t> coded = LzhPack(std::vector<uint8_t>(60, 'x'));
  TLzhUnpacked out = LzhUnpack(coded, 2);  // one literal, then a 59-byte match
  EXPECT_EQ(out.Bytes.size(), 60u);
  EXPECT_FALSE(out.Overrun);
}

TEST(Lzh, TruncatedInputReadsAsZeroBitsAndIsFlagged) {
  std::vector<uint8_t> input = RandomBytes(50000, 5, 64);
  std::vector<uint8_t> coded = LzhPack(input);
  for (size_t keep : {size_t{0}, size_t{1}, coded.size() / 2, coded.size() - 1}) {
    std::vector<uint8_t> cut(coded.begin(), coded.begin() + static_cast<std::ptrdiff_t>(keep));
    TLzhUnpacked out = LzhUnpack(cut, static_cast<uint32_t>(input.size()));
    EXPECT_TRUE(out.Overrun) << keep;
    EXPECT_GE(out.Bytes.size(), input.size());
    EXPECT_LT(out.Bytes.size(), input.size() + 60);
  }
}

TEST(Lzh, GarbageDecodesToTheRequestedSizeAndStops) {
  for (uint32_t seed = 0; seed < 20; ++seed) {
    std::vector<uint8_t> junk = RandomBytes(1 + seed * 37, seed);
    TLzhUnpacked out = LzhUnpack(junk, 5000);
    EXPECT_GE(out.Bytes.size(), 5000u);
    EXPECT_LT(out.Bytes.size(), 5060u);
  }
}

TEST(Lzh, ExpansionBoundCoversTheMostCompressibleInput) {
  std::vector<uint8_t> zeros(4 << 20, 0);
  std::vector<uint8_t> coded = LzhPack(zeros);
  EXPECT_GE(LzhMaxExpansion(coded.size()), zeros.size());
  EXPECT_TRUE(LzhUnpack(coded, static_cast<uint32_t>(zeros.size())).Bytes == zeros);
}

}  // namespace
