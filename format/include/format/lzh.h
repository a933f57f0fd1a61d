// LZHUF codec: LZSS over a 4096-byte ring with an adaptive Huffman code for
// literals and match lengths and a fixed code for match positions. The coded
// bits are those of the classic LZHUF coder with the same parameters, so any
// correct LZHUF decoder reads what this one writes and the other way round.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <vector>

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Copies up to `count` bytes into `buf` and returns how many it copied;
// 0 means the input is exhausted.
using TLZHRead = std::function<uint16_t(uint8_t* buf, uint16_t count)>;
// Takes `count` bytes and returns how many it accepted.
using TLZHWrite = std::function<uint16_t(const uint8_t* buf, uint16_t count)>;

class TLZH {
 public:
  // Codes everything `read` delivers; returns the number of input bytes.
  uint32_t Pack(const TLZHRead& read, const TLZHWrite& write);
  // Decodes until at least `size` bytes were written. The coded bits carry no
  // end marker: input that runs out reads as zero bits, and a final match is
  // copied whole even when it passes `size`.
  void Unpack(uint32_t size, const TLZHRead& read, const TLZHWrite& write);

  uint32_t TextSize() const { return textsize_; }  // input bytes of the last Pack
  uint32_t CodeSize() const { return codesize_; }  // output bytes of the last Pack
  // True when the last Unpack needed more coded bits than its input held: the
  // stream was truncated and the tail of the output is made up.
  bool InputOverrun() const { return overrun_; }

 private:
  uint32_t textsize_ = 0;
  uint32_t codesize_ = 0;
  bool overrun_ = false;
};

// Whole-buffer forms used by the package container and the tools.
std::vector<uint8_t> LzhPack(std::span<const uint8_t> data);

struct TLzhUnpacked {
  std::vector<uint8_t> Bytes;  // everything the decoder produced (may pass `size`)
  bool Overrun = false;        // the coded input ran out before `size` bytes
};
TLzhUnpacked LzhUnpack(std::span<const uint8_t> coded, uint32_t size);

// The most bytes a coded stream of `coded_size` bytes can expand to: every
// symbol costs at least one bit and a match (at most 60 bytes) at least ten.
// A length prefix above this cannot belong to the stream.
uint64_t LzhMaxExpansion(uint64_t coded_size);
