// The agreement page of the real wizard with an "agreement.txt" of no bytes
// and one of 64 MB: the page appears within a bounded time, shows what it
// can, and the wizard goes on to the folder page and ends normally.
#include <windows.h>

#include <string>

#include "common/names.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "support/package_run.h"
#include "ui_driver.h"
#include "wizard/agreement_dlg.h"
#include "wizard_session.h"

namespace {

constexpr DWORD kPageWait = 60000;

// Length of the text of a control of another process.
LRESULT TextLength(HWND dialog, int id) {
  DWORD_PTR length = 0;
  ui::SendToProgram(GetDlgItem(dialog, id), WM_GETTEXTLENGTH, 0, 0, &length);
  return static_cast<LRESULT>(length);
}

// The reading itself: the file's first bytes up to the limit, as they are.
TEST(AgreementText, ReadsUpToTheLimitAndNoFurther) {
  TestFolder folder("orvagreeread");
  const std::string path = folder / "agreement.txt";
  const struct {
    std::size_t size;
    unsigned long limit;
    std::size_t read;
  } cases[] = {{0, 10, 0}, {10, 10, 10}, {11, 10, 10}, {kAgreementShownBytes + 1, kAgreementShownBytes,
                                                         kAgreementShownBytes}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " bytes, limit " + std::to_string(c.limit));
    std::string bytes(c.size, '\0');
    for (std::size_t i = 0; i < c.size; ++i) bytes[i] = static_cast<char>('a' + i % 26);
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    EXPECT_EQ(ReadAgreementText(path.c_str(), c.limit), bytes.substr(0, c.read));
  }
}

class AgreementFile : public testing::Test, protected PackageRun {
 protected:
  AgreementFile() : PackageRun("orvagree", "package") {}
  void SetUp() override { ASSERT_TRUE(CopyPackage()); }

  // Starts the wizard in the package folder and moves to the agreement page.
  void ShowAgreement() {
    ASSERT_TRUE(wizard_.Start(SetupIn(package_), "", package_));
    wizard_.ClickFrame(IDOK);
    ASSERT_TRUE(wizard_.WaitFor(Page::Agreement, kPageWait)) << "the agreement page did not appear";
  }

  // Next reaches the folder page; Cancel, confirmed, ends the wizard.
  void GoOnAndCancel() {
    ASSERT_TRUE(wizard_.Next(Page::Folder));
    wizard_.ClickFrame(IDCANCEL);
    HWND box = wizard_.Box();
    ASSERT_NE(box, nullptr);
    ui::Press(box, IDYES);
    EXPECT_NE(wizard_.Finish(), -1) << "the wizard did not end";
  }

  WizardSession wizard_;
};

TEST_F(AgreementFile, EmptyFileGivesAnEmptyBox) {
  ASSERT_TRUE(WriteFileBytes(package_ + "\\" + names::kAgreementFile, ""));
  ShowAgreement();
  EXPECT_EQ(TextLength(wizard_.PageWindow(), IDC_AGREEMENT_TEXT), 0);
  GoOnAndCancel();
}

TEST_F(AgreementFile, FileOf64MegabytesNeitherCrashesNorHangsTheWizard) {
  std::string line(79, 'a');
  line += "\r\n";
  std::string text;
  text.reserve(64u << 20);
  while (text.size() + line.size() <= (64u << 20)) text += line;
  text.resize(64u << 20, 'z');
  ASSERT_TRUE(WriteFileBytes(package_ + "\\" + names::kAgreementFile, text));
  text = std::string();

  const DWORD start = GetTickCount();
  ShowAgreement();
  std::printf("agreement page of 64 MB shown after %lu ms\n", GetTickCount() - start);
  EXPECT_EQ(TextLength(wizard_.PageWindow(), IDC_AGREEMENT_TEXT), static_cast<LRESULT>(kAgreementShownBytes))
      << "the beginning of the agreement is shown";
  GoOnAndCancel();
}

}  // namespace
