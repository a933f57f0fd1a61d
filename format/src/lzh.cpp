#include "format/lzh.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int N = 4096;                      // ring buffer size
constexpr int F = 60;                        // look-ahead = longest match
constexpr int THRESHOLD = 2;                 // shortest match is THRESHOLD + 1
constexpr int NIL = N;                       // no node in the match trees
constexpr int N_CHAR = 256 - THRESHOLD + F;  // literals and match lengths
constexpr int T = N_CHAR * 2 - 1;            // nodes of the Huffman tree
constexpr int R = T - 1;                     // its root
constexpr unsigned MAX_FREQ = 0x8000;        // rebuild when the root gets here
constexpr int TEXT_SIZE = N + F - 1;         // ring plus its mirrored head
constexpr int TEXT_PAD = 8;                  // slack for 8-byte compares

// Fixed code of the upper 6 bits of a match position: code lengths by value.
// The codes are canonical (shorter codes first, ascending), which is what the
// published encode and decode tables spell out.
constexpr std::array<uint8_t, 64> kPosLen = {
    3, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7, 7, 7, 7, 7, 7, 7, 7,
    7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8};

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
constexpr int FREQ_PAD = 8;  // slack behind the sentinel for 8-wide compares

struct Huffman {
  uint32_t freq[T + 1 + FREQ_PAD];
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
    for (int i = T; i <= T + FREQ_PAD; ++i)
      freq[i] = 0xFFFF;  // the sentinel and the slack behind it
    prnt[R] = 0;
  }

  __attribute__((noinline)) void Rebuild() {
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

  // After symbol c: counts it, keeping freq ascending by moving nodes.
  __attribute__((always_inline)) void Update(int c) {
    if (freq[R] == MAX_FREQ) [[unlikely]]
      Rebuild();
    c = prnt[c + T];
    do {
      if (uint32_t k = ++freq[c]; k > freq[c + 1]) c = Exchange(c, k);
    } while ((c = prnt[c]) != 0);
  }

  // As Update, for a symbol whose path is known: `n` nodes from its leaf's
  // position up to the root's child, node i at first[i * stride]. While no
  // node moves, the parent of each is the next one on the path, so the counts
  // can go up without waiting for each parent to be looked up; from the first
  // move on the walk follows the parents.
  void UpdateAlong(int c, const int* first, int n, int stride) {
    if (freq[R] == MAX_FREQ) [[unlikely]] {
      Update(c);  // the rebuild reshapes the tree
      return;
    }
    for (int i = 0; i <= n; ++i) {
      const int node = i < n ? first[i * stride] : R;
      if (uint32_t k = ++freq[node]; k > freq[node + 1]) {
        int m = Exchange(node, k);
        while ((m = prnt[m]) != 0) {
          if (uint32_t km = ++freq[m]; km > freq[m + 1]) m = Exchange(m, km);
        }
        return;
      }
    }
  }

  // Node c's frequency just became k, above its right neighbour's: swap c
  // with the last node whose frequency is still below k, and return that
  // node's index (where c's subtree now is).
  int Exchange(int c, uint32_t k) {
    const int l = LastBelow(c, k);
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
    return l;
  }

  // The last node after c whose frequency is below k (freq[c + 1] is).
  // freq is ascending from c + 1 and ends in the 0xFFFF sentinel. Most
  // searches end within a few nodes: the next eight are compared at once, so
  // the search costs one predictable branch instead of a mispredicted one per
  // node; longer runs of equal frequencies (hundreds of nodes right after the
  // start) gallop, then halve.
  int LastBelow(int c, uint32_t k) const {
#if defined(__SSE2__)
    // Frequencies stay below 0x10000, so signed lanes compare them exactly.
    const __m128i key = _mm_set1_epi32(static_cast<int>(k));
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&freq[c + 1]));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&freq[c + 5]));
    const unsigned below =
        static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(key, a)))) |
        static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(key, b)))) << 4;
    // Ascending: the nodes below k are a prefix of the eight.
    if (below != 0xFF) return c + __builtin_ctz(~below);
    return Gallop(c + 8, k);
#else
    return Gallop(c + 1, k);
#endif
  }

  // The last node from `lo` on whose frequency is below k (freq[lo] is).
  int Gallop(int lo, uint32_t k) const {
    int step = 1, hi = lo + 1;
    while (hi < T && k > freq[hi]) {
      lo = hi;
      step <<= 1;
      hi = lo + step;
    }
    if (hi > T) hi = T;  // freq[T] is the 0xFFFF sentinel
    while (hi - lo > 1) {
      int mid = lo + (hi - lo) / 2;
      if (k > freq[mid]) {
        lo = mid;
      } else {
        hi = mid;
      }
    }
    return lo;
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
  // The next `n` (1..8) bytes as the high bytes of a big-endian word, when
  // that many remain.
  bool Take(int n, uint64_t& word) {
    if (end_ - p_ < 8) return false;
    uint64_t w;
    std::memcpy(&w, p_, 8);
    word = __builtin_bswap64(w) & (~0ull << (64 - 8 * n));
    p_ += n;
    return true;
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
  // Match-finder trees: the two children of each node side by side ([0] left,
  // [1] right; entries N+1..N+256 are the roots, right child only) and the
  // parents. 16-bit entries keep the whole finder in the first-level cache.
  int16_t child[N + 257][2];
  int16_t dad[N + 1];
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

// Tree entries are 16-bit: every index (ring positions, NIL, the roots) is
// below N + 257.
inline int16_t Index16(int i) {
  return static_cast<int16_t>(i);
}

void InitTree(EncoderState& s) {
  for (int i = N + 1; i <= N + 256; ++i)
    s.child[i][1] = Index16(NIL);
  for (int i = 0; i < N; ++i)
    s.dad[i] = Index16(NIL);
}

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// Where the strings at `key` and `node` first differ, from index 9 on (the
// first eight after the leading byte are known equal); F when they agree up
// to F - 1. `cmp` gets the sign of the difference there.
inline int CompareTail(const uint8_t* key, const uint8_t* node, int& cmp) {
  for (int i = 9; i < F; i += 8) {
    uint64_t d = Load64(key + i) ^ Load64(node + i);
    if (d != 0) {
      int at = i + (__builtin_ctzll(d) >> 3);
      if (at >= F) break;
      cmp = static_cast<int>(key[at]) - static_cast<int>(node[at]);
      return at;
    }
  }
  cmp = 0;
  return F;
}

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the match finder reads words little-endian");

void InsertNode(EncoderState& s, int r) {
  const uint8_t* key = &s.text[r];
  const uint64_t head = Load64(key + 1);
  int p = N + 1 + key[0];
  s.child[r][0] = s.child[r][1] = Index16(NIL);
  s.match_length = 0;
  int q = s.child[p][1];  // the first step from a root goes right
  if (q == NIL) {
    s.child[p][1] = Index16(r);
    s.dad[r] = Index16(p);
    return;
  }
  uint64_t node = Load64(&s.text[q + 1]);
  for (;;) {
    p = q;
    // Fetch both children of p and the heads of their strings while p is
    // being compared: the walk then waits on one compare per step, not on a
    // compare and two dependent loads. (A missing child reads the slack
    // behind the ring, which is never used.)
    const int left = s.child[p][0], right_child = s.child[p][1];
    const uint64_t left_head = Load64(&s.text[left + 1]);
    const uint64_t right_head = Load64(&s.text[right_child + 1]);
    int i, cmp;
    uint64_t d = head ^ node;
    if (d != 0) {
      int shift = __builtin_ctzll(d) & ~7;
      i = 1 + (shift >> 3);
      cmp = static_cast<int>((head >> shift) & 0xFF) - static_cast<int>((node >> shift) & 0xFF);
    } else {
      i = CompareTail(key, &s.text[p], cmp);
    }
    if (i > THRESHOLD) {
      int pos = ((r - p) & (N - 1)) - 1;
      if (i > s.match_length) {
        s.match_position = pos;
        if ((s.match_length = i) >= F) break;
      } else if (i == s.match_length && pos < s.match_position) {
        s.match_position = pos;
      }
    }
    // On data with few repeats the direction is a coin toss: choose the
    // child by selection, not by a branch the processor would mispredict
    // every other step.
    const int dir = cmp >= 0;
    q = dir ? right_child : left;
    node = dir ? right_head : left_head;
    if (q == NIL) {
      s.child[p][dir] = Index16(r);
      s.dad[r] = Index16(p);
      return;
    }
  }
  // Full-length match: r takes p's place and p leaves the tree.
  s.dad[r] = s.dad[p];
  s.child[r][0] = s.child[p][0];
  s.child[r][1] = s.child[p][1];
  s.dad[s.child[p][0]] = Index16(r);
  s.dad[s.child[p][1]] = Index16(r);
  int parent = s.dad[p];
  s.child[parent][s.child[parent][1] == p] = Index16(r);
  s.dad[p] = Index16(NIL);
}

void DeleteNode(EncoderState& s, int p) {
  if (s.dad[p] == NIL) return;
  int q;
  if (s.child[p][1] == NIL) {
    q = s.child[p][0];
  } else if (s.child[p][0] == NIL) {
    q = s.child[p][1];
  } else {
    q = s.child[p][0];
    if (s.child[q][1] != NIL) {
      do {
        q = s.child[q][1];
      } while (s.child[q][1] != NIL);
      s.child[s.dad[q]][1] = s.child[q][0];
      s.dad[s.child[q][0]] = s.dad[q];
      s.child[q][0] = s.child[p][0];
      s.dad[s.child[p][0]] = Index16(q);
    }
    s.child[q][1] = s.child[p][1];
    s.dad[s.child[p][1]] = Index16(q);
  }
  s.dad[q] = s.dad[p];
  int parent = s.dad[p];
  s.child[parent][s.child[parent][1] == p] = Index16(q);
  s.dad[p] = Index16(NIL);
}

template <class Sink>
void EncodeChar(EncoderState& s, BitWriter<Sink>& out, int c) {
  // The path from the leaf up to the root, root end in the high bits. Paths
  // can grow past 16 bits in a skewed tree; they are written whole.
  uint64_t code = 0;
  int len = 0;
  int path[64];  // the nodes passed, leaf end first, for the update
  int k = s.huff.prnt[c + T];
  do {
    path[len] = k;
    code |= static_cast<uint64_t>(k & 1) << len;
    ++len;
  } while ((k = s.huff.prnt[k]) != R && len < 64);
  if (k != R) [[unlikely]] {
    // Deeper than 64 levels: impossible while frequencies stay below 0x8000,
    // but the code would still come out whole, most significant bits first.
    std::vector<int> bits;
    for (int b = len; b-- > 0;)
      bits.push_back(static_cast<int>((code >> b) & 1));
    do
      bits.insert(bits.begin(), k & 1);
    while ((k = s.huff.prnt[k]) != R);
    for (int b : bits)
      out.Put(static_cast<uint64_t>(b), 1);
    s.huff.Update(c);
  } else {
    out.Put(code, len);
    s.huff.UpdateAlong(c, path, len, 1);
  }
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
  while (len < F && in.Next(c))
    s.text[r + len++] = c;
  textsize = static_cast<uint32_t>(len);
  for (int i = 1; i <= F; ++i)
    InsertNode(s, r - i);
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
  // Walks the Huffman tree from the root to a leaf, one bit per node, and
  // returns the leaf's symbol. The buffer is topped up once per symbol: a tree
  // whose root frequency stays below 0x8000 is far shallower than 57 levels;
  // deeper paths (which cannot occur) would still be read bit by bit.
  // `path` receives the nodes passed below the root, root end first, and
  // `depth` their number; -1 when the path ran past the buffered bits.
  int Symbol(const int32_t* son, int (&path)[64], int& depth) {
    if (bits_ < 32) Refill();
    uint64_t b = buf_;
    const int avail = bits_;
    int used = 0;
    int c = son[R];
    while (c < T && used < avail) {
      const int node = c + static_cast<int>(b >> 63);
      path[used] = node;
      c = son[node];
      b <<= 1;
      ++used;
    }
    buf_ = b;
    bits_ -= used;
    depth = used;
    if (c < T) [[unlikely]] {
      depth = -1;
      while (c < T)
        c = son[c + Bit()];
    }
    return c - T;
  }
  // Bits taken from the input, including made-up zero bits past its end.
  uint64_t Fetched() const { return fetched_; }
  int Buffered() const { return bits_; }

 private:
  void Refill() {
    if constexpr (requires(uint64_t w) { src_.Take(1, w); }) {
      const int n = (64 - bits_) >> 3;  // at least 4: called below 32 bits
      uint64_t w;
      if (src_.Take(n, w)) {
        buf_ |= w >> bits_;
        bits_ += 8 * n;
        fetched_ += static_cast<uint64_t>(8 * n);
        return;
      }
    }
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

template <class T, class... Args>
std::unique_ptr<T> AllocateTables(Args&&... args) {
  std::unique_ptr<T> p(new (std::nothrow) T(std::forward<Args>(args)...));
  if (!p) throw ElzhException("LZH : Cannot get memory for dictionary tables");
  return p;
}

// Decoded bytes through the 4096-byte ring, handed to a sink as they come
// (the streaming form).
template <class Sink>
class RingOutput {
 public:
  explicit RingOutput(Sink& sink) : sink_(sink) {
    std::memset(text_, ' ', N - F);
    std::memset(text_ + (N - F), 0, F);
  }
  void Literal(uint8_t c) {
    sink_.Put(c);
    text_[r_] = c;
    r_ = (r_ + 1) & (N - 1);
  }
  void Match(int distance, int length) {
    int i = (r_ - distance) & (N - 1);
    for (int k = 0; k < length; ++k) {
      uint8_t b = text_[(i + k) & (N - 1)];
      sink_.Put(b);
      text_[r_] = b;
      r_ = (r_ + 1) & (N - 1);
    }
  }
  void Finish() { sink_.Flush(); }

 private:
  Sink& sink_;
  uint8_t text_[N];
  int r_ = N - F;
};

// Decoded bytes straight into one buffer: a match copies from the output
// itself. Before the start lies the ring's initial content, spaces except for
// its last F positions, which are zero.
class FlatOutput {
 public:
  FlatOutput(std::vector<uint8_t>& out, uint32_t size) : out_(out) {
    out_.resize(static_cast<size_t>(size) + F);  // a final match may pass size
    p_ = out_.data();
    begin_ = p_;
  }
  void Literal(uint8_t c) { *p_++ = c; }
  void Match(int distance, int length) {
    const uint8_t* from = p_ - distance;
    if (from >= begin_) {
      if (distance >= length) {
        std::memcpy(p_, from, static_cast<size_t>(length));
        p_ += length;
      } else {
        for (int k = 0; k < length; ++k)
          p_[k] = from[k];
        p_ += length;
      }
      return;
    }
    const std::ptrdiff_t start = p_ - begin_ - distance;  // negative: inside the initial ring
    for (int k = 0; k < length; ++k) {
      std::ptrdiff_t at = start + k;
      *p_++ = at >= 0 ? begin_[at] : (at >= -(N - F) ? uint8_t{' '} : uint8_t{0});
    }
  }
  void Finish() { out_.resize(static_cast<size_t>(p_ - begin_)); }

 private:
  std::vector<uint8_t>& out_;
  uint8_t* p_;
  uint8_t* begin_;
};

// Decodes `size` bytes (or a little more, when the last match passes it);
// returns true when the coded input ran out on the way.
template <class Source, class Output>
bool Decode(uint32_t size, Source& src, Output& out) {
  auto huff = AllocateTables<Huffman>();
  BitReader<Source> in(src);
  huff->Start();
  const int32_t* son = huff->son;
  uint64_t count = 0;
  while (count < size) {
    int path[64], depth;
    int c = in.Symbol(son, path, depth);
    if (depth > 0) {
      huff->UpdateAlong(c, &path[depth - 1], depth, -1);
    } else {
      huff->Update(c);
    }
    if (c < 256) {
      out.Literal(static_cast<uint8_t>(c));
      ++count;
    } else {
      unsigned first = in.Bits(8);
      unsigned upper = kPos.dcode[first];
      int rest = kPos.dlen[first] - 2;
      unsigned low = (first << rest) | in.Bits(rest);
      int position = static_cast<int>((upper << 6) | (low & 0x3F));
      int length = c - 255 + THRESHOLD;
      out.Match(position + 1, length);
      count += static_cast<uint64_t>(length);
    }
  }
  out.Finish();
  // Consumed more bits than the input held?
  uint64_t consumed = in.Fetched() - static_cast<uint64_t>(in.Buffered());
  uint64_t available = in.Fetched() - src.PastEnd() * 8;
  return consumed > available;
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
  CallbackSink sink(write);
  auto out = AllocateTables<RingOutput<CallbackSink>>(sink);
  overrun_ = Decode(size, in, *out);
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
  SpanSource in(coded);
  FlatOutput out(result.Bytes, size);
  result.Overrun = Decode(size, in, out);
  return result;
}

uint64_t LzhMaxExpansion(uint64_t coded_size) {
  return coded_size * 8 * 6 + F;
}
