#include "core/fault_guard.h"

#include <string.h>
#include <windows.h>

#include <initializer_list>

namespace kt {
namespace {

bool IsFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
      return true;
  }
  // Not a stack overflow: there is no stack left to recover on.
  return false;
}

struct Guard {
#ifndef _WIN64
  // An exception-registration record on the stack: the system offers it
  // each fault below it only after the handlers registered deeper down,
  // on every 32-bit Windows release.
  Guard *previous;
  void *handler;
#endif
  void *jump[5];  // __builtin_setjmp's buffer
};

// Reached by rewriting the faulting thread's context: on the stack below
// the fault, as if called with the guard as its first argument.
[[noreturn]] __attribute__((noinline, fastcall)) void Land(Guard *guard) {
  __builtin_longjmp(guard->jump, 1);
}

#ifndef _WIN64

EXCEPTION_DISPOSITION __cdecl Catch(EXCEPTION_RECORD *record, void *frame, CONTEXT *context,
                                    void *) {
  if ((record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0 ||
      !IsFault(record->ExceptionCode))
    return ExceptionContinueSearch;
  context->Esp = ((context->Esp - 512) & ~DWORD(15)) - 4;
  context->Eip = reinterpret_cast<DWORD>(&Land);
  context->Ecx = reinterpret_cast<DWORD>(frame);  // fastcall's first argument
  return ExceptionContinueExecution;
}

#else

// 64-bit Windows registers handlers in tables, not on the stack; a
// vectored handler stands in for the frame's. It sees a fault before any
// handler of the faulting code does, so faults in modules of the system
// folders (which may probe memory and handle their own fault) are left to
// them; one in the library, in another library of the product or outside
// any module is the guarded work's.
thread_local Guard *t_guard = nullptr;

bool InSystemModule(const void *address) {
  HMODULE module = nullptr;
  char path[MAX_PATH], folder[MAX_PATH];
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module) ||
      GetModuleFileNameA(module, path, MAX_PATH) == 0)
    return false;
  for (UINT(WINAPI * get)(LPSTR, UINT) : {GetSystemDirectoryA, GetSystemWow64DirectoryA}) {
    const UINT n = get(folder, MAX_PATH);
    if (n > 0 && n < MAX_PATH && _strnicmp(path, folder, n) == 0 && path[n] == '\\')
      return true;
  }
  return false;
}

LONG CALLBACK OnFault(EXCEPTION_POINTERS *info) {
  if (t_guard == nullptr || !IsFault(info->ExceptionRecord->ExceptionCode) ||
      InSystemModule(info->ExceptionRecord->ExceptionAddress))
    return EXCEPTION_CONTINUE_SEARCH;
  CONTEXT *context = info->ContextRecord;
  context->Rsp = ((context->Rsp - 512) & ~DWORD64(15)) - 8;
  context->Rip = reinterpret_cast<DWORD64>(&Land);
  context->Rcx = reinterpret_cast<DWORD64>(t_guard);
  return EXCEPTION_CONTINUE_EXECUTION;
}

#endif

}  // namespace

bool RunGuarded(void (*work)(void *context), void *context) {
  Guard guard;
#ifdef _WIN64
  Guard *const outer = t_guard;
  void *const handler = AddVectoredExceptionHandler(1, OnFault);
#else
  guard.handler = reinterpret_cast<void *>(&Catch);
  asm volatile("movl %%fs:0, %0" : "=r"(guard.previous));
#endif
  volatile bool done = false;
  if (__builtin_setjmp(guard.jump) == 0) {
#ifdef _WIN64
    t_guard = &guard;
#else
    asm volatile("movl %0, %%fs:0" : : "r"(&guard) : "memory");
#endif
    try {
      work(context);
      done = true;
    } catch (...) {
    }
  }
  // Also after a fault, when handlers that the abandoned frames registered
  // go with them.
#ifdef _WIN64
  t_guard = outer;
  if (handler != nullptr) RemoveVectoredExceptionHandler(handler);
#else
  asm volatile("movl %0, %%fs:0" : : "r"(guard.previous) : "memory");
#endif
  return done;
}

}  // namespace kt
