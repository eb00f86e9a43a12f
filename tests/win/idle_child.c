/* A program for the tests to find running: it waits until the process whose
   id is its argument ends, so it never outlives a crashed test. */
#include <stdlib.h>
#include <windows.h>

int main(int argc, char **argv) {
  HANDLE parent =
      argc > 1 ? OpenProcess(SYNCHRONIZE, FALSE, strtoul(argv[1], NULL, 10)) : NULL;
  if (parent != NULL) WaitForSingleObject(parent, INFINITE);
  return 0;
}
