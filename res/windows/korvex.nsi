; The Korvex installer. It installs for every user of the machine into one flat folder below Program
; Files (no subfolders: our uninstaller's batch removes a folder only once it is empty), adds a
; Start-menu entry named like the folder, and registers our own uninstaller, uninstall.exe, under the
; folder's name below the Uninstall key: that name is how the uninstaller finds its key and its entry.
; What it refuses before it changes anything is in checks.nsh.
;
; makensis -DVERSION=1.1.0 -DSTAGE=<flat folder of the files> -DICON=<korvex.ico> -DOUTFILE=<setup.exe>
; With -XTarget amd64-unicode -DWIN64 it installs the 64-bit build the Wine test runs where 32-bit code
; cannot: into the 64-bit Program Files and the registry's 64-bit view, where the 64-bit uninstaller looks.
Unicode true
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define PUBLISHER "The Korvex developers"

Name "Korvex"
OutFile "${OUTFILE}"
Icon "${ICON}"
!ifdef WIN64
    !define PROGRAM_FILES "$PROGRAMFILES64"
!else
    !define PROGRAM_FILES "$PROGRAMFILES"
!endif
InstallDir "${PROGRAM_FILES}\Korvex"
InstallDirRegKey HKLM "${UNINSTALL_KEY}\Korvex" "InstallLocation"  ; an earlier copy's folder is offered
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 ProductName "Korvex"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileDescription "Korvex ${VERSION} setup"
VIAddVersionKey /LANG=1033 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=1033 LegalCopyright "Copyright (C) 2026 ${PUBLISHER}"

Page directory
Page instfiles

Var keyName

!include checks.nsh

!ifdef WIN64
Function .onInit
    SetRegView 64  ; what a 64-bit process sees anyway (InstallDirRegKey is read before this), made explicit
FunctionEnd
!endif

Section
    SetShellVarContext all
    Call RefuseWithoutAdmin
    Call RefuseWhileGameRuns
    Call RefuseUnusableFolderArgument
    Call NormaliseFolder
    Call RefuseFolderTheUninstallerCannotName
    Call RefuseForeignFolder
    ${GetFileName} "$INSTDIR" $keyName
    Call RefuseForeignKey

    StrCpy $0 0
    ${IfNot} ${FileExists} "$INSTDIR\*"
        StrCpy $0 1
    ${EndIf}
    SetOutPath "$INSTDIR"
    Call GiveProgramFilesPermissions
    File "${STAGE}/uninstall.exe"
    File "${STAGE}/uninstall.exe.manifest"
    File "${STAGE}/korvex.exe"
    File "${STAGE}/SDL.dll"
    File "${STAGE}/SDL-COPYING.txt"
    File "${STAGE}/0.pak"
    File "${STAGE}/1.pak"
    File "${STAGE}/story"
    File "${STAGE}/story1.bmp"
    File "${STAGE}/0.wav"
    File "${STAGE}/1.wav"
    File "${STAGE}/2.wav"
    File "${STAGE}/3.wav"

    CreateShortcut "$SMPROGRAMS\$keyName.lnk" "$INSTDIR\korvex.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}\$keyName" "DisplayName" "Korvex"
    WriteRegStr HKLM "${UNINSTALL_KEY}\$keyName" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}\$keyName" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}\$keyName" "DisplayIcon" "$INSTDIR\korvex.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}\$keyName" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}\$keyName" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}\$keyName" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}\$keyName" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}\$keyName" "EstimatedSize" $0
SectionEnd
