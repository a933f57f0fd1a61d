#include "format/lzh.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int N = 4096;                           // ring buffer size
constexpr int F = 60;                             // look-ahead = longest match
constexpr int THRESHOLD = 2;                      // shortest match is THRESHOLD + 1
constexpr int NIL = N;                            // no node in the match trees
constexpr int N_CHAR = 256 - THRESHOLD + F;       // literals and match lengths
constexpr int T = N_CHAR * 2 - 1;                 // nodes of the Huffman tree
constexpr int R = T - 1;                          // its root
constexpr unsigned MAX_FREQ = 0x8000;             // rebuild when the root gets here
constexpr int TEXT_SIZE = N + F - 1;              // ring plus its mirrored head
constexpr int TEXT_PAD = 8;                       // slack for 8-byte compares

// Fixed code of the upper 6 bits of a match position: code lengths by value.
// The codes are canonical (shorter codes first, ascending), which is what the
// published encode and decode tables spell out.
constexpr std::array<uint8_t, 64> kPosLen = {
    3, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
    6, 6, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,
    7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8};

struct PositionTables {
  std::array<uint8_t, 64> code{};    // code, left-aligned in 8 bits
  std::array<uint8_t, 256> dcode{};  // upper 6 bits by the next 8 input bits
  std::array<uint8_t, 256> dlen{};   // length of the code those bits start with
};

constexpr PositionTables MakePositionTables() {
  PositionTables t{};
  unsigned next = 0;  // next code, left-aligned in 8 bits
  for (int i = 0; i < 64; ++i) {
    t.code[i] = static_cast<uint8_t>(next);
    unsigned span = 1u << (8 - kPosLen[i]);
    for (unsigned b = 0; b < span; ++b) {
      t.dcode[next + b] = static_cast<uint8_t>(i);
      t.dlen[next + b] = kPosLen[i];
    }
    next += span;
  }
  return t;
}
constexpr PositionTables kPos = MakePositionTables();
static_assert(kPos.code[1] == 0x20 && kPos.code[4] == 0x50 && kPos.code[12] == 0x90 &&
              kPos.code[24] == 0xC0 && kPos.code[48] == 0xF0 && kPos.code[63] == 0xFF);

// Adaptive Huffman model shared by both directions.
struct Huffman {
  uint32_t freq[T + 1];
  int32_t prnt[T + N_CHAR];
  int32_t son[T];

  void Start() {
    for (int i = 0; i < N_CHAR; ++i) {
      freq[i] = 1;
      son[i] = i + T;
      prnt[i + T] = i;
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
      freq[j] = freq[i] + freq[i + 1];
      son[j] = i;
      prnt[i] = prnt[i + 1] = j;
    }
    freq[T] = 0xFFFF;
    prnt[R] = 0;
  }

  void Rebuild() {
    // Leaves to the low positions with halved frequencies.
    int j = 0;
    for (int i = 0; i < T; ++i) {
      if (son[i] >= T) {
        freq[j] = (freq[i] + 1) / 2;
        son[j] = son[i];
        ++j;
      }
    }
    // Pair them up again, keeping freq ascending.
    for (int i = 0, k, jj = N_CHAR; jj < T; i += 2, ++jj) {
      uint32_t f = freq[jj] = freq[i] + freq[i + 1];
      for (k = jj - 1; f < freq[k]; --k) {
      }
      ++k;
      std::memmove(&freq[k + 1], &freq[k], sizeof(freq[0]) * static_cast<size_t>(jj - k));
      freq[k] = f;
      std::memmove(&son[k + 1], &son[k], sizeof(son[0]) * static_cast<size_t>(jj - k));
      son[k] = i;
    }
    for (int i = 0; i < T; ++i) {
      int k = son[i];
      if (k >= T) {
        prnt[k] = i;
      } else {
        prnt[k] = prnt[k + 1] = i;
      }
    }
  }

  void Update(int c) {
    if (freq[R] == MAX_FREQ) Rebuild();
    c = prnt[c + T];
    do {
      uint32_t k = ++freq[c];
      int l = c + 1;
      if (k > freq[l]) {
        while (k > freq[++l]) {
        }
        --l;
        freq[c] = freq[l];
        freq[l] = k;

        int i = son[c];
        prnt[i] = l;
        if (i < T) prnt[i + 1] = l;

        int j = son[l];
        son[l] = i;

        prnt[j] = c;
        if (j < T) prnt[j + 1] = c;
        son[c] = j;

        c = l;
      }
    } while ((c = prnt[c]) != 0);
  }
};

// ---------------------------------------------------------------- I/O adapters

// Coded input from a callback, fetched in blocks; bytes past the end read as 0.
class CallbackSource {
 public:
  explicit CallbackSource(const TLZHRead& read) : read_(read) {}
  // Next byte, 0 past the end. `past_end` counts the bytes made up.
  uint8_t Next() {
    if (pos_ == len_) {
      if (!Fill()) {
        ++past_end_;
        return 0;
      }
    }
    return buf_[pos_++];
  }
  uint64_t PastEnd() const { return past_end_; }

 private:
  bool Fill() {
    if (done_) return false;
    uint16_t got = read_(buf_, sizeof buf_);
    if (got == 0) {
      done_ = true;
      return false;
    }
    pos_ = 0;
    len_ = std::min<uint16_t>(got, sizeof buf_);
    return true;
  }
  const TLZHRead& read_;
  uint8_t buf_[4096];
  uint16_t pos_ = 0, len_ = 0;
  bool done_ = false;
  uint64_t past_end_ = 0;
};

class SpanSource {
 public:
  explicit SpanSource(std::span<const uint8_t> s) : p_(s.data()), end_(s.data() + s.size()) {}
  uint8_t Next() {
    if (p_ != end_) return *p_++;
    ++past_end_;
    return 0;
  }
  uint64_t PastEnd() const { return past_end_; }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t past_end_ = 0;
};

class CallbackSink {
 public:
  explicit CallbackSink(const TLZHWrite& write) : write_(write) {}
  ~CallbackSink() = default;
  void Put(uint8_t b) {
    buf_[len_++] = b;
    if (len_ == sizeof buf_) Flush();
  }
  void Flush() {
    if (len_ > 0) write_(buf_, len_);
    len_ = 0;
  }

 private:
  const TLZHWrite& write_;
  uint8_t buf_[4096];
  uint16_t len_ = 0;
};

class VectorSink {
 public:
  explicit VectorSink(std::vector<uint8_t>& out) : out_(out) {}
  void Put(uint8_t b) { out_.push_back(b); }
  void Flush() {}

 private:
  std::vector<uint8_t>& out_;
};

// Input bytes for the encoder, fetched in blocks.
class CallbackText {
 public:
  explicit CallbackText(const TLZHRead& read) : read_(read) {}
  bool Next(uint8_t& c) {
    if (pos_ == len_) {
      if (done_) return false;
      uint16_t got = read_(buf_, sizeof buf_);
      if (got == 0) {
        done_ = true;
        return false;
      }
      pos_ = 0;
      len_ = std::min<uint16_t>(got, sizeof buf_);
    }
    c = buf_[pos_++];
    return true;
  }

 private:
  const TLZHRead& read_;
  uint8_t buf_[4096];
  uint16_t pos_ = 0, len_ = 0;
  bool done_ = false;
};

class SpanText {
 public:
  explicit SpanText(std::span<const uint8_t> s) : p_(s.data()), end_(s.data() + s.size()) {}
  bool Next(uint8_t& c) {
    if (p_ == end_) return false;
    c = *p_++;
    return true;
  }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
};

// ---------------------------------------------------------------- encoder

struct EncoderState {
  uint8_t text[TEXT_SIZE + TEXT_PAD];
  int32_t lson[N + 1];
  int32_t rson[N + 257];
  int32_t dad[N + 1];
  Huffman huff;
  int match_position = 0;
  int match_length = 0;
};

template <class Sink>
class BitWriter {
 public:
  explicit BitWriter(Sink& sink) : sink_(sink) {}
  // Writes the low `len` bits of `code`, most significant first.
  void Put(uint64_t code, int len) {
    acc_ = (acc_ << len) | code;
    bits_ += len;
    while (bits_ >= 8) {
      bits_ -= 8;
      sink_.Put(static_cast<uint8_t>(acc_ >> bits_));
      ++written_;
    }
  }
  void Finish() {
    if (bits_ > 0) {
      sink_.Put(static_cast<uint8_t>(acc_ << (8 - bits_)));
      ++written_;
      bits_ = 0;
    }
    sink_.Flush();
  }
  uint32_t Written() const { return written_; }

 private:
  Sink& sink_;
  uint64_t acc_ = 0;
  int bits_ = 0;
  uint32_t written_ = 0;
};

void InitTree(EncoderState& s) {
  for (int i = N + 1; i <= N + 256; ++i) s.rson[i] = NIL;
  for (int i = 0; i < N; ++i) s.dad[i] = NIL;
}

// Index of the first byte in 1..F-1 where the strings at a and b differ, F if
// none; `cmp` gets the sign of the difference there.
inline int CompareStrings(const uint8_t* a, const uint8_t* b, int& cmp) {
  for (int i = 1; i < F; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    uint64_t d = x ^ y;
    if (d != 0) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
      int at = i + (__builtin_ctzll(d) >> 3);
#else
      int at = i;
      while (a[at] == b[at]) ++at;
#endif
      if (at >= F) break;
      cmp = static_cast<int>(a[at]) - static_cast<int>(b[at]);
      return at;
    }
  }
  cmp = 0;
  return F;
}

void InsertNode(EncoderState& s, int r) {
  int cmp = 1;
  const uint8_t* key = &s.text[r];
  int p = N + 1 + key[0];
  s.rson[r] = s.lson[r] = NIL;
  s.match_length = 0;
  for (;;) {
    if (cmp >= 0) {
      if (s.rson[p] != NIL) {
        p = s.rson[p];
      } else {
        s.rson[p] = r;
        s.dad[r] = p;
        return;
      }
    } else {
      if (s.lson[p] != NIL) {
        p = s.lson[p];
      } else {
        s.lson[p] = r;
        s.dad[r] = p;
        return;
      }
    }
    int i = CompareStrings(key, &s.text[p], cmp);
    if (i > THRESHOLD) {
      int pos = ((r - p) & (N - 1)) - 1;
      if (i > s.match_length) {
        s.match_position = pos;
        if ((s.match_length = i) >= F) break;
      } else if (i == s.match_length && pos < s.match_position) {
        s.match_position = pos;
      }
    }
  }
  // Full-length match: r takes p's place and p leaves the tree.
  s.dad[r] = s.dad[p];
  s.lson[r] = s.lson[p];
  s.rson[r] = s.rson[p];
  s.dad[s.lson[p]] = r;
  s.dad[s.rson[p]] = r;
  if (s.rson[s.dad[p]] == p) {
    s.rson[s.dad[p]] = r;
  } else {
    s.lson[s.dad[p]] = r;
  }
  s.dad[p] = NIL;
}

void DeleteNode(EncoderState& s, int p) {
  if (s.dad[p] == NIL) return;
  int q;
  if (s.rson[p] == NIL) {
    q = s.lson[p];
  } else if (s.lson[p] == NIL) {
    q = s.rson[p];
  } else {
    q = s.lson[p];
    if (s.rson[q] != NIL) {
      do {
        q = s.rson[q];
      } while (s.rson[q] != NIL);
      s.rson[s.dad[q]] = s.lson[q];
      s.dad[s.lson[q]] = s.dad[q];
      s.lson[q] = s.lson[p];
      s.dad[s.lson[p]] = q;
    }
    s.rson[q] = s.rson[p];
    s.dad[s.rson[p]] = q;
  }
  s.dad[q] = s.dad[p];
  if (s.rson[s.dad[p]] == p) {
    s.rson[s.dad[p]] = q;
  } else {
    s.lson[s.dad[p]] = q;
  }
  s.dad[p] = NIL;
}

template <class Sink>
void EncodeChar(EncoderState& s, BitWriter<Sink>& out, int c) {
  // The path from the leaf up to the root, root end in the high bits. Paths
  // can grow past 16 bits in a skewed tree; they are written whole.
  uint64_t code = 0;
  int len = 0;
  int k = s.huff.prnt[c + T];
  do {
    code |= static_cast<uint64_t>(k & 1) << len;
    ++len;
  } while ((k = s.huff.prnt[k]) != R);
  out.Put(code, len);
  s.huff.Update(c);
}

template <class Sink>
void EncodePosition(BitWriter<Sink>& out, unsigned c) {
  unsigned i = c >> 6;
  out.Put(kPos.code[i] >> (8 - kPosLen[i]), kPosLen[i]);
  out.Put(c & 0x3F, 6);
}

template <class Text, class Sink>
uint32_t Encode(EncoderState& s, Text& in, Sink& sink, uint32_t& codesize) {
  BitWriter<Sink> out(sink);
  s.huff.Start();
  InitTree(s);
  std::memset(s.text, 0, sizeof s.text);
  uint32_t textsize = 0;
  int r = N - F;
  int sp = 0;
  std::memset(s.text, ' ', static_cast<size_t>(r));
  int len = 0;
  uint8_t c;
  while (len < F && in.Next(c)) s.text[r + len++] = c;
  textsize = static_cast<uint32_t>(len);
  for (int i = 1; i <= F; ++i) InsertNode(s, r - i);
  InsertNode(s, r);
  while (len > 0) {
    if (s.match_length > len) s.match_length = len;
    if (s.match_length <= THRESHOLD) {
      s.match_length = 1;
      EncodeChar(s, out, s.text[r]);
    } else {
      EncodeChar(s, out, 255 - THRESHOLD + s.match_length);
      EncodePosition(out, static_cast<unsigned>(s.match_position));
    }
    int last = s.match_length;
    int i = 0;
    for (; i < last && in.Next(c); ++i) {
      DeleteNode(s, sp);
      s.text[sp] = c;
      if (sp < F - 1) s.text[sp + N] = c;
      sp = (sp + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      InsertNode(s, r);
    }
    textsize += static_cast<uint32_t>(i);
    while (i++ < last) {
      DeleteNode(s, sp);
      sp = (sp + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--len) InsertNode(s, r);
    }
  }
  out.Finish();
  codesize = out.Written();
  return textsize;
}

// ---------------------------------------------------------------- decoder

struct DecoderState {
  uint8_t text[N];
  Huffman huff;
};

template <class Source>
class BitReader {
 public:
  explicit BitReader(Source& src) : src_(src) {}
  int Bit() {
    if (bits_ == 0) Refill();
    int b = static_cast<int>(buf_ >> 63);
    buf_ <<= 1;
    --bits_;
    return b;
  }
  unsigned Bits(int n) {  // n <= 32
    if (bits_ < n) Refill();
    unsigned v = static_cast<unsigned>(buf_ >> (64 - n));
    buf_ <<= n;
    bits_ -= n;
    return v;
  }
  // Bits taken from the input, including made-up zero bits past its end.
  uint64_t Fetched() const { return fetched_; }
  int Buffered() const { return bits_; }

 private:
  void Refill() {
    while (bits_ <= 56) {
      buf_ |= static_cast<uint64_t>(src_.Next()) << (56 - bits_);
      bits_ += 8;
      fetched_ += 8;
    }
  }
  Source& src_;
  uint64_t buf_ = 0;
  int bits_ = 0;
  uint64_t fetched_ = 0;
};

template <class T>
std::unique_ptr<T> AllocateTables() {
  std::unique_ptr<T> p(new (std::nothrow) T);
  if (!p) throw ElzhException("LZH : Cannot get memory for dictionary tables");
  return p;
}

// True when the decoder consumed more bits than the input held.
template <class Source>
bool Overran(const Source& src, uint64_t fetched_bits, int buffered_bits) {
  uint64_t consumed = fetched_bits - static_cast<uint64_t>(buffered_bits);
  uint64_t available = fetched_bits - src.PastEnd() * 8;
  return consumed > available;
}

// Decodes `size` bytes (or a little more, when the last match passes it);
// returns true when the coded input ran out on the way.
template <class Source, class Sink>
bool Decode(uint32_t size, Source& src, Sink& sink) {
  auto state = AllocateTables<DecoderState>();
  DecoderState& s = *state;
  BitReader<Source> in(src);
  s.huff.Start();
  std::memset(s.text, ' ', N - F);
  std::memset(s.text + (N - F), 0, F);
  int r = N - F;
  uint64_t count = 0;
  const int32_t* son = s.huff.son;
  while (count < size) {
    int c = son[R];
    while (c < T) c = son[c + in.Bit()];
    c -= T;
    s.huff.Update(c);
    if (c < 256) {
      sink.Put(static_cast<uint8_t>(c));
      s.text[r] = static_cast<uint8_t>(c);
      r = (r + 1) & (N - 1);
      ++count;
    } else {
      unsigned first = in.Bits(8);
      unsigned upper = kPos.dcode[first];
      int rest = kPos.dlen[first] - 2;
      unsigned low = (first << rest) | in.Bits(rest);
      int pos = static_cast<int>((upper << 6) | (low & 0x3F));
      int i = (r - pos - 1) & (N - 1);
      int j = c - 255 + THRESHOLD;
      for (int k = 0; k < j; ++k) {
        uint8_t b = s.text[(i + k) & (N - 1)];
        sink.Put(b);
        s.text[r] = b;
        r = (r + 1) & (N - 1);
      }
      count += static_cast<uint64_t>(j);
    }
  }
  sink.Flush();
  return Overran(src, in.Fetched(), in.Buffered());
}

}  // namespace

uint32_t TLZH::Pack(const TLZHRead& read, const TLZHWrite& write) {
  auto state = AllocateTables<EncoderState>();
  CallbackText in(read);
  CallbackSink out(write);
  textsize_ = Encode(*state, in, out, codesize_);
  return textsize_;
}

void TLZH::Unpack(uint32_t size, const TLZHRead& read, const TLZHWrite& write) {
  CallbackSource in(read);
  CallbackSink out(write);
  overrun_ = Decode(size, in, out);
}

std::vector<uint8_t> LzhPack(std::span<const uint8_t> data) {
  auto state = AllocateTables<EncoderState>();
  std::vector<uint8_t> out;
  out.reserve(data.size() / 2 + 16);
  SpanText in(data);
  VectorSink sink(out);
  uint32_t codesize = 0;
  Encode(*state, in, sink, codesize);
  return out;
}

TLzhUnpacked LzhUnpack(std::span<const uint8_t> coded, uint32_t size) {
  TLzhUnpacked result;
  result.Bytes.reserve(size + F);
  SpanSource in(coded);
  VectorSink sink(result.Bytes);
  result.Overrun = Decode(size, in, sink);
  return result;
}

uint64_t LzhMaxExpansion(uint64_t coded_size) { return coded_size * 8 * 6 + F; }
