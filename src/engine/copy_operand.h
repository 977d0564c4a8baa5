// The operand of an install script's copy line ("File Copy: ", "File Copy
// x64: ", "File Copy ind: "), taken whole: " | " is part of it. Portable:
// pure functions over texts.
#pragma once
#include <string>

// A copy operand split into its forms: a pattern (no ">"), or a renaming pair
// "name > new name", split at the first ">" (double-byte aware), the name
// without its trailing white space and the new name without its leading
// white space.
struct CopyOperand {
  bool renamed = false;  // the renaming pair form
  std::string name;      // the pattern, or the pair's source name
  std::string newName;   // the pair's target name; empty for a pattern
};
CopyOperand SplitCopyOperand(const std::string& operand);

// The library a "File Copy ind: " line probes: the operand up to its first
// ">" (the whole of it when there is none), trailing white space removed.
std::string ProbedLibraryName(const std::string& operand);
