; The installer of Lumitrax: for the current user (the default), or for
; everyone with /ALLUSERS. Built by scripts/package.sh, which passes
; /DVERSION (taken from the build), /DEXE (the program to install) and
; /DOUTFILE; /DSIGN_UNINSTALLER names a command that signs a file in place.
;
; Switches of the installer:    /S silent, /D=folder (last, unquoted) another folder,
;                               /ALLUSERS for everyone (needs administrator rights),
;                               /NOUSAGEREPORTS the user's usage reports stored as off
; Switches of uninstall.exe:    /S silent, /REMOVESETTINGS also delete the settings
;
; For the current user: %LOCALAPPDATA%\Programs, the user's Start menu and the
; Add/Remove Programs entry under HKCU. For everyone: Program Files, the Start
; menu of all users and the entry under HKLM. Each user's own first start of
; the program writes that user's Run entry. An upgrade without /ALLUSERS keeps
; the kind of install it finds.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION | EXE | OUTFILE
  !error "scripts/package.sh passes VERSION, EXE and OUTFILE"
!endif

!define PRODUCT "Lumitrax"
!define PUBLISHER "MOVRANIK"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumitrax"
!define SETTINGS_KEY "Software\MOVRANIK\Lumitrax"
; The user's choice about the usage reports, as the program stores it.
!define USAGE_REPORTS_VALUE "UsageReports"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Task Manager's and the Settings app's on/off of each Run entry.
!define STARTUP_APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
; The program's own time limit for "/exit", in seconds (it waits that long).
!define EXIT_WAIT_SECONDS 15

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

; 1 for everyone, 0 for the current user alone; SHCTX and $SMPROGRAMS follow it.
Var AllUsers
Var WelcomeText

!ifdef SIGN_UNINSTALLER
  !uninstfinalize '${SIGN_UNINSTALLER} "%1"' = 0
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "WinVer.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "$WelcomeText"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartLumitraxAsUser
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "Your settings stay in the registry unless you tick $\"Remove my settings$\"."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"

; Asks a running Lumitrax to quit through the program's own "/exit" (settings
; saved, tray icon removed), with EXE_PATH doing the asking. "/exit" ends with
; 0 once no instance runs and with 1 when the instance is still there after its
; time limit: then the user may close it by hand and retry, or give up.
!macro StopRunningLumitrax EXE_PATH
  ${Do}
    ClearErrors
    ExecWait '"${EXE_PATH}" /exit' $0
    ${If} ${Errors}
      StrCpy $0 1
    ${EndIf}
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    ; 2: the running copy has more rights than Setup (run as administrator)
    ; and Windows refused the request; no use waiting.
    ${If} $0 == 2
      DetailPrint "${PRODUCT} runs with other rights and could not be asked to close."
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} is running with other rights (for example as administrator) and could not be asked to close.$\r$\n$\r$\nClose it with Close in the menu of its icon in the notification area, then click Retry. Cancel stops here and changes nothing." \
        /SD IDCANCEL IDRETRY +2
      Abort "${PRODUCT} is still running: nothing was changed."
      ${Continue}
    ${EndIf}
    DetailPrint "${PRODUCT} is still running after ${EXIT_WAIT_SECONDS} seconds."
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} is still running and did not close within ${EXIT_WAIT_SECONDS} seconds.$\r$\n$\r$\nClose it with Close in the menu of its icon in the notification area, then click Retry. Cancel stops here and changes nothing." \
      /SD IDCANCEL IDRETRY +2
    Abort "${PRODUCT} is still running: nothing was changed."
  ${Loop}
!macroend

Section "Lumitrax" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; The new program asks the old one to quit, so the files can be replaced.
  InitPluginsDir
  File "/oname=$PLUGINSDIR\Lumitrax.exe" "${EXE}"
  FindWindow $R9 "TApplication" "${PRODUCT}"
  !insertmacro StopRunningLumitrax "$PLUGINSDIR\Lumitrax.exe"

  File "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Lumitrax.exe" "" "$INSTDIR\Lumitrax.exe" 0

  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Lumitrax.exe,0"
  WriteRegStr SHCTX "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr SHCTX "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${UNINST_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoRepair" 1

  ; /NOUSAGEREPORTS: the installing user's "Send anonymous usage reports" off.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/NOUSAGEREPORTS" $R1
  ${IfNot} ${Errors}
    WriteRegDWORD HKCU "${SETTINGS_KEY}" "${USAGE_REPORTS_VALUE}" 0
  ${EndIf}

  ; An upgrade over a running copy leaves the new version running. An
  ; interactive install offers that on its last page instead.
  ${If} $R9 <> 0
  ${AndIf} ${Silent}
    Call StartLumitraxAsUser
  ${EndIf}
SectionEnd

; Starts the installed program with the user's normal rights, also when Setup
; runs as administrator: the running shell (Explorer, at the user's level)
; starts it, not Setup.
Function StartLumitraxAsUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\Lumitrax.exe"'
FunctionEnd

; Lumitrax needs Windows 7 with Service Pack 1 (build 7601) or later, 64-bit
; (this installer itself starts only on 64-bit Windows).
Function .onInit
  ${WinVerGetBuild} $0
  ${If} $0 < 7601
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} needs Windows 7 with Service Pack 1 or later, 64-bit. Setup stops here and changes nothing." /SD IDOK
    Abort
  ${EndIf}

  ; For everyone when asked; else an upgrade of an install for everyone (and
  ; none for this user) stays one.
  StrCpy $AllUsers 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${Else}
    ReadRegStr $R1 HKCU "${UNINST_KEY}" "InstallLocation"
    ReadRegStr $R2 HKLM "${UNINST_KEY}" "InstallLocation"
    ${If} $R1 == ""
    ${AndIf} $R2 != ""
      StrCpy $AllUsers 1
    ${EndIf}
  ${EndIf}

  ${If} $AllUsers == 1
    UserInfo::GetAccountType
    Pop $R3
    ${If} $R3 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "Installing ${PRODUCT} for everyone needs administrator rights. Start Setup as administrator, or without /ALLUSERS to install it for you alone. Setup stops here and changes nothing." /SD IDOK
      SetErrorLevel 5
      Quit
    ${EndIf}
    ; The folder: the one given with /D=, else the one found, else Program
    ; Files. (Compared while $LOCALAPPDATA is still the user's own.)
    ReadRegStr $R1 HKCU "${UNINST_KEY}" "InstallLocation"
    ReadRegStr $R2 HKLM "${UNINST_KEY}" "InstallLocation"
    ${If} $INSTDIR == "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${OrIf} $INSTDIR == $R1
      ${If} $R2 != ""
        StrCpy $INSTDIR $R2
      ${Else}
        StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
      ${EndIf}
    ${EndIf}
    SetShellVarContext all
    StrCpy $WelcomeText "Setup will install ${PRODUCT} ${VERSION} for everyone who uses this computer, in Program Files, with a shortcut in the Start menu of all users. Each user's settings stay that user's own.$\r$\n$\r$\nIf ${PRODUCT} is running, Setup asks it to close first.$\r$\n$\r$\nClick Next to continue."
  ${Else}
    StrCpy $WelcomeText "Setup will install ${PRODUCT} ${VERSION} for you alone, in your own user folder: no administrator rights are needed.$\r$\n$\r$\nIf ${PRODUCT} is running, Setup asks it to close first. Your settings are kept.$\r$\n$\r$\nClick Next to continue."
  ${EndIf}
FunctionEnd

Section "un.Lumitrax" SecUnProgram
  SectionIn RO
  ${If} ${FileExists} "$INSTDIR\Lumitrax.exe"
    !insertmacro StopRunningLumitrax "$INSTDIR\Lumitrax.exe"
  ${EndIf}
  Delete "$INSTDIR\Lumitrax.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Lumitrax.exe"
  DeleteRegValue HKCU "${STARTUP_APPROVED_KEY}" "Lumitrax.exe"
  DeleteRegKey SHCTX "${UNINST_KEY}"
SectionEnd

Section /o "un.Remove my settings" SecUnSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
SectionEnd

Function un.onInit
  ; An install for everyone is the one whose folder the HKLM entry names;
  ; removing it needs administrator rights.
  ReadRegStr $R1 HKLM "${UNINST_KEY}" "InstallLocation"
  ${If} $R1 != ""
  ${AndIf} $R1 == $INSTDIR
    UserInfo::GetAccountType
    Pop $R3
    ${If} $R3 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is installed for everyone: removing it needs administrator rights. Nothing was changed." /SD IDOK
      SetErrorLevel 5
      Quit
    ${EndIf}
    SetShellVarContext all
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUnSettings}
  ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnProgram} "The program, its Start-menu shortcut, its start at logon and its entry in Add/Remove Programs."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnSettings} "Also delete your settings (HKEY_CURRENT_USER\${SETTINGS_KEY})."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
