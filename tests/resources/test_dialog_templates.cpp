// The wizard's dialog templates 103 to 108 as compiled into the executable,
// decoded from their bytes and compared with the tables of the frame and its
// pages: every control's id, class, kind, start-up visibility, place, size and
// text, in tab order.
#include <windows.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "vendor_config.h"

namespace {

using orv_test::ClassName;
using orv_test::ClassOf;
using orv_test::ControlClass;
using orv_test::DialogItem;
using orv_test::DialogTemplate;
using orv_test::NameOrOrdinal;
using orv_test::ToCp1252;

constexpr DWORD kButtonTypeMask = 0x000F;  // BS_TYPEMASK
constexpr DWORD kStaticTypeMask = 0x001F;  // SS_TYPEMASK

// What a control is; TraitsOf says what that takes.
enum class Kind { PushButton, DefaultButton, AutoRadio, AutoCheck, GroupBox, Text, CentredText, Picture, EtchedLine, Edit };

struct KindTraits {
  const char* name;
  ControlClass cls;
  DWORD typeMask;  // 0: no type field for this class
  DWORD type;
  DWORD implied;  // style bits every control of this kind carries
};

KindTraits TraitsOf(Kind kind) {
  switch (kind) {
    case Kind::PushButton: return {"push button", ControlClass::Button, kButtonTypeMask, BS_PUSHBUTTON, WS_TABSTOP};
    case Kind::DefaultButton: return {"default push button", ControlClass::Button, kButtonTypeMask, BS_DEFPUSHBUTTON, WS_TABSTOP};
    case Kind::AutoRadio: return {"automatic radio button", ControlClass::Button, kButtonTypeMask, BS_AUTORADIOBUTTON, 0};
    case Kind::AutoCheck: return {"automatic check box", ControlClass::Button, kButtonTypeMask, BS_AUTOCHECKBOX, WS_TABSTOP};
    case Kind::GroupBox: return {"group box", ControlClass::Button, kButtonTypeMask, BS_GROUPBOX, 0};
    case Kind::Text: return {"static text", ControlClass::Static, kStaticTypeMask, SS_LEFT, 0};
    case Kind::CentredText: return {"centred static text", ControlClass::Static, kStaticTypeMask, SS_CENTER, 0};
    case Kind::Picture: return {"bitmap static", ControlClass::Static, kStaticTypeMask, SS_BITMAP, 0};
    case Kind::EtchedLine: return {"etched line", ControlClass::Static, kStaticTypeMask, SS_ETCHEDHORZ, 0};
    case Kind::Edit: return {"edit", ControlClass::Edit, 0, 0, WS_BORDER | WS_TABSTOP};
  }
  return {"?", ControlClass::Other, 0, 0, 0};
}

struct ControlSpec {
  int id;
  Kind kind;
  short x, y, cx, cy;
  bool visible;     // at start
  DWORD required;   // style bits beyond those the kind implies
  DWORD forbidden;  // style bits that would change the control's behaviour
  const char* text;  // CP1252; nullptr: a text checked by a test of its own
};

struct DialogSpec {
  int id;
  const char* name;
  short cx, cy;
  bool frame;  // the captioned modal frame; otherwise a page (child dialog)
  const char* title;
  std::vector<ControlSpec> controls;
};

// Names the case in test output instead of dumping the object's bytes.
void PrintTo(const DialogSpec& spec, std::ostream* out) { *out << spec.name << " " << spec.id; }

constexpr bool kShown = true;
constexpr bool kHidden = false;

const std::vector<DialogSpec>& DialogSpecs() {
  static const std::vector<DialogSpec> specs = {
      {IDD_SETUP, "Frame", 318, 204, true, "Orvelle - Installation", {
          {IDC_BACK, Kind::PushButton, 147, 184, 50, 14, kShown, 0, 0, "< &Pr\xe9" "c\xe9" "dent"},
          {IDOK, Kind::DefaultButton, 202, 184, 50, 14, kShown, 0, 0, "&Suivant >"},
          {IDCANCEL, Kind::PushButton, 257, 184, 50, 14, kShown, 0, 0, "Annuler"},
          // SS_REALSIZECONTROL would stretch the bitmap to the template's size
          // instead of sizing the control to the bitmap.
          {IDC_PICTURE, Kind::Picture, 11, 8, 81, 161, kHidden, SS_SUNKEN,
           SS_REALSIZECONTROL | SS_CENTERIMAGE, nullptr},
          {IDC_STATIC, Kind::EtchedLine, 11, 176, 296, 1, kShown, 0, 0, ""},
      }},
      {IDD_AGREEMENT, "AgreementPage", 313, 174, false, "", {
          {IDC_AGREEMENT_TEXT, Kind::Edit, 0, 0, 313, 155, kShown,
           ES_MULTILINE | ES_READONLY | WS_VSCROLL, ES_AUTOHSCROLL | WS_HSCROLL, ""},
          {IDC_STATIC, Kind::Text, 2, 160, 306, 10, kShown, 0, 0, "Acceptez-vous cet accord ?"},
      }},
      {IDD_WELCOME, "WelcomePage", 217, 161, false, "", {
          {IDC_STATIC, Kind::Text, 5, 0, 207, 28, kShown, 0, 0,
           "Bienvenue dans le programme d'installation d'Orvelle 6 !\n"
           "Il va installer Orvelle sur votre ordinateur."},
          {IDC_STATIC, Kind::Text, 5, 32, 207, 18, kShown, 0, 0,
           "Veuillez cliquer sur le bouton \"Suivant >\" pour continuer l'installation ou sur "
           "\"Annuler\" pour l'interrompre."},
          {IDC_VERSION_LINE, Kind::Text, 18, 72, 191, 25, kShown, 0, 0, nullptr},
          {IDC_STATIC, Kind::Text, 18, 100, 191, 10, kShown, 0, 0, ORVELLE_WEB_ADDRESS},
      }},
      {IDD_FOLDER, "FolderPage", 217, 163, false, "", {
          {IDC_STATIC, Kind::Text, 5, 0, 207, 10, kShown, 0, 0,
           "Veuillez s\xe9lectionner le type d'installation d'Orvelle 6 :"},
          {IDC_FOR_CURRENT_USER, Kind::AutoRadio, 8, 12, 205, 9, kShown, WS_GROUP | WS_TABSTOP, 0,
           "Installer pour l'utilisateur actuel uniquement"},
          {IDC_FOR_ALL_USERS, Kind::AutoRadio, 8, 23, 205, 29, kShown, BS_MULTILINE | BS_TOP,
           WS_GROUP,
           "Installer pour tous les utilisateurs de cet ordinateur\n(vous devez disposer des "
           "droits d'administration pour r\xe9" "aliser ce type d'installation)"},
          // WS_GROUP here closes the group of the two radio buttons.
          {IDC_STATIC, Kind::Text, 5, 71, 207, 10, kShown, WS_GROUP, 0,
           "Le programme va installer Orvelle dans le dossier suivant."},
          {IDC_FOLDER_NOTE, Kind::Text, 5, 83, 205, 27, kShown, 0, 0,
           "Pour choisir un autre dossier, cliquez sur Parcourir et s\xe9lectionnez un autre "
           "dossier."},
          {IDC_STATIC, Kind::GroupBox, 5, 111, 207, 51, kShown, 0, 0, "Dossier de destination"},
          // A path is shown as it is: an "&" in a folder name is no mnemonic.
          {IDC_FOLDER_SHOWN, Kind::Text, 11, 122, 197, 17, kShown, SS_NOPREFIX, 0, nullptr},
          {IDC_BROWSE, Kind::PushButton, 134, 141, 71, 16, kShown, 0, 0, "Par&courir..."},
      }},
      {IDD_GROUP, "GroupPage", 217, 163, false, "", {
          {IDC_STATIC, Kind::Text, 5, 28, 207, 17, kShown, 0, 0,
           "Entrez le nom du groupe dans lequel les ic\xf4nes d'Orvelle doivent \xeatre ajout\xe9"
           "es :"},
          {IDC_AUTOSTART, Kind::AutoCheck, 5, 88, 207, 10, kShown, 0, 0,
           "Lancer automatiquement Orvelle au d\xe9marrage de Windows"},
          {IDC_DESKTOP_ICON, Kind::AutoCheck, 5, 99, 207, 10, kShown, 0, 0,
           "Ajouter l'ic\xf4ne d'Orvelle sur le bureau"},
          {IDC_GROUP_NAME, Kind::Edit, 3, 48, 211, 12, kShown, ES_AUTOHSCROLL,
           ES_MULTILINE | ES_READONLY | ES_NUMBER | ES_PASSWORD, ""},
      }},
      {IDD_READY, "ReadyPage", 217, 163, false, "", {
          {IDC_READY_TEXT, Kind::Text, 5, 0, 207, 16, kShown, 0, 0,
           "Vous \xeates maintenant pr\xeat \xe0 installer Orvelle 6."},
          {IDC_READY_HINT, Kind::Text, 5, 19, 207, 28, kShown, 0, 0,
           "Pressez sur le bouton Suivant pour commerncer l'installation ou sur le bouton "
           "Pr\xe9" "c\xe9" "dent pour modifier vos choix."},
          {IDC_INSTALLING, Kind::CentredText, 5, 80, 207, 20, kHidden, 0, 0,
           "Orvelle 6 est en cours d'installation, veuillez patienter..."},
          {IDC_RUN_AFTER, Kind::AutoCheck, 5, 66, 206, 11, kHidden, 0, 0, "Lancer Orvelle 6"},
      }},
  };
  return specs;
}

DialogTemplate LoadOrFail(int id) {
  DialogTemplate dialog;
  std::string error;
  EXPECT_TRUE(orv_test::LoadDialogTemplate(GetModuleHandleA(nullptr), id, &dialog, &error))
      << error;
  return dialog;
}

const DialogItem* FindItem(const DialogTemplate& dialog, int id) {
  for (const DialogItem& item : dialog.items) {
    if (item.id == id) return &item;
  }
  return nullptr;
}

void ExpectText(const NameOrOrdinal& text, const char* expected) {
  ASSERT_NE(text.kind, NameOrOrdinal::Kind::Ordinal) << "text is an ordinal";
  bool lossless = false;
  std::string actual = ToCp1252(text.name, &lossless);
  EXPECT_TRUE(lossless || text.name.empty()) << "text has characters outside code page 1252";
  EXPECT_EQ(actual, std::string(expected));
}

void ExpectControl(const DialogItem& item, const ControlSpec& spec) {
  const KindTraits traits = TraitsOf(spec.kind);
  SCOPED_TRACE(std::string("a ") + traits.name);
  EXPECT_EQ(item.id, spec.id);
  EXPECT_EQ(ClassOf(item.windowClass), traits.cls)
      << "class " << ClassName(ClassOf(item.windowClass));
  if (traits.typeMask != 0) {
    EXPECT_EQ(item.style & traits.typeMask, traits.type) << std::hex << "style 0x" << item.style;
  }
  const DWORD required = WS_CHILD | traits.implied | spec.required;
  EXPECT_EQ(item.style & required, required) << std::hex << "style 0x" << item.style;
  EXPECT_EQ(item.style & spec.forbidden, 0u) << std::hex << "style 0x" << item.style;
  EXPECT_EQ(item.style & WS_DISABLED, 0u) << "disabled at start";
  EXPECT_EQ((item.style & WS_VISIBLE) != 0, spec.visible) << "visibility at start";
  EXPECT_EQ(item.x, spec.x);
  EXPECT_EQ(item.y, spec.y);
  EXPECT_EQ(item.cx, spec.cx);
  EXPECT_EQ(item.cy, spec.cy);
  if (spec.kind == Kind::Picture) {
    // The static loads bitmap 101 by number.
    EXPECT_EQ(item.text.kind, NameOrOrdinal::Kind::Ordinal);
    EXPECT_EQ(item.text.ordinal, IDB_WIZARD);
  } else if (spec.text != nullptr) {
    ExpectText(item.text, spec.text);
  }
}

class DialogTemplateTest : public testing::TestWithParam<DialogSpec> {};

TEST_P(DialogTemplateTest, MatchesItsTableInTabOrder) {
  const DialogSpec& spec = GetParam();
  DialogTemplate dialog = LoadOrFail(spec.id);
  if (HasFailure()) return;

  EXPECT_EQ(dialog.cx, spec.cx);
  EXPECT_EQ(dialog.cy, spec.cy);
  EXPECT_TRUE(dialog.hasFont);
  EXPECT_EQ(dialog.pointSize, 8);
  EXPECT_EQ(ToCp1252(dialog.typeface), "MS Sans Serif");
  EXPECT_EQ(ToCp1252(dialog.title), spec.title);
  EXPECT_EQ(dialog.menu.kind, NameOrOrdinal::Kind::None);
  EXPECT_EQ(dialog.windowClass.kind, NameOrOrdinal::Kind::None);
  if (spec.frame) {
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(dialog.style & frame, frame) << std::hex << "style 0x" << dialog.style;
    EXPECT_EQ(dialog.style & WS_CHILD, 0u);
  } else {
    // Pages are created hidden inside the frame and have no title bar.
    EXPECT_EQ(dialog.style & (WS_CHILD | WS_POPUP), static_cast<DWORD>(WS_CHILD))
        << std::hex << "style 0x" << dialog.style;
    EXPECT_EQ(dialog.style & (WS_CAPTION | WS_SYSMENU | WS_VISIBLE), 0u)
        << std::hex << "style 0x" << dialog.style;
  }

  ASSERT_EQ(dialog.items.size(), spec.controls.size());
  for (size_t i = 0; i < spec.controls.size(); ++i) {
    SCOPED_TRACE("control #" + std::to_string(i) + " (id " +
                 std::to_string(spec.controls[i].id) + ")");
    ExpectControl(dialog.items[i], spec.controls[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(Wizard, DialogTemplateTest, testing::ValuesIn(DialogSpecs()),
                         [](const testing::TestParamInfo<DialogSpec>& info) {
                           return std::string(info.param.name) + std::to_string(info.param.id);
                         });

TEST(DialogTemplates, OnlyTheFrameHasADefaultButton) {
  // Enter must reach the frame's Next on every page: a default push button in
  // a page would take it.
  for (const DialogSpec& spec : DialogSpecs()) {
    SCOPED_TRACE(spec.name);
    DialogTemplate dialog = LoadOrFail(spec.id);
    int defaults = 0;
    for (const DialogItem& item : dialog.items) {
      if (ClassOf(item.windowClass) == ControlClass::Button &&
          (item.style & kButtonTypeMask) == BS_DEFPUSHBUTTON) {
        ++defaults;
        EXPECT_EQ(item.id, IDOK);
      }
    }
    EXPECT_EQ(defaults, spec.frame ? 1 : 0);
  }
}

TEST(DialogTemplates, ControlIdsAreUniqueWithinEachTemplate) {
  for (const DialogSpec& spec : DialogSpecs()) {
    SCOPED_TRACE(spec.name);
    std::map<int, int> seen;
    for (const DialogItem& item : LoadOrFail(spec.id).items) {
      if (item.id != IDC_STATIC) EXPECT_EQ(++seen[item.id], 1) << "id " << item.id;
    }
  }
}

TEST(DialogTemplates, WelcomeVersionLineIsTheFormatThePageFills) {
  DialogTemplate dialog = LoadOrFail(IDD_WELCOME);
  const DialogItem* item = FindItem(dialog, IDC_VERSION_LINE);
  ASSERT_NE(item, nullptr);
  bool lossless = false;
  std::string format = ToCp1252(item->text.name, &lossless);
  EXPECT_TRUE(lossless);

  const std::string firstLine = "Orvelle ver. %d.%02d.%02d %s\n";
  ASSERT_EQ(format.compare(0, firstLine.size(), firstLine), 0) << format;
  // The page hands the format exactly three numbers and a text: a further
  // conversion in the notice would read past the arguments.
  std::string notice = format.substr(firstLine.size());
  EXPECT_EQ(notice.find('%'), std::string::npos) << notice;
  EXPECT_NE(notice.find("Tamberlin"), std::string::npos) << notice;
  EXPECT_NE(notice.back(), '\n');

  char shown[1024];
  wsprintfA(shown, format.c_str(), 6, 61, 2, "");
  EXPECT_EQ(std::string(shown), "Orvelle ver. 6.61.02 \n" + notice);
  wsprintfA(shown, format.c_str(), 6, 70, 1, "Beta 3");
  EXPECT_EQ(std::string(shown), "Orvelle ver. 6.70.01 Beta 3\n" + notice);
}

}  // namespace
