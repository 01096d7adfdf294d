; The Mibor8 setup program: installs Mibor8.exe and its manual, a Start-menu
; shortcut, the file class "Mibor-File" that the program's ".txt"/".rtf"
; association points at, and an entry in the list of installed programs.
;
; Built by `make installer` (CMake target `installer`), which passes:
;   VERSION        the program's version, four numbers (8.0.0.0)
;   VERSION_MAJOR, VERSION_MINOR
;   PROGRAM        the built Mibor8.exe
;   MANUAL         the built Mibor8.pdf
;   ICON           the program's icon (.ico)
;   OUTFILE        where to write the setup program
;
; Run by a user who may elevate, it installs for all users (the class under
; HKLM\Software\Classes); run by a standard user, or with /CurrentUser, it
; installs for that user alone (HKCU\Software\Classes), without elevation.
; /S installs silently; /D=FOLDER (last on the line) chooses the folder.

Unicode true
SetCompressor /SOLID lzma

!define PRODUCT "Mibor8"
!define PUBLISHER "Orvane"
!define CLASS "Mibor-File"
!define CLASS_KEY "Software\Classes\${CLASS}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

; All users when the user may elevate, otherwise the current user; the
; folder and the mode of an earlier installation are taken up again.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"

Var ChosenFolder

Function .onInit
    ; MultiUser sets the folder of the install mode; a folder given with /D wins.
    StrCpy $ChosenFolder $INSTDIR
    !insertmacro MULTIUSER_INIT
    ${If} $ChosenFolder != ""
        StrCpy $INSTDIR $ChosenFolder
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

; Remembers what an extension's class was before Mibor8 came, so that the
; uninstaller can give the extension back if the user associated it with
; Mibor8 meanwhile. A class that already is Mibor8's keeps the older record.
!macro RecordExtension EXT
    ReadRegStr $0 HKCR "${EXT}" ""
    ${If} $0 != "${CLASS}"
        WriteRegStr SHCTX "${UNINSTALL_KEY}" "PreviousClass${EXT}" "$0"
    ${EndIf}
!macroend

Section "Mibor8"
    SetOutPath "$INSTDIR"
    File "/oname=Mibor8.exe" "${PROGRAM}"
    File "/oname=Mibor8.pdf" "${MANUAL}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortCut "${SHORTCUT}" "$INSTDIR\Mibor8.exe" "" "$INSTDIR\Mibor8.exe" 0

    ; The class the program's association script names.
    WriteRegStr SHCTX "${CLASS_KEY}" "" "Mibor8 document"
    WriteRegStr SHCTX "${CLASS_KEY}\DefaultIcon" "" "$INSTDIR\Mibor8.exe,0"
    WriteRegStr SHCTX "${CLASS_KEY}\shell\open\command" "" '"$INSTDIR\Mibor8.exe" "%1"'

    !insertmacro RecordExtension ".txt"
    !insertmacro RecordExtension ".rtf"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Mibor8.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; Explorer takes up the new class and icon.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; An extension whose class is still Mibor8's gets back the class it had
; before, or none if it had none; the user's other choices stay.
!macro RestoreExtension ROOT EXT
    ReadRegStr $0 ${ROOT} "Software\Classes\${EXT}" ""
    ClearErrors
    ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "PreviousClass${EXT}"
    ${If} $0 == "${CLASS}"
    ${AndIfNot} ${Errors}
        ${If} $1 == ""
            DeleteRegValue ${ROOT} "Software\Classes\${EXT}" ""
            DeleteRegKey /ifempty ${ROOT} "Software\Classes\${EXT}"
        ${Else}
            WriteRegStr ${ROOT} "Software\Classes\${EXT}" "" "$1"
        ${EndIf}
    ${EndIf}
!macroend

Section "Uninstall"
    !insertmacro RestoreExtension HKCU ".txt"
    !insertmacro RestoreExtension HKCU ".rtf"
    ${If} $MultiUser.InstallMode == "AllUsers"
        !insertmacro RestoreExtension HKLM ".txt"
        !insertmacro RestoreExtension HKLM ".rtf"
    ${EndIf}
    DeleteRegKey SHCTX "${CLASS_KEY}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"

    Delete "${SHORTCUT}"
    Delete "$INSTDIR\Mibor8.exe"
    Delete "$INSTDIR\Mibor8.pdf"
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Files the user put into the folder stay, and so does the folder then.
    RMDir "$INSTDIR"

    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
