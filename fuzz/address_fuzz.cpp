// StrToIPAddr over any text, and the address writers over what it yields.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "ktutil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // Exactly the text and its terminator, so a read past it is caught.
  char *text = static_cast<char *>(malloc(size + 1));
  memcpy(text, data, size);
  text[size] = '\0';
  const DWORD address = StrToIPAddr(text);
  free(text);

  char dotted[16];
  char *end = IPAddrToStr(address, dotted, sizeof dotted);
  if (end != dotted + strlen(dotted) || StrToIPAddr(dotted) != address) abort();

  // The port form at every size stays within storage of exactly that size
  // and is a cut of the full text.
  const WORD port = static_cast<WORD>(size > 1 ? data[0] | data[1] << 8 : 0);
  char full[32];
  IPInfoToStr(address, port, full, sizeof full);
  const std::string whole = full;
  for (int room = 0; room <= static_cast<int>(whole.size()) + 1; ++room) {
    char *cut = static_cast<char *>(malloc(room));
    IPInfoToStr(address, port, cut, room);
    if (room > 0 && whole.compare(0, room - 1, cut) != 0) abort();
    free(cut);
  }
  return 0;
}
