; The Windows installer. Without elevation it installs for the user who runs it, into
; %LOCALAPPDATA%\Programs\dtuconfig; with /AllUsers, run elevated, for everyone into Program
; Files. /S installs silently and /D=FOLDER picks the folder, for IT deployment. The settings
; (%APPDATA%\dtuconfig) and the backups and logs (%LOCALAPPDATA%\dtuconfig) are the user's: no
; install, upgrade or removal touches them.
;
; scripts/windows-package makes it with makensis -INPUTCHARSET UTF8 and these defines:
;   FACTS    windows-facts.nsh of the Windows build (version, publisher, icon)
;   FILES    the generated SetOutPath/File lines of the laid-out folder
;   UNFILES  the generated Delete/RMDir lines of the same files, deepest first
;   SIZE_KB  the installed size, for Apps & Features
;   OUTFILE  the installer's path
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "${FACTS}"
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\dtuconfig"
!define PROGID "dtuconfig.cfg"
!define PROGRAM "$INSTDIR\bin\dtuconfig.exe"
; The Start menu entry is named as the desktop entry is, in either language; the uninstaller
; removes both names, whichever language the install ran in.
!define NAME_EN "DTU Configuration Tool"
!define NAME_ZH "DTU配置工具"

Name "$(AppName)"
OutFile "${OUTFILE}"
BrandingText "$(AppName) ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "${PROGRAM}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first is the default; a Chinese system gets the second.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString AppName ${LANG_ENGLISH} "${NAME_EN}"
LangString AppName ${LANG_SIMPCHINESE} "${NAME_ZH}"
LangString FileType ${LANG_ENGLISH} "DTU configuration"
LangString FileType ${LANG_SIMPCHINESE} "DTU配置文件"
LangString NeedsAdmin ${LANG_ENGLISH} "An install for all users needs administrator rights: run the installer as administrator, or without /AllUsers for yourself alone."
LangString NeedsAdmin ${LANG_SIMPCHINESE} "为所有用户安装需要管理员权限：请以管理员身份运行安装程序，或不带 /AllUsers 只为自己安装。"

VIProductVersion "${VERSION4}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${NAME_EN}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${NAME_EN} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"

Var AllUsers

; SHCTX (HKCU or HKLM) and the shell folders follow the install's scope from here on.
Function .onInit
    SetRegView 64
    StrCpy $AllUsers 0
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/AllUsers" $R1
    ${IfNot} ${Errors}
        UserInfo::GetAccountType
        Pop $R1
        ${If} $R1 != "Admin"
            MessageBox MB_ICONSTOP "$(NeedsAdmin)" /SD IDOK
            ; ERROR_ELEVATION_REQUIRED, for a deployment script to tell.
            SetErrorLevel 740
            Quit
        ${EndIf}
        StrCpy $AllUsers 1
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
    ; /D= wins; else an earlier install's folder, so an upgrade replaces it in place.
    ${If} $INSTDIR == ""
        ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${EndIf}
    ${If} $INSTDIR == ""
    ${AndIf} $AllUsers == 1
        StrCpy $INSTDIR "$PROGRAMFILES64\dtuconfig"
    ${ElseIf} $INSTDIR == ""
        StrCpy $INSTDIR "$LOCALAPPDATA\Programs\dtuconfig"
    ${EndIf}
FunctionEnd

Section
    ; Over an earlier install its own uninstaller goes first, in place, so that no file the
    ; new version no longer has stays behind. It never touches the user's settings or backups.
    ${If} ${FileExists} "$INSTDIR\uninstall.exe"
        ExecWait '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
    ${EndIf}

    !include "${FILES}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The working folder of the Start menu entry: the user's, never the program's.
    SetOutPath "$PROFILE"
    CreateShortcut "$SMPROGRAMS\$(AppName).lnk" "${PROGRAM}" "" "${PROGRAM}" 0
    SetOutPath "$INSTDIR"

    ; .cfg opens in the window, as the desktop opens it on Linux: shown, written to no unit
    ; until Save. .cfg is a common extension: a default another program already holds stays,
    ; and "Open with" offers this one beside it.
    WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "$(FileType)"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "${PROGRAM},0"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"${PROGRAM}" "%1"'
    WriteRegStr SHCTX "Software\Classes\.cfg\OpenWithProgids" "${PROGID}" ""
    ReadRegStr $0 SHCTX "Software\Classes\.cfg" ""
    ${If} $0 == ""
        WriteRegStr SHCTX "Software\Classes\.cfg" "" "${PROGID}"
    ${EndIf}

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "$(AppName)"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "${PROGRAM},0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ; SHCNE_ASSOCCHANGED: Explorer shows the new icon and handler at once.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; An all-users install is the one whose folder HKLM names.
Function un.onInit
    SetRegView 64
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
FunctionEnd

Section "Uninstall"
    ; Only what the installer put there, by name: the folder goes only when nothing else is in it.
    !include "${UNFILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${NAME_EN}.lnk"
    Delete "$SMPROGRAMS\${NAME_ZH}.lnk"

    DeleteRegKey SHCTX "Software\Classes\${PROGID}"
    DeleteRegValue SHCTX "Software\Classes\.cfg\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty SHCTX "Software\Classes\.cfg\OpenWithProgids"
    ReadRegStr $0 SHCTX "Software\Classes\.cfg" ""
    ${If} $0 == "${PROGID}"
        DeleteRegValue SHCTX "Software\Classes\.cfg" ""
    ${EndIf}
    DeleteRegKey /ifempty SHCTX "Software\Classes\.cfg"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
