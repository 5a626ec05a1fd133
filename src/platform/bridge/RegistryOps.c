#include "Bridge.h"

#include <stdlib.h>
#include <string.h>

static HKEY rootOf(const char* name) {
    if (strcmp(name, "HKCU") == 0)
        return HKEY_CURRENT_USER;
    if (strcmp(name, "HKLM") == 0)
        return HKEY_LOCAL_MACHINE;
    return NULL;
}

/* Text of a string value: its UTF-16 units up to the first NUL. */
static size_t textLength(const BYTE* data, DWORD size) {
    const wchar_t* text = (const wchar_t*)data;
    size_t units = size / sizeof(wchar_t);
    for (size_t i = 0; i < units; ++i)
        if (text[i] == 0)
            return i;
    return units;
}

/* "ok" count (name type data)* or "missing". */
static void listValues(HKEY root, const wchar_t* path) {
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        answer("missing");
        return;
    }
    DWORD count = 0, nameMax = 0, dataMax = 0;
    if (RegQueryInfoKeyW(key, NULL, NULL, NULL, NULL, NULL, NULL, &count, &nameMax, &dataMax, NULL, NULL) !=
        ERROR_SUCCESS) {
        RegCloseKey(key);
        answer("missing");
        return;
    }
    wchar_t* name = malloc(((size_t)nameMax + 1) * sizeof(wchar_t));
    BYTE* data = malloc((size_t)dataMax + sizeof(wchar_t));
    /* Values that vanish while the key is read are left out, so the count comes after them. */
    DWORD listed = 0;
    answer("ok");
    if (!name || !data)
        count = 0;
    struct Entry {
        wchar_t* name;
        size_t nameLength;
        DWORD type;
        BYTE* data;
        DWORD size;
    }* entries = count ? calloc(count, sizeof *entries) : NULL;
    for (DWORD i = 0; entries && i < count; ++i) {
        DWORD nameLength = nameMax + 1, size = dataMax, type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, NULL, &type, data, &size) != ERROR_SUCCESS)
            continue;
        struct Entry* entry = &entries[listed++];
        entry->name = malloc(((size_t)nameLength + 1) * sizeof(wchar_t));
        entry->data = malloc((size_t)size + 1);
        if (!entry->name || !entry->data) {
            --listed;
            continue;
        }
        memcpy(entry->name, name, (size_t)nameLength * sizeof(wchar_t));
        entry->nameLength = nameLength;
        entry->type = type;
        memcpy(entry->data, data, size);
        entry->size = size;
    }
    answerNumber(listed);
    for (DWORD i = 0; i < listed; ++i) {
        struct Entry* entry = &entries[i];
        answerWide(entry->name, entry->nameLength);
        answerNumber(entry->type);
        if (entry->type == REG_SZ || entry->type == REG_EXPAND_SZ)
            answerWide((const wchar_t*)entry->data, textLength(entry->data, entry->size));
        else
            answer("");
        free(entry->name);
        free(entry->data);
    }
    free(entries);
    free(name);
    free(data);
    RegCloseKey(key);
}

static const char* setString(HKEY root, const wchar_t* path, const wchar_t* name, const wchar_t* data) {
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return "fail";
    const DWORD size = (DWORD)((wcslen(data) + 1) * sizeof(wchar_t));
    const LONG result = RegSetValueExW(key, name, 0, REG_SZ, (const BYTE*)data, size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? "ok" : "fail";
}

static const char* deleteValue(HKEY root, const wchar_t* path, const wchar_t* name) {
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return "missing";
    const LONG result = RegDeleteValueW(key, name);
    RegCloseKey(key);
    if (result == ERROR_FILE_NOT_FOUND)
        return "missing";
    return result == ERROR_SUCCESS ? "ok" : "fail";
}

static const char* createKey(HKEY root, const wchar_t* path) {
    HKEY key;
    if (RegCreateKeyExW(root, path, 0, NULL, 0, KEY_WRITE | KEY_WOW64_64KEY, NULL, &key, NULL) != ERROR_SUCCESS)
        return "fail";
    RegCloseKey(key);
    return "ok";
}

int registryRequests(struct Fields* fields) {
    for (;;) {
        const char* op = nextField(fields);
        if (!op)
            return 0;
        const char* rootName = nextField(fields);
        const char* pathText = nextField(fields);
        const BOOL named = strcmp(op, "set") == 0 || strcmp(op, "delete") == 0;
        const char* nameText = named ? nextField(fields) : "";
        const char* dataText = strcmp(op, "set") == 0 ? nextField(fields) : "";
        HKEY root = rootName ? rootOf(rootName) : NULL;
        if (!rootName || !pathText || !nameText || !dataText || !root)
            return 2;
        wchar_t* path = widen(pathText);
        wchar_t* name = widen(nameText);
        wchar_t* data = widen(dataText);
        if (!path || !name || !data)
            answer("fail");
        else if (strcmp(op, "list") == 0)
            listValues(root, path);
        else if (strcmp(op, "set") == 0)
            answer(setString(root, path, name, data));
        else if (strcmp(op, "delete") == 0)
            answer(deleteValue(root, path, name));
        else if (strcmp(op, "create") == 0)
            answer(createKey(root, path));
        else
            answer("fail");
        free(path);
        free(name);
        free(data);
    }
}
