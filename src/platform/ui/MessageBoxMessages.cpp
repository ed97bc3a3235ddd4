#include "platform/ui/MessageBoxMessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString displayText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

QString title(const QString& caption)
{
    // Without a caption the box carries the application title.
    return caption.isEmpty() ? QStringLiteral("Tovalin") : caption;
}

QString buttonText(QMessageBox::StandardButton b)
{
    switch (b) {
    case QMessageBox::Yes:
        return QStringLiteral("はい(&Y)");
    case QMessageBox::No:
        return QStringLiteral("いいえ(&N)");
    case QMessageBox::Cancel:
        return QStringLiteral("キャンセル");
    default:
        return QStringLiteral("OK");
    }
}

QMessageBox::StandardButton run(QMessageBox::Icon icon, const QString& text, const QString& caption,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton escape)
{
    QMessageBox box(icon, title(caption), displayText(text), buttons, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    for (QAbstractButton* b : box.buttons())
        b->setText(buttonText(box.standardButton(b)));
    // The first button is the default, as on the platform the messages were written for.
    if (buttons & QMessageBox::Yes)
        box.setDefaultButton(QMessageBox::Yes);
    else
        box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(escape);
    const int r = box.exec();
    return QMessageBox::StandardButton(r);
}

} // namespace

void MessageBoxMessages::warning(const QString& text, const QString& caption)
{
    run(QMessageBox::Warning, text, caption, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxMessages::information(const QString& text, const QString& caption)
{
    run(QMessageBox::Information, text, caption, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxMessages::exclamation(const QString& text, const QString& caption)
{
    run(QMessageBox::Warning, text, caption, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxMessages::askYesNo(const QString& text, const QString& caption)
{
    return run(QMessageBox::Information, text, caption, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No)
        == QMessageBox::Yes;
}

Messages::Answer MessageBoxMessages::askYesNoCancel(const QString& text, const QString& caption)
{
    switch (run(QMessageBox::Information, text, caption,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}
