#include "dialog_template.h"

#include <cstring>

namespace orv_test {
namespace {

class Reader {
 public:
  Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}

  bool ok() const { return ok_; }
  size_t offset() const { return offset_; }

  template <typename T>
  T Read() {
    T value{};
    if (!Need(sizeof(T))) return value;
    std::memcpy(&value, data_ + offset_, sizeof(T));
    offset_ += sizeof(T);
    return value;
  }

  void Skip(size_t count) {
    if (Need(count)) offset_ += count;
  }

  // Items start on a DWORD boundary of the template.
  void AlignToDword() { Skip((4 - offset_ % 4) % 4); }

  std::wstring ReadString() {
    std::wstring text;
    for (;;) {
      WORD unit = Read<WORD>();
      if (!ok_ || unit == 0) return text;
      text.push_back(static_cast<wchar_t>(unit));
    }
  }

  NameOrOrdinal ReadNameOrOrdinal() {
    NameOrOrdinal field;
    WORD first = Read<WORD>();
    if (!ok_ || first == 0x0000) return field;
    if (first == 0xFFFF) {
      field.kind = NameOrOrdinal::Kind::Ordinal;
      field.ordinal = Read<WORD>();
      return field;
    }
    field.kind = NameOrOrdinal::Kind::Name;
    field.name.push_back(static_cast<wchar_t>(first));
    field.name += ReadString();
    return field;
  }

 private:
  bool Need(size_t count) {
    if (!ok_ || size_ - offset_ < count) {
      ok_ = false;
      return false;
    }
    return true;
  }

  const BYTE* data_;
  size_t size_;
  size_t offset_ = 0;
  bool ok_ = true;
};

}  // namespace

bool ParseDialogTemplate(const BYTE* data, size_t size, DialogTemplate* out, std::string* error) {
  *out = DialogTemplate();
  Reader in(data, size);
  WORD count = 0;
  if (size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF) {
    out->extended = true;
    in.Skip(4);  // dlgVer 1, signature 0xFFFF
    out->helpId = in.Read<DWORD>();
    out->exStyle = in.Read<DWORD>();
    out->style = in.Read<DWORD>();
  } else {
    out->style = in.Read<DWORD>();
    out->exStyle = in.Read<DWORD>();
  }
  count = in.Read<WORD>();
  out->x = in.Read<short>();
  out->y = in.Read<short>();
  out->cx = in.Read<short>();
  out->cy = in.Read<short>();
  out->menu = in.ReadNameOrOrdinal();
  out->windowClass = in.ReadNameOrOrdinal();
  out->title = in.ReadString();
  if (out->style & (DS_SETFONT | DS_SHELLFONT)) {
    out->hasFont = true;
    out->pointSize = in.Read<WORD>();
    if (out->extended) {
      out->weight = in.Read<WORD>();
      out->italic = in.Read<BYTE>();
      out->charset = in.Read<BYTE>();
    }
    out->typeface = in.ReadString();
  }
  if (!in.ok()) {
    *error = "the dialog header runs past the end of the resource";
    return false;
  }

  for (WORD i = 0; i < count; ++i) {
    DialogItem item;
    in.AlignToDword();
    if (out->extended) {
      item.helpId = in.Read<DWORD>();
      item.exStyle = in.Read<DWORD>();
      item.style = in.Read<DWORD>();
    } else {
      item.style = in.Read<DWORD>();
      item.exStyle = in.Read<DWORD>();
    }
    item.x = in.Read<short>();
    item.y = in.Read<short>();
    item.cx = in.Read<short>();
    item.cy = in.Read<short>();
    if (out->extended) {
      item.id = static_cast<int>(in.Read<DWORD>());
    } else {
      item.id = in.Read<short>();
    }
    item.windowClass = in.ReadNameOrOrdinal();
    item.text = in.ReadNameOrOrdinal();
    WORD extra = in.Read<WORD>();  // bytes of creation data that follow
    for (WORD b = 0; b < extra && in.ok(); ++b) item.creationData.push_back(in.Read<BYTE>());
    if (!in.ok()) {
      *error = "control " + std::to_string(i) + " runs past the end of the resource";
      return false;
    }
    out->items.push_back(item);
  }
  return true;
}

bool LoadDialogTemplate(HMODULE module, int id, DialogTemplate* out, std::string* error) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
  if (found == nullptr) {
    *error = "no dialog resource " + std::to_string(id);
    return false;
  }
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  DWORD size = SizeofResource(module, found);
  if (data == nullptr || size == 0) {
    *error = "dialog resource " + std::to_string(id) + " cannot be loaded";
    return false;
  }
  return ParseDialogTemplate(static_cast<const BYTE*>(data), size, out, error);
}

ControlClass ClassOf(const NameOrOrdinal& windowClass) {
  if (windowClass.kind == NameOrOrdinal::Kind::Ordinal) {
    switch (windowClass.ordinal) {
      case 0x0080: return ControlClass::Button;
      case 0x0081: return ControlClass::Edit;
      case 0x0082: return ControlClass::Static;
      case 0x0083: return ControlClass::ListBox;
      case 0x0084: return ControlClass::ScrollBar;
      case 0x0085: return ControlClass::ComboBox;
      default: return ControlClass::Other;
    }
  }
  if (windowClass.kind == NameOrOrdinal::Kind::Name) {
    const std::wstring& name = windowClass.name;
    if (lstrcmpiW(name.c_str(), L"Button") == 0) return ControlClass::Button;
    if (lstrcmpiW(name.c_str(), L"Edit") == 0) return ControlClass::Edit;
    if (lstrcmpiW(name.c_str(), L"Static") == 0) return ControlClass::Static;
    if (lstrcmpiW(name.c_str(), L"ListBox") == 0) return ControlClass::ListBox;
    if (lstrcmpiW(name.c_str(), L"ScrollBar") == 0) return ControlClass::ScrollBar;
    if (lstrcmpiW(name.c_str(), L"ComboBox") == 0) return ControlClass::ComboBox;
  }
  return ControlClass::Other;
}

const char* ClassName(ControlClass cls) {
  switch (cls) {
    case ControlClass::Button: return "Button";
    case ControlClass::Edit: return "Edit";
    case ControlClass::Static: return "Static";
    case ControlClass::ListBox: return "ListBox";
    case ControlClass::ScrollBar: return "ScrollBar";
    case ControlClass::ComboBox: return "ComboBox";
    case ControlClass::Other: break;
  }
  return "other";
}

std::string ToCp1252(const std::wstring& text, bool* lossless) {
  if (lossless) *lossless = true;
  if (text.empty()) return std::string();
  BOOL usedDefault = FALSE;
  int length = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(),
                                   static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   &usedDefault);
  std::string out(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) {
    WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                        &out[0], length, nullptr, &usedDefault);
  }
  if (lossless) *lossless = length > 0 && !usedDefault;
  return out;
}

}  // namespace orv_test
