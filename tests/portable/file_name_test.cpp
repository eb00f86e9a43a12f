#include <gtest/gtest.h>

#include <string>

#include "ktutil.h"
#include "support/canary.h"

namespace {

TEST(ExtractFileBase, DropsDriveAndDirectoryAndCuts) {
  char buf[260];
  for (auto [path, base] : {std::pair{"C:\\dir\\name.ext", "name.ext"}, {"C:name.ext", "name.ext"},
                            {"dir/sub/name", "name"}, {"C:\\dir\\", ""}}) {
    EXPECT_STREQ(ExtractFileBase(path, buf, sizeof buf), base) << path;
  }
  for (int size : {0, 1, 8, 9}) {
    kttest::CanaryBuffer cut(size);
    ExtractFileBase("C:\\dir\\name.ext", cut.raw(), size);
    EXPECT_TRUE(cut.Intact()) << size;
    if (size > 0) {
      EXPECT_EQ(cut.text(), std::string("name.ext").substr(0, size - 1));
    }
  }
}

TEST(ChangeFileBase, KeepsDriveAndDirectoryWithinTheFullPath) {
  for (auto [path, base, want] :
       {std::tuple{"C:\\dir\\old.txt", "new.log", "C:\\dir\\new.log"},
        {"C:old.txt", "new", "C:new"}, {"a/b\\c/old", "n.x", "a/b\\c/n.x"}}) {
    char buf[260];
    strncpy0(buf, path, sizeof buf);
    EXPECT_STREQ(ChangeFileBase(buf, base), want) << path;
  }
  // The buffer is promised 260 characters: a long new base is cut there.
  std::string dir = "C:\\" + std::string(250, 'd') + "\\";
  kttest::CanaryBuffer buf(260);
  strncpy0(buf.raw(), (dir + "old").c_str(), 260);
  ChangeFileBase(buf.raw(), std::string(40, 'n').c_str());
  EXPECT_TRUE(buf.Intact());
  EXPECT_EQ(buf.text(), dir + std::string(259 - dir.size(), 'n'));
}

}  // namespace
