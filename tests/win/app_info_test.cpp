// Facts of real program files built with the resource compiler, checksums
// and digests at every size that matters, and device-driver versions from
// files laid out byte by byte.
#include "system_test_helpers.h"
#include "win_helpers.h"

namespace {

using kttest::BesideProgram;
using kttest::ReadAppInfo;

TEST(GetAppInfo, DescribesAProgramFillsWhatIsAskedAndSumsFilesOfEveryEdgeSize) {
  const kttest::TempPath folder("apps");
  CreateDirectoryA(folder.c_str(), nullptr);
  // The file, its copy's name, and the description and company read.
  const std::tuple<const char *, const char *, const char *> cases[] = {
      {"kt_version_full.dll", "any.dll", "Sample firewall tool|Sample Works"},
      {"kt_version_untranslated.dll", "any.dll", "Main Module|Untranslated Inc"},
      {"kt_version_untranslated.dll", "WAOL.EXE", "America Online|Untranslated Inc"},
      {"kt_version_blank.dll", "blank.dll", "blank.dll|"},
      {"kt_version_blank.dll", " .EXE",
       "An application called ' .EXE', possibly BackOrifice|"},
      {"kt_version_blankproduct.dll", " .EXE", "Stand-in Product|"},
      {"kt_idle_child.exe", "plain.exe", "plain.exe|"},  // no version resource
  };
  for (const auto &[source, copyAs, facts] : cases) {
    const kttest::TempPath file(std::string("apps\\") + copyAs);
    ASSERT_TRUE(CopyFileA(BesideProgram(source).c_str(), file.c_str(), FALSE));
    const AppInfo info =
        ReadAppInfo(file.path, KTAI_DESCRIPTION | KTAI_COMPANY | KTAI_LANGUAGE);
    EXPECT_EQ(std::string(info.description) + "|" + info.company, facts);
    EXPECT_TRUE(info.fileVersion[0] == '\xAB' &&
                (!strstr(source, "untr") || !info.language[0]));
  }
  // Every text of a full version resource, and only what the flags ask
  // for and the record has room for.
  const std::string path = BesideProgram("kt_version_full.dll");
  const AppInfo all = ReadAppInfo(path, 0xFFFFFFFFu);
  char language[63] = "", longPath[MAX_PATH];
  VerLanguageNameA(0x0407, language, sizeof language);
  GetLongPathNameA(path.c_str(), longPath, MAX_PATH);
  EXPECT_EQ(std::string(all.productVersion) + all.fileVersion + all.internalName +
                all.originalName + all.productName + all.trademarks + all.language +
                all.longPath + "|" + all.copyright,
            std::string("5.0.0.15.0.2.1samplesample.dllSample SuiteSample(TM)") +
                language + longPath +
                "|Copyright (C) 2001 Sample Works, a company whose name is rathe");

  // Vendor texts need a description or product version asked for too; 0x8,
  // 0x20 and 0x40 mean nothing. A record short of the full size gets no
  // signature status or digest.
  const AppInfo untouched = ReadAppInfo(path, 0), none = ReadAppInfo(path, 0x8268);
  EXPECT_EQ(memcmp(&none, &untouched, sizeof none), 0);
  const AppInfo small =
      ReadAppInfo(path, KTAI_SIGNATURE | KTAI_DIGEST | KTAI_CHECKSUM, 1212);
  EXPECT_TRUE(small.signatureStatus == 0xABABABABu && small.digest[15] == 0xAB &&
              small.checksum == all.checksum);

  // Checksum, digest, time and size of files of every edge size.
  const DWORD kStats = KTAI_CHECKSUM | KTAI_DIGEST | KTAI_FILESIZE | KTAI_FILETIME;
  const kttest::TempPath file("sum.bin");
  for (size_t size : {0, 3, 4, 5, 8, 32767, 32768, 32769, 3 * 1048576 + 6}) {
    std::string bytes(size, '\0');
    DWORD sum = 0;  // per 32,768-byte chunk, the words that end before its last byte
    for (size_t i = 0; i < size; ++i)
      bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
    for (size_t at = 0; at < size; at += 4)
      if (at % 32768 + 4 < std::min<size_t>(32768, size - at / 32768 * 32768))
        sum += *reinterpret_cast<const DWORD *>(&bytes[at]);
    kttest::WriteBytes(file.path, bytes);
    const AppInfo info = ReadAppInfo(file.path, kStats);
    MD5_CTX context;
    BYTE digest[16];
    MD5Init(&context);
    MD5Update(&context, bytes.data(), size);
    MD5Final(digest, &context);
    WIN32_FILE_ATTRIBUTE_DATA facts;
    WORD date = 0, time = 0;
    GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &facts);
    FileTimeToDosDateTime(&facts.ftLastWriteTime, &date, &time);
    EXPECT_TRUE(info.checksum == sum && !memcmp(info.digest, digest, 16) &&
                info.fileSize == size && info.fileTime == DWORD(date << 16 | time))
        << size;
  }
  // Locked against reading, the file is still found but cannot be summed.
  HANDLE lock =
      CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  const AppInfo locked = ReadAppInfo(file.path, kStats);
  CloseHandle(lock);
  EXPECT_TRUE(locked.checksum == 0xFFFFFFFFu && locked.fileSize == 3 * 1048576 + 6 &&
              std::count(locked.digest, locked.digest + 16, 0xFF) == 16);
}

// A 16-bit version block: length, value length, key, value and children,
// each part padded to 4 bytes.
std::string Block(const std::string &key, const std::string &value,
                  const std::string &children = "") {
  std::string block = std::string(4, '\0') + key + '\0';
  block.resize((block.size() + 3) & ~3u);
  block += value;
  block.resize((block.size() + 3) & ~3u);
  block += children;
  const WORD lengths[2] = {static_cast<WORD>(block.size()),
                           static_cast<WORD>(value.size())};
  return block.replace(0, 4, reinterpret_cast<const char *>(lengths), 4);
}

// Up to the offset at 312, then at that offset 8 bytes, the length and the resource.
std::string DriverImage(const std::string &resource) {
  std::string bytes(412, '\0');
  const DWORD at = 400, length = resource.size();
  bytes.replace(312, 4, reinterpret_cast<const char *>(&at), 4);
  return bytes.replace(at + 8, 4, reinterpret_cast<const char *>(&length), 4) + resource;
}

TEST(SystemFacts, DriverVersionsFallbacksForBadPathsLongPathsAndUnsignedLibraries) {
  // A driver's version is read from the resource its header points at, and
  // nothing else.
  const std::string fixed(52, '\0'),
      strings = Block(
          "StringFileInfo", "",
          Block("040904E4", "", Block("FileVersion", std::string("4.10.2222", 10))));
  const std::string resource =
      Block("VS_VERSION_INFO", fixed,
            strings + Block("VarFileInfo", "", Block("Translation", "\x09\x04\xE4\x04")));
  const std::string good = DriverImage(resource);
  std::string lying = good, distant = good;
  lying[412] += 40;     // the root block claims more than there is
  distant[315] = 0x7F;  // the resource lies far past the end
  const kttest::TempPath file("driver.vxd");
  char text[32];
  for (const std::string &bad :
       {good.substr(0, good.size() - 20), lying, distant, std::string("MZ"),
        DriverImage(Block("VS_VERSION_INFO", fixed, strings))}) {
    kttest::WriteBytes(file.path, bad);
    EXPECT_FALSE(VXDGetFileVersion(file.c_str(), text, sizeof text)) << bad.size();
  }
  kttest::WriteBytes(file.path, good);
  kttest::CheckBounded("4.10.2222", [&](char *d, int n) {
    EXPECT_TRUE(VXDGetFileVersion(file.c_str(), d, n));
  });

  // No path, an empty one, and paths up to, at and past the longest.
  for (int length : {-1, 0, 259, 260, 300}) {
    const std::string given(std::max(length, 0), 'a');
    const char *path = length < 0 ? nullptr : given.c_str();
    kttest::CanaryBuffer buf(MAX_PATH);
    AppInfo info = {KTAI_FULLSIZE};
    GetAppInfo(path, 0xFFFFFFFFu, &info);
    EXPECT_FALSE(IsModuleRunningEx(path, KTMR_BASENAME) ||
                 VXDGetFileVersion(path, nullptr, 0) || SafeLoadLibrary(path));
    EXPECT_EQ(KTGetLongPathName(path, buf.data(), MAX_PATH),
              std::min<size_t>(given.size(), 259));
    EXPECT_TRUE(buf.Intact() && buf.text() == given.substr(0, 259) &&
                info.description == given.substr(0, 62));
    EXPECT_TRUE(info.checksum == 0xFFFFFFFFu && info.digest[0] == 0xFF &&
                info.fileSize == 0 && info.fileTime == 0 &&
                info.signatureStatus != KTSIG_TRUSTED);
  }
  // The long form of a short path, cut to the buffer.
  const kttest::TempPath longNamed("a file with a long name.txt", "x");
  char shortPath[MAX_PATH], longPath[MAX_PATH];
  GetShortPathNameA(longNamed.c_str(), shortPath, MAX_PATH);
  GetLongPathNameA(longNamed.c_str(), longPath, MAX_PATH);
  ASSERT_STRNE(shortPath, longPath);
  kttest::CheckBounded(
      longPath, [&](char *d, int n) { KTGetLongPathName(shortPath, d, n); }, true);
  // The platform's own trust provider knows no signature on our files.
  const kttest::TempPath dll("unsigned.dll");
  CopyFileA(BesideProgram("kt_version_full.dll").c_str(), dll.c_str(), FALSE);
  EXPECT_NE(ReadAppInfo(dll.path, KTAI_SIGNATURE).signatureStatus, DWORD{KTSIG_TRUSTED});
  EXPECT_TRUE(SafeLoadLibrary(dll.c_str()) == nullptr &&
              GetModuleHandleA(dll.c_str()) == nullptr);
}

}  // namespace
