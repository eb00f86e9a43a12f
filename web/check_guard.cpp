#include "web/check_guard.h"

#include <windows.h>

namespace kt {
namespace {

struct Guard {
  void *jump[5];  // __builtin_setjmp's buffer
#ifndef _WIN64
  // Handlers that system code registered below the guard die with its frames.
  void *exceptionList;
#endif
};

thread_local Guard *t_guard = nullptr;

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

[[noreturn]] __attribute__((noinline)) void Land() {
  __builtin_longjmp(t_guard->jump, 1);
}

// True when address lies in the image that holds this code. Vectored
// handlers see a fault before any handler of the faulting code does, so a
// fault in system code (which may probe memory and handle its own fault) is
// left to that code.
bool InThisModule(const void *address) {
  static const BYTE *base = nullptr;
  static SIZE_T size = 0;
  if (base == nullptr) {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&InThisModule), &self);
    const BYTE *image = reinterpret_cast<const BYTE *>(self);
    if (image == nullptr) return false;
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(image);
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(image + dos->e_lfanew);
    size = nt->OptionalHeader.SizeOfImage;
    base = image;
  }
  const BYTE *at = static_cast<const BYTE *>(address);
  return at >= base && at < base + size;
}

// Resumes the faulting thread in Land, on the stack below the fault.
LONG CALLBACK OnFault(EXCEPTION_POINTERS *info) {
  if (t_guard == nullptr || !IsFault(info->ExceptionRecord->ExceptionCode) ||
      !InThisModule(info->ExceptionRecord->ExceptionAddress))
    return EXCEPTION_CONTINUE_SEARCH;
  CONTEXT *context = info->ContextRecord;
#ifdef _WIN64
  context->Rsp = ((context->Rsp - 512) & ~DWORD64(15)) - 8;  // as if called
  context->Rip = reinterpret_cast<DWORD64>(&Land);
#else
  context->Esp = ((context->Esp - 512) & ~DWORD(15)) - 4;
  context->Eip = reinterpret_cast<DWORD>(&Land);
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

bool RunGuarded(void (*work)(void *context), void *context) {
  Guard guard;
  Guard *volatile const outer = t_guard;
  void *volatile const handler = AddVectoredExceptionHandler(1, OnFault);
#ifndef _WIN64
  asm volatile("movl %%fs:0, %0" : "=r"(guard.exceptionList));
#endif
  bool done = false;
  if (__builtin_setjmp(guard.jump) == 0) {
    t_guard = &guard;
    try {
      work(context);
      done = true;
    } catch (...) {
    }
  } else {
#ifndef _WIN64
    asm volatile("movl %0, %%fs:0" : : "r"(guard.exceptionList) : "memory");
#endif
  }
  t_guard = outer;
  if (handler != nullptr) RemoveVectoredExceptionHandler(handler);
  return done;
}

}  // namespace kt
