// Message boxes.
#include <QMessageBox>
#include <QPushButton>

#include "platform/qt/caption.h"
#include "platform/qt/text.h"
#include "platform/qt/window_qt.h"
#include "platform/ui.h"

bool platformMessageBox(WindowHandle owner, const char* title, const char* text, PlatformMessageKind kind) {
    if (!platformDispatcher()) return false;
    QMessageBox::Icon icon = QMessageBox::Information;
    if (kind == PLATFORM_MB_EXCLAMATION) icon = QMessageBox::Warning;
    if (kind == PLATFORM_MB_ERROR) icon = QMessageBox::Critical;
    bool question = kind == PLATFORM_MB_OKCANCEL_INFORMATION;
    QWidget* ownerWidget = platformTopWidget(owner);
    QMessageBox box(icon, fromGameText(title), fromGameText(text),
                    question ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, ownerWidget);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Ok);
    if (question) box.setEscapeButton(QMessageBox::Cancel);
    box.setWindowModality(Qt::ApplicationModal);
    platformDressDialog(&box, ownerWidget, true);  // the close box counts as the escape button
    int answer = box.exec();
    platformReactivate(box.parentWidget());
    return answer == QMessageBox::Ok || !question;
}
