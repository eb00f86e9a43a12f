// Structural check of a version resource before the platform queries it.
#pragma once

#include <cstddef>

namespace kt {

// True when every block of the resource, in either the 16-bit (ANSI) or the
// 32-bit (wide) layout, lies inside its parent and the root inside size
// bytes. The platform's queries trust each block's stored length and read
// (or, converting wide texts, write) as far as it says; a file's resource is
// untrusted input, so nothing is queried that fails this check.
bool VersionResourceIsSound(const unsigned char *data, size_t size);

}  // namespace kt
