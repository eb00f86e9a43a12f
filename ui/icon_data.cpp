// Icons as flat blocks of bytes, so that the product's processes can store
// and exchange them: 8-bit colour in a palette both sides know, plus the mask.
#include <cstdlib>
#include <cstring>

#include "containers/block_hash.h"

namespace {

constexpr DWORD kTag = 0x1001;
constexpr DWORD kOldTag = 0;

struct Header {
  DWORD tag, colourSize, maskSize, colourWidth, colourHeight, maskWidth, maskHeight;
  DWORD reserved[5];
};
static_assert(sizeof(Header) == 48, "the block's header is 48 bytes");

// The older layout's two bitmap records, as 32-bit programs stored them.
struct OldBitmap {
  LONG type, width, height, widthBytes;
  WORD planes, bitsPixel;
  DWORD bits;  // a pointer in the storing process: never read
};
static_assert(sizeof(OldBitmap) == 24, "the older block's records are 24 bytes");

struct EightBitInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

// A 6 x 6 x 6 cube (blue fastest), 24 dark and primary colours, then black.
const RGBQUAD *Palette() {
  static const EightBitInfo table = [] {
    static const BYTE extra[24][3] = {
        {0x40, 0, 0},    {0, 0x40, 0},    {0, 0, 0x40},    {0x40, 0x40, 0x40}, {0x80, 0, 0},
        {0, 0x80, 0},    {0, 0, 0x80},    {0x80, 0, 0x80}, {0, 0x80, 0x80},    {0x80, 0x80, 0},
        {0x80, 0x80, 0x80}, {0xC0, 0, 0}, {0, 0xC0, 0},    {0, 0, 0xC0},       {0xC0, 0, 0xC0},
        {0, 0xC0, 0xC0}, {0xC0, 0xC0, 0}, {0xC0, 0xC0, 0xC0}, {0xFF, 0, 0},    {0, 0xFF, 0},
        {0, 0, 0xFF},    {0xFF, 0, 0xFF}, {0, 0xFF, 0xFF}, {0xFF, 0xFF, 0}};
    EightBitInfo info = {};
    for (int i = 0; i < 216; ++i)
      info.colours[i] = {BYTE(i % 6 * 0x33), BYTE(i / 6 % 6 * 0x33), BYTE(i / 36 * 0x33), 0};
    for (int i = 0; i < 24; ++i)
      info.colours[216 + i] = {extra[i][2], extra[i][1], extra[i][0], 0};
    return info;
  }();
  return table.colours;
}

EightBitInfo InfoFor(LONG width, LONG height) {
  EightBitInfo info = {};
  info.header = {sizeof info.header, width, height, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
  memcpy(info.colours, Palette(), sizeof info.colours);
  return info;
}

// Bytes a row of width pixels takes, its rows padded to align bytes.
unsigned long long RowBytes(DWORD width, DWORD bitsPerPixel, DWORD align) {
  return (static_cast<unsigned long long>(width) * bitsPerPixel + align * 8 - 1) /
         (align * 8) * align;
}

// Positive dimensions whose rows fit within size bytes: the platform reads
// as many rows as the height says, whatever size the block gives.
bool Covers(DWORD size, DWORD width, DWORD height, DWORD bitsPerPixel, DWORD align) {
  return width > 0 && height > 0 && width <= 0x7FFFFFFF && height <= 0x7FFFFFFF &&
         RowBytes(width, bitsPerPixel, align) * height <= size;
}

struct Bitmap {
  HBITMAP handle = nullptr;
  Bitmap() = default;
  explicit Bitmap(HBITMAP h) : handle(h) {}
  ~Bitmap() {
    if (handle != nullptr) DeleteObject(handle);
  }
  Bitmap(const Bitmap &) = delete;
  Bitmap &operator=(const Bitmap &) = delete;
  void Reset(HBITMAP h) {
    if (handle != nullptr) DeleteObject(handle);
    handle = h;
  }
};

struct MemoryDc {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = nullptr;
  explicit MemoryDc(HBITMAP bitmap) { old = SelectObject(dc, bitmap); }
  ~MemoryDc() {
    SelectObject(dc, old);
    DeleteDC(dc);
  }
};

// The colour bitmap mapped to the palette by drawing it into an 8-bit DIB
// section that uses it.
HBITMAP ToPalette(HBITMAP colour, LONG width, LONG height) {
  EightBitInfo info = InfoFor(width, height);
  void *bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO *>(&info),
                                     DIB_RGB_COLORS, &bits, nullptr, 0);
  if (section == nullptr) return nullptr;
  MemoryDc from(colour), to(section);
  BitBlt(to.dc, 0, 0, width, height, from.dc, 0, 0, SRCCOPY);
  return section;
}

}  // namespace

extern "C" BOOL KTAPI GetIconData(HICON icon, LPVOID *blockOut, DWORD *sizeOut, DWORD *hashOut) {
  ICONINFO parts = {};
  if (!GetIconInfo(icon, &parts)) return FALSE;
  Bitmap colour(parts.hbmColor), mask(parts.hbmMask);
  BITMAP colourInfo = {}, maskInfo = {};
  if (colour.handle == nullptr || !GetObjectA(colour.handle, sizeof colourInfo, &colourInfo) ||
      !GetObjectA(mask.handle, sizeof maskInfo, &maskInfo))
    return FALSE;
  const LONG width = colourInfo.bmWidth, height = colourInfo.bmHeight;
  Bitmap section(ToPalette(colour.handle, width, height));
  if (section.handle == nullptr) return FALSE;

  const unsigned long long colourSize = RowBytes(width, 8, 4) * height;
  const unsigned long long maskSize =
      static_cast<unsigned long long>(maskInfo.bmHeight) * maskInfo.bmWidthBytes;
  if (colourSize + maskSize > 0x7FFFFFFF) return FALSE;
  const DWORD size = static_cast<DWORD>(colourSize + maskSize + sizeof(Header));
  BYTE *block = static_cast<BYTE *>(calloc(size, 1));
  if (block == nullptr) return FALSE;
  const Header header = {kTag,
                         static_cast<DWORD>(colourSize),
                         static_cast<DWORD>(maskSize),
                         static_cast<DWORD>(width),
                         static_cast<DWORD>(height),
                         static_cast<DWORD>(maskInfo.bmWidth),
                         static_cast<DWORD>(maskInfo.bmHeight),
                         {}};
  memcpy(block, &header, sizeof header);
  BYTE *colourBits = block + sizeof header;

  EightBitInfo info = InfoFor(width, height);
  DWORD hash = 0;
  HDC dc = CreateCompatibleDC(nullptr);
  if (GetDIBits(dc, section.handle, 0, height, colourBits, reinterpret_cast<BITMAPINFO *>(&info),
                DIB_RGB_COLORS) == 0) {
    OutputDebugStringA("getdibits failed: 3\n");
    memset(colourBits, 0, header.colourSize);
  } else {
    hash = kt::BlockHash(colourBits, header.colourSize);
  }
  DeleteDC(dc);
  GetBitmapBits(mask.handle, header.maskSize, colourBits + header.colourSize);

  if (sizeOut != nullptr) *sizeOut = size;
  if (hashOut != nullptr) *hashOut = hash;
  if (blockOut != nullptr) {
    *blockOut = block;
  } else {
    free(block);
  }
  return TRUE;
}

extern "C" void KTAPI FreeIconData(LPVOID block) { free(block); }

extern "C" HICON KTAPI CreateIconFromIconData(LPCVOID block, DWORD size) {
  if (block == nullptr || size < sizeof(Header)) return nullptr;
  Header header;
  memcpy(&header, block, sizeof header);
  const BYTE *data = static_cast<const BYTE *>(block) + sizeof header;
  Bitmap colour, mask;
  if (header.tag != kOldTag) {
    if (0ull + header.colourSize + header.maskSize + sizeof header != size) return nullptr;
    if (header.colourSize != 0) {
      if (!Covers(header.colourSize, header.colourWidth, header.colourHeight, 8, 4))
        return nullptr;
      EightBitInfo info = InfoFor(header.colourWidth, header.colourHeight);
      HDC screen = GetDC(nullptr);
      colour.Reset(CreateDIBitmap(screen, &info.header, CBM_INIT, data,
                                  reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS));
      ReleaseDC(nullptr, screen);
    }
    if (header.maskSize != 0) {
      if (!Covers(header.maskSize, header.maskWidth, header.maskHeight, 1, 2)) return nullptr;
      mask.Reset(CreateBitmap(header.maskWidth, header.maskHeight, 1, 1,
                              data + header.colourSize));
    }
  } else {
    OldBitmap records[2];
    memcpy(records, block, sizeof records);
    unsigned long long sizes[2];
    for (int i = 0; i < 2; ++i)
      sizes[i] = static_cast<unsigned long long>(static_cast<DWORD>(records[i].widthBytes)) *
                 static_cast<DWORD>(records[i].height);
    if (sizes[0] + sizes[1] + sizeof records != size) return nullptr;
    Bitmap *targets[2] = {&colour, &mask};
    for (int i = 0, offset = 0; i < 2; offset += static_cast<int>(sizes[i]), ++i) {
      const OldBitmap &r = records[i];
      if (sizes[i] == 0) continue;
      if (!Covers(static_cast<DWORD>(sizes[i]), r.width, r.height, DWORD{r.planes} * r.bitsPixel,
                  2))
        return nullptr;
      BITMAP bitmap = {r.type, r.width, r.height, r.widthBytes, r.planes, r.bitsPixel,
                       const_cast<BYTE *>(data + offset)};
      targets[i]->Reset(CreateBitmapIndirect(&bitmap));
    }
  }
  if (colour.handle == nullptr && mask.handle == nullptr) return nullptr;
  ICONINFO parts = {TRUE, 0, 0, mask.handle, colour.handle};
  return CreateIconIndirect(&parts);
}
