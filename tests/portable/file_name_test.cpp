#include <gtest/gtest.h>

#include <string>

#include "ktutil.h"
#include "support/canary.h"

using kttest::CanaryBuffer;

namespace {

std::string Base(const char *path) {
  char buf[260];
  return ExtractFileBase(path, buf, sizeof buf);
}

std::string Changed(const std::string &path, const char *newBase) {
  char buf[260];
  strncpy0(buf, path.c_str(), sizeof buf);
  return ChangeFileBase(buf, newBase);
}

TEST(ExtractFileBase, DropsDriveAndDirectory) {
  EXPECT_EQ(Base("C:\\dir\\name.ext"), "name.ext");
  EXPECT_EQ(Base("C:name.ext"), "name.ext");
  EXPECT_EQ(Base("dir/sub/name"), "name");
  EXPECT_EQ(Base("\\\\server\\share\\a.b.c"), "a.b.c");
  EXPECT_EQ(Base("C:\\dir\\"), "");
  EXPECT_EQ(Base(""), "");
  EXPECT_EQ(Base(nullptr), "");
}

TEST(ExtractFileBase, CutsToTheDestination) {
  const char *path = "C:\\dir\\name.ext";  // base is 8 characters
  for (int size : {1, 8, 9, 10}) {
    CanaryBuffer buf(size);
    ExtractFileBase(path, buf.raw(), size);
    EXPECT_TRUE(buf.Intact()) << size;
    EXPECT_EQ(buf.text(), std::string("name.ext").substr(0, size - 1)) << size;
  }
  CanaryBuffer none(0);
  ExtractFileBase(path, none.raw(), 0);
  EXPECT_TRUE(none.Intact());
}

TEST(ChangeFileBase, KeepsDriveAndDirectory) {
  EXPECT_EQ(Changed("C:\\dir\\old.txt", "new.log"), "C:\\dir\\new.log");
  EXPECT_EQ(Changed("C:old.txt", "new"), "C:new");
  EXPECT_EQ(Changed("old.txt", "new.log"), "new.log");
  EXPECT_EQ(Changed("a/b\\c/old", "n.x"), "a/b\\c/n.x");
  EXPECT_EQ(Changed("C:\\dir\\", "file"), "C:\\dir\\file");
}

TEST(ChangeFileBase, StaysWithinTheFullPathBuffer) {
  // The buffer is promised room for 260 characters; a long new base is cut.
  std::string dir = "C:\\" + std::string(250, 'd') + "\\";
  CanaryBuffer buf(260);
  strncpy0(buf.raw(), (dir + "old").c_str(), 260);
  ChangeFileBase(buf.raw(), std::string(40, 'n').c_str());
  EXPECT_TRUE(buf.Intact());
  EXPECT_EQ(buf.text(), dir + std::string(259 - dir.size(), 'n'));
}

}  // namespace
