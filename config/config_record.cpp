// Whole configuration records: opaque blocks of bytes, one REG_NONE value
// each, read back whole.
#include <string.h>

#include <memory>
#include <new>

#include "config/reg_key.h"
#include "ktutil.h"

extern "C" BOOL KTAPI LoadConfigEx(HKEY root, LPVOID record, DWORD size, LPCSTR subKey,
                                   LPCSTR valueName) {
  if (record == nullptr) return FALSE;
  kt::RegKey key;
  if (key.Open(root, subKey, KEY_READ) != ERROR_SUCCESS) return FALSE;
  // The platform may leave part of a record that does not fit in the
  // buffer; read into a copy so a failed load leaves the caller's defaults.
  std::unique_ptr<BYTE[]> copy(new (std::nothrow) BYTE[size > 0 ? size : 1]);
  if (!copy) return FALSE;
  DWORD got = size;
  if (RegQueryValueExA(key.get(), valueName, nullptr, nullptr, copy.get(), &got) !=
      ERROR_SUCCESS)
    return FALSE;
  memcpy(record, copy.get(), got);
  return TRUE;
}

extern "C" BOOL KTAPI LoadConfig(LPVOID record, DWORD size, LPCSTR subKey,
                                 LPCSTR valueName) {
  return LoadConfigEx(HKEY_LOCAL_MACHINE, record, size, subKey, valueName);
}

extern "C" LONG KTAPI SaveConfigEx(HKEY root, LPCVOID record, DWORD size, LPCSTR subKey,
                                   LPCSTR valueName) {
  if (record == nullptr && size > 0) return ERROR_INVALID_PARAMETER;
  kt::RegKey key;
  LONG error = key.Create(root, subKey);
  if (error != ERROR_SUCCESS) return error;
  RegSetValueExA(key.get(), valueName, 0, REG_NONE, static_cast<const BYTE *>(record),
                 size);
  return RegCloseKey(key.release());
}

extern "C" LONG KTAPI SaveConfig(LPCVOID record, DWORD size, LPCSTR subKey,
                                 LPCSTR valueName) {
  return SaveConfigEx(HKEY_LOCAL_MACHINE, record, size, subKey, valueName);
}

extern "C" BOOL KTAPI EnumConfig(DWORD index, LPSTR name, DWORD nameSize, LPVOID data,
                                 DWORD dataSize, LPCSTR subKey) {
  if (name == nullptr || data == nullptr) return FALSE;
  kt::RegKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, subKey, KEY_READ) != ERROR_SUCCESS) return FALSE;
  return RegEnumValueA(key.get(), index, name, &nameSize, nullptr, nullptr,
                       static_cast<BYTE *>(data), &dataSize) == ERROR_SUCCESS;
}
