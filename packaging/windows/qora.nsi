; The QORA installer for Windows (NSIS 3, Unicode). scripts/package-windows builds it: it stages the program
; tree and passes
;   /DVERSION=4.0.0  /DSTAGE=<the staged tree: bin\, share\qora\, README.txt>  /DOUTFILE=<setup .exe>
;   /DFILES=<install commands for the staged tree>  /DUNFILES=<the matching removals>  /DICON=<qora.ico>
;
; Without administrator rights it installs for the current user (under %LOCALAPPDATA%\Programs, with the per-user
; Start menu and file classes); run elevated, it installs for all users (under Program Files). /CurrentUser and
; /AllUsers on the command line choose for themselves. The uninstaller removes exactly what was installed: the
; settings, the Garage and the archive working copies QORA keeps in the user's data folder (or beside a copy the
; user made portable) stay.
;
; The program tree keeps the layout of an installed build (bin\ beside share\qora\), which tells QORA that it is
; installed, so it keeps its settings in the user's data folder rather than beside the program.

Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"
!include "StrFunc.nsh"
${UnStrStr}

!define PRODUCT "QORA"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QORA"
!define CLASS "QORAVehicleFile"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
InstallDir "$LOCALAPPDATA\Programs\QORA"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "The QORA developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "The QORA developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\bin\qora.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start QORA"
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var AllUsers

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "QORA needs 64-bit Windows." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    ; Elevated: for all users; otherwise for this user alone, which needs no administrator rights.
    StrCpy $AllUsers 0
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
        StrCpy $AllUsers 1
    ${EndIf}
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/CurrentUser" $2
    ${IfNot} ${Errors}
        StrCpy $AllUsers 0
    ${EndIf}
    ClearErrors
    ${GetOptions} $1 "/AllUsers" $2
    ${IfNot} ${Errors}
        StrCpy $AllUsers 1
    ${EndIf}
    ${If} $AllUsers == 1
        SetShellVarContext all
        StrCpy $INSTDIR "$PROGRAMFILES64\QORA"
    ${Else}
        SetShellVarContext current
        StrCpy $INSTDIR "$LOCALAPPDATA\Programs\QORA"
    ${EndIf}
    ; An earlier installation is updated where it is.
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
        StrCpy $INSTDIR $0
    ${EndIf}
FunctionEnd

Section "QORA" SecProgram
    SectionIn RO
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortCut "$SMPROGRAMS\QORA.lnk" "$INSTDIR\bin\qora.exe" "" "$INSTDIR\bin\qora.exe" 0 \
        SW_SHOWNORMAL "" "Edit Trevant vehicle files"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\bin\qora.exe",0'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The QORA developers"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "AllUsers" $AllUsers
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; The same keys Preferences > "VEH File Association" writes, so the program shows the association as made and
; can remove it again; the file name is quoted, so vehicles in folders with blanks open too.
Section "Open .veh files with QORA" SecAssociation
    WriteRegStr SHCTX "Software\Classes\.veh" "" "${CLASS}"
    WriteRegStr SHCTX "Software\Classes\${CLASS}" "" "Trevant Veh File"
    WriteRegStr SHCTX "Software\Classes\${CLASS}\DefaultIcon" "" '"$INSTDIR\bin\qora.exe",0'
    WriteRegStr SHCTX "Software\Classes\${CLASS}\shell\open\command" "" '"$INSTDIR\bin\qora.exe" "%1"'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "Association" 1
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Function un.onInit
    SetRegView 64
    ; The uninstaller serves the installation it lies in: for all users when that one was.
    SetShellVarContext all
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != $INSTDIR
        SetShellVarContext current
    ${EndIf}
FunctionEnd

Section "Uninstall"
    ; The association goes only while it still opens this installation's program (as the installer or the
    ; program's Preferences wrote it): one the user has since given to another program or copy of QORA stays.
    ReadRegStr $0 SHCTX "Software\Classes\${CLASS}\shell\open\command" ""
    ${UnStrStr} $1 $0 "$INSTDIR\bin\qora.exe"
    ${If} $1 != ""
        DeleteRegKey SHCTX "Software\Classes\${CLASS}"
        ReadRegStr $1 SHCTX "Software\Classes\.veh" ""
        ${If} $1 == "${CLASS}"
            DeleteRegKey SHCTX "Software\Classes\.veh"
        ${EndIf}
        System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    ${EndIf}

    Delete "$SMPROGRAMS\QORA.lnk"
    !include "${UNFILES}"
    Delete "$INSTDIR\uninstall.exe"
    ; Only empty folders go: whatever the user keeps in them stays.
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
