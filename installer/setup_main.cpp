// VapordexSetup: the installer window. At start-up it loads its resources,
// creates the window, runs the host probe, creates the add-in folder and
// tells whether the add-in is already installed; Install writes the add-in
// build that matches Excel into the add-in folder.
#include <windows.h>

#include <cstdio>

#include "error_texts.hpp"
#include "fatal.hpp"
#include "install.hpp"
#include "probe.hpp"
#include "version.hpp"
#include "win32_platform.hpp"

using namespace vapordex::installer;

namespace {

constexpr int kWidth = 640;
constexpr int kLogoWidth = 370;
constexpr int kLogoHeight = 132;
constexpr int kInstallId = 1025;
constexpr int kExitId = 1026;
constexpr COLORREF kBackground = RGB(231, 164, 38);

struct Resource {
  const void* data;
  DWORD size;
};

struct State {
  HINSTANCE instance = nullptr;
  int screenWidth = 0;
  int screenHeight = 0;
  int height = 340;
  HBRUSH background = nullptr;
  const BITMAPINFO* logo = nullptr;
  Resource addin32{};
  Resource addin64{};
  HWND main = nullptr;
  HWND logoWindow = nullptr;
  HWND install = nullptr;
  HWND exit = nullptr;
  Win32Platform platform;
  Host host;
};

State gState;

Platform& platform() { return gState.platform; }

Resource loadResource(const char* name, LPCSTR type) {
  HRSRC found = FindResourceA(nullptr, name, type);
  if (found == nullptr) fatalWindowsError(platform(), 632, "can't find resource %s", name);
  HGLOBAL loaded = LoadResource(nullptr, found);
  if (loaded == nullptr) fatalWindowsError(platform(), 634, "can't load resource %s", name);
  const void* locked = LockResource(loaded);
  if (locked == nullptr) fatalWindowsError(platform(), 636, "can't lock resource %s", name);
  return {locked, SizeofResource(nullptr, found)};
}

void loadString(UINT id, char* buffer, int size, int code) {
  if (LoadStringA(gState.instance, id, buffer, size) == 0) {
    fatalWindowsError(platform(), code, "can't load string resource");
  }
}

// The pixel rows of a device-independent bitmap follow its header and palette.
const void* bitmapBits(const BITMAPINFO* info) {
  const BITMAPINFOHEADER& h = info->bmiHeader;
  DWORD colours = h.biClrUsed;
  if (colours == 0)
    colours = h.biBitCount == 1 ? 2 : h.biBitCount == 4 ? 16 : h.biBitCount == 8 ? 256 : 0;
  return reinterpret_cast<const BYTE*>(info) + h.biSize + colours * 4;
}

SIZE textExtent(HDC dc, const char* text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text, static_cast<int>(lstrlenA(text)), &size);
  return size;
}

void centre(int* x, int* y) {
  *x = (gState.screenWidth - kWidth) / 2;
  *y = (gState.screenHeight - gState.height) / 2;
}

void layout() {
  HWND main = gState.main;
  if (IsIconic(main)) return;
  RECT client{};
  GetClientRect(main, &client);
  const int cw = client.right - client.left;
  HDC dc = GetDC(main);
  if (dc == nullptr) fatalWindowsError(platform(), 462, "can't get device context");
  char printable[94];
  int n = 0;
  for (char c = '!'; c <= '~'; ++c) {
    if (c != '"') printable[n++] = c;
  }
  printable[n] = '\0';
  const int th = textExtent(dc, printable).cy;
  const SIZE button = textExtent(dc, "**Install**");
  if (ReleaseDC(main, dc) == 0) fatalWindowsError(platform(), 466, "can't release device context");

  MoveWindow(gState.logoWindow, (cw - kLogoWidth) / 2, 0, kLogoWidth, kLogoHeight, TRUE);
  int y = kLogoHeight + 2;
  static constexpr Line kDisplayOrder[] = {
      Line::kOperatingSystem, Line::kArchitecture, Line::kOfficeVersion, Line::kOfficePath,
      Line::kOfficeBitness,   Line::kAddinName,    Line::kAddinPath,     Line::kStatus,
      Line::kMessage2,        Line::kMessage3,     Line::kNotice};
  for (Line line : kDisplayOrder) {
    MoveWindow(gState.platform.lines[static_cast<int>(line)], 2, y, cw - 4, th, TRUE);
    y += th + 2;
  }
  y += th / 2;
  const int bw = button.cx;
  const int bh = button.cy * 3 / 2;
  MoveWindow(gState.install, cw / 2 - bw - 8, y, bw, bh, TRUE);
  MoveWindow(gState.exit, cw / 2 + 8, y, bw, bh, TRUE);
  const int content = y + bh * 3 / 2;
  if (gState.height >= content && gState.height - content <= 16) return;
  gState.height = content + 2 * GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION);
  int x = 0;
  int top = 0;
  centre(&x, &top);
  MoveWindow(main, x, top, kWidth, gState.height, TRUE);
}

void showStatus(const char* status, const char* second, const char* third) {
  platform().setLineText(Line::kStatus, status);
  platform().setLineText(Line::kMessage2, second);
  platform().setLineText(Line::kMessage3, third);
}

void onInstall() {
  const Resource& addin = gState.host.excelBits == 32 ? gState.addin32 : gState.addin64;
  if (!installAddin(platform(), gState.host, addin.data, addin.size)) return;
  showStatus("Add-In has been successfully installed.",
             "You will need to activate it from inside Excel to complete this process.",
             "Push the button below to exit program.");
  EnableWindow(gState.install, FALSE);
}

int clamp(int value, int high) {
  if (high < 0) high = 0;
  return value < 0 ? 0 : value > high ? high : value;
}

LRESULT CALLBACK mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    case WM_COMMAND: {
      const WORD notification = HIWORD(wParam);
      if (notification == BN_CLICKED || notification == BN_DBLCLK) {
        if (LOWORD(wParam) == kInstallId) onInstall();
        if (LOWORD(wParam) == kExitId) PostQuitMessage(0);
      }
      return 0;
    }
    case WM_CREATE:
      return 0;
    case WM_SIZE:
      if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) layout();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc == nullptr)
        fatalWindowsError(platform(), 593, "can't get device context to begin painting");
      RECT client{};
      GetClientRect(window, &client);
      FillRect(dc, &client, gState.background);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = 560;
      info->ptMinTrackSize.y = 480;
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
      int x = 0;
      int y = 0;
      if (position != nullptr) {
        x = clamp(position->x, gState.screenWidth - kWidth);
        y = clamp(position->y, gState.screenHeight - gState.height);
      } else {
        centre(&x, &y);
      }
      if (position == nullptr || x != position->x || y != position->y || position->cx != kWidth ||
          position->cy != gState.height) {
        MoveWindow(window, x, y, kWidth, gState.height, TRUE);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(gState.background);
    }
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH));
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK logoProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc == nullptr)
        fatalWindowsError(platform(), 515, "can't get device context to begin painting");
      StretchDIBits(dc, 0, 0, kLogoWidth, kLogoHeight, 0, 0, kLogoWidth, kLogoHeight,
                    bitmapBits(gState.logo), gState.logo, DIB_RGB_COLORS, SRCCOPY);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkMode(dc, TRANSPARENT);
      constexpr char kVersionText[] = "Version " VDX_VERSION;
      TextOutA(dc, 186, 112, kVersionText, sizeof kVersionText - 1);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CREATE:
    case WM_DESTROY:
    case WM_CLOSE:
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void registerClass(const char* name, WNDPROC procedure) {
  WNDCLASSA c = {};
  c.style = CS_HREDRAW | CS_VREDRAW;
  c.lpfnWndProc = procedure;
  c.hInstance = gState.instance;
  c.hIcon = LoadIconA(gState.instance, "ICON");
  c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  c.lpszClassName = name;
  if (RegisterClassA(&c) == 0) fatalWindowsError(platform(), 720, "can't register class");
}

HWND createChild(const char* windowClass, const char* text, DWORD style, int id, int code,
                 const char* message) {
  HWND w =
      CreateWindowExA(0, windowClass, text, style, 0, 0, 0, 0, gState.main,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), gState.instance, nullptr);
  if (w == nullptr) fatalWindowsError(platform(), code, "%s", message);
  return w;
}

void createWindows() {
  gState.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  gState.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  int x = 0;
  int y = 0;
  centre(&x, &y);
  gState.main = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, "MAIN",
                                "Quellbrooke's Steam Property Excel Add-In Installer",
                                WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, x, y, kWidth,
                                gState.height, nullptr, nullptr, gState.instance, nullptr);
  if (gState.main == nullptr) fatalWindowsError(platform(), 677, "can't create main window");
  gState.platform.owner = gState.main;
  gState.logoWindow =
      createChild("LOGO", nullptr, WS_CHILD | WS_VISIBLE, 0, 679, "can't create logo window");
  static constexpr const char* kInitial[] = {"Operating System",
                                             "Architecture",
                                             "Microsoft Office Version",
                                             "MS Office Bits",
                                             "MS Office Path",
                                             "Add-In Name",
                                             "Add-In Path",
                                             "Status",
                                             "",
                                             "",
                                             ""};
  for (int k = 0; k < 11; ++k) {
    gState.platform.lines[k] = createChild("STATIC", kInitial[k], WS_CHILD | WS_VISIBLE | SS_CENTER,
                                           0, 681 + 2 * k, "can't create text window");
  }
  gState.install = createChild("BUTTON", "Install", WS_CHILD | WS_VISIBLE, kInstallId, 703,
                               "can't create text window");
  gState.exit = createChild("BUTTON", "Exit", WS_CHILD | WS_VISIBLE, kExitId, 705,
                            "can't create text window");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  gState.instance = instance;
  gState.background = CreateSolidBrush(kBackground);
  gState.logo = static_cast<const BITMAPINFO*>(loadResource("QUELLBROOKE", RT_BITMAP).data);
  gState.addin32 = loadResource("ADDIN32", RT_RCDATA);
  gState.addin64 = loadResource("ADDIN64", RT_RCDATA);
  loadString(32, gState.host.addinName32, static_cast<int>(kAddinNameSize), 651);
  loadString(64, gState.host.addinName64, static_cast<int>(kAddinNameSize), 653);
  registerClass("MAIN", mainProcedure);
  registerClass("LOGO", logoProcedure);
  createWindows();
  layout();
  // The window takes no input until the probe has completed: a fatal box of
  // the probe (owned by the window) leaves nothing of it to press.
  EnableWindow(gState.main, FALSE);
  runProbe(platform(), gState.host);
  EnableWindow(gState.main, TRUE);
  platform().makeDirectory(gState.host.addinFolder);
  if (isInstalled(platform(), gState.host)) {
    showStatus("Add-In has already been installed.",
               "If it's not working, you may not have activated it from inside Excel.",
               "Push the button below to exit program.");
  } else {
    platform().setLineText(Line::kStatus, "Push the button below to install the Add-In.");
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!TranslateMessage(&message)) DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
