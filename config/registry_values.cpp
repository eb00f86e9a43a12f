// Typed and scrambled single registry values: each call opens its key, does
// one thing and closes it again.
#include "config/registry_values.h"

#include <string.h>

#include <memory>
#include <new>

#include "config/reg_key.h"
#include "config/scramble.h"
#include "ktutil.h"

namespace kt {

BOOL ReadRegString(HKEY key, const char *value, char *buffer, DWORD size) {
  if (buffer == nullptr || size == 0) return FALSE;
  DWORD got = size;
  if (RegQueryValueExA(key, value, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer),
                       &got) != ERROR_SUCCESS)
    return FALSE;
  if (got > 0 && buffer[got - 1] == '\0') return TRUE;
  // Stored without its terminator: it needs one byte more than it takes.
  if (got < size) {
    buffer[got] = '\0';
    return TRUE;
  }
  buffer[size - 1] = '\0';
  return FALSE;
}

BOOL WriteRegString(HKEY key, const char *value, const char *text, DWORD length) {
  if (text == nullptr) text = "";
  if (length == kWholeText) length = static_cast<DWORD>(strlen(text) + 1);
  return RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                        length) == ERROR_SUCCESS;
}

DWORD ReadRegDword(HKEY key, const char *value, DWORD defaultValue) {
  DWORD number = 0, size = sizeof number;
  if (RegQueryValueExA(key, value, nullptr, nullptr, reinterpret_cast<BYTE *>(&number),
                       &size) != ERROR_SUCCESS)
    return defaultValue;
  return number;
}

BOOL WriteRegDword(HKEY key, const char *value, DWORD number) {
  return RegSetValueExA(key, value, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number),
                        sizeof number) == ERROR_SUCCESS;
}

}  // namespace kt

namespace {

// Writers report only whether the key could be opened or created.
template <typename Write>
BOOL WithWritableKey(HKEY root, LPCSTR subKey, Write write) {
  kt::RegKey key;
  if (key.Create(root, subKey) != ERROR_SUCCESS) return FALSE;
  write(key.get());
  return TRUE;
}

}  // namespace

extern "C" BOOL KTAPI GetRegistryValueString(HKEY root, LPCSTR subKey, LPCSTR valueName,
                                             LPSTR buffer, DWORD bufferSize) {
  kt::RegKey key;
  if (key.Open(root, subKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return FALSE;
  return kt::ReadRegString(key.get(), valueName, buffer, bufferSize);
}

extern "C" BOOL KTAPI SetRegistryValueString(HKEY root, LPCSTR subKey, LPCSTR valueName,
                                             LPCSTR text) {
  return WithWritableKey(root, subKey,
                         [&](HKEY key) { kt::WriteRegString(key, valueName, text); });
}

extern "C" DWORD KTAPI GetRegistryValueDWord(HKEY root, LPCSTR subKey, LPCSTR valueName,
                                             DWORD defaultValue) {
  kt::RegKey key;
  if (key.Open(root, subKey, KEY_READ) != ERROR_SUCCESS) return defaultValue;
  return kt::ReadRegDword(key.get(), valueName, defaultValue);
}

extern "C" BOOL KTAPI SetRegistryValueDWord(HKEY root, LPCSTR subKey, LPCSTR valueName,
                                            DWORD value) {
  return WithWritableKey(root, subKey,
                         [&](HKEY key) { kt::WriteRegDword(key, valueName, value); });
}

extern "C" BOOL KTAPI DeleteRegistryValue(HKEY root, LPCSTR subKey, LPCSTR valueName) {
  // Creates a missing key: the caller learns only that the key is there.
  return WithWritableKey(root, subKey,
                         [&](HKEY key) { RegDeleteValueA(key, valueName); });
}

extern "C" BOOL KTAPI GetRegistryValueStringEnc(HKEY root, LPCSTR subKey,
                                                LPCSTR valueName, LPSTR buffer,
                                                DWORD bufferSize) {
  // No room even for the empty text: nothing can be read.
  if (buffer == nullptr || bufferSize == 0) return FALSE;
  std::unique_ptr<char[]> stored(new (std::nothrow) char[bufferSize]());
  if (!stored) return FALSE;
  BOOL read = GetRegistryValueString(root, subKey, valueName, stored.get(), bufferSize);
  // A value that could not be read gives the empty text, never a fragment.
  if (!read) stored[0] = '\0';
  kt::UnscrambleText(stored.get(), bufferSize, buffer);
  return read;
}

extern "C" BOOL KTAPI SetRegistryValueStringEnc(HKEY root, LPCSTR subKey,
                                                LPCSTR valueName, LPCSTR text) {
  if (text == nullptr) text = "";
  std::unique_ptr<char[]> scrambled(
      new (std::nothrow) char[kt::ScrambledSize(strlen(text))]);
  if (!scrambled) return FALSE;
  kt::ScrambleText(text, scrambled.get());
  return SetRegistryValueString(root, subKey, valueName, scrambled.get());
}
