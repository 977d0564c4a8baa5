; The peer installer: the same package installed the plainest NSIS way, by
; copying the folder it runs from, and removed by a per-file uninstaller.
; makensis -DPACKAGE=<package folder> -DOUTFILE=<installer> peer.nsi
Unicode false
Name "Orvelle 6 (peer)"
OutFile "${OUTFILE}"
InstallDir "C:\peer\orvelle"
RequestExecutionLevel user
SilentInstall silent
SilentUnInstall silent
SetCompressor zlib

Section
  SetOutPath "$INSTDIR"
  CopyFiles /SILENT "$EXEDIR\*.*" "$INSTDIR"
  WriteUninstaller "$INSTDIR\peer-uninst.exe"
SectionEnd

Section Uninstall
  !include "${PACKAGE}\peer-files.nsh"
  Delete "$INSTDIR\peer-files.nsh"
  Delete "$INSTDIR\peer-uninst.exe"
  RMDir "$INSTDIR"
SectionEnd
