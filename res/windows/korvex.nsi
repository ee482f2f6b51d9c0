; The Korvex installer. It installs for every user of the machine into one flat folder below Program
; Files (no subfolders: our uninstaller's batch removes a folder only once it is empty), adds a
; Start-menu entry named like the folder, and registers our own uninstaller, uninstall.exe, under the
; folder's name below the Uninstall key: that name is how the uninstaller finds its key and its entry.
;
; makensis -DVERSION=1.1.0 -DSTAGE=<flat folder of the files> -DICON=<korvex.ico> -DOUTFILE=<setup.exe>
Unicode true
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define PUBLISHER "The Korvex developers"

Name "Korvex"
OutFile "${OUTFILE}"
Icon "${ICON}"
InstallDir "$PROGRAMFILES\Korvex"
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

; The uninstaller deletes every file in its folder and below: a folder that holds anything but an
; earlier copy of the game (a drive's root, Program Files itself) is refused before a file is written.
Function RefuseForeignFolder
    IfFileExists "$INSTDIR\korvex.exe" 0 notOurs
    IfFileExists "$INSTDIR\uninstall.exe" ours notOurs
notOurs:
    ClearErrors
    FindFirst $0 $1 "$INSTDIR\*"
    ${DoWhile} $1 != ""
        ${If} $1 != "."
        ${AndIf} $1 != ".."
            FindClose $0
            MessageBox MB_OK|MB_ICONSTOP "$INSTDIR is not empty.$\nKorvex installs only into an empty folder \
                or over an earlier copy of itself." /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
        FindNext $0 $1
    ${Loop}
    FindClose $0
ours:
FunctionEnd

; The uninstaller names its folder in the ANSI code page: in a folder whose name that code page cannot
; write, it could neither find its files nor remove them.
Function RefuseFolderOutsideAnsi
    System::Call 'kernel32::WideCharToMultiByte(i 0, i 0x400, w "$INSTDIR", i -1, p 0, i 0, p 0, *i 0 r1) i .r0'
    ${If} $1 != 0
        MessageBox MB_OK|MB_ICONSTOP "$INSTDIR has characters that this Windows cannot write in its \
            code page for programs that do not use Unicode.$\nPlease choose another folder." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd

Section
    SetShellVarContext all
    Call RefuseFolderOutsideAnsi
    Call RefuseForeignFolder
    ${GetFileName} "$INSTDIR" $keyName

    SetOutPath "$INSTDIR"
    File "${STAGE}/korvex.exe"
    File "${STAGE}/SDL.dll"
    File "${STAGE}/SDL-COPYING.txt"
    File "${STAGE}/uninstall.exe"
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
