#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ktutil.h"

namespace {

// The digest in hex of data fed in updates of the given sizes, then the rest.
std::string Digest(const std::string &data, std::vector<UINT> pieces = {}) {
  MD5_CTX context;
  MD5Init(&context);
  pieces.push_back(static_cast<UINT>(data.size()));
  size_t at = 0;
  for (UINT piece : pieces) {
    piece = std::min<UINT>(piece, static_cast<UINT>(data.size() - at));
    MD5Update(&context, data.data() + at, piece);
    at += piece;
  }
  BYTE digest[16];
  MD5Final(digest, &context);
  const MD5_CTX zero = {};
  EXPECT_EQ(memcmp(&context, &zero, sizeof zero), 0);  // Final wipes the state
  char hex[33];
  for (int i = 0; i < 16; ++i) snprintf(hex + 2 * i, 3, "%02x", digest[i]);
  return hex;
}

// The reference suite, whole and split across block boundaries.
TEST(MD5, ReferenceSuiteWholeAndSplit) {
  const char *const cases[][2] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"}};
  for (const auto &c : cases) {
    EXPECT_EQ(Digest(c[0]), c[1]) << c[0];
    EXPECT_EQ(Digest(c[0], {1, 0, 63, 2}), c[1]) << c[0];
  }
  // Runs of "a" either side of where the padding needs a second block.
  const std::pair<size_t, const char *> runs[] = {
      {55, "ef1772b6dff9a122358552954ad0df65"},  {56, "3b0c8ac703f828b04c6c197006d17218"},
      {64, "014842d480b571495a4a0363793f7367"},  {119, "8a7bd0732ed6a28ce75f6dabc90e1613"},
      {120, "5f61c0ccad4cac44c75ff505e1f1e537"}};
  for (const auto &[length, digest] : runs)
    EXPECT_EQ(Digest(std::string(length, 'a'), {1, 0, 63}), digest) << length;
  EXPECT_EQ(Digest(std::string(1000000, 'a'), {1, 0, 63, 64, 1000}),
            "7707d6ae4e027c70eea2a935c2296f21");
}

}  // namespace
