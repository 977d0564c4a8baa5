// The setup wizard: a modal frame with a picture at the left, Back, Next and
// Cancel at the bottom, and one of five pages at a time beside the picture.
// Next on the ready page runs the installation; Finish ends with IDOK.
#pragma once
#include <memory>
#include <string>

#include "framework/dialog.h"
#include "resources/resource_ids.h"
#include "wizard/wizard_page.h"
#include "wizard/wizard_picture.h"

class CSetupDlg : public CDialog {
 public:
  // Page indexes: -1 before the first page, 0 to 4 the pages in their
  // order, 5 once the installation has run (the ready page still shown),
  // 6 when the frame closes with OK.
  static constexpr int kWelcomePage = 0;
  static constexpr int kAgreementPage = 1;
  static constexpr int kReadyPage = 4;
  static constexpr int kInstalled = 5;
  static constexpr int kFinished = 6;

  CSetupDlg() : CDialog(IDD_SETUP) {}
  ~CSetupDlg() override;

  // Runs the wizard; while it runs the frame owns the framework's message
  // boxes. IDOK when the user went through to Finish (the installation ran,
  // runAfter is set from the check box); IDCANCEL when the user gave up
  // before the installation; -1 when the frame could not be shown.
  INT_PTR DoModal(HWND owner = nullptr);

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD notifyCode) override;
  // A move to a display of another DPI: the picture is scaled again once the
  // system has scaled the frame and its controls.
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void Next();
  void Back();
  void Cancel();
  // Captions, title and the page of the index just entered.
  void EnterPage();
  // Beside the picture, on top, shown; the frame's title back, Next focused.
  void ShowPage();
  // The picture at the frame's DPI, as far as the layout has room.
  void ScalePicture();
  // The page on show beside the picture, a gap to its right, at its top.
  void PlacePage();
  void RunInstallation();
  void Finish();
  void Focus(int id);

  int pageIndex_ = -1;
  std::unique_ptr<CWizardPage> page_;
  WizardPicture picture_;
  std::string savedTitle_;
  std::string savedNextCaption_;
  std::string savedCancelCaption_;
  bool installing_ = false;
};
