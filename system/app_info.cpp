// Facts about one program file: what it calls itself, its versions and
// vendor, its time, size, checksum and digest, and whether its signature is
// trusted; and loading a library only when it is.
#include <stddef.h>
#include <string.h>

#include "ktutil.h"
#include "lifecycle.h"
#include "system/owned_handle.h"
#include "system/trust_entry.h"
#include "system/version_block.h"

static_assert(sizeof(AppInfo) == KTAI_FULLSIZE, "application information record");
static_assert(
    offsetof(AppInfo, description) == 4 && offsetof(AppInfo, longPath) == 67 &&
        offsetof(AppInfo, productVersion) == 328 && offsetof(AppInfo, checksum) == 392 &&
        offsetof(AppInfo, fileTime) == 660 && offsetof(AppInfo, fileSize) == 664 &&
        offsetof(AppInfo, company) == 668 && offsetof(AppInfo, trademarks) == 1109 &&
        offsetof(AppInfo, signatureStatus) == 1172 && offsetof(AppInfo, digest) == 1176,
    "application information record");

namespace {

using Field = char (AppInfo::*)[63];
constexpr int kFieldSize = 63;

// The texts read under their flags, beside the description.
struct VersionText {
  DWORD flag;
  const char *name;
  Field field;
};
constexpr VersionText kTexts[] = {
    {KTAI_PRODUCTVERSION, "ProductVersion", &AppInfo::productVersion},
    {KTAI_COMPANY, "CompanyName", &AppInfo::company},
    {KTAI_FILEVERSION, "FileVersion", &AppInfo::fileVersion},
    {KTAI_INTERNALNAME, "InternalName", &AppInfo::internalName},
    {KTAI_COPYRIGHT, "LegalCopyright", &AppInfo::copyright},
    {KTAI_ORIGINALNAME, "OriginalFilename", &AppInfo::originalName},
    {KTAI_PRODUCTNAME, "ProductName", &AppInfo::productName},
    {KTAI_TRADEMARKS, "LegalTrademarks", &AppInfo::trademarks},
};

// "An application called '%s', possibly BackOrifice": a file named " .EXE"
// with a blank description is how that tool hides.
constexpr UINT kDisguisedProgram = 3047;
constexpr char kDisguisedName[] = " .EXE";

void CopyValue(char *field, const char *value, UINT length) {
  kt::CopyVersionText(field, kFieldSize, value, length);
}

// One or more characters, all spaces, tabs or line feeds.
bool IsBlank(const char *text, size_t length) {
  size_t n = 0;
  for (; n < length && text[n] != '\0'; ++n)
    if (!strchr(" \t\n", text[n])) return false;
  return n > 0;
}

void Describe(kt::VersionBlock &block, const char *key, const char *base,
              char *description) {
  const bool disguised = lstrcmpiA(base, kDisguisedName) == 0;
  UINT length;
  bool blankRead = false;
  description[0] = '\0';
  if (const char *value = block.Text(key, "FileDescription", &length)) {
    blankRead = IsBlank(value, length);
    CopyValue(description, value, length);
    if (lstrcmpiA(base, "WAOL.EXE") == 0 && lstrcmpiA(description, "Main Module") == 0)
      strncpy0(description, "America Online", kFieldSize);
    else if (disguised && blankRead)
      fmtmsg(description, kFieldSize, kt::ModuleHandle(), kDisguisedProgram, base);
  }
  if (description[0] == '\0' || blankRead) {
    if (const char *product = block.Text(key, "ProductName", &length))
      CopyValue(description, product, length);
  }
  if (description[0] == '\0' || IsBlank(description, kFieldSize)) {
    if (disguised)
      fmtmsg(description, kFieldSize, kt::ModuleHandle(), kDisguisedProgram, base);
    else
      strncpy0(description, base, kFieldSize);
  }
}

void ReadVersionTexts(const char *path, DWORD flags, AppInfo *info) {
  kt::VersionBlock block;
  char base[MAX_PATH];
  ExtractFileBase(path, base, MAX_PATH);
  const bool read = block.LoadFile(path) == kt::VersionBlock::kRead;
  char key[9] = "040904E4";  // when the resource names no translation
  WORD language = 0;
  const bool translated = read && block.Translation(key, &language);

  if (flags & KTAI_DESCRIPTION) {
    if (read)
      Describe(block, key, base, info->description);
    else
      strncpy0(info->description, base, kFieldSize);
  }
  for (const VersionText &text : kTexts) {
    if (!(flags & text.flag)) continue;
    char *field = info->*text.field;
    UINT length;
    const char *value = read ? block.Text(key, text.name, &length) : nullptr;
    if (value != nullptr)
      CopyValue(field, value, length);
    else
      field[0] = '\0';
  }
  if (flags & KTAI_LANGUAGE) {
    if (!translated || VerLanguageNameA(language, info->language, kFieldSize) == 0)
      info->language[0] = '\0';
  }
}

// Adds the little-endian words that start at 0, 4, 8 ... and end before the
// chunk's last byte: a chunk's final whole word, and any tail, stay out.
DWORD AddChecksum(DWORD sum, const BYTE *chunk, DWORD count) {
  const DWORD words = count == 0 ? 0 : (count - 1) / 4;
  for (DWORD i = 0; i < words; ++i) {
    DWORD word;
    memcpy(&word, chunk + 4 * i, 4);
    sum += word;
  }
  return sum;
}

void ReadChecksumAndDigest(const char *path, bool checksum, bool digest, AppInfo *info) {
  constexpr DWORD kChunk = 32768;
  // Others may read the file meanwhile, not change it.
  kt::OwnedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    if (checksum) info->checksum = 0xFFFFFFFFu;
    if (digest) memset(info->digest, 0xFF, sizeof info->digest);
    return;
  }
  static_assert(kChunk % 64 == 0, "whole digest blocks per chunk");
  BYTE chunk[kChunk];
  DWORD sum = 0, count = 0;
  MD5_CTX context;
  MD5Init(&context);
  do {
    if (!ReadFile(file.get(), chunk, kChunk, &count, nullptr)) count = 0;
    if (checksum) sum = AddChecksum(sum, chunk, count);
    if (digest) MD5Update(&context, chunk, count);
  } while (count == kChunk);
  if (checksum) info->checksum = sum;
  if (digest) MD5Final(info->digest, &context);
}

void ReadFileStatistics(const char *path, DWORD flags, AppInfo *info) {
  const bool checksum = flags & KTAI_CHECKSUM;
  const bool digest = (flags & KTAI_DIGEST) && info->size >= KTAI_FULLSIZE;
  if (checksum || digest) ReadChecksumAndDigest(path, checksum, digest, info);
  if (!(flags & (KTAI_FILETIME | KTAI_FILESIZE))) return;

  DWORD time = 0, size = 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  if (search != INVALID_HANDLE_VALUE) {
    FindClose(search);
    // As the file system keeps it: not turned into local time.
    WORD date, clock;
    if (FileTimeToDosDateTime(&found.ftLastWriteTime, &date, &clock))
      time = MAKELONG(clock, date);
    size = found.nFileSizeLow;
  }
  if (flags & KTAI_FILETIME) info->fileTime = time;
  if (flags & KTAI_FILESIZE) info->fileSize = size;
}

// The trust service's original interface: an action, and a subject of a
// given type (here a file by path).
struct TrustSubjectFile {
  HANDLE file;
  LPCWSTR path;
};
struct TrustActionData {
  HANDLE clientToken;
  GUID *subjectType;
  LPVOID subject;
};
GUID kPublishedSoftware = {
    0x64B9D180, 0x8DA2, 0x11CF, {0x87, 0x36, 0x00, 0xAA, 0x00, 0xA4, 0x85, 0xEB}};
GUID kPeImage = {
    0x43C9A1E0, 0x8DA0, 0x11CF, {0x87, 0x36, 0x00, 0xAA, 0x00, 0xA4, 0x85, 0xEB}};
constexpr LONG kSubjectNotTrusted = static_cast<LONG>(0x800B0004);

DWORD SignatureStatus(const char *path) {
  kt::VerifyTrustProc verify = kt::TrustEntry();
  if (verify == nullptr) return KTSIG_UNKNOWN;
  WCHAR wide[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) == 0) wide[0] = L'\0';
  TrustSubjectFile subject = {nullptr, wide};
  TrustActionData action = {nullptr, &kPeImage, &subject};
  const LONG result =
      verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &kPublishedSoftware, &action);
  return result == 0                    ? KTSIG_TRUSTED
         : result == kSubjectNotTrusted ? KTSIG_UNTRUSTED
                                        : KTSIG_UNKNOWN;
}

}  // namespace

extern "C" void KTAPI GetAppInfo(LPCSTR path, DWORD flags, AppInfo *info) {
  if (info == nullptr) return;
  if (path == nullptr) path = "";
  if (flags & KTAI_LONGPATH)
    KTGetLongPathName(path, info->longPath, sizeof info->longPath);
  if (flags & (KTAI_DESCRIPTION | KTAI_PRODUCTVERSION))
    ReadVersionTexts(path, flags, info);
  if (flags & (KTAI_CHECKSUM | KTAI_FILETIME | KTAI_FILESIZE | KTAI_DIGEST))
    ReadFileStatistics(path, flags, info);
  if ((flags & KTAI_SIGNATURE) && info->size >= KTAI_FULLSIZE)
    info->signatureStatus = SignatureStatus(path);
}

extern "C" HMODULE KTAPI SafeLoadLibrary(LPCSTR path) {
  AppInfo info = {};
  info.size = sizeof info;
  GetAppInfo(path, KTAI_SIGNATURE, &info);
  return info.signatureStatus == KTSIG_TRUSTED ? LoadLibraryA(path) : nullptr;
}
