#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ktutil.h"
#include "support/kt_test_support.h"

using kttest::KtModule;

namespace {

struct QuotedText {
  UINT id;
  const char *text;
};

const QuotedText kQuoted[] = {
#include "quoted_strings.inc"
};

std::string Load(UINT id) {
  char buf[4096];
  int n = LoadStringA(KtModule(), id, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

TEST(StringTable, QuotedTextsLoadWordForWord) {
  for (const QuotedText &q : kQuoted) EXPECT_EQ(Load(q.id), q.text) << "id " << q.id;
}

TEST(StringTable, EveryIdOfTheThreeRangesIsPresent) {
  std::vector<UINT> ids;
  for (UINT id = 1; id <= 54; ++id) ids.push_back(id);
  for (UINT id = 115; id <= 128; ++id) ids.push_back(id);
  for (UINT id = 3001; id <= 3061; ++id) ids.push_back(id);
  for (UINT id : ids) EXPECT_FALSE(Load(id).empty()) << "id " << id;
}

TEST(Resources, DialogsBitmapAndVersionArePresent) {
  for (int id : {101, 102, 105, 106})
    EXPECT_NE(FindResourceA(KtModule(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)), nullptr)
        << "dialog " << id;
  HBITMAP bitmap = LoadBitmapA(KtModule(), MAKEINTRESOURCEA(103));
  EXPECT_NE(bitmap, nullptr);
  DeleteObject(bitmap);

  char path[MAX_PATH];
  GetModuleFileNameA(KtModule(), path, MAX_PATH);
  DWORD handle = 0;
  std::vector<char> info(GetFileVersionInfoSizeA(path, &handle));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(info.size()), info.data()));
  char *name = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904E4\\OriginalFilename",
                             reinterpret_cast<void **>(&name), &len));
  EXPECT_STREQ(name, "ktutil.dll");
}

}  // namespace
