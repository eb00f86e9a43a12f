// Process enumeration entries, looked up at run time: each family lacks the
// other's, and the library must load on both.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

namespace kt {

// Tool-help of "kernel32.dll" (the 95/98/ME family).
struct ToolHelpEntries {
  HANDLE(WINAPI *snapshot)(DWORD, DWORD);
  BOOL(WINAPI *first)(HANDLE, PROCESSENTRY32 *);
  BOOL(WINAPI *next)(HANDLE, PROCESSENTRY32 *);
};
// Process status of "psapi.dll" (the NT family).
struct ProcessStatusEntries {
  BOOL(WINAPI *enumProcesses)(DWORD *, DWORD, DWORD *);
  DWORD(WINAPI *moduleFileName)(HANDLE, HMODULE, LPSTR, DWORD);
};

// Each fills the entries on first use and answers false while one is
// missing; a later call looks again.
bool GetToolHelpEntries(ToolHelpEntries *entries);
bool GetProcessStatusEntries(ProcessStatusEntries *entries);

// A snapshot entry ready for the walk.
PROCESSENTRY32 EmptyProcessEntry();

}  // namespace kt
