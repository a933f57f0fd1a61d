// A corpus of damaged skin packages for robustness runs. Each package starts
// from a good skin (the built-in default skin, and a skin converted from a
// visual style when one is given) and carries one kind of damage inside an
// otherwise readable package: a member cut short, bits flipped, a member that
// is no bitmap, absurd frame counts and margins, malformed colours, missing
// sections, the member limit, INI text that is garbage. A few packages are
// damaged beyond reading. The same seed always gives the same corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class TDamageKind {
  dkTruncated,       // one member cut to half its length
  dkBitFlipped,      // bits of one member flipped
  dkNotBitmap,       // one member replaced by text
  dkFrameCount,      // frame keys of a section 0, negative or huge
  dkMargins,         // margin keys of a section beyond the bitmap or negative
  dkColours,         // every colour value malformed one way
  dkMissingSection,  // a section (or all but one) gone
  dkMemberLimit,     // 1001 members, and one more than the format holds
  dkIniGarbage,      // the INI text made garbage
  dkUndecodable,     // no package at all
};
constexpr int kDamageKindCount = 10;

// "truncated", "bit-flipped", ... as used in package names.
const char* DamageKindName(TDamageKind kind);

struct TDamagedSkin {
  std::string Name;  // "<base>-<kind>-<detail>.skn", safe as a file name
  TDamageKind Kind = TDamageKind::dkTruncated;
  std::string Base;      // "default" or the converted skin's base name
  bool Readable = true;  // whether the package reader accepts the package
  std::vector<uint8_t> Package;
};

struct TCorpusOptions {
  uint32_t Seed = 20261211;
  // A visual style file whose first variant is converted into a second base
  // skin; empty for the default skin alone.
  std::string StylePath;
};

struct TDamagedCorpus {
  std::vector<TDamagedSkin> Skins;
  // What could not be used (a style file that is missing or did not convert).
  std::vector<std::string> Notes;
};

TDamagedCorpus BuildDamagedCorpus(const TCorpusOptions& options);

// About `count` packages covering every damage kind present: the same share
// of each kind, spread evenly over that kind's packages (so over both bases).
std::vector<const TDamagedSkin*> SampleCorpus(const TDamagedCorpus& corpus, size_t count);

// The packages a robustness test runs: the whole corpus when the environment
// variable MV_DAMAGED_CORPUS is "whole", otherwise SampleCorpus(corpus, 30).
std::vector<const TDamagedSkin*> PackagesUnderTest(const TDamagedCorpus& corpus);
// The corpus a robustness test runs on: the default skin and, when its file
// is there, the light style converted (a missing one leaves a note).
const TDamagedCorpus& TestCorpus();

// Where the light visual style that comes with Wine lies, as the running
// program names files (a drive path under Windows).
std::string LightStylePath();
