; The peer the installer is measured against: an NSIS installer for the same job. It reads
; the compiler's folder from the same registry value, shows a directory page, and writes the
; same two files under the chosen folder. Compression is off, so that both installers carry
; the payloads as they are and what is left is each one's own code and data.
; makensis -DTARGET=x86-unicode|amd64-unicode -DLIBRARY=... -DHELP=... -DCAPTION=... -DOUTFILE=...
Target ${TARGET}
Unicode true
SetCompress off
Name "Tarvo lib"
Caption "${CAPTION}"
OutFile "${OUTFILE}"
RequestExecutionLevel highest
InstallDirRegKey HKLM "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Purebasic_is1" "Inno Setup: App Path"
DirText "Purebasic se trouve bien ici ?"

Page directory
Page instfiles

Section
  SetOutPath "$INSTDIR\PureLibraries\UserLibraries"
  File "/oname=Lib_tarvo4" "${LIBRARY}"
  SetOutPath "$INSTDIR\Help"
  File "/oname=tarvo_lib.chm" "${HELP}"
SectionEnd
