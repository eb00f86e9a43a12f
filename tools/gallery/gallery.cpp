// Draws each control of the library in a few telling states, and the
// password dialog in each mode, and writes one PNG per state into the
// folder named on the command line:
//   gallery FOLDER
#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "ktutil.h"
#include "png_writer.h"

namespace {

std::string g_folder;
int g_failures = 0;

// Pixels of a rectangle of a device context, as 0x00RRGGBB.
std::vector<uint32_t> Grab(HDC dc, int x, int y, int w, int h) {
  BITMAPINFO bi = {};
  bi.bmiHeader = {
      sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top row first
  void *bits = nullptr;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, w, h, dc, x, y, SRCCOPY);
  GdiFlush();
  std::vector<uint32_t> out(static_cast<uint32_t *>(bits),
                            static_cast<uint32_t *>(bits) + w * h);
  for (uint32_t &p : out) p &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  return out;
}

void Save(const char *name, int w, int h, const std::vector<uint32_t> &pixels) {
  const std::string path = g_folder + "\\" + name + ".png";
  if (WritePng(path, w, h, pixels)) {
    std::printf("%s\n", path.c_str());
  } else {
    std::printf("cannot write %s\n", path.c_str());
    ++g_failures;
  }
}

// The window as it stands now, children included.
void Shoot(HWND window, const char *name) {
  UpdateWindow(window);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r;
  GetClientRect(window, &r);
  HDC dc = GetDC(window);
  Save(name, r.right, r.bottom, Grab(dc, 0, 0, r.right, r.bottom));
  ReleaseDC(window, dc);
}

LRESULT Send(HWND w, UINT m, WPARAM wp = 0, LPARAM lp = 0) {
  return SendMessageA(w, m, wp, lp);
}

// A traffic-like curve: slow waves with some bursts.
int Sample(int i, int series) {
  const double wave =
      45 + 30 * std::sin(i / (series ? 9.0 : 14.0)) + 15 * std::sin(i / 3.1);
  return static_cast<int>(wave * (i % 37 < 3 ? 1.4 : 1.0)) / (series ? 2 : 1);
}

void Feed(HWND graph, int from, int count) {
  for (int i = from; i < from + count; ++i) {
    Send(graph, SGM_SETVALUE, 0, Sample(i, 0));
    Send(graph, SGM_SETVALUE, 1, Sample(i, 1));
    Send(graph, SGM_ADVANCE);
    UpdateWindow(graph);  // each advance draws one column into the picture
  }
}

HWND Frame(int w, int h) {
  return CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 20, 20, w, h, nullptr,
                         nullptr, nullptr, nullptr);
}

void StripGraphs() {
  HWND frame = Frame(320, 120);
  HWND graph = CreateWindowExA(0, KT_STRIPGRAPH_CLASS, "Traffic", WS_CHILD | WS_VISIBLE,
                               0, 0, 320, 120, frame, nullptr, nullptr, nullptr);
  Send(graph, SGM_SETLABEL, 0, reinterpret_cast<LPARAM>("in / out  kB/s"));
  Send(graph, SGM_ADVANCE);
  Shoot(graph, "strip-graph-empty");
  Feed(graph, 0, 150);
  Shoot(graph, "strip-graph-filling");
  Feed(graph, 150, 260);
  Shoot(graph, "strip-graph-scrolling");
  SetWindowPos(graph, nullptr, 0, 0, 200, 120, SWP_NOZORDER | SWP_NOMOVE);
  Send(graph, SGM_SETRANGE, 0, 150);
  Shoot(graph, "strip-graph-resized");
  DestroyWindow(frame);
}

void BarGauges() {
  struct {
    const char *name, *caption;
    DWORD style;
    int values[2], peaks[2];
  } kinds[] = {
      {"bar-gauge-peaks", "CPU", 0, {35, 62}, {80, 90}},
      {"bar-gauge-notext", "", BGS_NOTEXT, {55, 20}, {70, 20}},
      {"bar-gauge-black", "Network", BGS_BLACKBACKGROUND, {75, 40}, {95, 60}},
  };
  for (auto &k : kinds) {
    HWND frame = Frame(220, 60);
    HWND gauge =
        CreateWindowExA(0, KT_BARGAUGE_CLASS, k.caption, WS_CHILD | WS_VISIBLE | k.style,
                        0, 0, 220, 10, frame, nullptr, nullptr, nullptr);
    Send(gauge, BGM_SETLABEL, 0, reinterpret_cast<LPARAM>("percent"));
    for (int bar = 0; bar < 2; ++bar) {
      Send(gauge, BGM_SETVALUE, bar, k.peaks[bar]);  // the peak holds after the drop
      Send(gauge, BGM_SETVALUE, bar, k.values[bar]);
    }
    Shoot(gauge, k.name);
    DestroyWindow(frame);
  }
}

// A window split in two panes by a vertical bar, caught while the user
// drags it. The halftone rectangle is drawn over the screen, so the picture
// takes what that drawing changed there (nothing without a display: under
// the null graphics driver the screen keeps no pixels).
void LayoutBarDrag() {
  HWND frame = Frame(360, 160);
  HWND left =
      CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "left pane", WS_CHILD | WS_VISIBLE, 0, 0,
                      0, 0, frame, nullptr, nullptr, nullptr);
  HWND right =
      CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "right pane", WS_CHILD | WS_VISIBLE, 0, 0,
                      0, 0, frame, nullptr, nullptr, nullptr);
  HWND bar = CreateLayoutBar(frame, 0, 400, 6, COLOR_BTNFACE, 1);
  RECT area = {0, 0, 360, 160}, placed;
  SizeLayoutBar(bar, area, &placed);
  MoveWindow(left, 0, 0, placed.left, 160, TRUE);
  MoveWindow(right, placed.right, 0, 360 - placed.right, 160, TRUE);
  Shoot(frame, "layout-bar");

  RECT onScreen;
  GetClientRect(frame, &onScreen);
  MapWindowPoints(frame, nullptr, reinterpret_cast<POINT *>(&onScreen), 2);
  HDC screen = GetDC(nullptr);
  const std::vector<uint32_t> before =
      Grab(screen, onScreen.left, onScreen.top, 360, 160);
  SendMessageA(bar, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 80));
  SendMessageA(bar, WM_MOUSEMOVE, 0, MAKELPARAM(90, 80));
  const std::vector<uint32_t> during =
      Grab(screen, onScreen.left, onScreen.top, 360, 160);
  ReleaseDC(nullptr, screen);
  HDC dc = GetDC(frame);
  std::vector<uint32_t> picture = Grab(dc, 0, 0, 360, 160);
  ReleaseDC(frame, dc);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] ^= before[i] ^ during[i];
  Save("layout-bar-drag", 360, 160, picture);
  SendMessageA(bar, WM_CANCELMODE, 0, 0);
  DestroyWindow(frame);
}

// The password dialog in each mode (its client area: without a window
// manager nobody draws the caption), six characters typed into the
// first field. Another thread photographs each and cancels it.
void PasswordDialogs() {
  const struct {
    DWORD mode;
    const char *name, *caption;
  } modes[] = {{KTPWD_SET, "password-set", "Set password"},
               {KTPWD_ENTER, "password-enter", "Enter password"},
               {KTPWD_CHANGE, "password-change", "Change password"},
               {KTPWD_CONFIRMOLD, "password-confirm-old", "Enter password"}};
  for (const auto &m : modes) {
    std::atomic<bool> done{false};
    std::thread photographer([&] {
      HWND dialog = nullptr;
      for (; dialog == nullptr && !done; Sleep(10))
        dialog = FindWindowA(MAKEINTATOM(32770), m.caption);
      if (dialog == nullptr) return;
      Send(dialog, WM_NULL);  // answered once the dialog runs its message loop
      HWND field = GetDlgItem(dialog, m.mode == KTPWD_CHANGE ? 114 : 107);
      for (const char *c = "secret"; *c != '\0'; ++c) Send(field, WM_CHAR, *c);
      Shoot(dialog, m.name);
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    char password[32];
    QueryPasswordDlg(nullptr, m.mode, password, sizeof password, nullptr, 0, 0);
    done = true;
    photographer.join();
  }
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gallery FOLDER\n");
    return 2;
  }
  g_folder = argv[1];
  CreateDirectoryA(g_folder.c_str(), nullptr);
  StripGraphs();
  BarGauges();
  LayoutBarDrag();
  PasswordDialogs();
  return g_failures == 0 ? 0 : 1;
}
