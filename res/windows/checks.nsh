; What the installer checks before it changes anything, and the permissions of a folder it makes. Each
; refusal says why (in a message box; a silent install only ends) and ends the installer with exit
; code 2, so that a silent install that cannot go where it was sent never reports success.
!include FileFunc.nsh
!include LogicLib.nsh
!include WordFunc.nsh

; The names of the files the installer writes, taken from the folder they are packed from: a folder
; that holds nothing else (an install cut short included) is ours to install into.
!tempfile OUR_FILES_NSH
!system `cd "${STAGE}" && ls | paste -sd '|' | sed 's/.*/!define OUR_FILES "|&|"/' >"${OUR_FILES_NSH}"` = 0
!include "${OUR_FILES_NSH}"
!delfile "${OUR_FILES_NSH}"

!define GAME_MUTEX "KORVEX"           ; held by the game while it runs
!define UNINSTALLER_NAME "uninstall.exe"
!define BATCH_CAPACITY 991            ; the uninstaller's batch text, without its terminator
!define BATCH_FIXED 92                ; the batch's own bytes around the four paths
!define UNINSTALLER_SUFFIX 14         ; "\uninstall.exe", which makes the uninstaller's path of the folder's

!macro Refuse text
    MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
    SetErrorLevel 2
    Quit
!macroend

; With UAC switched off a standard user's setup runs unelevated, and could write neither the
; uninstall entry nor the folder below Program Files.
Function RefuseWithoutAdmin
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        !insertmacro Refuse "Korvex installs for every user of this computer and needs administrator \
            rights.$\nPlease run the setup as an administrator."
    ${EndIf}
FunctionEnd

; Files of a running game cannot all be replaced. A mutex we may not open is still there.
Function RefuseWhileGameRuns
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${GAME_MUTEX}") p .r0 ?e'
    Pop $1
    ${If} $0 != 0
        System::Call 'kernel32::CloseHandle(p r0)'
    ${EndIf}
    ${If} $0 != 0
    ${OrIf} $1 = 5
        !insertmacro Refuse "Korvex is running.$\nPlease end the game, then run the setup again."
    ${EndIf}
FunctionEnd

; The folder's full form: separators as Windows writes them, and without the dots and spaces that
; Windows drops from the end of a name ("Korvex." is made as "Korvex", which must be the key's name too).
!macro FullPath path out
    System::Call 'kernel32::GetFullPathNameW(w "${path}", i ${NSIS_MAX_STRLEN}, w .s, p 0) i .r9'
    Pop ${out}
    ${If} $9 = 0
    ${OrIf} $9 >= ${NSIS_MAX_STRLEN}
        StrCpy ${out} ""
    ${EndIf}
!macroend

; A folder given with /D= that this setup cannot use (a drive's root, forward slashes) leaves $INSTDIR
; at the folder offered instead: a silent install must then not go there.
Function RefuseUnusableFolderArgument
    ${IfNot} ${Silent}
        Return  ; the folder page showed what will be used, and the player may have changed it
    ${EndIf}
    StrCpy $0 ""
    System::Call 'kernel32::GetCommandLineW() w .r8'  ; $CMDLINE ends before the /D=
    StrLen $1 $8
    StrCpy $2 0
    ${DoWhile} $2 < $1
        StrCpy $3 $8 4 $2
        ${If} $3 S== " /D="
        ${OrIf} $3 S== '"/D='  ; quoted, which this setup does not read
            IntOp $4 $2 + 4
            StrCpy $0 $8 "" $4  ; /D= is the last option: the folder is the rest of the line
        ${EndIf}
        IntOp $2 $2 + 1
    ${Loop}
    ${If} $0 == ""
        Return
    ${EndIf}
    StrCpy $1 $0 1 -1
    ${If} $1 == '"'
        StrCpy $0 $0 -1
    ${EndIf}
    !insertmacro FullPath "$0" $5
    !insertmacro FullPath "$INSTDIR" $6
    ${If} $5 == ""
    ${OrIf} $5 != $6
        !insertmacro Refuse "Korvex cannot be installed into $0.$\nPlease name a folder below a drive's root."
    ${EndIf}
FunctionEnd

Function NormaliseFolder
    !insertmacro FullPath "$INSTDIR" $0
    ${If} $0 == ""
        !insertmacro Refuse "$INSTDIR is not a folder Korvex can be installed into."
    ${EndIf}
    StrCpy $INSTDIR $0
    ${GetFileName} "$INSTDIR" $1
    ${If} $1 == ""
        !insertmacro Refuse "Korvex cannot be installed into the root of a drive.$\nPlease choose a folder."
    ${EndIf}
FunctionEnd

; The uninstaller names its folder in the ANSI code page and writes its batch in the OEM code page,
; which the command prompt reads: every character of the folder's name must have a form in both. The
; batch names the folder and the uninstaller twice each, every % doubled, in at most 991 bytes.
Function RefuseFolderTheUninstallerCannotName
    System::Call 'kernel32::WideCharToMultiByte(i 0, i 0x400, w "$INSTDIR", i -1, p 0, i 0, p 0, *i 0 r1) i .r0'
    System::Call 'kernel32::WideCharToMultiByte(i 1, i 0x400, w "$INSTDIR", i -1, p 0, i 0, p 0, *i 0 r2) i .r3'
    ${If} $0 = 0
    ${OrIf} $1 <> 0
    ${OrIf} $2 <> 0
    ${OrIf} $3 = 0
        !insertmacro Refuse "$INSTDIR has characters that this Windows cannot write for programs that do \
            not use Unicode or for the command prompt, so Korvex could not be uninstalled from it.$\nPlease \
            choose another folder."
    ${EndIf}
    IntOp $5 $0 - 1  ; the folder's bytes, without the terminator
    StrLen $1 $INSTDIR
    StrCpy $2 0
    ${DoWhile} $2 < $1
        StrCpy $3 $INSTDIR 1 $2
        ${If} $3 == "%"
            IntOp $5 $5 + 1
        ${EndIf}
        IntOp $2 $2 + 1
    ${Loop}
    IntOp $6 $5 * 4
    IntOp $6 $6 + ${BATCH_FIXED}
    IntOp $6 $6 + ${UNINSTALLER_SUFFIX}
    IntOp $6 $6 + ${UNINSTALLER_SUFFIX}
    ${If} $6 > ${BATCH_CAPACITY}
        !insertmacro Refuse "The path of $INSTDIR is too long for Korvex's uninstaller.$\nPlease choose a \
            shorter folder."
    ${EndIf}
FunctionEnd

; The uninstaller deletes every file in its folder and below: a folder that holds anything but files of
; ours (a drive's root, Program Files itself, another program) is refused before a file is written. An
; earlier copy, and one whose install was cut short, hold only files of ours.
Function RefuseForeignFolder
    ClearErrors
    FindFirst $0 $1 "$INSTDIR\*"
    ${DoWhile} $1 != ""
        ${If} $1 != "."
        ${AndIf} $1 != ".."
            ${WordFind} "${OUR_FILES}" "|$1|" "E#" $2
            ${If} ${Errors}
            ${OrIf} ${FileExists} "$INSTDIR\$1\*"
                FindClose $0
                !insertmacro Refuse "$INSTDIR is not empty.$\nKorvex installs only into an empty folder \
                    or over an earlier copy of itself."
            ${EndIf}
        ${EndIf}
        FindNext $0 $1
    ${Loop}
    FindClose $0
FunctionEnd

; The entry below the Uninstall key is named like the folder. One of that name that is not ours, or
; ours for a copy still installed in another folder, is left alone: taking it over would leave that
; program or copy without an entry, and our uninstaller would later delete it.
Function RefuseForeignKey
    StrCpy $0 "${UNINSTALL_KEY}\$keyName"
    EnumRegValue $1 HKLM $0 0
    EnumRegKey $2 HKLM $0 0
    ${If} $1 == ""
    ${AndIf} $2 == ""
        Return  ; no such key, or an empty one
    ${EndIf}
    ReadRegStr $1 HKLM $0 "DisplayName"
    ReadRegStr $2 HKLM $0 "Publisher"
    ReadRegStr $3 HKLM $0 "InstallLocation"
    ${If} $1 S!= "Korvex"
    ${OrIf} $2 S!= "${PUBLISHER}"
        !insertmacro Refuse "Another program is registered as $keyName in the list of installed \
            programs.$\nPlease install Korvex into a folder of another name."
    ${EndIf}
    ${If} $3 != $INSTDIR
    ${AndIf} ${FileExists} "$3\${UNINSTALLER_NAME}"
        !insertmacro Refuse "Korvex is already installed in $3.$\nPlease uninstall that copy first, or \
            install into a folder of another name."
    ${EndIf}
FunctionEnd

; A folder the installer makes outside Program Files would inherit what its parent allows (on a data
; drive's root: every user may write), and others could replace uninstall.exe: it gets Program Files'
; own DACL, protected from its parent. $0 is 1 when the folder was made by this install.
Function GiveProgramFilesPermissions
    ${If} $0 <> 1
        Return
    ${EndIf}
    ${GetFileName} "$INSTDIR" $1  ; the folder's parent, with a backslash:
    StrLen $2 $1
    IntOp $2 0 - $2
    StrCpy $3 "$INSTDIR" $2
    ${If} $3 == "$PROGRAMFILES\"
    ${OrIf} $3 == "$PROGRAMFILES64\"
        Return
    ${EndIf}
    System::Call 'advapi32::GetNamedSecurityInfoW(w "${PROGRAM_FILES}", i 1, i 4, p 0, p 0, *p .r5, p 0, \
        *p .r6) i .r7'
    ${If} $7 = 0
        ; DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION
        System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR", i 1, i 0x80000004, p 0, p 0, p r5, p 0) i .r7'
        System::Call 'kernel32::LocalFree(p r6)'
    ${EndIf}
    ${If} $7 <> 0
        RMDir "$INSTDIR"
        !insertmacro Refuse "The permissions of $INSTDIR could not be set (error $7)."
    ${EndIf}
FunctionEnd
