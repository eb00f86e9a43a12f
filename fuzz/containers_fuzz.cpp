// Random operation sequences on the map, the hash table and the multimap,
// checked against standard containers. Keys are unique in the map and hash
// table here, so the model's answer is exact.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

#include "ktutil.h"

namespace {

struct Entry {
  DWORD key;
};

DWORD KTAPI KeyOf(LPVOID entry, LPVOID) { return static_cast<Entry *>(entry)->key; }

BOOL KTAPI Collect(DWORD, UINT_PTR value, LPVOID context) {
  static_cast<std::vector<UINT_PTR> *>(context)->push_back(value);
  return TRUE;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  HMAP map = MapCreate(16);
  HHASHTABLE hash = HashCreate(16, KeyOf, nullptr, nullptr);
  HMULTIMAP multi = MultiMapCreate(16);
  std::map<DWORD, UINT_PTR> mapModel;
  std::map<DWORD, Entry *> hashModel;
  std::map<DWORD, std::vector<UINT_PTR>> multiModel;  // newest first
  std::vector<Entry> entries(size / 2 + 1);
  for (size_t i = 0; i + 1 < size; i += 2) {
    // Small keys, spread over the slots so that probe paths meet and wrap.
    const DWORD key = (data[i + 1] & 0x3F) * 29u;
    // Some values leave the shared upper half, or have a lower half that
    // looks like a free-slot marker: 64-bit slots must widen, losing nothing.
    UINT_PTR value = i + 1;
    if (sizeof(UINT_PTR) > sizeof(DWORD) && data[i + 1] >= 0xC0)
      value = value << 16 << 16 | (data[i] & 1 ? 0 : 0xFFFFFFFFu);
    switch (data[i] % 6) {
      case 0:
        if (!mapModel.count(key)) {
          Check(MapAddEntry(map, key, value) == TRUE);
          mapModel[key] = value;
        }
        break;
      case 1:
        Check(MapClrEntry(map, key) == static_cast<BOOL>(mapModel.erase(key)));
        break;
      case 2:
        if (!hashModel.count(key)) {
          Entry *e = &entries[i / 2];
          e->key = key;
          Check(HashAddEntry(hash, e) == TRUE);
          hashModel[key] = e;
        }
        break;
      case 3:
        if (hashModel.count(key)) {
          Check(HashClrEntry(hash, hashModel[key]) == TRUE);
          hashModel.erase(key);
        }
        break;
      case 4:
        Check(MultiMapAddEntry(multi, key, value) == TRUE);
        multiModel[key].insert(multiModel[key].begin(), value);
        break;
      default:
        Check(MultiMapClrEntry(multi, key) == static_cast<BOOL>(multiModel.erase(key)));
        break;
    }
    auto m = mapModel.find(key);
    Check(MapFindEntry(map, key) == (m == mapModel.end() ? 0 : m->second));
    auto h = hashModel.find(key);
    Check(HashFindEntry(hash, key) == (h == hashModel.end() ? nullptr : h->second));
    std::vector<UINT_PTR> values;
    MultiMapEnumEntries(multi, key, Collect, &values);
    auto mm = multiModel.find(key);
    Check(values == (mm == multiModel.end() ? std::vector<UINT_PTR>{} : mm->second));
  }
  Check(HashEnumEntries(hash, nullptr) == hashModel.size());
  MapDestroy(map);
  HashDestroy(hash);
  MultiMapDestroy(multi);
  return 0;
}
