/* Another program, for the Wine stages: holds the game's mutex, or a file open without sharing (as a
 * backup or sync tool may), prints "held" and keeps it for the seconds given.
 *   korvex-hold.exe mutex KORVEX 30      korvex-hold.exe file C:\path\korvex.set 30 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    HANDLE held = strcmp(argv[1], "mutex") == 0 ? CreateMutexA(NULL, TRUE, argv[2])
                                                : CreateFileA(argv[2], GENERIC_READ, 0, NULL, OPEN_EXISTING,
                                                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (held == NULL || held == INVALID_HANDLE_VALUE) return 1;
    puts("held");
    fflush(stdout);
    Sleep(1000 * (DWORD)atoi(argv[3]));
    return 0;
}
