// The "%r" formatting family: string-table texts spliced into the format.
//
// One pass walks the format, replaces each "%r" by the text of the string id
// it consumes, and moves every other conversion's argument into a rebuilt
// argument list; the rebuilt format is then formatted once with that list.
// Callers depend on the walk's exact rules (see the header), including how a
// doubled percent sign shifts the arguments, so the walk is kept literal.
#include <stdlib.h>
#include <string.h>


#include "format.h"
#include "ktutil.h"

namespace {

enum class ArgKind { kNone, kWord, kDouble };

ArgKind ConversionKind(char c) {
  switch (c) {
    case 'c': case 'C': case 'd': case 'i': case 'o': case 'u':
    case 'x': case 'X': case 'p': case 'n': case 's': case 'S':
      return ArgKind::kWord;
    case 'e': case 'E': case 'f': case 'g': case 'G':
      return ArgKind::kDouble;
    default:
      return ArgKind::kNone;
  }
}

// Both Windows targets read variable arguments through a plain pointer over
// the argument slots, so a list can be laid out in memory and handed to the
// formatter as it is (List() would not compile for a structured va_list).
static_assert(sizeof(va_list) == sizeof(void *),
              "the rebuilt list relies on va_list being a slot pointer");

class RebuiltArgs {
 public:
  // Moves the next caller argument of one conversion (text from spec up to
  // and including its conversion character at end[-1]).
  void Move(ArgKind kind, const char *spec, const char *end, va_list &args) {
    if (kind == ArgKind::kDouble) {
      double v = va_arg(args, double);
      Store(&v, sizeof v, 8);
      return;
    }
#ifdef _WIN64
    char conv = end[-1];
    if (conv == 's' || conv == 'S' || conv == 'p' || conv == 'n') {
      void *v = va_arg(args, void *);
      Store(&v, sizeof v, 4);
    } else if (HasWideIntegerModifier(spec, end - 1)) {
      unsigned long long v = va_arg(args, unsigned long long);
      Store(&v, sizeof v, 4);
    } else {
      unsigned long long v = va_arg(args, unsigned int);
      Store(&v, sizeof v, 4);
    }
#else
    // 32-bit: every such conversion takes one 4-byte slot, whatever its
    // length modifier says.
    (void)spec;
    (void)end;
    unsigned int v = va_arg(args, unsigned int);
    Store(&v, sizeof v, 4);
#endif
  }

  va_list List() { return reinterpret_cast<va_list>(bytes_); }

 private:
  // 64 bytes of 32-bit arguments: sixteen 4-byte ones, or fewer with
  // 8-byte ones. On 64-bit every argument fills an 8-byte slot.
  static constexpr unsigned kLimit = 64;
  static constexpr size_t kSlotBytes = sizeof(void *) == 8 ? 2 * kLimit : kLimit;
  // A format that reads more arguments than were moved finds zeros (null
  // pointers), never stack garbage.
  static constexpr size_t kPadBytes = kSlotBytes;

#ifdef _WIN64
  static bool HasWideIntegerModifier(const char *p, const char *conv) {
    for (; p < conv; ++p) {
      if (*p == 'z' || *p == 'j' || *p == 't') return true;
      if (p[0] == 'l' && p + 1 < conv && p[1] == 'l') return true;
      if (*p == 'I') return !(p + 2 < conv && p[1] == '3' && p[2] == '2');
    }
    return false;
  }
#endif

  void Store(const void *value, size_t size, unsigned counted) {
    // Beyond the limit the argument is consumed but dropped.
    if (counted_ + counted > kLimit || used_ + size > kSlotBytes) return;
    memcpy(bytes_ + used_, value, size);
    used_ += size;
    counted_ += counted;
  }

  alignas(16) char bytes_[kSlotBytes + kPadBytes] = {};
  size_t used_ = 0;
  unsigned counted_ = 0;
};

int ExpandAndFormat(char *dest, int size, HINSTANCE module, const char *format,
                    va_list callerArgs) {
  if (dest == nullptr || size <= 0) return -1;
  // The rebuilt format never outgrows the destination: it is cut there.
  char *work = static_cast<char *>(malloc(static_cast<size_t>(size)));
  if (work == nullptr) return 0;
  if (format == nullptr) format = "";

  va_list args;
  va_copy(args, callerArgs);
  RebuiltArgs rebuilt;
  const int limit = size - 1;
  int pos = 0;
  const char *p = format;
  while (*p != '\0' && pos < limit) {
    if (*p != '%') {
      work[pos++] = *p++;
    } else if (p[1] == 'r') {
      UINT id = va_arg(args, UINT);
      // Room left plus the terminator; a missing id inserts nothing.
      int n = LoadStringA(module, id, work + pos, limit - pos + 1);
      if (n > 0) pos += n;
      p += 2;
    } else {
      // A pending conversion runs until a conversion character, "%%"
      // included; only then does it take its argument.
      const char *spec = p;
      work[pos++] = *p++;
      while (*p != '\0' && pos < limit) {
        char c = *p++;
        work[pos++] = c;
        ArgKind kind = ConversionKind(c);
        if (kind != ArgKind::kNone) {
          rebuilt.Move(kind, spec, p, args);
          break;
        }
      }
    }
  }
  work[pos] = '\0';
  va_end(args);

  int n = kt::BoundedFormat(dest, size, work, rebuilt.List());
  free(work);
  return n;
}

}  // namespace

extern "C" int KTAPI wsrprintf_arglist(LPSTR dest, int size, HINSTANCE module,
                                       LPCSTR format, va_list args) {
  return ExpandAndFormat(dest, size, module, format, args);
}

extern "C" int KTAPI wsrprintf(LPSTR dest, int size, HINSTANCE module, LPCSTR format,
                               ...) {
  va_list args;
  va_start(args, format);
  int n = ExpandAndFormat(dest, size, module, format, args);
  va_end(args);
  return n;
}

extern "C" int KTAPI fmtrmsg(LPSTR dest, int size, HINSTANCE module, UINT id, ...) {
  char format[512];
  if (LoadStringA(module, id, format, sizeof format) <= 0) format[0] = '\0';
  va_list args;
  va_start(args, id);
  int n = ExpandAndFormat(dest, size, module, format, args);
  va_end(args);
  return n;
}
