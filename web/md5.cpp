// MD5 (RFC 1321) over a caller-allocated context; portable. Written for
// speed: the system report and the product's programs digest whole files.
#include <string.h>

#include "ktutil.h"

static_assert(sizeof(MD5_CTX) == 88, "MD5_CTX layout");

namespace {

using u32 = DWORD;

inline u32 Load32(const BYTE *p) {
  u32 v;
  memcpy(&v, p, 4);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap32(v);
#endif
  return v;
}

inline void Store32(BYTE *p, u32 v) {
  p[0] = BYTE(v);
  p[1] = BYTE(v >> 8);
  p[2] = BYTE(v >> 16);
  p[3] = BYTE(v >> 24);
}

// The round functions in their shortest forms; H groups the two older
// words so that only one operation waits for the newest.
inline u32 F(u32 x, u32 y, u32 z) { return z ^ (x & (y ^ z)); }
inline u32 H(u32 x, u32 y, u32 z) { return x ^ (y ^ z); }
inline u32 I(u32 x, u32 y, u32 z) { return y ^ (x | ~z); }

template <int S>
inline u32 Rotl(u32 v) {
  return (v << S) | (v >> (32 - S));
}

// Each step is a chain through the word computed just before it. The sum
// of the older inputs is kept apart so that the compiler cannot reassociate
// it into that chain (it does, and loses about a fifth of the speed).
inline u32 Opaque(u32 v) {
#if defined(__GNUC__)
  asm("" : "+r"(v));
#endif
  return v;
}

#define KT_MD5_STEP(f, a, b, c, d, x, t, s) \
  a = Rotl<s>(f(b, c, d) + Opaque(a + (x) + (t))) + (b)
// G's two terms never share a bit, so '+' may replace '|' and the term
// without the newest word joins the early sum.
#define KT_MD5_STEP_G(a, b, c, d, x, t, s) \
  a = Rotl<s>(((b) & (d)) + Opaque(a + (x) + (t) + ((c) & ~(d)))) + (b)

// Transforms whole 64-byte blocks straight from the input, the state held
// in registers from one block to the next.
void Blocks(u32 state[4], const BYTE *data, size_t blocks) {
  u32 a = state[0], b = state[1], c = state[2], d = state[3];
  for (; blocks > 0; --blocks, data += 64) {
    // Words are read where they are used: an array copy would spill.
    auto x = [data](int i) { return Load32(data + 4 * i); };
    const u32 a0 = a, b0 = b, c0 = c, d0 = d;

    KT_MD5_STEP(F, a, b, c, d, x(0), 0xd76aa478, 7);
    KT_MD5_STEP(F, d, a, b, c, x(1), 0xe8c7b756, 12);
    KT_MD5_STEP(F, c, d, a, b, x(2), 0x242070db, 17);
    KT_MD5_STEP(F, b, c, d, a, x(3), 0xc1bdceee, 22);
    KT_MD5_STEP(F, a, b, c, d, x(4), 0xf57c0faf, 7);
    KT_MD5_STEP(F, d, a, b, c, x(5), 0x4787c62a, 12);
    KT_MD5_STEP(F, c, d, a, b, x(6), 0xa8304613, 17);
    KT_MD5_STEP(F, b, c, d, a, x(7), 0xfd469501, 22);
    KT_MD5_STEP(F, a, b, c, d, x(8), 0x698098d8, 7);
    KT_MD5_STEP(F, d, a, b, c, x(9), 0x8b44f7af, 12);
    KT_MD5_STEP(F, c, d, a, b, x(10), 0xffff5bb1, 17);
    KT_MD5_STEP(F, b, c, d, a, x(11), 0x895cd7be, 22);
    KT_MD5_STEP(F, a, b, c, d, x(12), 0x6b901122, 7);
    KT_MD5_STEP(F, d, a, b, c, x(13), 0xfd987193, 12);
    KT_MD5_STEP(F, c, d, a, b, x(14), 0xa679438e, 17);
    KT_MD5_STEP(F, b, c, d, a, x(15), 0x49b40821, 22);

    KT_MD5_STEP_G(a, b, c, d, x(1), 0xf61e2562, 5);
    KT_MD5_STEP_G(d, a, b, c, x(6), 0xc040b340, 9);
    KT_MD5_STEP_G(c, d, a, b, x(11), 0x265e5a51, 14);
    KT_MD5_STEP_G(b, c, d, a, x(0), 0xe9b6c7aa, 20);
    KT_MD5_STEP_G(a, b, c, d, x(5), 0xd62f105d, 5);
    KT_MD5_STEP_G(d, a, b, c, x(10), 0x02441453, 9);
    KT_MD5_STEP_G(c, d, a, b, x(15), 0xd8a1e681, 14);
    KT_MD5_STEP_G(b, c, d, a, x(4), 0xe7d3fbc8, 20);
    KT_MD5_STEP_G(a, b, c, d, x(9), 0x21e1cde6, 5);
    KT_MD5_STEP_G(d, a, b, c, x(14), 0xc33707d6, 9);
    KT_MD5_STEP_G(c, d, a, b, x(3), 0xf4d50d87, 14);
    KT_MD5_STEP_G(b, c, d, a, x(8), 0x455a14ed, 20);
    KT_MD5_STEP_G(a, b, c, d, x(13), 0xa9e3e905, 5);
    KT_MD5_STEP_G(d, a, b, c, x(2), 0xfcefa3f8, 9);
    KT_MD5_STEP_G(c, d, a, b, x(7), 0x676f02d9, 14);
    KT_MD5_STEP_G(b, c, d, a, x(12), 0x8d2a4c8a, 20);

    KT_MD5_STEP(H, a, b, c, d, x(5), 0xfffa3942, 4);
    KT_MD5_STEP(H, d, a, b, c, x(8), 0x8771f681, 11);
    KT_MD5_STEP(H, c, d, a, b, x(11), 0x6d9d6122, 16);
    KT_MD5_STEP(H, b, c, d, a, x(14), 0xfde5380c, 23);
    KT_MD5_STEP(H, a, b, c, d, x(1), 0xa4beea44, 4);
    KT_MD5_STEP(H, d, a, b, c, x(4), 0x4bdecfa9, 11);
    KT_MD5_STEP(H, c, d, a, b, x(7), 0xf6bb4b60, 16);
    KT_MD5_STEP(H, b, c, d, a, x(10), 0xbebfbc70, 23);
    KT_MD5_STEP(H, a, b, c, d, x(13), 0x289b7ec6, 4);
    KT_MD5_STEP(H, d, a, b, c, x(0), 0xeaa127fa, 11);
    KT_MD5_STEP(H, c, d, a, b, x(3), 0xd4ef3085, 16);
    KT_MD5_STEP(H, b, c, d, a, x(6), 0x04881d05, 23);
    KT_MD5_STEP(H, a, b, c, d, x(9), 0xd9d4d039, 4);
    KT_MD5_STEP(H, d, a, b, c, x(12), 0xe6db99e5, 11);
    KT_MD5_STEP(H, c, d, a, b, x(15), 0x1fa27cf8, 16);
    KT_MD5_STEP(H, b, c, d, a, x(2), 0xc4ac5665, 23);

    KT_MD5_STEP(I, a, b, c, d, x(0), 0xf4292244, 6);
    KT_MD5_STEP(I, d, a, b, c, x(7), 0x432aff97, 10);
    KT_MD5_STEP(I, c, d, a, b, x(14), 0xab9423a7, 15);
    KT_MD5_STEP(I, b, c, d, a, x(5), 0xfc93a039, 21);
    KT_MD5_STEP(I, a, b, c, d, x(12), 0x655b59c3, 6);
    KT_MD5_STEP(I, d, a, b, c, x(3), 0x8f0ccc92, 10);
    KT_MD5_STEP(I, c, d, a, b, x(10), 0xffeff47d, 15);
    KT_MD5_STEP(I, b, c, d, a, x(1), 0x85845dd1, 21);
    KT_MD5_STEP(I, a, b, c, d, x(8), 0x6fa87e4f, 6);
    KT_MD5_STEP(I, d, a, b, c, x(15), 0xfe2ce6e0, 10);
    KT_MD5_STEP(I, c, d, a, b, x(6), 0xa3014314, 15);
    KT_MD5_STEP(I, b, c, d, a, x(13), 0x4e0811a1, 21);
    KT_MD5_STEP(I, a, b, c, d, x(4), 0xf7537e82, 6);
    KT_MD5_STEP(I, d, a, b, c, x(11), 0xbd3af235, 10);
    KT_MD5_STEP(I, c, d, a, b, x(2), 0x2ad7d2bb, 15);
    KT_MD5_STEP(I, b, c, d, a, x(9), 0xeb86d391, 21);

    a += a0;
    b += b0;
    c += c0;
    d += d0;
  }
  state[0] = a;
  state[1] = b;
  state[2] = c;
  state[3] = d;
}

#undef KT_MD5_STEP
#undef KT_MD5_STEP_G

}  // namespace

extern "C" void KTAPI MD5Init(MD5_CTX *context) {
  context->count[0] = context->count[1] = 0;
  context->state[0] = 0x67452301;
  context->state[1] = 0xefcdab89;
  context->state[2] = 0x98badcfe;
  context->state[3] = 0x10325476;
}

extern "C" void KTAPI MD5Update(MD5_CTX *context, const void *input, UINT length) {
  if (length == 0) return;
  const BYTE *in = static_cast<const BYTE *>(input);
  UINT used = (context->count[0] >> 3) & 63;
  const DWORD bits = length << 3;
  context->count[0] += bits;
  context->count[1] += (length >> 29) + (context->count[0] < bits ? 1 : 0);

  if (used > 0) {
    UINT take = 64 - used;
    if (length < take) {
      memcpy(context->buffer + used, in, length);
      return;
    }
    memcpy(context->buffer + used, in, take);
    Blocks(context->state, context->buffer, 1);
    in += take;
    length -= take;
  }
  if (length >= 64) {
    Blocks(context->state, in, length / 64);
    in += length & ~63u;
    length &= 63;
  }
  if (length > 0) memcpy(context->buffer, in, length);
}

extern "C" void KTAPI MD5Final(BYTE digest[16], MD5_CTX *context) {
  BYTE bits[8];
  Store32(bits, context->count[0]);
  Store32(bits + 4, context->count[1]);
  // A one bit, zeros up to 56 bytes modulo 64, then the bit count.
  static const BYTE kPadding[64] = {0x80};
  UINT used = (context->count[0] >> 3) & 63;
  MD5Update(context, kPadding, used < 56 ? 56 - used : 120 - used);
  MD5Update(context, bits, 8);
  for (int i = 0; i < 4; ++i) Store32(digest + 4 * i, context->state[i]);
  memset(context, 0, sizeof *context);
}
