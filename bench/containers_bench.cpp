// Map and hash-table speed beside std::unordered_map<uint32_t, uintptr_t>:
// insert, successful and failed lookup of 1,000,000 random 32-bit keys,
// looked up in an order other than the insertion order.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ktutil.h"

namespace {

constexpr size_t kKeys = 1000000;
constexpr int kRepeats = 5;  // lookups: the best of these

struct Record {
  DWORD key;
  DWORD payload;
};

DWORD KTAPI KeyOf(LPVOID entry, LPVOID) { return static_cast<Record *>(entry)->key; }

struct Rates {
  double insert, hit, miss;  // operations per second
};

// Processor time, not wall time: the machine is shared with builds, and a
// phase that loses the processor must not count as slow.
template <typename F>
double PerSecond(F op) {
  std::clock_t start = std::clock();
  op();
  double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  return kKeys / std::max(seconds, 1e-6);
}

template <typename F>
void Best(double &best, F op) {
  best = std::max(best, PerSecond(op));
}

// Lookups sum what they find, checked against what was stored, so that
// none can be optimised away.

void Expect(bool ok, const char *what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what);
    std::exit(1);
  }
}

}  // namespace

int main() {
  std::mt19937 rng(42);
  std::unordered_set<uint32_t> seen;
  std::vector<uint32_t> keys, absent;
  while (keys.size() < kKeys || absent.size() < kKeys) {
    uint32_t k = rng();
    if (!seen.insert(k).second) continue;
    (keys.size() < kKeys ? keys : absent).push_back(k);
  }
  std::vector<uint32_t> order = keys;
  std::shuffle(order.begin(), order.end(), rng);
  uintptr_t expected = 0;
  for (uint32_t k : keys) expected += uintptr_t{k} + 1;

  Rates ref{}, map{}, hash{};
  std::unordered_map<uint32_t, uintptr_t> stdMap;
  HMAP m = MapCreate(16);
  std::vector<Record> records(kKeys);
  for (size_t i = 0; i < kKeys; ++i) records[i] = {keys[i], 0};
  HHASHTABLE h = HashCreate(16, KeyOf, nullptr, nullptr);
  // The hash table hands out the entry itself: its address is the answer.
  uintptr_t expectedEntries = 0;
  for (Record &r : records) expectedEntries += reinterpret_cast<uintptr_t>(&r);

  ref.insert = PerSecond([&] {
    for (uint32_t k : keys) stdMap.emplace(k, uintptr_t{k} + 1);
  });
  map.insert = PerSecond([&] {
    for (uint32_t k : keys) MapAddEntry(m, k, uintptr_t{k} + 1);
  });
  hash.insert = PerSecond([&] {
    for (Record &r : records) HashAddEntry(h, &r);
  });

  // Rounds alternate between the three so that a busy machine slows each
  // of them alike; the best round of each counts.
  for (int round = 0; round < kRepeats; ++round) {
    Best(ref.hit, [&] {
      uintptr_t sum = 0;
      for (uint32_t k : order) sum += stdMap.find(k)->second;
      Expect(sum == expected, "std hits");
    });
    Best(map.hit, [&] {
      uintptr_t sum = 0;
      for (uint32_t k : order) sum += MapFindEntry(m, k);
      Expect(sum == expected, "map hits");
    });
    Best(hash.hit, [&] {
      uintptr_t sum = 0;
      for (uint32_t k : order) sum += reinterpret_cast<uintptr_t>(HashFindEntry(h, k));
      Expect(sum == expectedEntries, "hash hits");
    });
    Best(ref.miss, [&] {
      size_t found = 0;
      for (uint32_t k : absent) found += stdMap.find(k) != stdMap.end();
      Expect(found == 0, "std misses");
    });
    Best(map.miss, [&] {
      uintptr_t sum = 0;
      for (uint32_t k : absent) sum += MapFindEntry(m, k);
      Expect(sum == 0, "map misses");
    });
    Best(hash.miss, [&] {
      size_t found = 0;
      for (uint32_t k : absent) found += HashFindEntry(h, k) != nullptr;
      Expect(found == 0, "hash misses");
    });
  }
  MapDestroy(m);
  HashDestroy(h);

  std::printf("%-24s %14s %14s %14s\n", "million ops/s", "insert", "hit", "miss");
  auto row = [](const char *name, const Rates &r) {
    std::printf("%-24s %14.1f %14.1f %14.1f\n", name, r.insert / 1e6, r.hit / 1e6,
                r.miss / 1e6);
  };
  row("std::unordered_map", ref);
  row("Map", map);
  row("Hash (key function)", hash);
  std::printf("ratio Map/std:  insert %.2f  hit %.2f  miss %.2f\n",
              map.insert / ref.insert, map.hit / ref.hit, map.miss / ref.miss);
  std::printf("ratio Hash/std: insert %.2f  hit %.2f  miss %.2f\n",
              hash.insert / ref.insert, hash.hit / ref.hit, hash.miss / ref.miss);
  return 0;
}
