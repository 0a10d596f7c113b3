; Grimsweep's Windows installer. Built by the windows preset with makensis:
;   makensis -DBIN=<folder of the programs> -DDEFINITIONS=<folder of the encoded sample definitions>
;            -DINI=<Grimsweep.ini> -DOUTFILE=<grimsweep-setup.exe> [-DHELP=<Help.chm>] grimsweep.nsi
; Runs silently with /S; the uninstaller too (it then keeps the data folder). /RUNATLOGON chooses the
; start at every user's logon in a silent install, as its box on the components page does.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "FileFunc.nsh"
!include "Sections.nsh"

!define PRODUCT "Grimsweep"
!define COMPANY "Lanternfish Software"
!define VERSION "3.1"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define MACHINE_KEY "SOFTWARE\${COMPANY}\${PRODUCT}"
!define DATA_FOLDER "AntiSpywareDAT"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
ShowInstDetails show
ShowUninstDetails show

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Program"
    SectionIn RO
    SetOutPath "$INSTDIR"
    SetOverwrite on
    File "${BIN}\grimsweep.exe"
    File "${BIN}\gscan.exe"
    File "${BIN}\gsdefs.exe"
    File "${BIN}\Localization.xml"
    File "${INI}"
!ifdef HELP
    File "${HELP}"
!endif
!ifdef HELPPAGES
    SetOutPath "$INSTDIR\help"
    File /r "${HELPPAGES}\*.*"
    SetOutPath "$INSTDIR"
!endif

    ; The sample definitions beside the programs, for every user of the machine: the program fills a
    ; user's empty data folder from them at its first start.
    SetOutPath "$INSTDIR\Definitions"
    File "${DEFINITIONS}\FileDefinition.dat"
    File "${DEFINITIONS}\DirectoryDefinition.dat"
    File "${DEFINITIONS}\RegistryDefinition.dat"
    File "${DEFINITIONS}\ExeDefinition.dat"
    File "${DEFINITIONS}\BlockedCookies.dat"
    File "${DEFINITIONS}\Safety.dat"
    SetOutPath "$INSTDIR"

    ; The sample definitions go to the user's data folder only when it holds none: definitions that
    ; Live Update brought are newer and are never replaced.
    SetShellVarContext current
    IfFileExists "$APPDATA\${DATA_FOLDER}\FileDefinition.dat" definitions_done
    CreateDirectory "$APPDATA\${DATA_FOLDER}"
    SetOutPath "$APPDATA\${DATA_FOLDER}"
    SetOverwrite off
    File "${DEFINITIONS}\FileDefinition.dat"
    File "${DEFINITIONS}\DirectoryDefinition.dat"
    File "${DEFINITIONS}\RegistryDefinition.dat"
    File "${DEFINITIONS}\ExeDefinition.dat"
    File "${DEFINITIONS}\BlockedCookies.dat"
    File "${DEFINITIONS}\Safety.dat"
    SetOverwrite on
definitions_done:
    SetOutPath "$INSTDIR"

    ; Start menu, for every user.
    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\grimsweep.exe"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

    ; The uninstaller, listed in Add/Remove Programs.
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\grimsweep.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

    ; The machine key, which a standard user can read but never create: the program keeps its
    ; machine-wide marks there when it may, and in the user's own key otherwise.
    WriteRegStr HKLM "${MACHINE_KEY}\Settings" "Installed" "${VERSION}"
SectionEnd

; The value a user's "Run at Startup" box writes, for every user of the machine: only an administrator
; may write it, and the installer runs as one.
Section /o "Start ${PRODUCT} when anyone logs on" SecRunAtLogon
    WriteRegStr HKLM "${RUN_KEY}" "grimsweep" '"$INSTDIR\grimsweep"'
SectionEnd

; A 64-bit installer: it runs only on 64-bit Windows, and sees the 64-bit registry.
Function .onInit
    SetRegView 64
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/RUNATLOGON" $1
    IfErrors run_choice_done
    !insertmacro SelectSection ${SecRunAtLogon}
run_choice_done:
FunctionEnd

Section "Uninstall"
    ; A running copy would keep its files.
    nsExec::Exec 'taskkill /IM grimsweep.exe /F'
    Pop $0
    Delete "$INSTDIR\grimsweep.exe"
    Delete "$INSTDIR\gscan.exe"
    Delete "$INSTDIR\gsdefs.exe"
    Delete "$INSTDIR\Localization.xml"
    Delete "$INSTDIR\Localization.txt"
    Delete "$INSTDIR\Grimsweep.ini"
    Delete "$INSTDIR\Help.chm"
    RMDir /r "$INSTDIR\help"
    RMDir /r "$INSTDIR\Definitions"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"

    DeleteRegValue HKLM "${RUN_KEY}" "grimsweep"
    ; A standard user's own Run value and stand-in for the machine key.
    DeleteRegValue HKCU "${RUN_KEY}" "grimsweep"
    DeleteRegKey HKCU "${MACHINE_KEY}\Machine"
    DeleteRegKey HKLM "${MACHINE_KEY}"
    DeleteRegKey /ifempty HKLM "SOFTWARE\${COMPANY}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    ; The data folder holds the quarantine: it goes only when the user says so (never when silent).
    SetShellVarContext current
    IfFileExists "$APPDATA\${DATA_FOLDER}\*.*" 0 data_done
    MessageBox MB_YESNO|MB_ICONQUESTION "Remove the definitions and the quarantine in $APPDATA\${DATA_FOLDER} as well?$\r$\nItems in the quarantine can no longer be restored once it is removed." /SD IDNO IDNO data_done
    RMDir /r "$APPDATA\${DATA_FOLDER}"
data_done:
SectionEnd
