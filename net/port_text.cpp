// Port, protocol and TCP flag codes and texts; portable.
#include "core/text_buffer.h"
#include "net/bounded_text.h"
#include "net/byte_order.h"
#include "net/port_names.h"

namespace {

struct PortId {
  WORD port;
  WORD id;
};

// Names for every protocol, in port order.
constexpr PortId kServices[] = {
    {7, 3001},    {9, 3002},     {11, 3003},  {13, 3004},  {15, 3005},   {19, 3006},
    {20, 3007},   {21, 3008},    {22, 3009},  {23, 3010},  {25, 3011},   {37, 3012},
    {42, 3013},   {43, 3014},    {52, 3015},  {53, 3016},  {57, 3017},   {67, 3018},
    {69, 3019},   {70, 3020},    {77, 3021},  {79, 3022},  {80, 3023},   {87, 3024},
    {95, 3025},   {110, 3026},   {113, 3045}, {119, 3027}, {137, 3028},  {138, 3029},
    {139, 3030},  {143, 3031},   {443, 3032}, {554, 3033}, {1755, 3034}, {5190, 3035},
    {7070, 3036}, {11523, 3037},
};
constexpr PortId kTcpServices[] = {{512, 3038}, {513, 3039}, {514, 3040}, {520, 3041}};
constexpr PortId kUdpServices[] = {{512, 3042}, {513, 3043}, {520, 3044}};

template <size_t N>
UINT Find(const PortId (&table)[N], WORD port) {
  for (const PortId &entry : table)
    if (entry.port == port) return entry.id;
  return 0;
}

constexpr DWORD kNoProtocol = 0x2000;

}  // namespace

namespace kt {

UINT ServiceNameId(DWORD ipProto, WORD hostPort) {
  UINT id = Find(kServices, hostPort);
  if (id == 0 && ipProto == kProtoTcp) id = Find(kTcpServices, hostPort);
  if (id == 0 && ipProto == kProtoUdp) id = Find(kUdpServices, hostPort);
  return id;
}

const char *ProtocolPrefix(DWORD ipProto) {
  return ipProto == kProtoTcp ? "TCP " : ipProto == kProtoUdp ? "UDP " : "";
}

}  // namespace kt

// IP protocol numbers of the one-bit sub-protocol codes 1, 2, 4 and 8.
constexpr DWORD kSubProtoIP[] = {17, 6, 2, 1};

extern "C" DWORD KTAPI IPProtoToSubProto(DWORD ipProto) {
  for (int bit = 0; bit < 4; ++bit)
    if (kSubProtoIP[bit] == ipProto) return 1u << bit;
  return 0;
}

extern "C" DWORD KTAPI SubProtoToIPProto(DWORD subProto) {
  for (int bit = 0; bit < 4; ++bit)
    if ((subProto & 0xFF) == 1u << bit) return kSubProtoIP[bit];
  return 0;
}

extern "C" DWORD KTAPI GetProtocolType(WORD port, BOOL noProxy, BOOL noTerminal) {
  enum Unless { kAlways, kUnlessNoProxy, kUnlessNoTerminal };
  struct Type {
    WORD port;
    WORD code;
    Unless unless;
  };
  // 81, 180, 8000 and 8080 are ports that web proxies commonly listen on.
  static constexpr Type kTypes[] = {
      {21, 0x2003, kAlways},           {23, 0x2181, kUnlessNoTerminal},
      {25, 0x2004, kAlways},           {37, 0x2185, kUnlessNoTerminal},
      {43, 0x2183, kUnlessNoTerminal}, {52, 0x2185, kUnlessNoTerminal},
      {53, 0x2001, kAlways},           {69, 0x200D, kAlways},
      {70, 0x2187, kUnlessNoTerminal}, {79, 0x2182, kUnlessNoTerminal},
      {80, 0x2002, kAlways},           {81, 0x2002, kUnlessNoProxy},
      {110, 0x2005, kAlways},          {119, 0x2006, kAlways},
      {143, 0x2008, kAlways},          {180, 0x2002, kUnlessNoProxy},
      {443, 0x2007, kAlways},          {554, 0x2009, kAlways},
      {1755, 0x200C, kAlways},         {5190, 0x200A, kAlways},
      {7070, 0x200B, kAlways},         {8000, 0x2002, kUnlessNoProxy},
      {8080, 0x2002, kUnlessNoProxy},  {11523, 0x2002, kAlways},
  };
  const WORD hostPort = kt::NetToHostS(port);
  for (const Type &type : kTypes) {
    if (type.port != hostPort) continue;
    if ((type.unless == kUnlessNoProxy && noProxy) ||
        (type.unless == kUnlessNoTerminal && noTerminal))
      break;
    return type.code;
  }
  return kNoProtocol;
}

extern "C" BOOL KTAPI GetTCPFlags(BYTE flags, LPSTR dest, int size) {
  static const char kLetters[] = "UAPRSF";
  kt::BoundedText out(dest, size);
  for (int i = 0; i < 6; ++i)
    if (flags & (0x20 >> i)) out.Put(kLetters[i]);
  out.Finish();
  return (flags & 0x3F) != 0;
}

extern "C" void KTAPI PortPairDataToString(TextBuffer *text, const PortPair *pairs,
                                           UINT count) {
  if (text == nullptr || pairs == nullptr) return;
  for (UINT i = 0; i < count; ++i) {
    if (i > 0) kt::TextAppend(text, ", ");
    char piece[36];
    kt::BoundedText out(piece, sizeof piece);
    out.PutDecimal(pairs[i].first);
    if (pairs[i].last != 0) {
      out.Put('-');
      out.PutDecimal(pairs[i].last);
    }
    kt::TextAppend(text, piece, static_cast<DWORD>(out.Finish()));
  }
}

static_assert(sizeof(PortPair) == 4, "a port pair is one 32-bit word");
