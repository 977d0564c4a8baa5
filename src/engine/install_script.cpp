#include "engine/install_script.h"

#include <cstring>

#include "common/bounded_path.h"
#include "common/file_attributes.h"
#include "common/file_search.h"
#include "common/handle.h"
#include "common/system_entry.h"
#include "common/text.h"
#include "driver/install_options.h"
#include "engine/copy_operand.h"
#include "engine/file_replace.h"
#include "engine/folder_levels.h"
#include "framework/exit_status.h"
#include "uninstall/install_log.h"

namespace {

// The name a packaged library carries while the system is asked for its own.
constexpr char kProbeSuffix[] = ".toinst";

// A copy operand: "name > new name" (no wildcards, each side may name a
// sub-folder that exists) or a pattern.
void CopyByOperand(const std::string& operand, const std::string& sourceFolder, const std::string& destinationFolder,
                   FilePlacer& placer) {
  const CopyOperand split = SplitCopyOperand(operand);
  if (!split.renamed) {
    CopyFilesByPattern(split.name, destinationFolder, sourceFolder, placer);
  } else if (placer.Place(split.name, sourceFolder, destinationFolder, split.newName.c_str()) ==
             Placement::NotPlaced) {
    NoteInstallFailure(split.newName);
  }
}

// "File Copy ind: ": copied only when the system cannot load a library of
// that name from elsewhere. The packaged file is renamed meanwhile, so that
// the search cannot find it beside the setup program.
void CopyLibraryIfMissing(const std::string& operand, const std::string& sourceFolder,
                          const std::string& destinationFolder, FilePlacer& placer) {
  const std::string library = ProbedLibraryName(operand);
  const std::string packaged = JoinBoundedPath(sourceFolder, library);
  const std::string hidden = packaged + kProbeSuffix;
  if (packaged.empty() || !FitsPathLimit(hidden)) return;  // too long to copy anyway

  // Renamed back only after a rename of our own: a stray ".toinst" file of
  // the package must not take the library's name.
  const bool renamed = MoveFileA(packaged.c_str(), hidden.c_str()) != FALSE;
  const LoadedLibrary loaded(LoadLibraryA(library.c_str()));
  if (renamed) MoveFileA(hidden.c_str(), packaged.c_str());
  if (loaded) return;
  CopyByOperand(operand, sourceFolder, destinationFolder, placer);
}

}  // namespace

InstallScriptCalls& InstallScriptPlatform() {
  // Looked up, not imported: older systems lack the call.
  static InstallScriptCalls calls = {Kernel32Entry<decltype(InstallScriptCalls::isWow64Process)>("IsWow64Process")};
  return calls;
}

bool IsRunningUnderWow64() {
  BOOL wow64 = FALSE;
  const auto query = InstallScriptPlatform().isWow64Process;
  if (query) query(GetCurrentProcess(), &wow64);  // its own result says nothing more
  return wow64 != FALSE;
}

void RunInstallScript(const std::string& scriptPath, FilePlacer& placer) {
  const bool wow64 = IsRunningUnderWow64();
  LogReader script(scriptPath.c_str());
  if (!script.IsOpen()) return;
  const std::string& source = InstallOptions.sourceFolder;
  const std::string& destination = InstallOptions.destinationFolder;

  LogEntry entry;
  while (script.NextEntry(entry)) {
    switch (entry.kind) {
      case LogKind::FileCopyX64:
        if (!wow64) break;
        [[fallthrough]];
      case LogKind::FileCopy:
        CopyByOperand(entry.operand, source, destination, placer);
        break;
      case LogKind::FileCopyInd:
        CopyLibraryIfMissing(entry.operand, source, destination, placer);
        break;
      case LogKind::MakeDir: {
        const std::string folder = JoinBoundedPath(destination, entry.operand);
        if (!folder.empty()) MakeFolder(folder);
        break;
      }
      default:  // the removal's kinds and other lines
        break;
    }
  }
}

int CopyFilesByPattern(const std::string& pattern, const std::string& destinationFolder,
                       const std::string& sourceFolder, FilePlacer& placer) {
  const std::string searchPath = JoinBoundedPath(sourceFolder, pattern);
  if (searchPath.empty()) return 0;
  WIN32_FIND_DATAA found;
  FileSearch search(searchPath, &found);
  if (!search.Found()) return 0;

  if (!IsPresent(destinationFolder)) MakeDestinationFolder(destinationFolder, placer.MadeFolderRights());

  // A sub-folder part: the matches come from that sub-folder and go to the
  // same one under the destination (made before by a "Make Dir: " line).
  std::string fromFolder = sourceFolder;
  std::string toFolder = destinationFolder;
  const std::size_t separator = FindLastSeparator(pattern);
  if (separator != std::string::npos) {
    fromFolder = searchPath.substr(0, searchPath.size() - pattern.size() + separator);
    toFolder = JoinBoundedPath(destinationFolder, pattern.substr(0, separator));
    if (toFolder.empty()) return 0;
  }

  // The name the script gives a match: the pattern's folder part and the
  // name found.
  const std::string folderPart = separator == std::string::npos ? std::string() : pattern.substr(0, separator + 1);
  int copied = 0;
  bool stopped = false;
  do {
    if (IsDotEntry(found.cFileName)) continue;
    if (stopped) {
      // The walk ends at its first match that is not placed now; the files
      // after it are not installed either.
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) NoteInstallFailure(folderPart + found.cFileName);
      continue;
    }
    const Placement placed = placer.Place(found.cFileName, fromFolder, toFolder);
    if (placed == Placement::Placed) {
      ++copied;
      continue;
    }
    if (placed == Placement::NotPlaced) NoteInstallFailure(folderPart + found.cFileName);
    stopped = true;
  } while (search.Next(&found));
  return copied;
}
