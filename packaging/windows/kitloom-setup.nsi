; Kitloom's setup program for Windows (makensis, from cmake/release-setup.py).
;   VERSION  the project's version      FILES  the staged folder: both programs and the texts
;   ICON     Kitloom's icon             OUTFILE  the setup program to write
;
; For the current user by default: %LOCALAPPDATA%\Programs\Kitloom and the user's part of the
; registry, no administrator needed. Run as administrator: for every user, under Program Files.
; /CurrentUser keeps an administrator's install to its own user, /GAME=DIR names the game folder
; (for /S), /D=DIR the install folder. A second install over the first upgrades it in place.
Unicode true
ManifestSupportedOS all
RequestExecutionLevel user
SetCompressor /SOLID lzma
; No file dates in the setup: two builds of one commit make the same bytes.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kitloom"
!define PATCH_TYPE "Kitloom.JerseyPatch"
!define ZIP_VERB "Software\Classes\SystemFileAssociations\.zip\shell\Kitloom.Install"
!define CHOSEN_NOTE " (chosen with 'kitloom-cli where --use')"

Name "Kitloom ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "Kitloom ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Kitloom"
VIAddVersionKey "FileDescription" "Kitloom for Dunkmere, setup"
VIAddVersionKey "CompanyName" "The Kitloom developers"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 The Kitloom developers"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

Var GameFolder
Var FoundGame
Var AllUsers
Var MadeProgramsFolder

!insertmacro MUI_PAGE_DIRECTORY

!define MUI_PAGE_HEADER_TEXT "Game folder"
!define MUI_PAGE_HEADER_SUBTEXT "Where Dunkmere keeps its saves"
!define MUI_DIRECTORYPAGE_TEXT_TOP "Kitloom starts in the game's folder, the one that holds the saves folder. The one below is the game kitloom-cli.exe found; choose another if your game is elsewhere."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Game folder"
!define MUI_DIRECTORYPAGE_VARIABLE $GameFolder
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE checkGameFolder
!insertmacro MUI_PAGE_DIRECTORY

!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; nsExec reads a program's output in the ANSI code page, and kitloom-cli.exe writes UTF-8:
; $0 is turned back into the bytes that came, and read as UTF-8 (kept as it is when they are
; not UTF-8).
Function utf8Text
  Push $1
  Push $2
  Push $3
  System::Alloc ${NSIS_MAX_STRLEN}
  Pop $1
  System::Call 'kernel32::WideCharToMultiByte(i 0, i 0, w r0, i -1, p r1, i ${NSIS_MAX_STRLEN}, p 0, p 0) i .r2'
  ${If} $2 > 0
    ; MB_ERR_INVALID_CHARS: bytes that are no UTF-8 leave $0 as it was.
    System::Call 'kernel32::MultiByteToWideChar(i 65001, i 8, p r1, i -1, w .r2, i ${NSIS_MAX_STRLEN}) i .r3'
    ${If} $3 > 0
      StrCpy $0 $2
    ${EndIf}
  ${EndIf}
  System::Free $1
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; $0: its first line, without the note that the game was chosen with where --use.
Function firstFolderLine
  Push $1
  Push $2
  StrCpy $1 0
  ${Do}
    StrCpy $2 $0 1 $1
    ${If} $2 == ""
    ${OrIf} $2 == "$\r"
    ${OrIf} $2 == "$\n"
      ${ExitDo}
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
  StrCpy $0 $0 $1
  StrLen $1 "${CHOSEN_NOTE}"
  StrCpy $2 $0 "" -$1
  ${If} $2 == "${CHOSEN_NOTE}"
    StrLen $2 $0
    IntOp $2 $2 - $1
    StrCpy $0 $0 $2
  ${EndIf}
  Pop $2
  Pop $1
FunctionEnd

; $FoundGame: the game folder kitloom-cli.exe uses, where it finds one. It runs under cmd.exe,
; whose console it shares: alone in one, it would wait for Enter, as it does for a player who
; started it from Explorer.
Function findGame
  InitPluginsDir
  File "/oname=$PLUGINSDIR\kitloom-cli.exe" "${FILES}\kitloom-cli.exe"
  nsExec::ExecToStack '"$SYSDIR\cmd.exe" /c ""$PLUGINSDIR\kitloom-cli.exe" where 2>nul"'
  Pop $1
  Pop $0
  StrCpy $FoundGame ""
  ${If} $1 == 0
    Call utf8Text
    Call firstFolderLine
    StrCpy $FoundGame $0
  ${EndIf}
FunctionEnd

Function .onInit
  StrCpy $AllUsers 0
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $AllUsers 1
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 0
  ${EndIf}
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}

  ; An upgrade goes where the first install went, and keeps its game folder.
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $GameFolder SHCTX "${UNINSTALL_KEY}" "GameFolder"
  ${If} $INSTDIR == ""
    ${If} $0 != ""
      StrCpy $INSTDIR $0
    ${ElseIf} $AllUsers == 1
      StrCpy $INSTDIR "$PROGRAMFILES\Kitloom"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Kitloom"
    ${EndIf}
  ${EndIf}

  Call findGame
  ClearErrors
  ${GetOptions} $R0 "/GAME=" $R1
  ${IfNot} ${Errors}
    StrCpy $GameFolder $R1
  ${EndIf}
  ${If} $GameFolder == ""
    StrCpy $GameFolder $FoundGame
  ${EndIf}
  ${If} $GameFolder == ""
    StrCpy $GameFolder "$PROGRAMFILES\Orvanta\Dunkmere"
  ${EndIf}
FunctionEnd

Function checkGameFolder
  ${IfNot} ${FileExists} "$GameFolder\*.*"
    MessageBox MB_ICONEXCLAMATION "There is no folder $GameFolder."
    Abort
  ${EndIf}
  ${IfNot} ${FileExists} "$GameFolder\saves\*.*"
    MessageBox MB_ICONQUESTION|MB_YESNO "$GameFolder holds no saves folder, so Kitloom will find no saves there. Use it all the same?" IDYES +2
    Abort
  ${EndIf}
FunctionEnd

Section "Kitloom"
  ${IfNot} ${FileExists} "$LOCALAPPDATA\Programs\*.*"
  ${AndIf} $AllUsers == 0
    StrCpy $MadeProgramsFolder 1
  ${EndIf}
  SetOutPath $INSTDIR
  File "${FILES}\kitloom.exe"
  File "${FILES}\kitloom-cli.exe"
  File "${FILES}\README.txt"
  File "${FILES}\LICENSE.txt"
  File "${FILES}\THIRD-PARTY-NOTICES.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut's working folder is the folder current when it is made; one that is not there
  ; would be made, so the program's own folder stands in.
  ${If} ${FileExists} "$GameFolder\*.*"
    SetOutPath $GameFolder
  ${Else}
    DetailPrint "No folder $GameFolder: the shortcut starts Kitloom in $INSTDIR."
  ${EndIf}
  CreateShortCut "$SMPROGRAMS\Kitloom.lnk" "$INSTDIR\kitloom.exe" "" "$INSTDIR\kitloom.exe" 0
  SetOutPath $INSTDIR

  ; A game chosen here, other than the one found, is kept for kitloom-cli.exe as
  ; 'where --use' keeps it: a patch opened from Downloads then finds that game too. It is the
  ; player's choice, which the uninstaller leaves.
  ${If} $GameFolder != $FoundGame
  ${AndIf} ${FileExists} "$GameFolder\saves\*.*"
    nsExec::ExecToLog '"$SYSDIR\cmd.exe" /c ""$INSTDIR\kitloom-cli.exe" where --use "$GameFolder""'
    Pop $0
  ${EndIf}

  WriteRegStr SHCTX "Software\Classes\.jer" "" "${PATCH_TYPE}"
  WriteRegStr SHCTX "Software\Classes\${PATCH_TYPE}" "" "Jersey patch"
  WriteRegStr SHCTX "Software\Classes\${PATCH_TYPE}\DefaultIcon" "" "$INSTDIR\kitloom.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PATCH_TYPE}\shell\open\command" "" '"$INSTDIR\kitloom-cli.exe" install "%1"'
  ; A verb of its own for every zip file, whichever program opens zips.
  WriteRegStr SHCTX "${ZIP_VERB}" "" "Install with Kitloom"
  WriteRegStr SHCTX "${ZIP_VERB}" "Icon" "$INSTDIR\kitloom.exe,0"
  WriteRegStr SHCTX "${ZIP_VERB}\command" "" '"$INSTDIR\kitloom-cli.exe" install "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Kitloom"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Kitloom developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kitloom.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "GameFolder" "$GameFolder"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  ; Only a first install made the folder; an upgrade keeps what the first one found.
  ${If} $MadeProgramsFolder == 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "MadeProgramsFolder" 1
  ${EndIf}
SectionEnd

Function un.onInit
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; Exactly what the setup put there; the game chosen with 'where --use' and the journal
; (%APPDATA%\kitloom, %LOCALAPPDATA%\kitloom) are the player's and stay.
Section "Uninstall"
  Delete "$INSTDIR\kitloom.exe"
  Delete "$INSTDIR\kitloom-cli.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Kitloom.lnk"

  ReadRegStr $0 SHCTX "Software\Classes\.jer" ""
  ${If} $0 == "${PATCH_TYPE}"
    DeleteRegValue SHCTX "Software\Classes\.jer" ""
    DeleteRegKey /ifempty SHCTX "Software\Classes\.jer"
  ${EndIf}
  DeleteRegKey SHCTX "Software\Classes\${PATCH_TYPE}"
  DeleteRegKey SHCTX "${ZIP_VERB}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\SystemFileAssociations\.zip\shell"
  DeleteRegKey /ifempty SHCTX "Software\Classes\SystemFileAssociations\.zip"
  DeleteRegKey /ifempty SHCTX "Software\Classes\SystemFileAssociations"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  ReadRegDWORD $0 SHCTX "${UNINSTALL_KEY}" "MadeProgramsFolder"
  ${If} $0 == 1
    RMDir "$LOCALAPPDATA\Programs"
  ${EndIf}
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
