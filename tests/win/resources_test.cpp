#include <utility>

#include "support/kt_test_support.h"
#include "win_helpers.h"

using kttest::KtModule;

namespace {

const std::pair<UINT, const char *> kQuoted[] = {
#include "quoted_strings.inc"
};

std::string Load(UINT id) {
  char buf[4096];
  int n = LoadStringA(KtModule(), id, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

TEST(Resources, TextsLoadWordForWordAndDialogsBitmapAndVersionArePresent) {
  for (const auto &[id, text] : kQuoted) EXPECT_EQ(Load(id), text) << "id " << id;
  for (auto [first, last] : {std::pair{1u, 54u}, {115u, 128u}, {3001u, 3061u}})
    for (UINT id = first; id <= last; ++id) EXPECT_FALSE(Load(id).empty()) << "id " << id;
  for (int id : {101, 102, 105, 106})
    EXPECT_NE(FindResourceA(KtModule(), MAKEINTRESOURCEA(id), RT_DIALOG), nullptr) << id;
  HBITMAP bitmap = LoadBitmapA(KtModule(), MAKEINTRESOURCEA(103));
  EXPECT_NE(bitmap, nullptr);
  DeleteObject(bitmap);
  char path[MAX_PATH];
  GetModuleFileNameA(KtModule(), path, MAX_PATH);
  EXPECT_GT(GetFileVersionInfoSizeA(path, nullptr), 0u);
}

}  // namespace
