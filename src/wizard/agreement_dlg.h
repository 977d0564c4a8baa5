// The agreement page: the end-user agreement of the package, accepted with
// the frame's Next ("Oui") and declined with Cancel ("Non").
#pragma once
#include <string>

#include "resources/resource_ids.h"
#include "wizard/wizard_page.h"

class CAgreementDlg : public CWizardPage {
 public:
  CAgreementDlg() : CWizardPage(IDD_AGREEMENT) {}

 protected:
  // Reads "agreement.txt" of the current folder into the text box, shown
  // from its first line with nothing selected; places the page over the
  // picture's place (4,4 in the frame) and shows it. Leaves the focus alone.
  BOOL OnInitDialog() override;
};

// Most bytes of the agreement shown: far above any real agreement, yet small
// enough for the text box to take in a moment (64 MB keep it busy for
// minutes, with the wizard frozen).
inline constexpr unsigned long kAgreementShownBytes = 1ul << 20;

// The file's first `limit` bytes as they are (no code page or line-end
// conversion); empty when it does not open.
std::string ReadAgreementText(const char* path, unsigned long limit = kAgreementShownBytes);
