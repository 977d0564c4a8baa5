#include "common/file_rename.h"

#include <windows.h>

#include <cstring>

#include "common/bounded_path.h"
#include "common/codepage_convert.h"
#include "common/handle.h"
#include "common/system_entry.h"

namespace {

// The rename on the handle; false when it was not made (the caller falls
// back to MoveFileEx, which sets the error the caller sees).
bool RenameOnHandle(const std::string& from, const std::string& to) {
  static const auto setInformation =
      Kernel32Entry<decltype(&::SetFileInformationByHandle)>("SetFileInformationByHandle");
  if (!setInformation) return false;
  // The structure ends in the new name; a path that fits the system limit
  // fits the buffer.
  union {
    FILE_RENAME_INFO info;
    unsigned char bytes[sizeof(FILE_RENAME_INFO) + kMaxPath * sizeof(wchar_t)];
  } request{};
  const WideText wide = WideOfAnsi(to.c_str());
  if (wide.empty() || wide.size() - 1 >= kMaxPath) return false;
  const std::size_t length = wide.size() - 1;
  const UniqueHandle file(CreateFileA(from.c_str(), DELETE | SYNCHRONIZE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  request.info.ReplaceIfExists = TRUE;
  request.info.RootDirectory = nullptr;
  // The terminator comes from the cleared buffer.
  std::memcpy(request.info.FileName, wide.data(), length * sizeof(wchar_t));
  request.info.FileNameLength = static_cast<DWORD>(length * sizeof(wchar_t));  // without the terminator
  return setInformation(file.get(), FileRenameInfo, &request.info,
                        static_cast<DWORD>(sizeof(FILE_RENAME_INFO) + (length + 1) * sizeof(wchar_t))) != FALSE;
}

}  // namespace

bool RenameReplacing(const std::string& from, const std::string& to) {
  if (RenameOnHandle(from, to)) return true;
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}
