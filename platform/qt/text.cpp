#include "platform/qt/text.h"

#include <cstring>

namespace {

// Unicode of the bytes 0x80 to 0x9F; 0 marks the five unused codes, which are
// passed through as the C1 control of the same number.
const char16_t windows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t decodeByte(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0 && windows1252High[byte - 0x80] != 0)
        return windows1252High[byte - 0x80];
    return byte;  // ASCII, Latin-1 and the unused codes
}

char encodeCharacter(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return (char)unit;
    for (int i = 0; i < 32; ++i)
        if (windows1252High[i] == unit) return (char)(0x80 + i);
    if (unit >= 0x80 && unit < 0xA0) {  // an unused code read in before
        if (windows1252High[unit - 0x80] == 0) return (char)unit;
    }
    return '?';
}

}  // namespace

QString fromGameText(const char* text) {
    if (!text) return QString();
    return fromGameText(text, std::strlen(text));
}

QString fromGameText(const char* text, size_t length) {
    QString result;
    if (!text) return result;
    result.resize((qsizetype)length);
    for (size_t i = 0; i < length; ++i) result[(qsizetype)i] = QChar(decodeByte((unsigned char)text[i]));
    return result;
}

QByteArray toGameText(const QString& text) {
    QByteArray result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t unit = text.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;  // one character outside the code page, one '?'
        result.append(QChar::isSurrogate(unit) ? '?' : encodeCharacter(unit));
    }
    return result;
}

int copyGameText(const QString& text, char* buffer, size_t size) {
    if (!buffer || size == 0) return 0;
    QByteArray bytes = toGameText(text);
    size_t length = (size_t)bytes.size();
    if (length > size - 1) length = size - 1;
    std::memcpy(buffer, bytes.constData(), length);
    buffer[length] = '\0';
    return (int)length;
}
