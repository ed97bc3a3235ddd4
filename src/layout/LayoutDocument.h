#pragma once
// The layout being edited, as one document that the layout forms, their print runs and
// tovalin-print share: the fifteen fields (style and real box), the stamp, the position
// adjustment, the honorific choice, the 〒 options and, for the label, the sheet. It is read
// from the settings image as a form opens it and written back into it as a save does, and
// it keeps the history of its changes for undo and redo.
//
// The value of a layout is LayoutState (plain, copyable, comparable); the editing rules
// (LayoutRules.h) are functions from one LayoutState to the next. LayoutDocument holds the
// current state and a QUndoStack of steps between states, and tells its observers which
// parts a step changed.
//
// Changing a document, as a form does it:
//  - One field's style from a control of 項目情報 (a check box, a combo):
//        FieldStyle s = document.style(n);
//        s.someOption = box->isChecked();
//        document.setFieldStyle(n, s);
//    That is one undoable step; the box's thickness follows the new style. FieldStyle is
//    held and compared whole, so a new member of it needs nothing here: only reading and
//    writing it (AppSettings), its control and its drawing.
//  - Anything else: compute the next state with a rule and hand it over whole,
//        document.change(LayoutRules::moveOffset(document.state(), ...));
//  - A mouse drag: beginGesture(), showGesture(state) for every move (shown at once, no
//    step yet), endGesture() on release: the whole drag is one step.

#include "app/AppSettings.h"
#include "label/LabelSheetModel.h"
#include "layout/FieldTexts.h"
#include "layout/LayoutField.h"

#include <QObject>
#include <QSize>
#include <QStringList>
#include <array>

class QUndoStack;

enum class LayoutKind { Postcard, Label };

struct LayoutState {
    LayoutKind kind = LayoutKind::Postcard;
    std::array<LayoutField, kFieldCount> fields; // element n-1 is field n
    // The stamp picture: the file name as stored and its box; an empty path is no stamp (and
    // a box of 0 x 0 at (0, 0)).
    ImageBox stamp;
    // Position adjustment in whole tenths of a millimetre, -100 .. 100 (positive: right / down).
    int offsetX = 0;
    int offsetY = 0;
    bool senderPostMark = true;    // cbPostMark "先頭に〒付加"
    bool recipientPostMark = true; // cbSPostMark, label only; not saved
    HonorificChoice honorific{true, QStringLiteral("様")}; // cbKeisho / cmbKeisho; not saved
    LabelSheet sheet;              // label only: held to its ranges

    bool postcard() const { return kind == LayoutKind::Postcard; }
    const LayoutField& field(int n) const { return fields[n - 1]; } // n = 1..15
    LayoutField& field(int n) { return fields[n - 1]; }
    // The card or label image the boxes lie on, in layout pixels.
    QSize cardSize() const;
    // The label's size H x W in tenths of a millimetre (0 on a postcard).
    int labelHeight() const;
    int labelWidth() const;

    bool operator==(const LayoutState& o) const;
    bool operator!=(const LayoutState& o) const { return !(*this == o); }
};

// What opening a stored layout found and put right: fields and the stamp off the card (or
// shorter than anyone could make them), label sheet values outside their ranges, a label
// smaller than its fields. The layout opens anyway; the user is told once.
struct LayoutOpening {
    LayoutState state;
    QStringList moved;        // captions of what was put back on the card ("住所１", "画像")
    LabelOpeningReport sheet; // label only

    bool isEmpty() const { return moved.isEmpty() && sheet.isEmpty(); }
    // The one warning, line by line (CR LF); empty when there is nothing to say.
    QString message() const;
};

class LayoutDocument : public QObject {
    Q_OBJECT
public:
    explicit LayoutDocument(LayoutKind kind, QObject* parent = nullptr);
    ~LayoutDocument() override;

    // The layout of `kind` in the settings image as a form opens it: the stored fields with
    // their boxes, the stamp when its file is there, the offsets held to ±10.0 mm, the 〒
    // options, the label sheet held to its ranges with the boxes fitted into the label, and
    // anything off the card put back. The honorific starts as "登録されている敬称を使用".
    static LayoutOpening read(const AppSettings& settings, LayoutKind kind);
    // Writes a layout into the settings image: exactly what a save of its form writes.
    static void write(const LayoutState& state, AppSettings& settings);

    // Opens the layout of this document's kind (read()), forgets the history and tells the
    // observers that everything changed.
    LayoutOpening open(const AppSettings& settings);
    void store(AppSettings& settings) const { write(m_state, settings); }

    const LayoutState& state() const { return m_state; }
    LayoutKind kind() const { return m_state.kind; }
    const LayoutField& field(int n) const { return m_state.field(n); }
    const FieldStyle& style(int n) const { return m_state.field(n).style; }
    QSize cardSize() const { return m_state.cardSize(); }

    // --- changes: every call is one step that undo takes back whole ----------------------
    // Field n takes `style` (LayoutRules::restyle: its thickness follows the font).
    void setFieldStyle(int field, const FieldStyle& style);
    // The layout becomes `next`; nothing happens when it is the layout already. Consecutive
    // steps with the same merge key become one step (arrow keys on one field, typing the
    // honorific) until breakMerge().
    enum class Merge { None, KeyMove, Honorific };
    void change(const LayoutState& next, Merge merge = Merge::None, int field = 0);
    // Steps after this call no longer merge with the ones before (another field selected).
    void breakMerge();

    // A gesture shown as it goes and kept as one step when it ends.
    void beginGesture();
    void showGesture(const LayoutState& state);
    void endGesture();
    bool inGesture() const { return m_inGesture; }

    QUndoStack* undoStack() const { return m_stack; }
    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();

signals:
    void fieldChanged(int field);
    void stampChanged();
    void sheetChanged();   // label sheet, and with it the image size
    void optionsChanged(); // offsets, 〒 options, honorific
    void opened();         // everything at once

private:
    friend class LayoutStep;
    // Takes a state and tells the observers what differs.
    void setState(const LayoutState& state);

    LayoutState m_state;
    QUndoStack* m_stack = nullptr;
    bool m_inGesture = false;
    LayoutState m_gestureStart;
    int m_mergeSerial = 0;
};
