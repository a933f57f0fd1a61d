// Codec throughput against the reference coder, corpus by corpus, in the same
// run: the converted light skin's bitmaps (or those of the package named on
// the command line), the default skin's members, photograph-like noise, flat
// UI bitmaps, INI text and random bytes.
// Run: build/native/bin/lzh_bench [PACKAGE.skn] [--benchmark_... flags]
// Before timing, every corpus is checked: our coded bits equal the
// reference's, and our decoder gives back the original. The ratios (reference
// time / our time, CPU-time medians) are printed per corpus at the end, with
// the worst ratio for packing and for unpacking.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "format/lzh.h"
#include "lzh_corpora.h"
#include "reference/lzhuf_ref.h"

namespace {

struct TBenchCorpus {
  TLzhCorpus Raw;
  std::vector<uint8_t> Coded;
};

std::vector<TBenchCorpus>& Corpora() {
  static std::vector<TBenchCorpus> corpora;
  return corpora;
}

// Both checks the bench stands on; false (with a message) when one fails.
bool CheckCorpus(const TBenchCorpus& c) {
  const auto n = static_cast<uint32_t>(c.Raw.Bytes.size());
  if (c.Coded != lzhuf_ref::Encode(c.Raw.Bytes)) {
    std::fprintf(stderr, "%s: our coded bits differ from the reference's\n", c.Raw.Name.c_str());
    return false;
  }
  TLzhUnpacked back = LzhUnpack(c.Coded, n);
  if (back.Overrun || back.Bytes != c.Raw.Bytes) {
    std::fprintf(stderr, "%s: our decoder does not give back the original\n", c.Raw.Name.c_str());
    return false;
  }
  if (lzhuf_ref::Decode(c.Coded, n) != c.Raw.Bytes) {
    std::fprintf(stderr, "%s: the reference decoder does not read our bits\n", c.Raw.Name.c_str());
    return false;
  }
  return true;
}

void Register(const std::string& name, const TBenchCorpus& c, void (*body)(const TBenchCorpus&)) {
  benchmark::RegisterBenchmark(
      name.c_str(),
      [&c, body](benchmark::State& state) {
        for (auto _ : state)
          body(c);
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.Raw.Bytes.size()));
      })
      ->Unit(benchmark::kMillisecond)
      ->MinTime(0.3)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
}

void RegisterAll() {
  for (const TBenchCorpus& c : Corpora()) {
    const std::string& n = c.Raw.Name;
    Register("pack/ours/" + n, c,
             [](const TBenchCorpus& x) { benchmark::DoNotOptimize(LzhPack(x.Raw.Bytes)); });
    Register("pack/ref/" + n, c, [](const TBenchCorpus& x) {
      benchmark::DoNotOptimize(lzhuf_ref::Encode(x.Raw.Bytes));
    });
    Register("unpack/ours/" + n, c, [](const TBenchCorpus& x) {
      benchmark::DoNotOptimize(LzhUnpack(x.Coded, static_cast<uint32_t>(x.Raw.Bytes.size())));
    });
    Register("unpack/ref/" + n, c, [](const TBenchCorpus& x) {
      benchmark::DoNotOptimize(
          lzhuf_ref::Decode(x.Coded, static_cast<uint32_t>(x.Raw.Bytes.size())));
    });
  }
}

// Collects the CPU-time medians (the machine is shared: wall time would count
// the waits for a core) and prints the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
        cpu_[r.run_name.function_name] = r.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-8s %9s %9s %10s %10s %7s %10s %10s %7s\n", "corpus", "bytes", "coded",
                "pack MB/s", "ref MB/s", "ratio", "unpk MB/s", "ref MB/s", "ratio");
    double worst_pack = 1e9, worst_unpack = 1e9;
    std::string worst_pack_at, worst_unpack_at;
    for (const TBenchCorpus& c : Corpora()) {
      const std::string& n = c.Raw.Name;
      const double mb = static_cast<double>(c.Raw.Bytes.size()) / 1e6;
      const double po = Time("pack/ours/" + n), pr = Time("pack/ref/" + n);
      const double uo = Time("unpack/ours/" + n), ur = Time("unpack/ref/" + n);
      if (po <= 0 || pr <= 0 || uo <= 0 || ur <= 0) continue;  // filtered out
      const double pack = pr / po, unpack = ur / uo;
      std::printf("%-8s %9zu %9zu %10.1f %10.1f %6.2fx %10.1f %10.1f %6.2fx\n", n.c_str(),
                  c.Raw.Bytes.size(), c.Coded.size(), mb / po, mb / pr, pack, mb / uo, mb / ur,
                  unpack);
      if (pack < worst_pack) worst_pack = pack, worst_pack_at = n;
      if (unpack < worst_unpack) worst_unpack = unpack, worst_unpack_at = n;
    }
    if (worst_pack_at.empty()) return;
    std::printf("worst pack ratio:   %.2fx (%s)\n", worst_pack, worst_pack_at.c_str());
    std::printf("worst unpack ratio: %.2fx (%s)\n", worst_unpack, worst_unpack_at.c_str());
  }

 private:
  double Time(const std::string& name) const {  // seconds, 0 when not run
    auto it = cpu_.find(name);
    return it == cpu_.end() ? 0.0 : it->second / 1e3;
  }
  std::map<std::string, double> cpu_;  // milliseconds
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  if (n > 2) {
    std::fprintf(stderr, "usage: lzh_bench [PACKAGE.skn] [--benchmark_... flags]\n");
    return 2;
  }
  std::string skipped;
  for (TLzhCorpus& raw : MakeLzhCorpora(n == 2 ? args[1] : "", skipped))
    Corpora().push_back({std::move(raw), {}});
  if (!skipped.empty()) std::printf("%s\n", skipped.c_str());
  for (TBenchCorpus& c : Corpora()) {
    c.Coded = LzhPack(c.Raw.Bytes);
    if (!CheckCorpus(c)) return 1;
    std::printf("%s: %zu bytes, coded %zu, identical to the reference both ways\n",
                c.Raw.Name.c_str(), c.Raw.Bytes.size(), c.Coded.size());
  }
  RegisterAll();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
