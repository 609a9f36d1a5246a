// Interface texts: the language file reader and the choice of the help file.
#include "settings/language.h"

#include <cstdio>
#include <cstring>

#include "engine/host.h"
#include "platform/files.h"
#include "settings/directories.h"

LanguageTextsRecord LanguageTexts;
char helpFile[FILE_NAME_SIZE];

namespace {

struct LanguageKey {
    const char* key;
    char* slot;
    int size;
    const char* suffix;
};

const LanguageKey languageKeys[] = {
#define MJ_MENU_KEY(key, suffix) {#key, LanguageTexts.key, MENU_TEXT_SIZE, suffix},
#define MJ_TIP_KEY(key) {#key, LanguageTexts.key, MENU_TEXT_SIZE, ""},
#define MJ_LONG_KEY(key) {#key, LanguageTexts.key, LONG_TEXT_SIZE, ""},
    MJ_MENU_TEXTS(MJ_MENU_KEY) MJ_TIP_TEXTS(MJ_TIP_KEY) MJ_LONG_TEXTS(MJ_LONG_KEY)
#undef MJ_MENU_KEY
#undef MJ_TIP_KEY
#undef MJ_LONG_KEY
};

constexpr int LANGUAGE_KEY_COUNT = static_cast<int>(sizeof languageKeys / sizeof languageKeys[0]);

const char* const threeDOnlyKeys[] = {
#define MJ_3D_KEY(key) #key,
    MJ_3D_ONLY_KEYS(MJ_3D_KEY)
#undef MJ_3D_KEY
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

void readLanguageLine(const char* line) {
    if (line[0] == ';' || strlen(line) < 3) return;
    const char* start = line;
    while (*start && isBlank(*start)) ++start;
    const char* end = start;
    while (*end && !isBlank(*end)) ++end;
    size_t keyLength = static_cast<size_t>(end - start);
    if (keyLength == 0) return;

    const LanguageKey* found = nullptr;
    for (const LanguageKey& entry : languageKeys) {
        if (strlen(entry.key) == keyLength && strncmp(entry.key, start, keyLength) == 0) {
            found = &entry;
            break;
        }
    }
    if (!found) return;
    if (!host.has3DView && languageKeyIs3DOnly(found->key)) return;

    // The value stands between the first and the second double quote of the line.
    const char* open = strchr(line, '"');
    if (!open) return;
    const char* close = strchr(open + 1, '"');
    if (!close) return;
    char value[LANGUAGE_LINE_LIMIT + 1];
    size_t length = static_cast<size_t>(close - open - 1);
    memcpy(value, open + 1, length);
    value[length] = 0;
    setText(found->slot, found->size, value, found->suffix);
}

}  // namespace

int languageKeyCount() { return LANGUAGE_KEY_COUNT; }

const char* languageKeyName(int index) {
    if (index < 0 || index >= LANGUAGE_KEY_COUNT) return nullptr;
    return languageKeys[index].key;
}

const char* languageText(const char* key) {
    for (const LanguageKey& entry : languageKeys) {
        if (strcmp(entry.key, key) == 0) return entry.slot;
    }
    return nullptr;
}

bool languageKeyIs3DOnly(const char* key) {
    for (const char* only3D : threeDOnlyKeys) {
        if (strcmp(only3D, key) == 0) return true;
    }
    return false;
}

void setText(char* slot, int slotSize, const char* value, const char* suffix) {
    if (slotSize <= 0) return;
    int suffixLength = static_cast<int>(strlen(suffix));
    if (suffixLength > slotSize - 1) suffixLength = slotSize - 1;
    // A value too long for its slot is cut so that the function-key text still fits.
    int valueLength = static_cast<int>(strlen(value));
    if (valueLength > slotSize - 1 - suffixLength) valueLength = slotSize - 1 - suffixLength;
    memmove(slot, value, valueLength);
    memcpy(slot + valueLength, suffix, suffixLength);
    slot[valueLength + suffixLength] = 0;
}

void replaceExtension(char* output, int size, const char* name, const char* extension) {
    if (size <= 0) return;
    const char* point = strrchr(name, '.');
    int baseLength = point ? static_cast<int>(point - name) : static_cast<int>(strlen(name));
    int extensionLength = static_cast<int>(strlen(extension));
    if (baseLength > size - 1) baseLength = size - 1;
    if (extensionLength > size - 1 - baseLength) extensionLength = size - 1 - baseLength;
    memmove(output, name, baseLength);
    memcpy(output + baseLength, extension, extensionLength);
    output[baseLength + extensionLength] = 0;
}

bool loadLanguage() {
    bool result = false;
    if (platformSetCurrentDirectory(languageDirectory)) {
        FILE* file = platformOpenFile(Settings.Language, "rb");
        if (file) {
            result = true;
            char line[LANGUAGE_LINE_LIMIT + 1];
            while (fgets(line, sizeof line, file)) readLanguageLine(line);
            fclose(file);
        }
    }
    returnToStartDirectory();

    replaceExtension(helpFile, sizeof helpFile, Settings.Language, ".HLP");
    if (!fileExistsIn(languageDirectory, helpFile)) pickFile("*.HLP", languageDirectory, helpFile, "ENGLISH.HLP");
    host.updateStatusBar(host.mainWindow());
    return result;
}
