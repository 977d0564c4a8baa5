// The least dialog machinery the program needs: a template-based dialog that
// runs modally or lives as a hidden child, with virtual handlers. Handlers
// return normally; nothing may throw through the dialog procedure.
#pragma once
#include <windows.h>

class CDialog {
 public:
  explicit CDialog(int templateId) : templateId_(templateId) {}
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog modally; returns the value given to EndDialog (IDOK,
  // IDCANCEL), or -1 when the dialog could not be created.
  INT_PTR DoModal(HWND owner = nullptr);

  // Creates the dialog as a child of `parent` (modeless); false on failure.
  bool Create(HWND parent);

  // Destroys a modeless dialog's window.
  void DestroyWindow();

  HWND Hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

 protected:
  // WM_INITDIALOG; return TRUE to let the system set the focus.
  virtual BOOL OnInitDialog() { return TRUE; }
  // WM_COMMAND; return true when handled. The default ends a modal dialog
  // with IDOK or IDCANCEL for those two commands.
  virtual bool OnCommand(WORD id, WORD notifyCode);
  // Any other message; set `handled` to give a result.
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

  void EndDialog(INT_PTR result);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};
