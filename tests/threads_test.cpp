// The worksheet functions from several threads at once, as Excel 2007 and
// later call them: a workbook-like load of mixed calls (every function,
// formulation and unit system, from the golden calls) replayed by 8 threads,
// each from its own place in the list, must give every result bit for bit
// as one thread alone. The kept values of each thread then see other
// histories than the single-threaded run's. Built under ThreadSanitizer too
// (the tsan preset), where any shared write on the call path is reported.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "frontend/catalogue.hpp"

namespace vapordex {
namespace {

struct Call {
  const FunctionInfo* function;
  double x[2];
  std::int32_t codes[2];
};

// Every stride-th golden call, parsed by the function's arguments.
std::vector<Call> workload(int stride) {
  std::ifstream in(VDX_FIXTURES_DIR "/golden.tsv");
  std::vector<Call> calls;
  int line = 0;
  for (std::string text; std::getline(in, text); ++line) {
    if (line % stride != 0) continue;
    std::istringstream words(text.substr(0, text.find('\t')));
    std::string name;
    words >> name;
    Call c{findFunction(name), {0.0, 0.0}, {0, 0}};
    if (c.function == nullptr) continue;
    int doubles = 0;
    int codes = 0;
    bool ok = true;
    for (const ArgumentInfo& a : c.function->arguments) {
      std::string word;
      ok = ok && static_cast<bool>(words >> word);
      if (a.type == 'B') {
        c.x[doubles++] = std::strtod(word.c_str(), nullptr);
      } else {
        c.codes[codes++] = static_cast<std::int32_t>(std::strtol(word.c_str(), nullptr, 10));
      }
    }
    if (ok) calls.push_back(c);
  }
  return calls;
}

// The result as it reaches Excel: the record's type and the number's bits
// (an error record counts by its type and error code).
std::uint64_t resultBits(const Call& c) {
  const FunctionInfo& f = *c.function;
  const XLOPER* r = f.one != nullptr   ? f.one(c.x[0], c.codes[0])
                    : f.two != nullptr ? f.two(c.x[0], c.x[1], c.codes[0])
                                       : f.twoCodes(c.x[0], c.x[1], c.codes[0], c.codes[1]);
  if (r->xltype != xltypeNum) return 0xFFFF000000000000ULL | (r->xltype << 16) | r->val.err;
  std::uint64_t bits = 0;
  std::memcpy(&bits, &r->val.num, sizeof bits);
  return bits;
}

TEST(Threads, EightThreadsGiveOneThreadsBits) {
  const std::vector<Call> calls = workload(6);
  ASSERT_GT(calls.size(), 4000u);
  std::vector<std::uint64_t> reference(calls.size());
  for (std::size_t k = 0; k < calls.size(); ++k) reference[k] = resultBits(calls[k]);

  constexpr int kThreads = 8;
  std::atomic<int> ready{0};
  std::vector<int> differences(kThreads, 0);
  std::vector<std::size_t> firstDifference(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // Start together, so that the threads overlap.
      ready.fetch_add(1);
      while (ready.load() < kThreads) std::this_thread::yield();
      const std::size_t n = calls.size();
      const std::size_t start = n * static_cast<std::size_t>(t) / kThreads;
      for (std::size_t i = 0; i < n; ++i) {
        const std::size_t k = (start + i) % n;
        if (resultBits(calls[k]) != reference[k] && differences[t]++ == 0) firstDifference[t] = k;
      }
    });
  }
  for (std::thread& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(differences[t], 0) << "thread " << t << ", first at call "
                                 << calls[firstDifference[t]].function->name;
  }
}

}  // namespace
}  // namespace vapordex
