; SPDX-License-Identifier: MIT
; The setup program of ZR Dorvel: a per-user install without administrator rights into
; %LOCALAPPDATA%\Programs\ZRDorvel, a Start-menu entry and an uninstaller. /S installs
; silently. A copy that is running there is asked to close first (the program closes on
; the end-of-session messages as it does at logoff), one that has just ended is waited
; for, and the new program is started when the files are in place.
; makensis -DSOURCE=<program folder> -DVERSION=<a.b.c.d> -DOUTFILE=<setup program>
;          -DICON=<zrdorvel.ico> this file

; A 64-bit setup program, like the program it installs.
Target amd64-unicode
; -DCOMPRESSOR=zlib makes a quicker, larger setup program (for tests).
!ifdef COMPRESSOR
SetCompressor ${COMPRESSOR}
!else
SetCompressor /SOLID lzma
!endif
RequestExecutionLevel user

!include "LogicLib.nsh"
!include "WinMessages.nsh"

Name "ZR Dorvel"
Caption "ZR Dorvel ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\ZRDorvel"
InstallDirRegKey HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZRDorvel" "InstallLocation"
Icon "${ICON}"
UninstallIcon "${ICON}"
ShowInstDetails show
; Done is done: the window closes once the new program has started.
AutoCloseWindow true

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "ZR Dorvel"
VIAddVersionKey /LANG=1033 "FileDescription" "ZR Dorvel Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "ZR Software"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2003-2026 ZR Software"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZRDorvel"
!define PROGRAM "ZRDorvel.exe"

; Ends a running copy and waits until its program file can be replaced: first up to
; five seconds for one that is ending by itself (an update starts this setup program and
; then shuts down), then the end-of-session messages to its window, which run its
; ordinary close, and at last, after ten more seconds, the system's forced end.
!macro EndRunningCopy un
Function ${un}EndRunningCopy
  Push $0
  Push $1
  StrCpy $1 0
  ${Do}
    ${IfNot} ${FileExists} "$INSTDIR\${PROGRAM}"
      ${Break}
    ${EndIf}
    ClearErrors
    FileOpen $0 "$INSTDIR\${PROGRAM}" a
    ${IfNot} ${Errors}
      FileClose $0
      ${Break}
    ${EndIf}
    ${If} $1 = 10
      FindWindow $0 "" "ZR Dorvel"
      ${If} $0 <> 0
        DetailPrint "Closing the running ZR Dorvel"
        SendMessage $0 ${WM_QUERYENDSESSION} 0 0 /TIMEOUT=5000
        SendMessage $0 ${WM_ENDSESSION} 1 0 /TIMEOUT=5000
      ${EndIf}
    ${ElseIf} $1 = 30
      DetailPrint "Ending the running ZR Dorvel"
      nsExec::Exec 'taskkill /F /IM ${PROGRAM}'
      Pop $0
    ${ElseIf} $1 > 50
      ${Break}
    ${EndIf}
    Sleep 500
    IntOp $1 $1 + 1
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro EndRunningCopy ""
!insertmacro EndRunningCopy "un."

Section "ZR Dorvel"
  SetOutPath "$INSTDIR"
  Call EndRunningCopy
  SetOverwrite on
  File /r "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\ZR Dorvel.lnk" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "ZR Dorvel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "ZR Software"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; The new version takes over at once, as the update expects.
  Exec '"$INSTDIR\${PROGRAM}"'
SectionEnd

Section "Uninstall"
  Call un.EndRunningCopy
  Delete "$SMPROGRAMS\ZR Dorvel.lnk"
  DeleteRegValue HKCU "Software\Microsoft\Windows\CurrentVersion\Run" "ZRDorvelStartUp"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The program's files go; the user's reminders and settings beside them stay.
  Delete "$INSTDIR\${PROGRAM}"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\ZRDorvelHelp.html"
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\tls"
  RMDir /r "$INSTDIR\imageformats"
  RMDir /r "$INSTDIR\Updates"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
