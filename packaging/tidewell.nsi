; Tidewell's Windows installer. The CMake target "package" builds it and defines VERSION (2.35),
; VERSION_MAJOR, VERSION_MINOR, PROGRAM_EXE, PROGRAM_ICON and OUTPUT_FILE.
;
; It installs tidewell.exe for all users (Program Files, the common Start menu, an uninstall entry
; under HKLM) or for the current user only (%LOCALAPPDATA%\Programs, the user's Start menu, an
; uninstall entry under HKCU). Silent use:
;   Tidewell-<version>-setup.exe /S [/AllUsers | /CurrentUser] [/D=<folder>]   (/D= comes last)
;   "Uninstall Tidewell.exe" /S [/RemoveSettings]
; The stored preferences belong to the user, not to the installation: the uninstaller asks before
; it removes them, and a silent uninstall keeps them unless /RemoveSettings is given.
;
; Setting files (".ppsv") open in Tidewell, and their "Play" verb starts them with /play; the
; registration lives in the installation's own hive (SHCTX), so a per-user installation registers
; them for that user only and an all-users one for everybody.

Unicode true
; tidewell.exe is a 64-bit program: a 64-bit installer sees the real Program Files and registry.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!define APP_NAME "Tidewell"
!define PUBLISHER "Hollowfin"
!define PROGRAM_FILE "tidewell.exe"
!define UNINSTALLER_FILE "Uninstall Tidewell.exe"
!define SHORTCUT "$SMPROGRAMS\${APP_NAME}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_NAME}"
!define PREFERENCES_KEY "SOFTWARE\hollowfin\lanternrow"
!define PREFERENCES_PARENT_KEY "SOFTWARE\hollowfin"
!define SETTING_FILE_EXTENSION ".ppsv"
!define SETTING_FILE_PROGID "Tidewell.SettingFile"
!define CLASSES_KEY "Software\Classes"
; The Application log's source: Event Viewer finds the sentences of Tidewell's events in the program.
!define EVENT_SOURCE_KEY "SYSTEM\CurrentControlSet\Services\EventLog\Application\${APP_NAME}"
!define REMOVE_PREFERENCES_QUESTION "Do you also want to remove your ${APP_NAME} settings \
(the playlist, the presentation program and the monitor number)?"

Name "${APP_NAME} ${VERSION}"
OutFile "${OUTPUT_FILE}"
BrandingText "${APP_NAME} ${VERSION}"
; No InstallDir: an empty $INSTDIR in .onInit then tells that no /D= was given.

VIProductVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.0"
VIFileVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.0"
VIAddVersionKey "ProductName" "${APP_NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP_NAME} ${VERSION} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
; A reinstall or an uninstall picks the mode of the installation that is there.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_FUNCTION OnInstallModeChosen
!define MULTIUSER_INSTALLMODE_UNFUNCTION un.OnInstallModeChosen

!include MUI2.nsh
!include MultiUser.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${PROGRAM_ICON}"
!define MUI_UNICON "${PROGRAM_ICON}"
!define MUI_ABORTWARNING

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var CommandLineInstDir

Function .onInit
    StrCpy $CommandLineInstDir $INSTDIR
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

; Called when the mode is first set and each time the user changes it on the mode page. SHCTX and
; the shell folders already follow the mode here. A folder given with /D= always wins; otherwise
; an earlier installation's folder, otherwise the mode's usual place.
Function OnInstallModeChosen
    ${If} $CommandLineInstDir != ""
        StrCpy $INSTDIR $CommandLineInstDir
        Return
    ${EndIf}
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
        StrCpy $INSTDIR $0
    ${ElseIf} $MultiUser.InstallMode == "AllUsers"
        StrCpy $INSTDIR "$PROGRAMFILES64\${APP_NAME}"
    ${Else}
        StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${APP_NAME}"
    ${EndIf}
FunctionEnd

; The uninstaller removes the installation it sits in: $INSTDIR is already its own folder.
Function un.OnInstallModeChosen
FunctionEnd

Section "${APP_NAME}" SectionProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "/oname=${PROGRAM_FILE}" "${PROGRAM_EXE}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER_FILE}"
    CreateShortCut "${SHORTCUT}" "$INSTDIR\${PROGRAM_FILE}" "" "$INSTDIR\${PROGRAM_FILE}" 0

    ; The entry of "Apps and features" (Add or Remove Programs). The uninstall strings name the
    ; mode, so that the uninstaller works on the same registry hive and Start menu.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_FILE},0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
        '"$INSTDIR\${UNINSTALLER_FILE}" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$INSTDIR\${UNINSTALLER_FILE}" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    Call RegisterSettingFiles
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; The machine's registry only: an installation for the current user leaves the events'
    ; sentences out, and its events are written all the same.
    ${If} $MultiUser.InstallMode == "AllUsers"
        WriteRegExpandStr HKLM "${EVENT_SOURCE_KEY}" "EventMessageFile" "$INSTDIR\${PROGRAM_FILE}"
        WriteRegDWORD HKLM "${EVENT_SOURCE_KEY}" "TypesSupported" 7
    ${EndIf}
SectionEnd

; Explorer reads the registration once; this tells it to read it again.
!macro NotifyShellOfAssociations
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

Function RegisterSettingFiles
    WriteRegStr SHCTX "${CLASSES_KEY}\${SETTING_FILE_PROGID}" "" "${APP_NAME} setting file"
    WriteRegStr SHCTX "${CLASSES_KEY}\${SETTING_FILE_PROGID}\DefaultIcon" "" \
        "$INSTDIR\${PROGRAM_FILE},0"
    WriteRegStr SHCTX "${CLASSES_KEY}\${SETTING_FILE_PROGID}\shell" "" "open"
    WriteRegStr SHCTX "${CLASSES_KEY}\${SETTING_FILE_PROGID}\shell\open\command" "" \
        '"$INSTDIR\${PROGRAM_FILE}" "%1"'
    WriteRegStr SHCTX "${CLASSES_KEY}\${SETTING_FILE_PROGID}\shell\play" "" "Play"
    WriteRegStr SHCTX "${CLASSES_KEY}\${SETTING_FILE_PROGID}\shell\play\command" "" \
        '"$INSTDIR\${PROGRAM_FILE}" /play "%1"'
    WriteRegStr SHCTX "${CLASSES_KEY}\${SETTING_FILE_EXTENSION}" "" "${SETTING_FILE_PROGID}"
    WriteRegStr SHCTX "${CLASSES_KEY}\${SETTING_FILE_EXTENSION}\OpenWithProgids" \
        "${SETTING_FILE_PROGID}" ""
    !insertmacro NotifyShellOfAssociations
FunctionEnd

; The extension keeps what other programs registered on it; it is only no longer ours.
Function un.UnregisterSettingFiles
    DeleteRegKey SHCTX "${CLASSES_KEY}\${SETTING_FILE_PROGID}"
    DeleteRegValue SHCTX "${CLASSES_KEY}\${SETTING_FILE_EXTENSION}\OpenWithProgids" \
        "${SETTING_FILE_PROGID}"
    DeleteRegKey /ifempty SHCTX "${CLASSES_KEY}\${SETTING_FILE_EXTENSION}\OpenWithProgids"
    ReadRegStr $0 SHCTX "${CLASSES_KEY}\${SETTING_FILE_EXTENSION}" ""
    ${If} $0 == "${SETTING_FILE_PROGID}"
        DeleteRegValue SHCTX "${CLASSES_KEY}\${SETTING_FILE_EXTENSION}" ""
    ${EndIf}
    DeleteRegKey /ifempty SHCTX "${CLASSES_KEY}\${SETTING_FILE_EXTENSION}"
    !insertmacro NotifyShellOfAssociations
FunctionEnd

; Asks unless silent; silent keeps them unless /RemoveSettings was given. Only the current user's
; preferences can be reached: other accounts keep theirs.
Function un.RemovePreferences
    ClearErrors
    EnumRegValue $0 HKCU "${PREFERENCES_KEY}" 0
    ${If} ${Errors}
    ${OrIf} $0 == ""
        Return
    ${EndIf}
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/RemoveSettings" $2
    ${If} ${Errors}
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "${REMOVE_PREFERENCES_QUESTION}" \
            /SD IDNO IDYES remove
        Return
    ${EndIf}
remove:
    DeleteRegKey HKCU "${PREFERENCES_KEY}"
    DeleteRegKey /ifempty HKCU "${PREFERENCES_PARENT_KEY}"
FunctionEnd

; Only what the installer put there is removed: the folder itself goes only when it is empty.
Section "Uninstall"
    Delete /REBOOTOK "$INSTDIR\${PROGRAM_FILE}"
    Delete "$INSTDIR\${UNINSTALLER_FILE}"
    RMDir /REBOOTOK "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${If} $MultiUser.InstallMode == "AllUsers"
        DeleteRegKey HKLM "${EVENT_SOURCE_KEY}"
    ${EndIf}
    Call un.UnregisterSettingFiles
    Call un.RemovePreferences
SectionEnd
