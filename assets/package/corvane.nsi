; Corvane's setup program, built by tools/package beside the zip:
;   makensis -DVERSION=<x.y.z> -DARCH=<win32|win64> -DSTAGE=<folder> -DLISTS=<files.nsh>
;            -DICON=<corvane.ico> -DOUTFILE=<exe> corvane.nsi
; STAGE holds the program's files as the zip has them; LISTS, written by
; tools/lib/package.sh, names them (the macros CorvaneInstallFiles and
; CorvaneRemoveFiles, and HAVE_HELP when the help file was built).
;
; Silent use, for administrators:
;   setup.exe /S [/STARTUP] [/D=C:\folder]      /STARTUP adds the start-with-Windows entry
;   uninstall.exe /S [/RESTORE] [/REMOVESETTINGS]
; A silent uninstall keeps the settings and the snapshots and restores
; nothing, unless /RESTORE (the earliest snapshot, through corvane.exe
; /restore first) or /REMOVESETTINGS asks for it.

!ifndef VERSION
  !error "VERSION must be defined (see the top of this file)"
!endif
!ifndef ARCH
  !error "ARCH must be defined (see the top of this file)"
!endif
!ifndef STAGE
  !error "STAGE must be defined (see the top of this file)"
!endif
!ifndef LISTS
  !error "LISTS must be defined (see the top of this file)"
!endif
!ifndef ICON
  !error "ICON must be defined (see the top of this file)"
!endif
!ifndef OUTFILE
  !error "OUTFILE must be defined (see the top of this file)"
!endif

!if "${ARCH}" == "win64"
  ; The 64-bit test build, for machines that run no 32-bit code.
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  ; ANSI: the stub that starts on Windows 95, 98 and ME as well.
  Unicode false
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!include "${LISTS}"

; The program's own names (platform/AppInfo.h, shell/settings/MainSettings.h,
; shell/win32/MainWindow.h, the version resource).
!define PRODUCT "Corvane"
!define PUBLISHER "Tarvik"
!define INSTANCE_MUTEX "QuenbyCorvane"
!define SETTINGS_KEY "SOFTWARE\Tarvik\Pellavon"
!define MAIN_SETTINGS_KEY "SOFTWARE\Tarvik\Pellavon\Settings\MainSettings"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Sorbek"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; The network settings live under HKEY_LOCAL_MACHINE: an administrator's tool.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\corvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Corvane now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var Restored  ; 1 when the uninstall restored the earliest snapshot

; Puts 1 on the stack when a copy of the program runs (it holds its mutex
; for its whole life), else 0.
!macro CorvaneRunning un
Function ${un}CorvaneRunning
  Push $0
  System::Call 'kernel32::OpenMutex(i 0x00100000, i 0, t "${INSTANCE_MUTEX}") p .r0'
  ${If} $0 != 0
    System::Call 'kernel32::CloseHandle(p r0)'
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Exch $0
FunctionEnd
!macroend
!insertmacro CorvaneRunning ""
!insertmacro CorvaneRunning "un."

Section "Corvane (required)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro CorvaneInstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Corvane.lnk" "$INSTDIR\corvane.exe"
  !ifdef HAVE_HELP
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\Help.lnk" "$INSTDIR\OrvHelp.chm"
  !endif
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\corvane.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section /o "Start Corvane with Windows" SecStartup
  ; What the main settings' "Run Main Program when windows start up" does.
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" "$INSTDIR\corvane.exe"
  WriteRegStr HKLM "${MAIN_SETTINGS_KEY}" "chkRunMainProgram" "1"
SectionEnd

; After the sections, whose names it uses.
Function .onInit
  ; Shortcuts for every user of the machine (the current user's on 95 to ME).
  SetShellVarContext all
  Call CorvaneRunning
  Pop $0
  ${If} $0 == 1
    MessageBox MB_OK|MB_ICONSTOP "Corvane is running. End it first (Exit in the menu of its icon in the notification area), then start the setup again." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  ; Silent: the start-with-Windows entry only when /STARTUP asks for it.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STARTUP" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecStartup} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

; --- uninstall ---------------------------------------------------------------

Function un.onInit
  SetShellVarContext all
  Call un.CorvaneRunning
  Pop $0
  ${If} $0 == 1
    MessageBox MB_OK|MB_ICONSTOP "Corvane is running. End it first (Exit in the menu of its icon in the notification area), then uninstall again." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
FunctionEnd

; Offers the earliest snapshot back through the program's own restore.
Function un.OfferRestore
  StrCpy $Restored 0
  IfFileExists "$INSTDIR\Backups\*.BCK" 0 done
  IfFileExists "$INSTDIR\corvane.exe" 0 done
  ${GetParameters} $0
  ${If} ${Silent}
    ClearErrors
    ${GetOptions} $0 "/RESTORE" $1
    IfErrors done
  ${Else}
    MessageBox MB_YESNO|MB_ICONQUESTION "Corvane took a snapshot of your network settings before each change it made.$\r$\n$\r$\nRestore the earliest snapshot now? That writes back the network settings you had before Corvane first changed them (Windows uses them from its next start). The snapshot files stay in $INSTDIR\Backups.$\r$\n$\r$\nChoose No to leave your network settings as they are now." IDYES +2
    Goto done
  ${EndIf}
  DetailPrint "Restoring the earliest snapshot: corvane.exe /restore first"
  ClearErrors
  ExecWait '"$INSTDIR\corvane.exe" /restore first /log "$INSTDIR\Backups\restore.log"' $1
  ${If} ${Errors}
    StrCpy $2 "The restore could not be started. Your network settings were not changed."
  ${ElseIf} $1 == 0
    StrCpy $2 "Your network settings from before Corvane's first change are back. Restart Windows for them to take effect."
    StrCpy $Restored 1
  ${ElseIf} $1 == 2
    StrCpy $2 "The snapshot was restored only in part: some values could not be written. You may lack the rights to change them."
    StrCpy $Restored 1
  ${Else}
    StrCpy $2 "The restore was refused and nothing was changed (exit code $1)."
  ${EndIf}
  DetailPrint "$2"
  DetailPrint "The report is in $INSTDIR\Backups\restore.log."
  MessageBox MB_OK|MB_ICONINFORMATION "$2$\r$\n$\r$\nThe report is in $INSTDIR\Backups\restore.log." /SD IDOK
done:
FunctionEnd

Section "Uninstall"
  Call un.OfferRestore

  ; Files, shortcuts and entries.
  !insertmacro CorvaneRemoveFiles
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\${PRODUCT}\Corvane.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Help.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ReadRegStr $0 HKLM "${MAIN_SETTINGS_KEY}" "chkRunMainProgram"
  ${If} $0 == "1"
    WriteRegStr HKLM "${MAIN_SETTINGS_KEY}" "chkRunMainProgram" "0"
  ${EndIf}

  ; Settings and snapshots: kept unless the user says otherwise. The
  ; snapshot just restored from is never deleted.
  StrCpy $1 0
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $2
    ${IfNot} ${Errors}
      StrCpy $1 1
    ${EndIf}
  ${Else}
    MessageBox MB_YESNO|MB_ICONQUESTION "Keep Corvane's settings and its snapshots of your network settings (the folder $INSTDIR\Backups)? Keep them to use them again after a new install, or to restore a snapshot later." IDYES +2
    StrCpy $1 1
  ${EndIf}
  ${If} $1 == 1
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKLM "SOFTWARE\Tarvik"
    ${If} $Restored == 1
      DetailPrint "The snapshots stay in $INSTDIR\Backups: one of them was just restored."
    ${Else}
      Delete "$INSTDIR\Backups\*.BCK"
      Delete "$INSTDIR\Backups\restore.log"
      RMDir "$INSTDIR\Backups"
    ${EndIf}
  ${EndIf}
  RMDir "$INSTDIR"
SectionEnd
