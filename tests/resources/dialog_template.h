// A reader for the dialog templates of the program's own executable: the
// DLGTEMPLATEEX and DLGTEMPLATE layouts decoded byte by byte, so that tests can
// check what the resource compiler produced without creating any window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orv_test {

// A "sz_Or_Ord" field: absent, an ordinal, or a name.
struct NameOrOrdinal {
  enum class Kind { None, Ordinal, Name } kind = Kind::None;
  WORD ordinal = 0;
  std::wstring name;
};

struct DialogItem {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;  // sign-extended: -1 for controls without an id
  NameOrOrdinal windowClass;
  NameOrOrdinal text;
  std::vector<BYTE> creationData;
};

struct DialogTemplate {
  bool extended = false;
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::wstring title;
  bool hasFont = false;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::wstring typeface;
  std::vector<DialogItem> items;
};

// Decodes a template. Returns false, with a reason in *error, when the bytes
// end early or a count does not match.
bool ParseDialogTemplate(const BYTE* data, size_t size, DialogTemplate* out, std::string* error);

// Finds dialog `id` in the module and decodes it.
bool LoadDialogTemplate(HMODULE module, int id, DialogTemplate* out, std::string* error);

// The predefined control classes by their atoms 0x0080 to 0x0085, or by name.
enum class ControlClass { Button, Edit, Static, ListBox, ScrollBar, ComboBox, Other };
ControlClass ClassOf(const NameOrOrdinal& windowClass);
const char* ClassName(ControlClass cls);

// UTF-16 to code page 1252; *lossless is false when a character has no 1252 form.
std::string ToCp1252(const std::wstring& text, bool* lossless = nullptr);

}  // namespace orv_test
