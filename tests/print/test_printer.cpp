// Installs or removes the tests' PostScript printer in the Wine prefix:
//   kt_test_printer install PPD-PATH SPOOLER-COMMAND
//   kt_test_printer remove
// Both may run again and again. Each build runs them for its own driver
// environment (x86 or x64); the printer itself is shared.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>

namespace {

char kName[] = "ktutil test printer";
char kDriverFile[] = "wineps.drv";
char kPort[] = "LPT1:";
char kProcessor[] = "WinPrint";
char kDatatype[] = "RAW";
// Where Wine's spooler looks up what to do with each port's jobs.
const char kSpooler[] = "Software\\Wine\\Printing\\Spooler";

}  // namespace

int main(int argc, char **argv) {
  HANDLE printer = nullptr;
  const bool present = OpenPrinterA(kName, &printer, nullptr);
  if (argc == 4 && strcmp(argv[1], "install") == 0) {
    if (RegSetKeyValueA(HKEY_CURRENT_USER, kSpooler, kPort, REG_SZ, argv[3],
                        static_cast<DWORD>(strlen(argv[3]) + 1)) != ERROR_SUCCESS)
      return 1;
    DRIVER_INFO_3A driver = {};
    driver.cVersion = 3;
    driver.pName = kName;
    driver.pDriverPath = driver.pConfigFile = kDriverFile;
    driver.pDataFile = argv[2];
    if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE *>(&driver),
                             APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY)) {
      fprintf(stderr, "AddPrinterDriverExA: error %lu\n", GetLastError());
      return 1;
    }
    if (!present) {
      PRINTER_INFO_2A info = {};
      info.pPrinterName = info.pDriverName = kName;
      info.pPortName = kPort;
      info.pPrintProcessor = kProcessor;
      info.pDatatype = kDatatype;
      printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE *>(&info));
      if (printer == nullptr) {
        fprintf(stderr, "AddPrinterA: error %lu\n", GetLastError());
        return 1;
      }
    }
    ClosePrinter(printer);
    return 0;
  }
  if (argc == 2 && strcmp(argv[1], "remove") == 0) {
    if (present) {
      DeletePrinter(printer);
      ClosePrinter(printer);
    }
    DeletePrinterDriverA(nullptr, nullptr, kName);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kSpooler, kPort);
    return 0;
  }
  fprintf(stderr, "usage: kt_test_printer install PPD SPOOLER-COMMAND | remove\n");
  return 2;
}
