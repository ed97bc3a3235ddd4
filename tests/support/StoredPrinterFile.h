#pragma once
// What a form's printer file (.plv) holds, read back as printer files made elsewhere are read.

#include "platform/ComponentStream.h"

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace storedprinterfile {

// As the Windows program's printer files: the printer component's design position Left = 32.
// Call it inside ASSERT_NO_FATAL_FAILURE, so that a file that cannot be read ends the test.
inline void expectDesignLeft32(const QString& plv)
{
    QFile file(plv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ComponentStream::Component stored;
    ASSERT_TRUE(ComponentStream::read(file.readAll(), &stored));
    const ComponentStream::Property* left = stored.find(QStringLiteral("Left"));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->value.integer, 32);
}

} // namespace storedprinterfile
