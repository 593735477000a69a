// What the plugins cost the game: every path the game runs through plugin code, timed with
// Google Benchmark, counted exactly in instructions and heap allocations, set against the game's
// own unpatched call, and checked against the budgets. Prints one Markdown table.
//
//   plugin_bench [--objects N] [--batch N] [--reps N] [--min-time-ms MS] [benchmark flags]
//   plugin_bench --counts-only [--objects N] [--batch N]   instructions and allocations only
//   plugin_bench --quick   counts only, on a small frame; checks that the counter works
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/allocation_counter.hpp"
#include "bench/game_paths.hpp"
#include "bench/instruction_counter.hpp"

namespace {

using bench::Path;

struct Figures {
  double ns = -1;            // median over the repetitions, per object
  double instructions = -1;  // per object
  double allocations = -1;   // per object
  bool steady = true;        // repeated counts agreed
};

// Keeps the time per operation of every repetition; prints nothing.
class Collector : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      times[run.run_name.function_name].push_back(run.real_accumulated_time * 1e9 /
                                                  static_cast<double>(run.iterations));
      std::fprintf(stderr, ".");
    }
  }
  std::map<std::string, std::vector<double>> times;
};

double median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  const std::size_t m = v.size() / 2;
  return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

void time_paths(const std::vector<Path>& paths, int reps, double min_time, std::map<std::string, Figures>& out) {
  for (const Path& p : paths) {
    const Path* path = &p;
    benchmark::RegisterBenchmark(p.name.c_str(), [path](benchmark::State& state) {
      if (path->begin) path->begin();
      int until_prepare = 0;
      for (auto _ : state) {
        if (path->prepare && until_prepare-- == 0) {
          state.PauseTiming();
          path->prepare();
          state.ResumeTiming();
          until_prepare = path->prepare_every - 1;
        }
        path->op();
      }
    })->Repetitions(reps)->MinTime(min_time);
  }
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  std::fprintf(stderr, "\n");
  for (const Path& p : paths) out[p.name].ns = median(collector.times[p.name]) / p.objects;
}

void count_paths(const std::vector<Path>& paths, bool quick, std::map<std::string, Figures>& out) {
  bench::install_instruction_counter();
  for (const Path& p : paths) {
    if (p.begin) p.begin();
    auto run = [&p] {
      if (p.prepare) p.prepare();
      p.op();
    };
    run();  // first runs: lazy binding, one-time initialisations, first-touch records
    run();
    const int alloc_runs = 3;
    std::uint64_t allocations = 0;
    for (int i = 0; i < alloc_runs; ++i) {
      if (p.prepare) p.prepare();
      const std::uint64_t before = bench::allocations();
      p.op();
      allocations += bench::allocations() - before;
    }
    // Counting steps every instruction, so the long paths are counted once.
    const int count_runs = quick || p.name.find("frame") != std::string::npos ? 1 : 2;
    std::uint64_t least = ~0ull, most = 0;
    for (int i = 0; i < count_runs; ++i) {
      if (p.prepare) p.prepare();
      const std::uint64_t n = bench::count_instructions(p.op);
      least = std::min(least, n);
      most = std::max(most, n);
    }
    Figures& f = out[p.name];
    f.instructions = static_cast<double>(least) / p.objects;
    f.allocations = static_cast<double>(allocations) / alloc_runs / p.objects;
    f.steady = least == most;
    std::fprintf(stderr, "counted: %s\n", p.name.c_str());
  }
}

std::string number(double v, int decimals) {
  if (v < 0) return "n/a";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

std::string count_text(double v) { return number(v, v == static_cast<double>(static_cast<long long>(v)) ? 0 : 1); }

void print_table(const std::vector<Path>& paths, const std::map<std::string, Figures>& figures) {
  std::printf("| path | median ns/op (emulated) | instructions/op | allocations/op | ratio to unpatched (ns) | "
              "ratio to unpatched (instructions) | unpatched call compared with |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---|\n");
  for (const Path& p : paths) {
    const Figures& f = figures.at(p.name);
    const Figures& b = figures.at(p.baseline);
    const std::string ratio_ns = f.ns > 0 && b.ns > 0 ? number(f.ns / b.ns, 2) : "n/a";
    const std::string ratio_in = f.instructions > 0 && b.instructions > 0 ? number(f.instructions / b.instructions, 2) : "n/a";
    std::printf("| %s%s | %s | %s%s | %s | %s | %s | %s |\n", p.name.c_str(), p.objects > 1 ? " (batch)" : "",
                number(f.ns, 0).c_str(), count_text(f.instructions).c_str(), f.steady ? "" : " (unsteady)",
                count_text(f.allocations).c_str(), ratio_ns.c_str(), ratio_in.c_str(),
                p.baseline == p.name ? "(itself)" : p.baseline.c_str());
  }
}

// Prints every budget with its figure; returns whether all are met.
bool check_budgets(const std::map<std::string, Figures>& f) {
  struct Budget {
    std::string what;
    double figure, limit;
  };
  auto at = [&f](const char* name) -> const Figures& { return f.at(name); };
  const std::vector<Budget> budgets = {
      {"allocations per execution of an event site with 1 handler", at("event site, 1 no-op postCall handler").allocations, 0},
      {"allocations per execution of a call site with 1 hook", at("call-site hook manager, 1 hook").allocations, 0},
      {"allocations per collectObject, overlay off", at("object-drawing call, collectObject, overlay off").allocations, 0},
      {"allocations per collectObject, overlay on (the list node)", at("object-drawing call, collectObject, overlay on").allocations, 1},
      {"allocations per drawn label", at("processRenderedObjects, per object").allocations, 0},
      {"allocations per map_readout", at("map-page call, map_readout").allocations, 0},
      {"instructions of an event site with 1 no-op handler beyond the unpatched call",
       at("event site, 1 no-op postCall handler").instructions - at("event site, unpatched").instructions, 200},
      {"instructions of collectObject (overlay off) beyond HostGetModelInfo",
       at("collectObject alone, overlay off").instructions - at("HostGetModelInfo alone").instructions, 30},
  };
  bool met = true;
  std::printf("\n| budget | figure | limit | |\n|---|---:|---:|---|\n");
  for (const Budget& b : budgets) {
    const bool ok = b.figure <= b.limit;
    met = met && ok;
    std::printf("| %s | %s | %s | %s |\n", b.what.c_str(), count_text(b.figure).c_str(), count_text(b.limit).c_str(),
                ok ? "met" : "MISSED");
  }
  return met;
}

int int_option(int& argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) {
      const int v = std::atoi(argv[i + 1]);
      std::memmove(argv + i, argv + i + 2, sizeof(char*) * static_cast<std::size_t>(argc - i - 1));
      argc -= 2;
      return v;
    }
  return fallback;
}

bool flag(int& argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) {
      std::memmove(argv + i, argv + i + 1, sizeof(char*) * static_cast<std::size_t>(argc - i));
      --argc;
      return true;
    }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = flag(argc, argv, "--quick");
  const bool counts_only = quick || flag(argc, argv, "--counts-only");
  const int objects = int_option(argc, argv, "--objects", quick ? 20 : 2000);
  const int batch = int_option(argc, argv, "--batch", quick ? 10 : 100);
  const int reps = int_option(argc, argv, "--reps", 5);
  const int min_time_ms = int_option(argc, argv, "--min-time-ms", 200);
  benchmark::Initialize(&argc, argv);

  const std::vector<Path>& paths = bench::set_up_paths(objects, batch);
  std::map<std::string, Figures> figures;

  if (quick) {
    // The counter itself: ten more rounds of a four-instruction loop are exactly forty more.
    bench::install_instruction_counter();
    const std::uint64_t a = bench::count_test_loop(5), b = bench::count_test_loop(15);
    if (b - a != 40) {
      std::fprintf(stderr, "instruction counter: 10 rounds of 4 instructions counted %llu\n",
                   static_cast<unsigned long long>(b - a));
      return 1;
    }
  } else if (!counts_only) {
    time_paths(paths, reps, min_time_ms / 1000.0, figures);
  }
  count_paths(paths, quick, figures);
  print_table(paths, figures);
  const bool met = check_budgets(figures);
  if (quick) {
    for (const Path& p : paths)
      if (figures[p.name].instructions <= 0) {
        std::fprintf(stderr, "no instructions counted for %s\n", p.name.c_str());
        return 1;
      }
    return 0;  // the budgets are the bench script's to enforce
  }
  return met ? 0 : 1;
}
