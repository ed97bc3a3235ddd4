#pragma once
// The number logic behind TNumberEdit, free of widgets: properties, display text,
// parsing, rounding, the key filter, sign toggling, pasting, entering and leaving.
// The model owns the edit's text and caret; the widget mirrors them.
//
// The value is a double (15 significant digits are shown, which a double holds exactly
// enough to read back what it showed). Separators are fixed to "." and ",".

#include <QFlags>
#include <QString>

#include <functional>
#include <optional>

enum TNumberType { ntDecimal, ntHex };
enum TRoundMode { rmDown, rmRound, rmUp };
enum TLimitOption { loMax = 0x1, loMin = 0x2 };
Q_DECLARE_FLAGS(TLimitOptions, TLimitOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLimitOptions)

class NumberEditModel {
public:
    static constexpr QChar kDecimalSeparator = u'.';
    static constexpr QChar kThousandSeparator = u',';

    // What the widget does with a key after the filter has seen it.
    enum class KeyAction {
        Refuse, // swallow the key
        Pass,   // let the editor handle it (insert, delete, navigate)
        Done    // the model changed the text itself (sign toggling)
    };

    NumberEditModel();

    double value() const { return m_value; }
    void setValue(double value);
    TNumberType numberType() const { return m_numberType; }
    void setNumberType(TNumberType type);
    int figure() const { return m_figure; }
    void setFigure(int figure);
    bool fixed() const { return m_fixed; }
    void setFixed(bool fixed);
    bool comma() const { return m_comma; }
    void setComma(bool comma);
    TRoundMode roundMode() const { return m_roundMode; }
    void setRoundMode(TRoundMode mode) { m_roundMode = mode; }
    bool limit() const { return m_limit; }
    void setLimit(bool limit);
    TLimitOptions limitOptions() const { return m_limitOptions; }
    void setLimitOptions(TLimitOptions options);
    double max() const { return m_max; }
    void setMax(double max);
    double min() const { return m_min; }
    void setMin(double min);
    int maxIntLength() const { return m_maxIntLength; }
    void setMaxIntLength(int length) { m_maxIntLength = length; }
    bool validMinus() const { return m_validMinus; }
    void setValidMinus(bool valid);
    bool zeroVisible() const { return m_zeroVisible; }
    void setZeroVisible(bool visible);
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // The edit's text and caret as the model last left them.
    QString text() const { return m_text; }
    int cursor() const { return m_cursor; }
    // Set by every accepted key press, cleared on entering.
    bool typed() const { return m_typed; }

    // The editor changed the text (typing, deleting, undo, or a plain text assignment).
    void textEdited(const QString& text, int cursor);
    // One typed character; selLength 0 means selStart is the caret.
    KeyAction keyPress(QChar ch, bool ctrl, int selStart, int selLength);
    // Pastes clipboard text over the selection. False when nothing was done.
    bool paste(const QString& clip, int selStart, int selLength);
    void enter();
    // Reads the text, shows the display text; returns the typed flag (the modified state).
    bool leave();

    // Called after every accepted change of the text (the ordinary change notification).
    std::function<void()> onChange;
    // Called with the offending text when it cannot be read as a number.
    std::function<void(const QString&)> onConversionError;

    // Building blocks, public for tests and for callers that format numbers the same way.
    // Up to 15 significant digits, plain positional notation (never an exponent).
    static QString generalText(double value);
    // Drops decimals beyond figure by mode; removes thousands separators and control
    // characters. With figure 0 the result may end with the separator.
    static QString roundText(const QString& text, int figure, TRoundMode mode);
    // Groups the integer part by thousands; the sign and the decimal part are kept.
    static QString groupThousands(const QString& text);
    static std::optional<double> parse(const QString& text, TNumberType type, bool validMinus);

private:
    double clamped(double v) const;
    QString displayText();
    QString decimalDisplay();
    QString hexDisplay();
    void reshow(bool runChange);
    void assignText(const QString& text, int cursor, bool runChange);
    void changeHandling();
    KeyAction toggleSign(QChar sign, int selStart, int selLength);
    bool digitFits(const QString& text, int caret) const;

    double m_value = 0;
    TNumberType m_numberType = ntDecimal;
    int m_figure = -1;
    bool m_fixed = false;
    bool m_comma = false;
    TRoundMode m_roundMode = rmDown;
    bool m_limit = false;
    TLimitOptions m_limitOptions = TLimitOptions(loMax) | loMin;
    double m_max = 0;
    double m_min = 0;
    int m_maxIntLength = 0;
    bool m_validMinus = false;
    bool m_zeroVisible = true;
    bool m_readOnly = false;

    QString m_text = QStringLiteral("0");
    int m_cursor = 1;
    bool m_typed = false;
};
