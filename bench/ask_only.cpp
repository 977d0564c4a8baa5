// ask_only: shows one Yes/No message box and ends. The floor for a declined
// uninstallation: what Wine takes to start a program, show a box, close it and
// end the process, with none of the program's own work.
#include <windows.h>

int main() {
  MessageBoxA(nullptr, "?", "ask_only", MB_YESNO | MB_ICONQUESTION);
  return 0;
}
