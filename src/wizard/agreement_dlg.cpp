#include "wizard/agreement_dlg.h"

#include "common/handle.h"
#include "common/names.h"
#include "framework/display_scale.h"

namespace {
// Where the page sits in the frame's client area, in pixels at 96 DPI: over
// the picture's place.
constexpr int kPageLeft = 4;
constexpr int kPageTop = 4;
}  // namespace

std::string ReadAgreementText(const char* path, unsigned long limit) {
  UniqueHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::string();
  DWORD high = 0;
  DWORD size = GetFileSize(file.get(), &high);
  if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::string();
  if (high != 0 || size > limit) size = limit;
  std::string text(size, '\0');
  DWORD read = 0;
  if (size != 0 && !ReadFile(file.get(), &text[0], size, &read, nullptr)) read = 0;
  text.resize(read);  // a file that shrank meanwhile gives what was there
  return text;
}

BOOL CAgreementDlg::OnInitDialog() {
  // The edit control shows the text up to its first zero byte.
  const std::string text = ReadAgreementText(names::kAgreementFile);
  HWND box = Item(IDC_AGREEMENT_TEXT);
  SetWindowTextA(box, text.c_str());
  SendMessageA(box, EM_SETSEL, 0, 0);
  SendMessageA(box, EM_SCROLLCARET, 0, 0);
  const UINT dpi = WindowDpi(Hwnd());
  SetWindowPos(Hwnd(), HWND_TOP, ScaleForDpi(kPageLeft, dpi), ScaleForDpi(kPageTop, dpi), 0, 0,
               SWP_NOSIZE | SWP_SHOWWINDOW);
  return FALSE;
}
