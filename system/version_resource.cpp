// Walks a version resource's block tree with every length checked.
#include "system/version_resource.h"

namespace kt {
namespace {

// A block: length, value length, (32-bit layout: value type), key, padding
// to 4 bytes, value, padding, child blocks. Offsets count from the start of
// the resource, which is where the platform aligns them from too.
struct Layout {
  bool wide;
  size_t header;  // bytes before the key
  size_t unit;    // bytes per key character
};

// Real resources nest four deep; deeper ones are refused rather than walked.
constexpr int kMaxDepth = 8;

unsigned Word(const unsigned char *data, size_t at) {
  return data[at] | data[at + 1] << 8;
}
size_t Align4(size_t at) { return (at + 3) & ~size_t{3}; }

bool BlockIsSound(const unsigned char *data, size_t at, size_t end, const Layout &layout,
                  int depth) {
  if (depth > kMaxDepth || end - at < layout.header + layout.unit) return false;
  const size_t length = Word(data, at);
  if (length < layout.header + layout.unit || length > end - at) return false;
  const size_t blockEnd = at + length;

  size_t key = at + layout.header;
  while (layout.wide ? Word(data, key) != 0 : data[key] != 0) {
    key += layout.unit;
    if (blockEnd - key < layout.unit) return false;  // no terminator inside
  }
  const size_t value = Align4(key + layout.unit);
  const bool text = layout.wide && Word(data, at + 4) != 0;
  const size_t valueBytes = Word(data, at + 2) * (text ? 2 : 1);
  if (valueBytes > 0 && (value > blockEnd || valueBytes > blockEnd - value)) return false;

  for (size_t child = Align4(value + valueBytes); child < blockEnd;) {
    if (!BlockIsSound(data, child, blockEnd, layout, depth + 1)) return false;
    child = Align4(child + Word(data, child));
  }
  return true;
}

}  // namespace

bool VersionResourceIsSound(const unsigned char *data, size_t size) {
  if (data == nullptr || size < 6) return false;
  // The platform's own test: a printable first key character means the
  // 16-bit layout, whose key starts where the wide layout keeps its type.
  const Layout layout = data[4] >= ' ' ? Layout{false, 4, 1} : Layout{true, 6, 2};
  return BlockIsSound(data, 0, size, layout, 0);
}

}  // namespace kt
