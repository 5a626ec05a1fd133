#include "Bridge.h"

#include <stdlib.h>
#include <string.h>
#include <winternl.h>

/* The bridge of the other word size, beside this one: a process can only reach the command line
 * of a child of its own word size, and 1C:Enterprise 7.7 is a 32-bit program. */
#ifdef _WIN64
#define SIBLING L"tarvesk-bridge32.exe"
#define SIBLING_TYPE SCS_32BIT_BINARY
#else
#define SIBLING L"tarvesk-bridge64.exe"
#define SIBLING_TYPE SCS_64BIT_BINARY
#endif

/* Hands the whole request to the other bridge through a pipe on its standard input. */
static int handOff(const struct Fields* fields) {
    wchar_t path[MAX_PATH + 32];
    const DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 3;
    wchar_t* slash = wcsrchr(path, L'\\');
    wcscpy(slash ? slash + 1 : path, SIBLING);

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE reader = NULL, writer = NULL;
    if (!CreatePipe(&reader, &writer, &inherit, 0))
        return 3;
    SetHandleInformation(writer, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {0};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = reader;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    wchar_t commandLine[MAX_PATH + 40];
    commandLine[0] = L'"';
    wcscpy(commandLine + 1, path);
    wcscat(commandLine, L"\"");
    PROCESS_INFORMATION process;
    const BOOL started = CreateProcessW(path, commandLine, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process);
    CloseHandle(reader);
    if (!started) {
        CloseHandle(writer);
        return 3;
    }
    /* The same request, marked so that the other bridge starts the program itself. */
    static const char verb[] = "run-here";
    const char* rest = memchr(fields->bytes, '\0', fields->size);
    DWORD written = 0;
    BOOL ok = WriteFile(writer, verb, sizeof verb, &written, NULL);
    if (ok && rest) {
        const size_t offset = (size_t)(rest - fields->bytes) + 1;
        ok = WriteFile(writer, fields->bytes + offset, (DWORD)(fields->size - offset), &written, NULL);
    }
    CloseHandle(writer);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ok ? 0 : 3;
}

/* Puts line into the command line of a suspended child, in place of shown (the same length), so
 * that the child's GetCommandLineW and GetCommandLineA, made when it starts to run, give line. */
static BOOL replaceCommandLine(HANDLE child, const wchar_t* shown, const wchar_t* line, size_t units) {
    PROCESS_BASIC_INFORMATION basic;
    ULONG got = 0;
    if (NtQueryInformationProcess(child, ProcessBasicInformation, &basic, sizeof basic, &got) != 0 ||
        !basic.PebBaseAddress)
        return FALSE;
    PEB peb;
    RTL_USER_PROCESS_PARAMETERS parameters;
    if (!ReadProcessMemory(child, basic.PebBaseAddress, &peb, sizeof peb, NULL) ||
        !ReadProcessMemory(child, peb.ProcessParameters, &parameters, sizeof parameters, NULL))
        return FALSE;
    const size_t bytes = units * sizeof(wchar_t);
    if (parameters.CommandLine.Length != bytes || !parameters.CommandLine.Buffer)
        return FALSE;
    /* Only the text created with shown is replaced; anything else means the layout is not the
     * one this program knows. */
    wchar_t* check = malloc(bytes + sizeof(wchar_t));
    if (!check)
        return FALSE;
    BOOL ok =
        ReadProcessMemory(child, parameters.CommandLine.Buffer, check, bytes, NULL) && memcmp(check, shown, bytes) == 0;
    SIZE_T written = 0;
    ok = ok && WriteProcessMemory(child, parameters.CommandLine.Buffer, line, bytes, &written) && written == bytes;
    ok = ok && ReadProcessMemory(child, parameters.CommandLine.Buffer, check, bytes, NULL) &&
         memcmp(check, line, bytes) == 0;
    SecureZeroMemory(check, bytes);
    free(check);
    return ok;
}

int runRequest(struct Fields* fields, const char* verb) {
    const char* program = nextField(fields);
    const char* line = nextField(fields);
    const char* shown = nextField(fields);
    if (!program || !line || !shown)
        return 2;
    wchar_t* wideProgram = widen(program);
    wchar_t* wideLine = widen(line);
    wchar_t* wideShown = widen(shown);
    int status = 3;
    DWORD type = 0;
    if (!wideProgram || !wideLine || !wideShown) {
        status = 2;
    } else if (strcmp(verb, "run") == 0 && GetBinaryTypeW(wideProgram, &type) && type == SIBLING_TYPE) {
        status = handOff(fields);
    } else {
        const size_t units = wcslen(wideLine);
        const BOOL hidden = wcscmp(wideLine, wideShown) != 0;
        if (!hidden || wcslen(wideShown) == units) {
            STARTUPINFOW startup = {0};
            startup.cb = sizeof startup;
            startup.dwFlags = STARTF_USESHOWWINDOW;
            startup.wShowWindow = SW_SHOWNORMAL;
            PROCESS_INFORMATION process;
            if (CreateProcessW(NULL, wideShown, NULL, NULL, FALSE, hidden ? CREATE_SUSPENDED : 0, NULL, NULL, &startup,
                               &process)) {
                if (!hidden || replaceCommandLine(process.hProcess, wideShown, wideLine, units)) {
                    if (hidden)
                        ResumeThread(process.hThread);
                    status = 0;
                } else {
                    /* Started with the password blanked it would fail to log in, or worse. */
                    TerminateProcess(process.hProcess, 1);
                }
                CloseHandle(process.hThread);
                CloseHandle(process.hProcess);
            }
        }
    }
    if (wideLine)
        SecureZeroMemory(wideLine, wcslen(wideLine) * sizeof(wchar_t));
    free(wideProgram);
    free(wideLine);
    free(wideShown);
    return status;
}
