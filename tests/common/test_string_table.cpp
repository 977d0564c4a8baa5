// String-table texts fetched by number.
#include <windows.h>

#include <string>

#include "common/string_table.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"

namespace {

// LoadStringA with a buffer far larger than any entry, for comparison.
std::string LoadWithLoadStringA(unsigned id) {
  static char buffer[8192];
  const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

TEST(LoadStringResourceTest, GivesTheEntryInTheAnsiCodePage) {
  EXPECT_EQ(LoadStringResource(IDS_APP_TITLE), "Orvelle - Installation");
  const unsigned ids[] = {IDS_INSTANCE_RUNNING_ONE, IDS_WINDOW_TITLE,   IDS_CONFIRM_UNINSTALL, IDS_OLDER_PACKAGE,
                          IDS_DAMAGED_PACKAGE,      IDS_UNINSTALLED,    IDS_GROUP_IS_STARTUP,  IDS_SHORTCUT_HELP,
                          IDS_SHORTCUT_UNINSTALL,   IDS_APP_TITLE};
  for (unsigned id : ids) EXPECT_EQ(LoadStringResource(id), LoadWithLoadStringA(id)) << "string " << id;
}

TEST(LoadStringResourceTest, MissingEntryIsEmpty) {
  EXPECT_EQ(LoadStringResource(9999), "");
  EXPECT_EQ(LoadStringResource(IDS_APP_TITLE + 1), "");
}

TEST(LoadStringResourceTest, ResourceModuleDefaultsToTheRunningProgram) {
  EXPECT_EQ(ResourceModule(), GetModuleHandleA(nullptr));
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  SetResourceModule(kernel);
  EXPECT_EQ(ResourceModule(), kernel);
  SetResourceModule(nullptr);
  EXPECT_EQ(ResourceModule(), GetModuleHandleA(nullptr));
  EXPECT_EQ(LoadStringResource(IDS_APP_TITLE), "Orvelle - Installation");
}

}  // namespace
