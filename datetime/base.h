// The date-time base: values captured once when the library loads, read by
// the local-time conversions and the texts.
#pragma once

#include "ktutil.h"

namespace kt {

struct DateTimeBase {
  LONG localOffset;  // seconds to add to UTC for local time
  DateTime start;
  DWORD startTicks;  // non-zero once started
  char timeSeparator[10];
  char decimalSeparator[10];
  char byteTemplates[3][64];  // bytes, KB, MB
};

const DateTimeBase &DtBase();

// Called on the first attach and the last detach.
void StartDateTimeBase();
void StopDateTimeBase();

// String-table text id of the library, cut to size; "" when missing. Returns
// the length stored.
int LoadLibraryText(UINT id, char *dest, int size);

}  // namespace kt
