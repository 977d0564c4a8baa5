#include "engine/copy_operand.h"

#include "common/text.h"

CopyOperand SplitCopyOperand(const std::string& operand) {
  CopyOperand split;
  const std::size_t arrow = FindFirstChar(operand, '>');
  if (arrow == std::string::npos) {
    split.name = operand;  // a pattern is used verbatim
    return split;
  }
  split.renamed = true;
  split.name = operand.substr(0, arrow);
  split.newName = operand.substr(arrow + 1);
  TrimBlanks(split.name, TrimEnd::End);
  TrimBlanks(split.newName, TrimEnd::Start);
  return split;
}

std::string ProbedLibraryName(const std::string& operand) {
  std::string library = operand.substr(0, FindFirstChar(operand, '>'));
  TrimBlanks(library, TrimEnd::End);
  return library;
}
