// Test main of the native test programs: the code page of the run comes from
// ORV_NATIVE_CODE_PAGE (1252 when unset), as a Windows test program's comes
// from its locale.
#include <cstdio>
#include <cstdlib>

#include "common/codepage_native.h"
#include "gtest/gtest.h"

int main(int argc, char** argv) {
  const char* codePage = std::getenv("ORV_NATIVE_CODE_PAGE");
  if (codePage && *codePage && !SetNativeCodePage(static_cast<unsigned>(std::strtoul(codePage, nullptr, 10)))) {
    std::fprintf(stderr, "ORV_NATIVE_CODE_PAGE=%s: only 1252 and 932 are modelled\n", codePage);
    return 2;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
