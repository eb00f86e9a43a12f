#include "support/kt_test_support.h"
#include "win_helpers.h"

using kttest::CanaryBuffer;
using kttest::ScratchKey;

namespace {

constexpr char kNoKey[] = "Software\\Tessaly\\ktutil-test\\none";

TEST(RegistryValues, TextsNumbersAndRecordsReadWholeOrNotAtAllAndWritersMakeKeys) {
  ScratchKey key("regvalues");
  const char *path = key.path().c_str();
  ASSERT_TRUE(SetRegistryValueString(key.root(), path, "name", "hello"));
  ASSERT_TRUE(SetRegistryValueStringEnc(key.root(), path, "s", "secret"));
  EXPECT_EQ(key.GetString("name"), "hello");
  EXPECT_EQ(key.GetString("s"), "~\x05\x68\x26\x7E\x68\x73");
  // Each needs room for what is stored: the scrambled reader 8 bytes for
  // "secret", and it gives the empty text rather than a fragment.
  const std::tuple<decltype(&GetRegistryValueString), const char *, const char *, int>
      reads[] = {{GetRegistryValueString, "name", "hello", 6},
                 {GetRegistryValueStringEnc, "s", "secret", 8}};
  for (const auto &[read, value, text, exact] : reads)
    for (int size : {0, 1, exact - 1, exact}) {
      CanaryBuffer buf(size);
      EXPECT_EQ(read(key.root(), path, value, buf.raw(), size), size == exact);
      EXPECT_TRUE(buf.Intact()) << size;
      if (size == exact || read == GetRegistryValueStringEnc)
        EXPECT_EQ(buf.text(), size == exact ? text : "") << size;
    }
  char text[300] = "x";
  EXPECT_FALSE(GetRegistryValueString(key.root(), kNoKey, "name", text, sizeof text));
  // A stored text without terminator gets one, room permitting.
  key.SetRaw("raw", REG_BINARY, "abc", 3);
  EXPECT_TRUE(GetRegistryValueString(key.root(), path, "raw", text, 4));
  EXPECT_STREQ(text, "abc");
  EXPECT_FALSE(GetRegistryValueString(key.root(), path, "raw", text, 3));
  EXPECT_STREQ(text, "ab");

  std::string all;
  for (int c = 1; c <= 255; ++c) all += static_cast<char>(c);
  ASSERT_TRUE(SetRegistryValueStringEnc(key.root(), path, "all", all.c_str()));
  ASSERT_TRUE(SetRegistryValueStringEnc(key.root(), path, "empty", ""));
  EXPECT_EQ(key.GetString("empty"), "");
  key.SetString("plain", "plain text");
  for (auto [value, want] : {std::pair<const char *, std::string>{"all", all},
                             {"empty", ""},
                             {"plain", "plain text"},
                             {"missing", ""}}) {
    strcpy(text, "x");
    EXPECT_EQ(GetRegistryValueStringEnc(key.root(), path, value, text, sizeof text),
              value != std::string("missing"));
    EXPECT_EQ(text, want) << value;
  }

  // Numbers are four bytes or the default.
  EXPECT_TRUE(SetRegistryValueDWord(key.root(), path, nullptr, 0x12345678));
  EXPECT_EQ(key.GetDword(nullptr), 0x12345678u);
  EXPECT_EQ(GetRegistryValueDWord(key.root(), path, "", 7), 0x12345678u);
  key.SetString("text", "0123456789");
  EXPECT_EQ(GetRegistryValueDWord(key.root(), path, "text", 7), 7u);
  key.SetRaw("short", REG_BINARY, "\x01\x02", 2);
  EXPECT_EQ(GetRegistryValueDWord(key.root(), path, "short", 7), 0x0201u);
  EXPECT_EQ(GetRegistryValueDWord(key.root(), path, "missing", 7), 7u);
  EXPECT_EQ(GetRegistryValueDWord(key.root(), kNoKey, "n", 9), 9u);

  std::string deep = key.path() + "\\a\\b", fresh = key.path() + "\\fresh";
  EXPECT_TRUE(SetRegistryValueDWord(key.root(), deep.c_str(), "n", 1));
  EXPECT_TRUE(DeleteRegistryValue(key.root(), deep.c_str(), "n"));
  EXPECT_EQ(GetRegistryValueDWord(key.root(), deep.c_str(), "n", 0), 0u);
  EXPECT_TRUE(DeleteRegistryValue(key.root(), fresh.c_str(), "x"));
  EXPECT_TRUE(SetRegistryValueString(key.root(), fresh.c_str(), "", "made"));
  // One writer stands for all: they open their key alike.
  kttest::LockedKey locked(key.root(), fresh);
  EXPECT_FALSE(SetRegistryValueString(key.root(), fresh.c_str(), "", "x"));
  EXPECT_EQ(SaveConfigEx(key.root(), "x", 1, fresh.c_str(), "n"), ERROR_ACCESS_DENIED);
  // Windows makes no subkey through a read-only handle; Wine does not check.
  HKEY readOnly;
  ASSERT_EQ(RegOpenKeyExA(key.root(), path, 0, KEY_READ, &readOnly), 0);
  EXPECT_TRUE(!SetRegistryValueString(readOnly, "sub", "v", "x") || kttest::OnWine());
  RegCloseKey(readOnly);

  // Config records: binary values under the machine's root, or the one given.
  ScratchKey machine("cfg", HKEY_LOCAL_MACHINE);
  const std::string recordKey = machine.path() + "\\new\\path";
  const char *records = recordKey.c_str();
  const std::string record("\x03\x00\x00\x00record\xFF", 11);
  ASSERT_EQ(SaveConfig(record.data(), 11, records, "rec"), 0);
  DWORD type = 99;
  RegGetValueA(HKEY_LOCAL_MACHINE, records, "rec", RRF_RT_ANY, &type, nullptr, nullptr);
  EXPECT_EQ(type, static_cast<DWORD>(REG_NONE));
  // Too small, missing or no buffer: FALSE, and the caller's bytes stay.
  for (int size : {0, 1, 10, 11}) {
    CanaryBuffer buf(size);
    EXPECT_EQ(LoadConfig(buf.raw(), size, records, "rec"), size >= 11) << size;
    EXPECT_TRUE(buf.Intact()) << size;
    const std::string got(buf.raw(), size);
    EXPECT_EQ(got, size < 11 ? std::string(size, '\xA5') : record) << size;
  }
  char buf[16] = "keep";
  EXPECT_FALSE(LoadConfig(buf, sizeof buf, records, "missing"));
  EXPECT_FALSE(LoadConfig(nullptr, sizeof buf, records, "rec"));
  // The Ex form reads under the root it is given.
  EXPECT_FALSE(LoadConfigEx(HKEY_CURRENT_USER, buf, sizeof buf, records, "rec"));
  EXPECT_STREQ(buf, "keep");
  // Any type reads back (SaveConfigEx's root shows at the locked key above).
  machine.SetString("text", "abc");
  EXPECT_TRUE(LoadConfig(buf, sizeof buf, machine.path().c_str(), "text"));
  EXPECT_STREQ(buf, "abc");

  // The only value there: its name needs 4 characters, its data 11 bytes.
  char name[32], data[32];
  EXPECT_FALSE(EnumConfig(1, name, sizeof name, data, sizeof data, records));
  EXPECT_FALSE(EnumConfig(0, name, sizeof name, nullptr, sizeof data, records));
  for (auto [nameSize, dataSize] : {std::pair{0, 0}, {1, 1}, {3, 10}, {4, 11}}) {
    CanaryBuffer nameBuf(nameSize), dataBuf(dataSize);
    EXPECT_EQ(EnumConfig(0, nameBuf.raw(), nameSize, data, sizeof data, records),
              nameSize == 4);
    EXPECT_EQ(EnumConfig(0, name, sizeof name, dataBuf.raw(), dataSize, records),
              dataSize == 11);
    EXPECT_TRUE(nameBuf.Intact() && dataBuf.Intact()) << nameSize;
  }
  EXPECT_EQ(name + std::string(data, 11), "rec" + record);
}

}  // namespace
