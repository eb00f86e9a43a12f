// PortPairDataToString over random pair arrays: the text must read back as
// the pairs it was made from.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/text_buffer.h"
#include "ktutil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // Whole pairs only, in storage of exactly their size.
  const UINT count = static_cast<UINT>(size / sizeof(PortPair));
  PortPair *pairs = static_cast<PortPair *>(malloc(count * sizeof(PortPair)));
  memcpy(pairs, data, count * sizeof(PortPair));

  TextBuffer text = {nullptr, 0, 0};
  const char prefix[] = "x";
  if (size % 2 == 1) kt::TextAppend(&text, prefix);
  PortPairDataToString(&text, pairs, count);
  if (text.data != nullptr &&
      (text.length >= text.capacity || text.data[text.length] != 0))
    abort();

  std::string expected = size % 2 == 1 ? prefix : "";
  for (UINT i = 0; i < count; ++i) {
    if (i > 0) expected += ", ";
    expected += std::to_string(pairs[i].first);
    if (pairs[i].last != 0) expected += "-" + std::to_string(pairs[i].last);
  }
  if (expected != kt::TextOf(&text)) abort();
  kt::TextClear(&text);
  free(pairs);
  return 0;
}
