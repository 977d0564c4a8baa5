// Copying one file into place: existing, protected and in-use targets, and
// the restart-time operations that finish the replacement of a file in use.
#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

#include "common/handle.h"
#include "common/folder_rights.h"
#include "common/names.h"
#include "common/registry.h"
#include "engine/file_replace.h"
#include "engine_fixture.h"
#include "support/pending_operations.h"

namespace {

class FileReplace : public testing::Test {
 protected:
  FileReplace() {
    CreateDirectoryA(from_.c_str(), nullptr);
    CreateDirectoryA(to_.c_str(), nullptr);
    EXPECT_TRUE(WriteFileBytes(From("OrvPix6.exe"), "new"));
  }
  // Each placement as a first installation's, with a placer of its own: the
  // staging folders it makes go with it.
  Placement PlaceFile(const std::string& name, const std::string& from, const std::string& to,
                      const char* newName = nullptr) {
    FilePlacer placer(Targets::MostlyFree);
    return placer.Place(name, from, to, newName);
  }
  bool CopyFileReplacing(const std::string& name, const std::string& from, const std::string& to,
                         const char* newName = nullptr) {
    return PlaceFile(name, from, to, newName) == Placement::Placed;
  }
  std::string From(const std::string& name) const { return from_ + "\\" + name; }
  std::string To(const std::string& name) const { return to_ + "\\" + name; }

  TestFolder root_;
  const std::string from_ = root_ / "package";
  const std::string to_ = root_ / "installed";
};

TEST_F(FileReplace, CopiesIntoAnEmptyPlaceAndOverAnExistingFile) {
  EXPECT_TRUE(CopyFileReplacing("OrvPix6.exe", from_, to_));
  EXPECT_EQ(ReadFileBytes(To("OrvPix6.exe")), "new");

  ASSERT_TRUE(WriteFileBytes(To("OrvPix6.exe"), "old"));
  EXPECT_TRUE(CopyFileReplacing("OrvPix6.exe", from_ + "\\", to_ + "/"));
  EXPECT_EQ(ReadFileBytes(To("OrvPix6.exe")), "new");
  EXPECT_FALSE(PathExists(To("OrvPix6.exe.old")));

  // Staged, as a re-installation places its files: the same results, and
  // the staging folder goes with the staging. One that an interrupted run
  // left (files only, a cut copy among them) goes first; one that holds a
  // sub-folder is not ours: it is neither used nor touched and stays.
  const std::string staging = To(names::kStagingFolder);
  const char* const states[] = {"none was", "a stale one", "one with a sub-folder"};
  for (int state = 0; state < 3; ++state) {
    SCOPED_TRACE(states[state]);
    const std::string free = "free" + std::to_string(state) + ".exe";
    if (state > 0) ASSERT_TRUE(CreateDirectoryA(staging.c_str(), nullptr));
    if (state == 1) ASSERT_TRUE(WriteFileBytes(staging + "\\OrvPix6.exe", "ne"));
    if (state == 1) ASSERT_TRUE(SetFileAttributesA((staging + "\\OrvPix6.exe").c_str(), FILE_ATTRIBUTE_READONLY));
    if (state == 2) ASSERT_TRUE(CreateDirectoryA((staging + "\\sub").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(To("OrvPix6.exe"), "old"));
    {
      FilePlacer placer(Targets::MostlyThere);
      EXPECT_TRUE(::CopyFileReplacing(placer, "OrvPix6.exe", from_, to_));
      EXPECT_TRUE(::CopyFileReplacing(placer, "OrvPix6.exe", from_, to_, free.c_str()));
    }
    EXPECT_EQ(ReadFileBytes(To("OrvPix6.exe")), "new");
    EXPECT_EQ(ReadFileBytes(To(free)), "new");
    EXPECT_EQ(PathExists(staging), state == 2);
  }
  const std::string kept = std::string(names::kStagingFolder) + "\\";
  EXPECT_EQ(TreeOf(to_),
            (std::vector<std::string>{"OrvPix6.exe", "free0.exe", "free1.exe", "free2.exe", kept, kept + "sub\\"}));
}

TEST_F(FileReplace, ProtectedTargetsAreReplaced) {
  // A system file refuses to be overwritten in place: it goes the deleting way.
  const DWORD cases[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN,
                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE,
                         FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN};
  for (DWORD attributes : cases) {
    SCOPED_TRACE(attributes);
    ASSERT_TRUE(WriteFileBytes(To("OrvPix6.exe"), "old"));
    ASSERT_TRUE(SetFileAttributesA(To("OrvPix6.exe").c_str(), attributes));
    EXPECT_TRUE(CopyFileReplacing("OrvPix6.exe", from_, to_));
    EXPECT_EQ(ReadFileBytes(To("OrvPix6.exe")), "new");
    EXPECT_FALSE(PathExists(To("OrvPix6.exe.old")));
  }
}

TEST_F(FileReplace, ATargetThatIsAlreadyTheCopyIsLeftAlone) {
  // Each target is held without delete sharing: one that needs replacing can
  // only be replaced at the restart, one that already is the copy needs nothing.
  struct Case {
    const char* target;
    const char* bytes;  // written over the copy, its time kept
    LONGLONG shift;     // moves its last-write time
    DWORD attributes;
    Placement expected;
  };
  const Case cases[] = {
      {"same.exe", "new", 0, 0, Placement::Placed},
      {"bytes.exe", "neW", 0, 0, Placement::AtRestart},
      {"time.exe", "new", 10000000, 0, Placement::AtRestart},
      {"readonly.exe", "new", 0, FILE_ATTRIBUTE_READONLY, Placement::AtRestart},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    ASSERT_TRUE(CopyFileReplacing("OrvPix6.exe", from_, to_, c.target));
    const std::string target = To(c.target);
    {
      UniqueHandle file(CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(file);
      FILETIME written;
      ASSERT_TRUE(GetFileTime(file.get(), nullptr, nullptr, &written));
      DWORD count = 0;
      ASSERT_TRUE(WriteFile(file.get(), c.bytes, 3, &count, nullptr));
      ULARGE_INTEGER time{{written.dwLowDateTime, written.dwHighDateTime}};
      time.QuadPart += c.shift;
      written = {time.LowPart, time.HighPart};
      ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &written));
    }
    if (c.attributes) ASSERT_TRUE(SetFileAttributesA(target.c_str(), c.attributes));
    UniqueHandle held = HoldOpen(target, FILE_SHARE_READ);
    ASSERT_TRUE(held);
    EXPECT_EQ(PlaceFile("OrvPix6.exe", from_, to_, c.target), c.expected);
  }
}

TEST_F(FileReplace, NewNameAndSubFolders) {
  ASSERT_TRUE(CreateDirectoryA(From("Sub").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(From("Sub\\viewer.cfg"), "cfg"));
  ASSERT_TRUE(CreateDirectoryA(To("Conf").c_str(), nullptr));
  EXPECT_TRUE(CopyFileReplacing("Sub\\viewer.cfg", from_, to_, "Conf\\settings.cfg"));
  EXPECT_EQ(ReadFileBytes(To("Conf\\settings.cfg")), "cfg");
  // A sub-folder of the new name must exist: it is not created here.
  EXPECT_FALSE(CopyFileReplacing("Sub\\viewer.cfg", from_, to_, "Missing\\settings.cfg"));
  EXPECT_FALSE(PathExists(To("Missing")));
}

TEST_F(FileReplace, WhatCannotBeCopiedIsRefused) {
  ASSERT_TRUE(CreateDirectoryA(From("Filters").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(To("Filters").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(To("Filters\\sepia.flt"), "user's"));
  ASSERT_TRUE(WriteFileBytes(From("sepia.flt"), "flt"));

  EXPECT_FALSE(CopyFileReplacing("missing.dll", from_, to_));
  // A missing source or a folder never costs an existing target its file.
  ASSERT_TRUE(WriteFileBytes(To("kept.dll"), "kept"));
  EXPECT_FALSE(CopyFileReplacing("missing.dll", from_, to_, "kept.dll"));
  EXPECT_FALSE(CopyFileReplacing("Filters", from_, to_, "kept.dll"));
  EXPECT_EQ(ReadFileBytes(To("kept.dll")), "kept");
  ASSERT_TRUE(DeleteFileA(To("kept.dll").c_str()));
  // A folder source into a free place makes nothing there.
  EXPECT_FALSE(CopyFileReplacing("Filters", from_, to_, "FiltersCopy"));
  EXPECT_FALSE(PathExists(To("FiltersCopy")));
  // A folder is not copied, and a folder in the target's place is neither
  // deleted nor moved aside with its files.
  EXPECT_FALSE(CopyFileReplacing("Filters", from_, to_));
  EXPECT_FALSE(CopyFileReplacing("sepia.flt", from_, to_, "Filters"));
  EXPECT_EQ(ReadFileBytes(To("Filters\\sepia.flt")), "user's");
  EXPECT_FALSE(PathExists(To("Filters.old")));
  EXPECT_TRUE(PendingOperations().empty());
  // A target path past the system limit is refused, not cut.
  const std::string longName(260 - to_.size(), 'x');
  EXPECT_FALSE(CopyFileReplacing("OrvPix6.exe", from_, to_, longName.c_str()));
  EXPECT_EQ(TreeOf(to_), (std::vector<std::string>{"Filters\\", "Filters\\sepia.flt"}));
}

TEST_F(FileReplace, SameFolderWithoutNewNameHasNothingToDo) {
  // Every spelling of the one folder: taken for another folder, the file
  // would be deleted as the target before being copied as the source.
  std::string upper = from_;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string slashes = from_;
  for (char& c : slashes) c = c == '\\' ? '/' : c;
  for (const std::string& folder : {from_, from_ + "\\", from_ + "/", upper, slashes}) {
    SCOPED_TRACE(folder);
    EXPECT_TRUE(CopyFileReplacing("OrvPix6.exe", from_, folder));
    EXPECT_EQ(ReadFileBytes(From("OrvPix6.exe")), "new");
    // Nothing is looked at, not even whether the file exists.
    EXPECT_TRUE(CopyFileReplacing("missing.dll", folder, from_));
  }
}

TEST_F(FileReplace, SameFolderWithNewName) {
  ASSERT_TRUE(WriteFileBytes(From("b.dll"), "old b"));
  EXPECT_TRUE(CopyFileReplacing("OrvPix6.exe", from_, from_, "b.dll"));
  EXPECT_EQ(ReadFileBytes(From("b.dll")), "new");
  EXPECT_EQ(ReadFileBytes(From("OrvPix6.exe")), "new");
  // A new name that is the file's own: deleted as the target, the file
  // would be lost.
  EXPECT_TRUE(CopyFileReplacing("OrvPix6.exe", from_, from_, "orvpix6.EXE"));
  EXPECT_EQ(ReadFileBytes(From("OrvPix6.exe")), "new");

  // An old file of the new name that cannot go stays, uncopied: that is a
  // failure, not success.
  ASSERT_TRUE(WriteFileBytes(From("c.dll"), "old c"));
  UniqueHandle held = HoldOpen(From("c.dll"), FILE_SHARE_READ);
  EXPECT_FALSE(CopyFileReplacing("OrvPix6.exe", from_, from_, "c.dll"));
  held.reset();
  EXPECT_EQ(ReadFileBytes(From("c.dll")), "old c");
  EXPECT_FALSE(PathExists(From("c.dll.old")));
  EXPECT_FALSE(PathExists(From("c.dll.new")));
}

// Another account renames the staging folder between two placements and
// puts a link of its name in its place: nothing is written or moved behind
// the link, and the file is replaced from beside its target.
TEST_F(FileReplace, AStagingFolderSwappedForALinkIsNotWrittenThrough) {
  const std::string elsewhere = root_ / "elsewhere";
  ASSERT_TRUE(MakeFolders(elsewhere));
  ASSERT_TRUE(WriteFileBytes(elsewhere + "\\readme.txt", "theirs"));
  ASSERT_TRUE(WriteFileBytes(From("readme.txt"), "new readme"));
  ASSERT_TRUE(WriteFileBytes(To("OrvPix6.exe"), "old"));
  ASSERT_TRUE(WriteFileBytes(To("readme.txt"), "old readme"));

  FilePlacer placer(Targets::MostlyThere, nullptr, {FolderRights::Inherited, StagingRights::Administrators});
  ASSERT_EQ(placer.Place("OrvPix6.exe", from_, to_), Placement::Placed);
  const std::string staging = To(names::kStagingFolder);
  ASSERT_TRUE(MoveFileA(staging.c_str(), (root_ / "taken").c_str()));
  ASSERT_TRUE(MakeFolderLink(staging, elsewhere));

  EXPECT_EQ(placer.Place("readme.txt", from_, to_), Placement::Placed);
  EXPECT_EQ(ReadFileBytes(To("readme.txt")), "new readme");
  EXPECT_EQ(TreeOf(elsewhere), std::vector<std::string>{"readme.txt"});
  EXPECT_EQ(ReadFileBytes(elsewhere + "\\readme.txt"), "theirs");
}

// An installation for all users outside Program Files: the folders it makes
// are for administrators to change, its staging folder is theirs alone
// while it is used, and an upgraded file carries the rights of a file made
// in the destination. Wine keeps no access list as it is set: it maps it to
// the Unix mode and reads back a list made from the mode, which names
// Everyone (read and execute) where all may read.
TEST_F(FileReplace, AnAllUsersUpgradeKeepsOthersOutOfWhatItMakes) {
  const std::string programFiles =
      ReadRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
  EXPECT_EQ(MadeFolderRights(true, programFiles + "\\Orvelle 6"), FolderRights::Inherited);
  EXPECT_EQ(MadeFolderRights(false, root_ / "Apps"), FolderRights::Inherited);
  EXPECT_EQ(MadeFolderRights(true, root_ / "Apps"), FolderRights::Installation);
  const auto everyoneIn = [](const std::string& path) {
    const AccessList list = AccessListOf(path);
    EXPECT_TRUE(list.read) << path;
    for (const std::string& entry : list.entries) {
      if (entry.rfind("S-1-1-0 ", 0) == 0) return true;
    }
    return false;
  };

  const std::string installed = root_ / "Apps\\Orvelle 6";
  ASSERT_TRUE(MakeDestinationFolder(installed, FolderRights::Installation));
  for (const std::string& level : {root_ / "Apps", installed}) {
    EXPECT_FALSE(everyoneIn(level)) << level;
    EXPECT_FALSE(OthersCanWrite(level)) << level;
  }
  EXPECT_TRUE(everyoneIn(root_.Path())) << "a folder that exists keeps its rights";

  ASSERT_TRUE(WriteFileBytes(installed + "\\OrvPix6.exe", "old"));
  ASSERT_TRUE(WriteFileBytes(installed + "\\made there.txt", "x"));
  {
    FilePlacer placer(Targets::MostlyThere, nullptr, {FolderRights::Installation, StagingRights::Administrators});
    ASSERT_EQ(placer.Place("OrvPix6.exe", from_, installed), Placement::Placed);
    EXPECT_FALSE(everyoneIn(installed + "\\" + names::kStagingFolder));
  }
  EXPECT_EQ(ReadFileBytes(installed + "\\OrvPix6.exe"), "new");
  EXPECT_EQ(AccessListOf(installed + "\\OrvPix6.exe").entries, AccessListOf(installed + "\\made there.txt").entries);
}

// Targets in use. The operations queued for the restart are read back from
// the system's list, then carried out by a restart of the prefix.
class FileReplaceInUse : public FileReplace {
 protected:
  std::string Queued(const std::string& path) const { return SystemListPath(path); }
};

TEST_F(FileReplaceInUse, RunningTargetIsMovedToOld) {
  const std::string target = To("OrvPix6.exe");
  RunningCopy running(target);
  ASSERT_TRUE(running.Running());
  ASSERT_FALSE(DeleteFileA(target.c_str())) << "a running program's file must be in use";

  EXPECT_TRUE(CopyFileReplacing("OrvPix6.exe", from_, to_));
  EXPECT_EQ(ReadFileBytes(target), "new");
  EXPECT_TRUE(PathExists(target + ".old"));
  EXPECT_EQ(PendingOperations(), (std::vector<PendingOperation>{{Queued(target + ".old"), ""}}));

  running.End();
  ASSERT_TRUE(RestartPrefix());
  EXPECT_EQ(ReadFileBytes(target), "new");
  EXPECT_EQ(TreeOf(to_), (std::vector<std::string>{"OrvPix6.exe"}));
  EXPECT_TRUE(PendingOperations().empty());
}

TEST_F(FileReplaceInUse, OldNameInUseTooGivesOld2) {
  const std::string target = To("OrvPix6.exe");
  RunningCopy running(target);
  ASSERT_TRUE(running.Running());
  ASSERT_TRUE(WriteFileBytes(target + ".old", "left by an earlier update"));
  ASSERT_TRUE(WriteFileBytes(target + ".old2", "stale"));  // deletable: deleted first
  UniqueHandle heldOld = HoldOpen(target + ".old", FILE_SHARE_READ);

  EXPECT_TRUE(CopyFileReplacing("OrvPix6.exe", from_, to_));
  EXPECT_EQ(ReadFileBytes(target), "new");
  EXPECT_NE(ReadFileBytes(target + ".old2"), "stale") << "the running program's file is target.old2";
  EXPECT_EQ(PendingOperations(),
            (std::vector<PendingOperation>{{Queued(target + ".old"), ""}, {Queued(target + ".old2"), ""}}));

  heldOld.reset();
  running.End();
  ASSERT_TRUE(RestartPrefix());
  EXPECT_EQ(TreeOf(to_), (std::vector<std::string>{"OrvPix6.exe"}));
  EXPECT_EQ(ReadFileBytes(target), "new");
}

TEST_F(FileReplaceInUse, TargetThatCannotEvenBeMovedWaitsAsNew) {
  const std::string target = To("OrvPix6.exe");
  ASSERT_TRUE(WriteFileBytes(target, "old"));
  ASSERT_TRUE(WriteFileBytes(target + ".new", "stale"));
  // Open without FILE_SHARE_DELETE: neither deleted nor renamed.
  UniqueHandle held = HoldOpen(target, FILE_SHARE_READ);

  EXPECT_FALSE(CopyFileReplacing("OrvPix6.exe", from_, to_));
  EXPECT_EQ(ReadFileBytes(target + ".new"), "new");
  EXPECT_FALSE(PathExists(target + ".old"));
  EXPECT_EQ(PendingOperations(),
            (std::vector<PendingOperation>{{Queued(target), ""}, {Queued(target + ".new"), Queued(target)}}));

  held.reset();
  EXPECT_EQ(ReadFileBytes(target), "old") << "replaced at the restart, not before";
  ASSERT_TRUE(RestartPrefix());
  EXPECT_EQ(ReadFileBytes(target), "new");
  EXPECT_EQ(TreeOf(to_), (std::vector<std::string>{"OrvPix6.exe"}));
  EXPECT_TRUE(PendingOperations().empty());
}

TEST_F(FileReplaceInUse, NoReplacementMeansNoQueuedDeletion) {
  // Neither the target nor target.new can be written: queuing the target's
  // deletion alone would lose the installed file at the restart.
  const std::string target = To("OrvPix6.exe");
  ASSERT_TRUE(WriteFileBytes(target, "old"));
  ASSERT_TRUE(WriteFileBytes(target + ".new", "held"));
  UniqueHandle held = HoldOpen(target, FILE_SHARE_READ);
  UniqueHandle heldNew = HoldOpen(target + ".new", 0);

  EXPECT_FALSE(CopyFileReplacing("OrvPix6.exe", from_, to_));
  EXPECT_TRUE(PendingOperations().empty());

  held.reset();
  heldNew.reset();
  ASSERT_TRUE(RestartPrefix());
  EXPECT_EQ(ReadFileBytes(target), "old");
}

}  // namespace
