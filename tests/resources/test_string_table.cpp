// The French string table read back through LoadStringA under ANSI code page
// 1252: every entry byte for byte, and no entry beyond the numbered ones.
//
// The expected texts are written here as CP1252 bytes (é = \xe9, è = \xe8,
// ê = \xea, à = \xe0, ù = \xf9). Where a hex escape is followed by a letter a-f the
// literal is split, so that the escape ends where it should.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "vendor_config.h"

namespace {

struct ExpectedString { UINT id; const char* text; };

const std::vector<ExpectedString>& ExpectedStrings() {
  static const std::vector<ExpectedString> table = {
      {IDS_INSTANCE_RUNNING_ONE,
       "Une instance d'Orvelle est actuellement ouverte. Si vous cliquez sur le bouton \"Oui\", "
       "le programme d'installation va essayer de la fermer sans enregistrer votre travail. "
       "\n\nFaut-il poursuivre l'installation ?"},
      {IDS_WINDOW_TITLE, "Orvelle - Installation"},
      {IDS_SETUP_INTERRUPTED,
       "L'installation d'Orvelle a \xe9t\xe9 interrompue. Veuillez fermer manuellement les autres "
       "instances d'Orvelle, sans oublier d'enregistrer votre travail, puis relancez "
       "l'installation."},
      {IDS_INSTANCES_RUNNING_MANY,
       "%d instances d'Orvelle sont actuellement ouvertes. Si vous cliquez sur le bouton \"Oui\", "
       "le programme d'installation va essayer de les fermer sans enregistrer votre travail. "
       "\n\nFaut-il poursuivre l'installation ?"},
      {IDS_CONFIRM_UNINSTALL,
       "Cette op\xe9ration va compl\xe8tement d\xe9sinstaller Orvelle.\nVoulez-vous poursuivre ?"},
      {IDS_AGREEMENT_TITLE, "Veuillez accepter l'accord de licence"},
      {IDS_FINISH_CAPTION, "&Terminer >"},
      {IDS_INSTALL_SUCCEEDED, "Orvelle 6 a \xe9t\xe9 install\xe9 avec succ\xe8s."},
      {IDS_PRESS_FINISH, "Pressez sur le bouton Terminer pour quitter cette installation."},
      {IDS_CONFIRM_CANCEL, "Voulez-vous vraiment annuler l'installation d'Orvelle 6 ?"},
      {IDS_BROWSE_TITLE,
       "S\xe9lectionnez le dossier dans lequel Orvelle 6 doit \xeatre install\xe9."},
      {IDS_INVALID_FOLDER,
       "Vous avez indiqu\xe9 un nom de dossier invalide. Veuillez le corriger.\nSi vous voulez "
       "cr\xe9" "er un nouveau dossier, s\xe9lectionnez son parent dans la liste et cliquez sur le "
       "bouton \"Cr\xe9" "er un nouveau dossier\"."},
      {IDS_OLDER_GENERATION,
       "Orvelle 6 ne peut pas \xeatre install\xe9 dans le m\xeame dossier qu'une ancienne version "
       "4.xx ou 5.xx. Veuillez s\xe9lectionner un autre dossier."},
      {IDS_SHORTCUT_APP, "Orvelle 6"},
      {IDS_OLDER_PACKAGE,
       "Orvelle v. %d.%02d.%02d.%02d est d\xe9j\xe0 install\xe9 sur cet ordinateur. Vous essayez "
       "d'installer une version plus ancienne %d.%02d.%02d.%02d .\n\nVoulez-vous vraiment "
       "poursuivre ?"},
      {IDS_SAME_VERSION,
       "Orvelle ver. %d.%02d.%02d.%02d est d\xe9j\xe0 install\xe9 sur cet ordinateur.\n\nVoulez-vous "
       "relancer cette installation pour choisir d'autres options ou r\xe9parer les fichiers ?"},
      {IDS_DAMAGED_PACKAGE,
       "Ces fichiers d'installation sont endommag\xe9s, l'installation a \xe9t\xe9 interrompue."
       "\n\nVeuillez t\xe9l\xe9" "charger de nouveau le produit sur " ORVELLE_WEB_ADDRESS
       " et relancez l'installation."},
      {IDS_FOLDER_HOLDS_COPY,
       "Ce dossier contient d\xe9j\xe0 une copie pr\xe9" "c\xe9" "dente d'Orvelle 6. Pour mettre "
       "\xe0 jour ou r\xe9installer cette copie, veuillez ne pas changer le dossier de "
       "destination."},
      {IDS_UNINSTALLED, "Orvelle 6 a \xe9t\xe9 compl\xe8tement d\xe9sinstall\xe9 de cet ordinateur."},
      {IDS_YES_CAPTION, "Oui"},
      {IDS_NO_CAPTION, "Non"},
      {IDS_GROUP_TOO_SHORT,
       "Erreur: Veuillez entrer un nom de groupe valide, de 3 lettres minimum."},
      {IDS_GROUP_IS_STARTUP,
       "Erreur: Impossible de cr\xe9" "er les raccourcis dans ce groupe, veuillez choisir un autre "
       "nom. "},
      {IDS_RUN_IN_PROGRESS,
       "Une autre installation ou d\xe9sinstallation d'Orvelle 6 est en cours. Veuillez attendre "
       "qu'elle soit termin\xe9" "e, puis relancez ce programme."},
      {IDS_NOT_INSTALLED_FOLDER,
       "Ce programme de d\xe9sinstallation ne se trouve pas dans le dossier o\xf9 Orvelle 6 est "
       "install\xe9. Rien n'a \xe9t\xe9 d\xe9sinstall\xe9."},
      {IDS_INSTALL_INCOMPLETE, "Installation d'Orvelle 6 incompl\xe8te : %d fichier(s) non install\xe9(s), dont %s"},
      {IDS_UNINSTALLED_BUT,
       "Orvelle 6 a \xe9t\xe9 d\xe9sinstall\xe9, mais le dossier %s n'a pas pu \xeatre enti\xe8rement "
       "supprim\xe9 : les fichiers encore utilis\xe9s seront supprim\xe9s au prochain red\xe9marrage de "
       "l'ordinateur."},
      {IDS_UNINSTALLED_LEFT_BEHIND,
       "Orvelle 6 a \xe9t\xe9 d\xe9sinstall\xe9, mais certains fichiers n'ont pas pu \xeatre supprim\xe9s et ne "
       "le seront pas au prochain red\xe9marrage de l'ordinateur. Veuillez supprimer manuellement le dossier %s."},
      {IDS_SHORTCUT_HELP, "Orvelle 6 - Aide"},
      {IDS_SHORTCUT_README, "Informations sur Orvelle 6"},
      {IDS_SHORTCUT_UNINSTALL, "X  D\xe9sinstaller Orvelle 6"},
      {IDS_APP_TITLE, "Orvelle - Installation"},
  };
  return table;
}

// The entry as LoadStringA gives it, with its length as returned.
std::string LoadAnsi(UINT id) {
  char buffer[4096];
  int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

TEST(StringTable, RunsUnderAnsiCodePage1252) {
  // Every expectation of this file is written in code page 1252.
  ASSERT_EQ(AnsiCodePage(), 1252u);
}

TEST(StringTable, EveryEntryReadsBackByteForByte) {
  ASSERT_EQ(AnsiCodePage(), 1252u);
  for (const ExpectedString& entry : ExpectedStrings()) {
    SCOPED_TRACE("string " + std::to_string(entry.id));
    EXPECT_EQ(LoadAnsi(entry.id), std::string(entry.text));
  }
}

TEST(StringTable, AccentsArriveAsSingleAnsiBytes) {
  // A script read in the wrong code page would give two bytes per accent
  // ("Ã©" for "é"); the wide text must hold U+00E9 itself.
  wchar_t buffer[256];
  int length = LoadStringW(GetModuleHandleA(nullptr), IDS_SHORTCUT_UNINSTALL, buffer, 256);
  ASSERT_EQ(std::wstring(buffer, static_cast<size_t>(length)),
            std::wstring(L"X  D\u00e9sinstaller Orvelle 6"));
}

TEST(StringTable, DamagedPackageMessageNamesTheConfiguredAddress) {
  std::string address = ORVELLE_WEB_ADDRESS;
  ASSERT_FALSE(address.empty());
  ASSERT_EQ(address.find('@'), std::string::npos) << "build setting not substituted";
  std::string text = LoadAnsi(IDS_DAMAGED_PACKAGE);
  EXPECT_NE(text.find(" sur " + address + " et relancez"), std::string::npos) << text;
  EXPECT_EQ(text.find('@'), std::string::npos) << text;
}

TEST(StringTable, HoldsNoEntryBesideTheNumberedOnes) {
  std::set<UINT> expected;
  for (const ExpectedString& entry : ExpectedStrings()) expected.insert(entry.id);
  // The blocks of 16 that the table occupies, and their neighbours.
  std::vector<UINT> probes;
  for (UINT id = 0; id < 128; ++id) probes.push_back(id);
  for (UINT id = 57312; id < 57376; ++id) probes.push_back(id);
  for (UINT id : probes) {
    if (expected.count(id) != 0) continue;
    SCOPED_TRACE("string " + std::to_string(id));
    EXPECT_EQ(LoadAnsi(id), std::string());
  }
  EXPECT_EQ(LoadAnsi(5), std::string()) << "string 5 is not part of the table";
}

}  // namespace
