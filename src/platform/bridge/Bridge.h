/* The Windows side of Tarvesk under Wine: a small program started through "wine" that does what
 * only a Windows process can do for the Linux program. It reads one request from standard input
 * and answers on standard output; every field is UTF-8 text ended by a NUL byte.
 *
 *   "run" program commandLine shownCommandLine
 *       Starts a program with exactly commandLine as its Windows command line, as a shell
 *       "open" would. When shownCommandLine differs (the same length, with the password blanked),
 *       the process is created with shownCommandLine, so the Unix process list shows that, and
 *       gets commandLine before it runs a single instruction of its own. No answer; exit status 0
 *       when the program was started.
 *   "reg" followed by any number of operations up to the end of input:
 *       "list" root path            -> "ok" count, then per value: name type data | "missing"
 *       "set" root path name data   -> "ok" | "fail"
 *       "delete" root path name     -> "ok" | "missing" | "fail"
 *       "create" root path          -> "ok" | "fail"
 *     root is "HKCU" or "HKLM"; path uses "\"; an empty name is the default value; type is the
 *     registry type in decimal; data is given for string values only (up to the first NUL).
 *     Keys are always those of the 64-bit view, as the hive files hold them.
 */
#ifndef TARVESK_BRIDGE_H
#define TARVESK_BRIDGE_H

#include <windows.h>

/* Request fields, as read from standard input. */
struct Fields {
    char* bytes;
    size_t size;
    size_t pos;
};

/* The next field (NUL-terminated UTF-8) or NULL at the end of input. */
const char* nextField(struct Fields* fields);
/* A NUL-terminated UTF-16 copy of UTF-8 text (free with free()); NULL when out of memory. */
wchar_t* widen(const char* text);

/* Answers on standard output. */
void answer(const char* text);
void answerWide(const wchar_t* text, size_t length);
void answerNumber(unsigned long number);

int runRequest(struct Fields* fields, const char* verb);
int registryRequests(struct Fields* fields);

#endif
