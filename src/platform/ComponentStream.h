#pragma once
// The binary component stream of the form resources ("TPF0"): a signature, the class and
// component names, a list of named, typed property values, an end marker, the child
// components and another end marker. Strings of type 6 and 12 are code page 932 bytes.
// The reader accepts every value type of the format (skipping what it does not need) and
// rejects a truncated or malformed stream without partial results.

#include <QByteArray>
#include <QString>
#include <QVector>

class ComponentStream {
public:
    // Value type bytes.
    enum ValueType : quint8 {
        vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5,
        vaString = 6, vaIdent = 7, vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11,
        vaLString = 12, vaNil = 13, vaCollection = 14, vaSingle = 15, vaCurrency = 16,
        vaDate = 17, vaWString = 18, vaInt64 = 19, vaUTF8String = 20, vaDouble = 21,
    };

    struct Value {
        enum class Kind { Integer, String, Other };
        Kind kind = Kind::Other;
        qint64 integer = 0;
        QString string;
        quint8 type = vaNull;   // the type byte as read
    };

    struct Property {
        QString name;
        Value value;
    };

    struct Component {
        QString className;
        QString name;
        QVector<Property> properties;
        QVector<Component> children;

        const Property* find(const QString& propertyName) const;
    };

    // Writing. Integers take the smallest of types 2, 3 and 4; strings type 6 up to 255
    // bytes, type 12 beyond.
    static void writeSignature(QByteArray& out);
    static void writeShortString(QByteArray& out, const QString& text);
    static void writeInteger(QByteArray& out, qint64 value);
    static void writeString(QByteArray& out, const QString& text);
    static void writeComponent(QByteArray& out, const Component& component);
    static void writeEndOfList(QByteArray& out) { out.append('\0'); }

    // Reads "TPF0" and one component with its children from data. Bytes after it (the end
    // of the component list, for one) are left alone; *consumed tells how many were used.
    static bool read(const QByteArray& data, Component* component, QString* error = nullptr,
                     int* consumed = nullptr);
};
