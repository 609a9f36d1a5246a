// Windows-1252 texts to and from Qt strings.
#include <QTest>
#include <cstring>

#include "platform/qt/text.h"
#include "tests/platform_qt/test_suites.h"

class TextTests : public QObject {
    Q_OBJECT
private slots:
    void accentsEuroAndSharpS() {
        QCOMPARE(fromGameText("caf\xE9"), QString::fromUtf8("café"));
        QCOMPARE(fromGameText("\x80 5"), QString::fromUtf8("€ 5"));
        QCOMPARE(fromGameText("Stra\xDF" "e"), QString::fromUtf8("Straße"));
        QCOMPARE(toGameText(QString::fromUtf8("café")), QByteArray("caf\xE9"));
        QCOMPARE(toGameText(QString::fromUtf8("€")), QByteArray("\x80"));
        QCOMPARE(toGameText(QString::fromUtf8("ß")), QByteArray("\xDF"));
        QCOMPARE(toGameText(QString::fromUtf8("Œuvre “quoted” — ™")),
                 QByteArray("\x8Cuvre \x93quoted\x94 \x97 \x99"));
    }
    void everyByteComesBack() {
        char all[256];
        for (int i = 1; i < 256; ++i) all[i - 1] = (char)i;
        all[255] = '\0';
        QString text = fromGameText(all);
        QCOMPARE(text.size(), 255);
        QCOMPARE(toGameText(text), QByteArray(all));
    }
    void charactersOutsideTheCodePage() {
        QCOMPARE(toGameText(QString::fromUtf8("日本")), QByteArray("??"));
        QCOMPARE(toGameText(QString::fromUtf8("a😀b")), QByteArray("a?b"));  // one ? for a pair
        QCOMPARE(fromGameText(nullptr), QString());
    }
    void copyingCutsAndTerminates() {
        char buffer[5];
        std::memset(buffer, 'x', sizeof buffer);
        QCOMPARE(copyGameText(QString::fromUtf8("éléphant"), buffer, sizeof buffer), 4);
        QCOMPARE(QByteArray(buffer), QByteArray("\xE9l\xE9p"));
        QCOMPARE(copyGameText(QStringLiteral("abc"), buffer, 1), 0);
        QCOMPARE(buffer[0], '\0');
        QCOMPARE(copyGameText(QStringLiteral("abc"), nullptr, 10), 0);
    }
};

QObject* newTextTests() { return new TextTests(); }
#include "test_text.moc"
