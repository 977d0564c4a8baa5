#include "framework/dialog.h"

#include "common/string_table.h"

CDialog::~CDialog() {
  if (hwnd_ && !modal_) ::DestroyWindow(hwnd_);
}

INT_PTR CDialog::DoModal(HWND owner) {
  modal_ = true;
  INT_PTR result = DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(templateId_), owner, &CDialog::DialogProc,
                                   reinterpret_cast<LPARAM>(this));
  hwnd_ = nullptr;
  return result;
}

bool CDialog::Create(HWND parent) {
  modal_ = false;
  return CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(templateId_), parent, &CDialog::DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::DestroyWindow() {
  if (hwnd_) ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

bool CDialog::OnCommand(WORD id, WORD) {
  if (modal_ && (id == IDOK || id == IDCANCEL)) {
    EndDialog(id);
    return true;
  }
  return false;
}

INT_PTR CDialog::OnMessage(UINT, WPARAM, LPARAM, bool&) { return 0; }

void CDialog::EndDialog(INT_PTR result) {
  if (modal_ && hwnd_) ::EndDialog(hwnd_, result);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* self;
  if (message == WM_INITDIALOG) {
    // The object travels in lParam; the window keeps it for later messages.
    self = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    self->hwnd_ = hwnd;
    return self->OnInitDialog();
  }
  self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_COMMAND) return self->OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
  if (message == WM_NCDESTROY) {
    // The window is gone; a later DestroyWindow() must not touch it.
    self->hwnd_ = nullptr;
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    return FALSE;
  }
  bool handled = false;
  INT_PTR result = self->OnMessage(message, wParam, lParam, handled);
  return handled ? result : FALSE;
}
