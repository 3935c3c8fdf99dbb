// Looks at the installer's windows from inside the same Wine session, for
// the end-to-end test (the mouse itself is driven with xdotool):
//   wincontrol wait TITLE SECONDS       waits for a top-level window
//   wincontrol rect TITLE BUTTON        prints the button's screen centre "x y"
//   wincontrol texts TITLE              prints every child's text, buttons
//                                       with their state
//   wincontrol gone TITLE SECONDS       waits for the window to disappear
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND findTop(const char* title) { return FindWindowA(nullptr, title); }

BOOL CALLBACK printChild(HWND child, LPARAM /*unused*/) {
  char cls[64];
  char text[512];
  GetClassNameA(child, cls, sizeof cls);
  GetWindowTextA(child, text, sizeof text);
  if (_stricmp(cls, "Button") == 0) {
    std::printf("button %s %s\n", text, IsWindowEnabled(child) ? "enabled" : "disabled");
  } else if (_stricmp(cls, "Static") == 0) {
    std::printf("line %s\n", text);
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const char* command = argv[1];
  const char* title = argv[2];
  if (std::strcmp(command, "wait") == 0 || std::strcmp(command, "gone") == 0) {
    const bool wantPresent = std::strcmp(command, "wait") == 0;
    const int tenths = (argc > 3 ? std::atoi(argv[3]) : 30) * 10;
    for (int k = 0; k < tenths; ++k) {
      if ((findTop(title) != nullptr) == wantPresent) return 0;
      Sleep(100);
    }
    std::printf("timeout waiting for '%s'\n", title);
    return 1;
  }
  HWND top = findTop(title);
  if (top == nullptr) {
    std::printf("no window '%s'\n", title);
    return 1;
  }
  if (std::strcmp(command, "rect") == 0 && argc > 3) {
    HWND button = FindWindowExA(top, nullptr, "Button", argv[3]);
    if (button == nullptr) return 1;
    RECT r;
    GetWindowRect(button, &r);
    std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
  }
  if (std::strcmp(command, "texts") == 0) {
    EnumChildWindows(top, printChild, 0);
    return 0;
  }
  return 2;
}
