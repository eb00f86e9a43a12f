// Writes 24-bit PNG pictures: a small deflate of its own (fixed codes,
// repeats of the previous byte or pixel) is enough for control pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// pixels: width * height values 0x00RRGGBB, top row first.
bool WritePng(const std::string &path, int width, int height,
              const std::vector<uint32_t> &pixels);
