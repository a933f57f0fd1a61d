// The corpus generator: every package is what its kind promises (readable
// with the damage inside, or refused by the reader), names are unique, the
// same seed gives the same corpus and the sample covers every kind.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "damaged_corpus.h"
#include "default_skin.h"
#include "format/skin_package.h"

namespace {

const TDamagedCorpus& Corpus() {
  return TestCorpus();
}

TEST(DamagedCorpus, EveryPackageReadsAsItsKindSays) {
  ASSERT_FALSE(Corpus().Skins.empty());
  for (const std::string& note : Corpus().Notes)
    std::printf("note: %s\n", note.c_str());
  std::set<std::string> names;
  for (const TDamagedSkin& s : Corpus().Skins) {
    TSkinReader reader;
    EXPECT_EQ(reader.LoadFromStream(s.Package), s.Readable) << s.Name << ": " << reader.LastError();
    EXPECT_TRUE(names.insert(s.Name).second) << "two packages named " << s.Name;
    if (s.Readable) {
      std::vector<uint8_t> ini;
      std::string ini_name;
      EXPECT_TRUE(reader.FindMember(".ini", ini, ini_name)) << s.Name;
    }
  }
}

using TMemberList = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

TMemberList MembersOf(std::span<const uint8_t> package) {
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadFromStream(package));
  TMemberList members;
  for (int i = 0; i < reader.Count(); ++i) {
    auto m = reader.Member(i);
    members.emplace_back(reader.Names()[static_cast<size_t>(i)],
                         std::vector<uint8_t>(m.begin(), m.end()));
  }
  return members;
}

// Each package made from the default skin differs from it (the damage is
// really there), and the same seed gives the same corpus.
TEST(DamagedCorpus, DamageIsRealAndTheSeedDecides) {
  const TMemberList good = MembersOf(DefaultSkinPackage());
  for (const TDamagedSkin& s : Corpus().Skins)
    if (s.Readable && s.Base == "default") {
      EXPECT_NE(MembersOf(s.Package), good) << s.Name;
    }
  TCorpusOptions o;  // the default skin alone: its packages come first
  // Bit flips of the same member with two seeds differ; everything else
  // is the same whatever the seed.
  TCorpusOptions other = o;
  other.Seed = o.Seed + 100;
  const TDamagedCorpus again = BuildDamagedCorpus(o), reseeded = BuildDamagedCorpus(other);
  ASSERT_EQ(again.Skins.size(), reseeded.Skins.size());
  ASSERT_LE(again.Skins.size(), Corpus().Skins.size());
  for (size_t i = 0; i < again.Skins.size(); ++i) {
    const TDamagedSkin& s = Corpus().Skins[i];
    EXPECT_EQ(again.Skins[i].Package, s.Package) << s.Name;
    if (s.Kind == TDamageKind::dkBitFlipped && s.Package.size() > 1000) {
      EXPECT_NE(reseeded.Skins[i].Package, s.Package) << s.Name;
    }
  }
}

TEST(DamagedCorpus, MemberLimitPackagesHoldTheLimitAndOneMore) {
  int at_limit = 0, over = 0;
  for (const TDamagedSkin& s : Corpus().Skins) {
    if (s.Kind != TDamageKind::dkMemberLimit) continue;
    TSkinReader reader;
    if (s.Readable) {
      ASSERT_TRUE(reader.LoadFromStream(s.Package));
      EXPECT_EQ(reader.Count(), kMaxSkinMembers) << s.Name;
      ++at_limit;
    } else {
      EXPECT_FALSE(reader.LoadFromStream(s.Package)) << s.Name;
      ++over;
    }
  }
  EXPECT_GE(at_limit, 1);
  EXPECT_EQ(at_limit, over);
}

TEST(DamagedCorpus, EveryKindIsThereForEveryBaseAndInTheSample) {
  std::map<std::string, std::set<TDamageKind>> kinds;
  for (const TDamagedSkin& s : Corpus().Skins)
    kinds[s.Base].insert(s.Kind);
  ASSERT_TRUE(kinds.count("default"));
  EXPECT_EQ(kinds["default"].size(), static_cast<size_t>(kDamageKindCount));
  if (Corpus().Notes.empty()) {
    // The converted skin: every kind but the undecodable ones, made once.
    ASSERT_EQ(kinds.size(), 2u);
    for (const auto& [base, set] : kinds)
      if (base != "default") {
        EXPECT_EQ(set.size(), static_cast<size_t>(kDamageKindCount - 1));
      }
  }
  const auto sample = SampleCorpus(Corpus(), 30);
  std::set<TDamageKind> sampled;
  std::set<std::string> sampled_bases;
  for (const TDamagedSkin* s : sample) {
    sampled.insert(s->Kind);
    sampled_bases.insert(s->Base);
  }
  EXPECT_EQ(sampled.size(), static_cast<size_t>(kDamageKindCount));
  EXPECT_EQ(sampled_bases.size(), kinds.size());
  EXPECT_LE(sample.size(), 30u);
  EXPECT_GE(sample.size(), 20u);
}

}  // namespace
