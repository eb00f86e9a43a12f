// Helpers of the process, file-fact and trust tests.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>

#include "ktutil.h"

namespace kttest {

// A file built beside the test programs (one folder up for those in a
// folder of their own).
inline std::string BesideProgram(const std::string &name) {
  char path[MAX_PATH];
  std::string folder(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  folder.resize(folder.rfind('\\') + 1);
  return GetFileAttributesA((folder + name).c_str()) != INVALID_FILE_ATTRIBUTES
             ? folder + name
             : folder + "..\\" + name;
}

inline void WriteBytes(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
}

// A record read with every byte but the size set to 0xAB first.
inline AppInfo ReadAppInfo(const std::string &path, DWORD flags,
                           DWORD size = KTAI_FULLSIZE) {
  AppInfo info;
  memset(&info, 0xAB, sizeof info);
  info.size = size;
  GetAppInfo(path.c_str(), flags, &info);
  return info;
}

}  // namespace kttest
