// Language files as loadLanguage reads them. After each input every slot is
// terminated within its size, holds no double quote and no line end, and a
// menu text that was set ends with its function-key suffix; mahjong-2d leaves
// the keys of the 3D view empty.
#include <cstring>

#include "engine/host.h"
#include "settings/language.h"
#include "tests/support/null_host.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void checkSlot(const char* slot, size_t size, const char* suffix) {
    FUZZ_CHECK(fuzzTerminated(slot, size));
    FUZZ_CHECK(!std::strchr(slot, '"') && !std::strchr(slot, '\n'));
    const size_t length = std::strlen(slot), suffixLength = std::strlen(suffix);
    if (length > 0) FUZZ_CHECK(length >= suffixLength && std::strcmp(slot + length - suffixLength, suffix) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    fuzzStartDirectory();
    if (!ready) {
        fuzzWriteText("LANGUAGE/FUZZ.HLP", "help");
        ready = true;
    }
    fuzzWriteFile("LANGUAGE/FUZZ.TXT", data, size);
    fake::reset();
    std::memset(&LanguageTexts, 0, sizeof LanguageTexts);
    copyText(Settings.Language, "FUZZ.TXT", FILE_NAME_SIZE);
    FUZZ_CHECK(loadLanguage());

#define MJ_CHECK_MENU(key, suffix) checkSlot(LanguageTexts.key, MENU_TEXT_SIZE, suffix);
#define MJ_CHECK_TIP(key) checkSlot(LanguageTexts.key, MENU_TEXT_SIZE, "");
#define MJ_CHECK_LONG(key) checkSlot(LanguageTexts.key, LONG_TEXT_SIZE, "");
    MJ_MENU_TEXTS(MJ_CHECK_MENU)
    MJ_TIP_TEXTS(MJ_CHECK_TIP)
    MJ_LONG_TEXTS(MJ_CHECK_LONG)
#define MJ_CHECK_EMPTY(key) FUZZ_CHECK(host.has3DView || LanguageTexts.key[0] == 0);
    MJ_3D_ONLY_KEYS(MJ_CHECK_EMPTY)
    FUZZ_CHECK(std::strcmp(helpFile, "FUZZ.HLP") == 0);
    return 0;
}
