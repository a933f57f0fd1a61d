// Codec throughput against the reference coder on a skin-like corpus: 24-bit
// frame strips with gradients and flat areas plus INI text, about 4 MB.
// Run: build/native/bin/lzh_bench   (the ratios are printed at the end)
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <vector>
#include <string>
#include <stdexcept>

#include "format/lzh.h"
#include "reference/lzhuf_ref.h"
#include "sample_skin.h"

namespace {

const std::vector<uint8_t>& Corpus() {
  static const std::vector<uint8_t> corpus = [] {
    std::vector<uint8_t> v;
    for (int scale = 1; v.size() < (4u << 20); ++scale) {
      for (const auto& m : MakeSampleSkin(scale)) {
        v.insert(v.end(), m.Bytes.begin(), m.Bytes.end());
      }
    }
    v.resize(4u << 20);
    return v;
  }();
  return corpus;
}

const std::vector<uint8_t>& Coded() {
  static const std::vector<uint8_t> coded = [] {
    std::vector<uint8_t> ours = LzhPack(Corpus());
    if (ours != lzhuf_ref::Encode(Corpus())) throw std::runtime_error("output differs");
    return ours;
  }();
  return coded;
}

void BM_PackOurs(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(LzhPack(Corpus()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Corpus().size()));
}

void BM_PackReference(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(lzhuf_ref::Encode(Corpus()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Corpus().size()));
}

void BM_UnpackOurs(benchmark::State& state) {
  const auto n = static_cast<uint32_t>(Corpus().size());
  for (auto _ : state)
    benchmark::DoNotOptimize(LzhUnpack(Coded(), n));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Corpus().size()));
}

void BM_UnpackReference(benchmark::State& state) {
  const auto n = static_cast<uint32_t>(Corpus().size());
  for (auto _ : state)
    benchmark::DoNotOptimize(lzhuf_ref::Decode(Coded(), n));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Corpus().size()));
}

// Repeated and interleaved (see main), so that both sides of a ratio see the
// same machine; the ratios use the medians.
#define MV_BENCH(fn)                  \
  BENCHMARK(fn)                       \
      ->Unit(benchmark::kMillisecond) \
      ->MinTime(0.5)                  \
      ->Repetitions(7)                \
      ->ReportAggregatesOnly(true)
MV_BENCH(BM_PackOurs);
MV_BENCH(BM_PackReference);
MV_BENCH(BM_UnpackOurs);
MV_BENCH(BM_UnpackReference);

// Collects the per-iteration times so the ratios can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
        times_[r.run_name.function_name] = r.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto ratio = [&](const char* ref, const char* ours) {
      return times_.count(ref) && times_.count(ours) ? times_[ref] / times_[ours] : 0.0;
    };
    std::printf("corpus %zu bytes, coded %zu bytes (identical to the reference)\n", Corpus().size(),
                Coded().size());
    std::printf("pack throughput vs reference:   %.2fx (medians)\n",
                ratio("BM_PackReference", "BM_PackOurs"));
    std::printf("unpack throughput vs reference: %.2fx (medians)\n",
                ratio("BM_UnpackReference", "BM_UnpackOurs"));
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  Coded();  // fails loudly when the outputs differ
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
