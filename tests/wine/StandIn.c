/* A stand-in for 1C:Enterprise 7.7 under real Wine: writes what it was given to the file named by
 * the variable STANDIN_LOG (a Windows path), then stays alive STANDIN_SLEEP milliseconds.
 * The file holds three lines and an end mark:
 *   W <GetCommandLineW as UTF-8>
 *   A <GetCommandLineA, bytes as they are (code page GetACP)>
 *   ACP <GetACP>
 *   END
 * It is written under another name and renamed, so a reader never sees half of it. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

int main(void) {
    wchar_t logName[1024], sleepText[32];
    if (!GetEnvironmentVariableW(L"STANDIN_LOG", logName, 1024))
        return 1;
    wchar_t partName[1040];
    swprintf(partName, 1040, L"%ls.part", logName);
    FILE* log = _wfopen(partName, L"wb");
    if (!log)
        return 1;
    const wchar_t* wide = GetCommandLineW();
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, NULL, 0, NULL, NULL);
    char* utf8 = malloc((size_t)size);
    if (!utf8)
        return 1;
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, size, NULL, NULL);
    fprintf(log, "W %s\nA %s\nACP %u\nEND\n", utf8, GetCommandLineA(), GetACP());
    fclose(log);
    MoveFileExW(partName, logName, MOVEFILE_REPLACE_EXISTING);
    if (GetEnvironmentVariableW(L"STANDIN_SLEEP", sleepText, 32))
        Sleep((DWORD)_wtoi(sleepText));
    return 0;
}
