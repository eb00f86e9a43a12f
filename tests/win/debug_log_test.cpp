#include <optional>
#include <regex>

#include "system_test_helpers.h"
#include "win_helpers.h"

using kttest::TempPath;
using Lines = std::vector<std::string>;

namespace {

constexpr char kMonitorKey[] = "Software\\Tessaly\\Monitor";

// Runs debug_log_child.exe (beside this program) with args, as its debugger:
// the texts it sent the debugger, then "exit" and its exit code.
Lines RunLogChild(const Lines &args) {
  std::string command = '"' + kttest::BesideProgram("debug_log_child.exe") + '"';
  for (const std::string &arg : args) command += " \"" + arg + "\"";
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION process;
  Lines run;
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE,
                      DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &process))
    return run;
  DEBUG_EVENT event;
  while (WaitForDebugEvent(&event, 30000)) {
    DWORD next = DBG_CONTINUE, code = event.dwDebugEventCode;
    if (code == OUTPUT_DEBUG_STRING_EVENT) {
      std::string text(event.u.DebugString.nDebugStringLength, '\0');
      SIZE_T got = 0;
      ReadProcessMemory(process.hProcess, event.u.DebugString.lpDebugStringData, &text[0],
                        text.size(), &got);
      run.push_back(text.substr(0, strnlen(text.c_str(), got)));
    } else if (code == CREATE_PROCESS_DEBUG_EVENT || code == LOAD_DLL_DEBUG_EVENT) {
      CloseHandle(code == LOAD_DLL_DEBUG_EVENT ? event.u.LoadDll.hFile
                                               : event.u.CreateProcessInfo.hFile);
    } else if (code == EXCEPTION_DEBUG_EVENT &&
               event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
      next = DBG_EXCEPTION_NOT_HANDLED;  // the child's own, not the loader's breakpoint
    } else if (code == EXIT_PROCESS_DEBUG_EVENT) {
      run.push_back("exit " + std::to_string(event.u.ExitProcess.dwExitCode));
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, next);
    if (code == EXIT_PROCESS_DEBUG_EVENT) break;
  }
  TerminateProcess(process.hProcess, 1);  // no-op unless it hung
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return run;
}

std::string Dword(DWORD n) { return std::string(reinterpret_cast<char *>(&n), 4); }

using Bytes = std::optional<std::string>;
using Settings = std::pair<Bytes, Bytes>;

// The debug log's flags and file values, as stored (none when missing); put
// back when the object goes.
struct MonitorSettings {
  HKEY key = nullptr;
  DWORD made = 0;
  Settings saved;
  MonitorSettings() {
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMonitorKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key, &made);
    saved = Stored();
  }
  ~MonitorSettings() {
    Use(saved);
    RegCloseKey(key);
    if (made == REG_CREATED_NEW_KEY) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kMonitorKey);
  }
  Settings Stored() const { return {Get("DebugFlags"), Get("DebugLogFile")}; }
  Bytes Get(const char *name) const {
    char bytes[1024];
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(bytes),
                         &size))
      return std::nullopt;
    return std::string(bytes, size);
  }
  void Set(const char *name, DWORD type, const Bytes &bytes) {
    RegDeleteValueA(key, name);
    if (bytes)
      RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(bytes->data()),
                     static_cast<DWORD>(bytes->size()));
  }
  // A missing setting removes its value.
  void Use(const Settings &settings) {
    Set("DebugFlags", REG_DWORD, settings.first);
    Set("DebugLogFile", REG_SZ, settings.second);
  }
};

TEST(DebugLog, RegistryFlagsSelectWhereMessagesGoAndSetLogSwitchesThem) {
  MonitorSettings monitor;
  monitor.Use({Dword(1), std::nullopt});
  std::string text;  // neighbours differ, so a cut in the wrong place shows
  for (int k = 0; k < 1024; ++k) text += static_cast<char>('a' + k % 26);
  // Nothing is added (no prefix, time or line end); 1,023 characters at most.
  EXPECT_EQ(RunLogChild({"p", "1", "one %d", "p", "2", "two", "p", "0xFFFFFFFF", "all",
                         "p", "1", text}),
            (Lines{"one 42", "all", text.substr(0, 1023), "exit 0"}));
  monitor.Use({std::nullopt, std::nullopt});
  EXPECT_EQ(RunLogChild({"p", "0xFFFFFFFF", "x"}), Lines{"exit 0"});

  // Flag 2 appends to the file, and only to it.
  TempPath log("flags2.log");
  monitor.Use({Dword(2), log.path + '\0'});
  EXPECT_EQ(RunLogChild({"p", "2", "a", "p", "1", "b", "p", "6", "c"}), Lines{"exit 0"});
  RunLogChild({"p", "2", "d"});
  EXPECT_EQ(log.Contents(), "acd");
  // A file that cannot be opened never stops the debugger output; it is
  // tried again until it opens.
  TempPath folder("later"), late("later\\log.txt");
  monitor.Use({Dword(3), late.path + '\0'});
  EXPECT_EQ(RunLogChild({"p", "1", "first", "d", folder.path, "p", "1", "second"}),
            (Lines{"first", "second", "exit 0"}));
  EXPECT_EQ(late.Contents(), "second");

  // DbgSetLog switches files; the first message reads the registry over what
  // it just set.
  monitor.Use({Dword(1), std::nullopt});
  TempPath first("first.log"), second("second.log");
  EXPECT_EQ(
      RunLogChild({"s",   "0", "-", "0",         "p", "1", "x",        "s", "0", "-",
                   "0",   "p", "1", "y",         "s", "2", first.path, "1", "p", "2",
                   "a\n", "s", "2", second.path, "0", "p", "2",        "b"}),
      (Lines{"x", "exit 0"}));
  EXPECT_EQ(first.Contents(), "a\r\n");  // text mode
  EXPECT_EQ(second.Contents(), "b");
  EXPECT_EQ(monitor.Stored(), Settings(Dword(2), first.path + '\0'));
  // Saved without a name: the flags are written, the file value goes.
  EXPECT_EQ(RunLogChild({"s", "5", "-", "1"}), Lines{"exit 0"});
  EXPECT_EQ(monitor.Stored(), Settings(Dword(5), std::nullopt));

  kttest::LockedKey locked(HKEY_LOCAL_MACHINE, kMonitorKey);
  EXPECT_EQ(RunLogChild({"s", "1", "-", "1", "s", "1", "-", "0"}), Lines{"exit 1"});
  EXPECT_EQ(monitor.Stored(), Settings(Dword(5), std::nullopt));
}

TEST(PerfCounter, CountsEventsAndRefusesUnmatchedEnds) {
  PerfCounter counter, unusable = {};
  // Filled first, so the sums below also show that PS_Init cleared it.
  memset(&counter, 0xCC, sizeof counter);
  ASSERT_TRUE(PS_Init(&counter));
  EXPECT_TRUE(counter.state == PS_USABLE && counter.frequency != 0);
  DWORD sum = 0, longest = 0;
  for (int i = 0; i < 3; ++i) {
    // Their answers are the open and measured bits of the state.
    ASSERT_TRUE(PS_EventStart(&counter));
    Sleep(i * 5);
    ASSERT_TRUE(PS_EventEnd(&counter, nullptr));
    sum += counter.last;
    longest = std::max(longest, counter.last);
  }
  EXPECT_TRUE(counter.start == 0 && counter.count == 3 && counter.total == sum &&
              counter.maximum == longest);
  EXPECT_FALSE(PS_EventEnd(&counter, "again"));
  EXPECT_TRUE(counter.count == 3 && counter.state == PS_USABLE);
  EXPECT_FALSE(PS_EventStart(&unusable) || PS_EventEnd(&unusable, "x"));

  // A named end sends one summary line to the debugger; a name too long for
  // the 256-character line is cut with it.
  Lines run = RunLogChild({"t", "load", "t", "-", "t", std::string(300, 'n')});
  const std::regex summary("load: t=(\\d+) n=1 mean=\\1 max=\\1 \\(freq=[1-9]\\d*\\)\n");
  if (!run.empty() && std::regex_match(run[0], summary)) run[0] = "load summary";
  EXPECT_EQ(run, (Lines{"load summary", std::string(255, 'n'), "exit 0"}));
}

}  // namespace
