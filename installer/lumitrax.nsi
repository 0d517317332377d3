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
;
; Setup speaks the user's Windows display language when it is one of the
; languages below, else English; no language is asked for. The uninstaller
; speaks the language Setup spoke to the same user (kept in the entry's
; "Installer Language"); an install for everyone is removed in the language
; of the user who removes it. Our own texts are the LangStrings in
; languages\<language>.nsh, one file for each language inserted below.

Unicode true
; A text of ours missing in one language is an error, not a warning.
!pragma warning error 6040
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
; The language Setup spoke (a language ID), for the uninstaller.
!define LANGUAGE_VALUE "Installer Language"
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
; NSIS applies a language set in .onInit only after it: texts of ours that
; .onInit would read in the language chosen there wait until the window is
; made (a silent Setup shows no text, it checks in .onInit).
!define MUI_CUSTOMFUNCTION_GUIINIT RefuseWhatCannotBeInstalled
!define MUI_CUSTOMFUNCTION_UNGUIINIT un.RefuseWhatCannotBeRemoved

!define MUI_PAGE_CUSTOMFUNCTION_PRE ChooseWelcomeText
!define MUI_WELCOMEPAGE_TEXT "$WelcomeText"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartLumitraxAsUser
!define MUI_FINISHPAGE_RUN_TEXT "$(StartNow)"
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "$(UnComponentsTop)"
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The languages, each with the Modern UI's own texts and ours. English comes
; first: it is the language of every other display language. A new language:
; copy languages\English.nsh to languages\<name>.nsh (the name of the Modern
; UI's language file), translate it with ${LANG_<NAME>}, insert it here and
; add it to tests/install/check_languages.py.
!macro LUMITRAX_LANGUAGE NAME
  !insertmacro MUI_LANGUAGE "${NAME}"
  !include "languages\${NAME}.nsh"
!macroend
!insertmacro LUMITRAX_LANGUAGE "English"
!insertmacro LUMITRAX_LANGUAGE "German"
!insertmacro LUMITRAX_LANGUAGE "French"
!insertmacro LUMITRAX_LANGUAGE "Spanish"
!insertmacro LUMITRAX_LANGUAGE "Italian"
!insertmacro LUMITRAX_LANGUAGE "PortugueseBR"
!insertmacro LUMITRAX_LANGUAGE "Dutch"
!insertmacro LUMITRAX_LANGUAGE "Polish"
!insertmacro LUMITRAX_LANGUAGE "Czech"
!insertmacro LUMITRAX_LANGUAGE "Russian"
!insertmacro LUMITRAX_LANGUAGE "Ukrainian"
!insertmacro LUMITRAX_LANGUAGE "Turkish"
!insertmacro LUMITRAX_LANGUAGE "Japanese"
!insertmacro LUMITRAX_LANGUAGE "Korean"
!insertmacro LUMITRAX_LANGUAGE "SimpChinese"
!insertmacro LUMITRAX_LANGUAGE "TradChinese"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"

; Chinese for Hong Kong and Macao is written in traditional characters, for
; Singapore in simplified ones; NSIS itself would match these display
; languages by their main language alone, to either of the two. Uses $0.
!macro ChooseChineseScript
  System::Call 'kernel32::GetUserDefaultUILanguage() h .r0'
  ${If} $0 = 3076       ; zh-HK
  ${OrIf} $0 = 5124     ; zh-MO
  ${OrIf} $0 = 31748    ; zh-Hant
    StrCpy $LANGUAGE ${LANG_TRADCHINESE}
  ${ElseIf} $0 = 4100   ; zh-SG
    StrCpy $LANGUAGE ${LANG_SIMPCHINESE}
  ${ElseIf} $0 = 4      ; zh-Hans
    StrCpy $LANGUAGE ${LANG_SIMPCHINESE}
  ${EndIf}
!macroend

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
      DetailPrint "$(OtherRightsDetail)"
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(OtherRightsMessage)" /SD IDCANCEL IDRETRY +2
      Abort "$(StillRunningAbort)"
      ${Continue}
    ${EndIf}
    DetailPrint "$(StillRunningDetail)"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunningMessage)" /SD IDCANCEL IDRETRY +2
    Abort "$(StillRunningAbort)"
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
  WriteRegStr SHCTX "${UNINST_KEY}" "${LANGUAGE_VALUE}" $LANGUAGE

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
; (this installer itself starts only on 64-bit Windows); an install for
; everyone needs administrator rights.
Function RefuseWhatCannotBeInstalled
  ${WinVerGetBuild} $0
  ${If} $0 < 7601
    MessageBox MB_OK|MB_ICONSTOP "$(WindowsTooOld)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ${If} $AllUsers == 1
    UserInfo::GetAccountType
    Pop $R3
    ${If} $R3 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "$(EveryoneNeedsAdmin)" /SD IDOK
      SetErrorLevel 5
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function ChooseWelcomeText
  ${If} $AllUsers == 1
    StrCpy $WelcomeText "$(WelcomeForEveryone)"
  ${Else}
    StrCpy $WelcomeText "$(WelcomeForUser)"
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro ChooseChineseScript

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

  ${If} ${Silent}
    Call RefuseWhatCannotBeInstalled
  ${EndIf}

  ${If} $AllUsers == 1
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

Section /o "un.$(UnSettingsSection)" SecUnSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
SectionEnd

; An install for everyone is the one whose folder the HKLM entry names;
; removing it needs administrator rights.
Function un.RefuseWhatCannotBeRemoved
  ${If} $AllUsers == 1
    UserInfo::GetAccountType
    Pop $R3
    ${If} $R3 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "$(UnEveryoneNeedsAdmin)" /SD IDOK
      SetErrorLevel 5
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro ChooseChineseScript
  ; The install for everyone speaks the language of the user removing it.
  ; The user's own install speaks the language its Setup spoke; with that
  ; value damaged, the user's display language.
  StrCpy $AllUsers 0
  ReadRegStr $R1 HKLM "${UNINST_KEY}" "InstallLocation"
  ${If} $R1 != ""
  ${AndIf} $R1 == $INSTDIR
    StrCpy $AllUsers 1
    ${If} ${Silent}
      Call un.RefuseWhatCannotBeRemoved
    ${EndIf}
    SetShellVarContext all
  ${Else}
    ; Taken only as Setup writes it, a language ID in decimal.
    ReadRegStr $R4 HKCU "${UNINST_KEY}" "${LANGUAGE_VALUE}"
    IntFmt $R5 "%u" $R4
    ${If} $R5 == $R4
    ${AndIf} $R4 != 0
      StrCpy $LANGUAGE $R4
    ${EndIf}
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUnSettings}
  ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnProgram} "$(UnProgramDescription)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnSettings} "$(UnSettingsDescription)"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
