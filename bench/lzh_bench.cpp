// Codec throughput against the reference coder on a skin-like corpus: 24-bit
// frame strips with gradients and flat areas plus INI text, about 4 MB.
// Run: build/native/bin/lzh_bench   (the ratios are printed at the end)
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
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
  for (auto _ : state) benchmark::DoNotOptimize(LzhPack(Corpus()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Corpus().size()));
}

void BM_PackReference(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(lzhuf_ref::Encode(Corpus()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Corpus().size()));
}

void BM_UnpackOurs(benchmark::State& state) {
  const auto n = static_cast<uint32_t>(Corpus().size());
  for (auto _ : state) benchmark::DoNotOptimize(LzhUnpack(Coded(), n));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Corpus().size()));
}

void BM_UnpackReference(benchmark::State& state) {
  const auto n = static_cast<uint32_t>(Corpus().size());
  for (auto _ : state) benchmark::DoNotOptimize(lzhuf_ref::Decode(Coded(), n));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Corpus().size()));
}

BENCHMARK(BM_PackOurs)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PackReference)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_UnpackOurs)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_UnpackReference)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Collects the per-iteration times so the ratios can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration) times_[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto ratio = [&](const char* ref, const char* ours) {
      return times_.count(ref) && times_.count(ours) ? times_[ref] / times_[ours] : 0.0;
    };
    std::printf("corpus %zu bytes, coded %zu bytes (identical to the reference)\n",
                Corpus().size(), Coded().size());
    std::printf("pack throughput vs reference:   %.2fx\n",
                ratio("BM_PackReference/min_time:2.000", "BM_PackOurs/min_time:2.000"));
    std::printf("unpack throughput vs reference: %.2fx\n",
                ratio("BM_UnpackReference/min_time:2.000", "BM_UnpackOurs/min_time:2.000"));
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Coded();  // fails loudly when the outputs differ
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
