#include "controls/TNumberEdit.h"

#include "platform/Messages.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

TNumberEdit::TNumberEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Numbers never go through an input method; composed text would bypass the filter.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    setAcceptDrops(false);
    m_model.onChange = [this] {
        syncFromModel();
        emit changed();
    };
    m_model.onConversionError = [](const QString& text) {
        Messages::current().warning(
            QStringLiteral("「%1」は数値として読み取れません。\r\n'%1' is not a valid number.")
                .arg(text));
    };
    connect(this, &QLineEdit::textChanged, this, &TNumberEdit::onTextChanged);
    syncFromModel();
}

void TNumberEdit::syncFromModel()
{
    if (text() == m_model.text() && cursorPosition() == m_model.cursor())
        return;
    const bool was = m_syncing;
    m_syncing = true;
    if (text() != m_model.text())
        QLineEdit::setText(m_model.text());
    setCursorPosition(m_model.cursor());
    m_syncing = was;
}

void TNumberEdit::onTextChanged(const QString& text)
{
    if (m_syncing)
        return;
    m_model.textEdited(text, cursorPosition());
    syncFromModel();
}

template <typename F> void TNumberEdit::apply(F&& f)
{
    f();
    syncFromModel();
}

void TNumberEdit::setValue(double value) { apply([&] { m_model.setValue(value); }); }
void TNumberEdit::setNumberType(TNumberType type) { apply([&] { m_model.setNumberType(type); }); }
void TNumberEdit::setFigure(int figure) { apply([&] { m_model.setFigure(figure); }); }
void TNumberEdit::setFixed(bool fixed) { apply([&] { m_model.setFixed(fixed); }); }
void TNumberEdit::setComma(bool comma) { apply([&] { m_model.setComma(comma); }); }
void TNumberEdit::setLimit(bool limit) { apply([&] { m_model.setLimit(limit); }); }
void TNumberEdit::setLimitOptions(TLimitOptions options)
{
    apply([&] { m_model.setLimitOptions(options); });
}
void TNumberEdit::setMax(double max) { apply([&] { m_model.setMax(max); }); }
void TNumberEdit::setMin(double min) { apply([&] { m_model.setMin(min); }); }
void TNumberEdit::setValidMinus(bool valid) { apply([&] { m_model.setValidMinus(valid); }); }
void TNumberEdit::setZeroVisible(bool visible) { apply([&] { m_model.setZeroVisible(visible); }); }

void TNumberEdit::pasteFrom(QClipboard::Mode mode)
{
    const QMimeData* data = QApplication::clipboard()->mimeData(mode);
    if (!data || !data->hasText())
        return;
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selLength = hasSelectedText() ? int(selectedText().size()) : 0;
    apply([&] { m_model.paste(data->text(), selStart, selLength); });
}

void TNumberEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteFrom(QClipboard::Clipboard);
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (typed.isEmpty()) { // arrows, Home, End, function keys: not characters
        QLineEdit::keyPressEvent(event);
        return;
    }
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selLength = hasSelectedText() ? int(selectedText().size()) : 0;
    NumberEditModel::KeyAction action = NumberEditModel::KeyAction::Refuse;
    if (typed.size() == 1)
        action = m_model.keyPress(typed[0], ctrl, selStart, selLength);
    switch (action) {
    case NumberEditModel::KeyAction::Pass:
        QLineEdit::keyPressEvent(event);
        break;
    case NumberEditModel::KeyAction::Done:
        syncFromModel();
        event->accept();
        break;
    case NumberEditModel::KeyAction::Refuse:
        event->accept();
        break;
    }
}

void TNumberEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Returning from another window or a popup is not entering the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    m_model.enter();
    if (!m_autoSelect)
        end(false);
    else if (event->reason() != Qt::MouseFocusReason)
        selectAll();
}

void TNumberEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A message box or a context menu taking the focus is not leaving the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    bool typed = false;
    apply([&] { typed = m_model.leave(); });
    setModified(typed);
}

void TNumberEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this] { pasteFrom(QClipboard::Clipboard); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TNumberEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // X11's middle-button paste goes through the same filter.
    if (event->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly())
            pasteFrom(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TNumberEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange) {
        m_model.setReadOnly(isReadOnly());
        // QLineEdit turns the input method back on when it becomes editable.
        setAttribute(Qt::WA_InputMethodEnabled, false);
    }
}
