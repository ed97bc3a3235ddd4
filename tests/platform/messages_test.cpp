#include "platform/Messages.h"

#include <gtest/gtest.h>

TEST(Messages, TwoLinesAreJoinedByCrLf)
{
    EXPECT_EQ(Messages::twoLines(QStringLiteral("印刷します。"), QStringLiteral("よろしいですか？")),
              QStringLiteral("印刷します。\r\nよろしいですか？"));
}
