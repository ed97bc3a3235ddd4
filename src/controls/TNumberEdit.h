#pragma once
// A single-line edit that holds a number: formatted display, bounds, and typing and
// pasting filtered to what can form a number. The rules live in NumberEditModel; this
// widget mirrors the model's text and translates Qt's events.

#include "controls/NumberEditModel.h"

#include <QClipboard>
#include <QLineEdit>

class TNumberEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TNumberEdit(QWidget* parent = nullptr);

    double value() const { return m_model.value(); }
    void setValue(double value);
    TNumberType numberType() const { return m_model.numberType(); }
    void setNumberType(TNumberType type);
    int figure() const { return m_model.figure(); }
    void setFigure(int figure);
    bool fixed() const { return m_model.fixed(); }
    void setFixed(bool fixed);
    bool comma() const { return m_model.comma(); }
    void setComma(bool comma);
    TRoundMode roundMode() const { return m_model.roundMode(); }
    void setRoundMode(TRoundMode mode) { m_model.setRoundMode(mode); }
    bool limit() const { return m_model.limit(); }
    void setLimit(bool limit);
    TLimitOptions limitOptions() const { return m_model.limitOptions(); }
    void setLimitOptions(TLimitOptions options);
    double max() const { return m_model.max(); }
    void setMax(double max);
    double min() const { return m_model.min(); }
    void setMin(double min);
    int maxIntLength() const { return m_model.maxIntLength(); }
    void setMaxIntLength(int length) { m_model.setMaxIntLength(length); }
    bool validMinus() const { return m_model.validMinus(); }
    void setValidMinus(bool valid);
    bool zeroVisible() const { return m_model.zeroVisible(); }
    void setZeroVisible(bool visible);
    // Select the whole text when the box is entered by keyboard (default on).
    bool autoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool on) { m_autoSelect = on; }
    // Alignment is QLineEdit's own (right by default here).

    // The paste command, as the context menu and Ctrl+V run it.
    void pasteFrom(QClipboard::Mode mode = QClipboard::Clipboard);

signals:
    // The text changed to a readable number (not raised for "", "-" and "+").
    void changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    template <typename F> void apply(F&& f);
    void syncFromModel();
    void onTextChanged(const QString& text);

    NumberEditModel m_model;
    bool m_syncing = false;
    bool m_autoSelect = true;
};
