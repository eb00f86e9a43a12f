// Installs or removes the tests' PostScript printer in the Wine prefix:
//   kt_test_printer install PPD-PATH SPOOLER-COMMAND
//   kt_test_printer remove
// Both may run again and again. Each build runs them for its own driver
// environment (x86 or x64); the printer itself is shared.
#include <windows.h>
#include <winspool.h>

#include <cstring>

int main(int argc, char **argv) {
  char name[] = "ktutil test printer", driverFile[] = "wineps.drv", port[] = "LPT1:",
       processor[] = "WinPrint", datatype[] = "RAW";
  // Where Wine's spooler looks up what to do with each port's jobs.
  const char *spooler = "Software\\Wine\\Printing\\Spooler";
  HANDLE printer = nullptr;
  const bool present = OpenPrinterA(name, &printer, nullptr);
  if (argc == 2 && strcmp(argv[1], "remove") == 0) {
    if (present) DeletePrinter(printer);
    DeletePrinterDriverA(nullptr, nullptr, name);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, spooler, port);
    return 0;
  }
  if (argc != 4 || strcmp(argv[1], "install") != 0) return 2;
  DRIVER_INFO_3A driver = {};
  driver.cVersion = 3;
  driver.pName = name;
  driver.pDriverPath = driver.pConfigFile = driverFile;
  driver.pDataFile = argv[2];
  PRINTER_INFO_2A info = {};
  info.pPrinterName = info.pDriverName = name;
  info.pPortName = port;
  info.pPrintProcessor = processor;
  info.pDatatype = datatype;
  return RegSetKeyValueA(HKEY_CURRENT_USER, spooler, port, REG_SZ, argv[3],
                         static_cast<DWORD>(strlen(argv[3]) + 1)) != ERROR_SUCCESS ||
         !AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE *>(&driver),
                              APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY) ||
         (!present && !AddPrinterA(nullptr, 2, reinterpret_cast<BYTE *>(&info)));
}
