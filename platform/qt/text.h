// Conversion between the game's 8-bit texts (Windows-1252) and Qt strings.
#pragma once
#include <QByteArray>
#include <QString>
#include <cstddef>

QString fromGameText(const char* text);  // null gives an empty string
QString fromGameText(const char* text, size_t length);
// Characters without a Windows-1252 code become '?'.
QByteArray toGameText(const QString& text);
// Copies toGameText(text) into buffer (size bytes, always zero-terminated when
// size > 0); returns the number of bytes copied without the terminator.
int copyGameText(const QString& text, char* buffer, size_t size);
