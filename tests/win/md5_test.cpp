#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <vector>

#include "ktutil.h"

namespace {

// advapi32's own MD5 is the independent reference. It shares our export
// names, so it is bound by address; its context ends in the 16-byte digest.
template <class F>
F System(const char *name) {
  return reinterpret_cast<F>(
      reinterpret_cast<void *>(GetProcAddress(LoadLibraryA("advapi32.dll"), name)));
}

TEST(MD5, AgreesWithThePlatformOnRandomData) {
  auto init = System<void(WINAPI *)(BYTE *)>("MD5Init");
  auto update = System<void(WINAPI *)(BYTE *, const BYTE *, UINT)>("MD5Update");
  auto finish = System<void(WINAPI *)(BYTE *)>("MD5Final");
  ASSERT_TRUE(init && update && finish);
  std::mt19937 random(1321);
  std::vector<BYTE> data(3 << 20);
  for (BYTE &b : data) b = static_cast<BYTE>(random());
  std::vector<size_t> lengths = {0, 1, 55, 56, 63, 64, 65, 119, 120, 128, data.size()};
  for (int i = 0; i < 40; ++i) lengths.push_back(random() % data.size() >> (i % 12));
  for (size_t length : lengths) {
    MD5_CTX ours;  // in random updates, theirs in one
    MD5Init(&ours);
    for (size_t at = 0, piece; at < length; at += piece) {
      piece = std::min<size_t>(length - at, random() % (random() % 2 ? 200 : 70000));
      MD5Update(&ours, data.data() + at, static_cast<UINT>(piece));
    }
    BYTE digest[16], theirs[104];
    MD5Final(digest, &ours);
    init(theirs);
    update(theirs, data.data(), static_cast<UINT>(length));
    finish(theirs);
    ASSERT_EQ(memcmp(digest, theirs + 88, 16), 0) << "length " << length;
  }
}

}  // namespace
