#include "png_writer.h"

#include <cstdio>

namespace {

class BitWriter {
 public:
  void Bits(uint32_t value, int count) {
    acc_ |= value << used_;
    used_ += count;
    for (; used_ >= 8; used_ -= 8, acc_ >>= 8) out_.push_back(static_cast<uint8_t>(acc_));
  }
  // Huffman codes go out most significant bit first.
  void Code(uint32_t code, int length) {
    uint32_t reversed = 0;
    for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1) << (length - 1 - i);
    Bits(reversed, length);
  }
  std::vector<uint8_t> Finish() {
    if (used_ > 0) out_.push_back(static_cast<uint8_t>(acc_));
    return out_;
  }

 private:
  std::vector<uint8_t> out_;
  uint32_t acc_ = 0;
  int used_ = 0;
};

// The fixed literal/length code of deflate.
void Symbol(BitWriter &w, int s) {
  if (s < 144)
    w.Code(0x30 + s, 8);
  else if (s < 256)
    w.Code(0x190 + s - 144, 9);
  else if (s < 280)
    w.Code(s - 256, 7);
  else
    w.Code(0xC0 + s - 280, 8);
}

void Match(BitWriter &w, int length, int distanceCode) {
  static const int kBase[] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                              15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                              67, 83, 99, 115, 131, 163, 195, 227, 258};
  static const int kExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                               2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  int i = 28;
  while (kBase[i] > length) --i;
  Symbol(w, 257 + i);
  w.Bits(length - kBase[i], kExtra[i]);
  w.Code(distanceCode, 5);
}

// One fixed-code block; matches only at distance 1 (code 0) or one pixel
// back (distance 3, code 2): filtered control pictures are mostly runs.
std::vector<uint8_t> Deflate(const std::vector<uint8_t> &data) {
  BitWriter w;
  w.Bits(1, 1);  // the last block
  w.Bits(1, 2);  // fixed codes
  for (size_t i = 0; i < data.size();) {
    size_t best = 0;
    int bestCode = 0;
    for (size_t distance : {1, 3}) {
      if (i < distance) continue;
      size_t n = 0;
      while (i + n < data.size() && n < 258 && data[i + n] == data[i + n - distance]) ++n;
      if (n > best) {
        best = n;
        bestCode = distance == 1 ? 0 : 2;
      }
    }
    if (best >= 3) {
      Match(w, static_cast<int>(best), bestCode);
      i += best;
    } else {
      Symbol(w, data[i++]);
    }
  }
  Symbol(w, 256);
  return w.Finish();
}

uint32_t Crc32(const uint8_t *p, size_t n, uint32_t crc = 0) {
  crc = ~crc;
  while (n--) {
    crc ^= *p++;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void Put32(std::vector<uint8_t> &out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(std::vector<uint8_t> &out, const char *type,
           const std::vector<uint8_t> &data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

bool WritePng(const std::string &path, int width, int height,
              const std::vector<uint32_t> &pixels) {
  // Each row filtered against the one above ("up"): unchanged rows are zeros.
  std::vector<uint8_t> raw, prior(width * 3, 0), row(width * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t p = pixels[y * width + x];
      row[3 * x] = p >> 16 & 0xFF;
      row[3 * x + 1] = p >> 8 & 0xFF;
      row[3 * x + 2] = p & 0xFF;
    }
    raw.push_back(2);
    for (size_t i = 0; i < row.size(); ++i)
      raw.push_back(static_cast<uint8_t>(row[i] - prior[i]));
    prior.swap(row);
  }
  uint32_t a = 1, b = 0;
  for (uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  std::vector<uint8_t> zlib = {0x78, 0x01};
  const std::vector<uint8_t> body = Deflate(raw);
  zlib.insert(zlib.end(), body.begin(), body.end());
  Put32(zlib, b << 16 | a);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  Put32(header, width);
  Put32(header, height);
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", zlib);
  Chunk(png, "IEND", {});
  FILE *f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return std::fclose(f) == 0 && written;
}
