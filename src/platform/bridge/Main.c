#include "Bridge.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static HANDLE output;

const char* nextField(struct Fields* fields) {
    if (fields->pos >= fields->size)
        return NULL;
    const char* field = fields->bytes + fields->pos;
    const char* end = memchr(field, '\0', fields->size - fields->pos);
    if (!end)
        return NULL; /* a field cut off by the end of input is not taken */
    fields->pos = (size_t)(end - fields->bytes) + 1;
    return field;
}

wchar_t* widen(const char* text) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, NULL, 0);
    if (units <= 0)
        return NULL;
    wchar_t* wide = malloc((size_t)units * sizeof(wchar_t));
    if (wide)
        MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, units);
    return wide;
}

static void writeOut(const char* bytes, DWORD size) {
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(output, bytes, size, &written, NULL) || written == 0)
            return;
        bytes += written;
        size -= written;
    }
}

void answer(const char* text) {
    writeOut(text, (DWORD)strlen(text) + 1);
}

void answerWide(const wchar_t* text, size_t length) {
    if (length == 0) {
        answer("");
        return;
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, (int)length, NULL, 0, NULL, NULL);
    char* utf8 = malloc((size_t)size + 1);
    if (!utf8) {
        answer("");
        return;
    }
    WideCharToMultiByte(CP_UTF8, 0, text, (int)length, utf8, size, NULL, NULL);
    utf8[size] = '\0';
    answer(utf8);
    free(utf8);
}

void answerNumber(unsigned long number) {
    char text[32];
    snprintf(text, sizeof text, "%lu", number);
    answer(text);
}

/* All of standard input; the request is small (a command line, a few registry operations). */
static int readInput(struct Fields* fields) {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    size_t capacity = 4096;
    fields->bytes = malloc(capacity);
    fields->size = 0;
    fields->pos = 0;
    if (!fields->bytes)
        return 0;
    for (;;) {
        if (fields->size == capacity) {
            char* grown = realloc(fields->bytes, capacity * 2);
            if (!grown)
                return 0;
            fields->bytes = grown;
            capacity *= 2;
        }
        DWORD got = 0;
        if (!ReadFile(input, fields->bytes + fields->size, (DWORD)(capacity - fields->size), &got, NULL) || got == 0)
            return 1;
        fields->size += got;
    }
}

int main(void) {
    output = GetStdHandle(STD_OUTPUT_HANDLE);
    struct Fields fields;
    if (!readInput(&fields))
        return 2;
    const char* verb = nextField(&fields);
    int status = 2;
    if (verb && (strcmp(verb, "run") == 0 || strcmp(verb, "run-here") == 0))
        status = runRequest(&fields, verb);
    else if (verb && strcmp(verb, "reg") == 0)
        status = registryRequests(&fields);
    /* The request may hold a password: leave nothing of it behind. */
    SecureZeroMemory(fields.bytes, fields.size);
    free(fields.bytes);
    return status;
}
