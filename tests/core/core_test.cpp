#include "core/commands.h"
#include "core/schema.h"
#include "core/text.h"

#include <QSet>

#include <gtest/gtest.h>

TEST(Trimmed, RemovesBlanksAndControlCharactersAtBothEndsOnly) {
    struct Case {
        QString typed;
        QString kept;
    };
    const Case cases[] = {
        {QStringLiteral(" \t\x01"
                        "ad min\r\n\x7f "),
         QStringLiteral("ad min")},
        {QStringLiteral("\u3000abc\u3000"), QStringLiteral("abc")},
        {QStringLiteral("\u009cTX-1\u0080"), QStringLiteral("TX-1")},
        {QStringLiteral("\u00a0\u2003x\u200a"), QStringLiteral("x")},
        {QStringLiteral(" \x02 "), QString()},
        {QStringLiteral("a\u3000\x7f"
                        "b"),
         QStringLiteral("a\u3000\x7f"
                        "b")},
        {QStringLiteral("型号"), QStringLiteral("型号")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::trimmed(c.typed), c.kept) << c.typed.toStdString();
}

TEST(Trimmed, CodePointsCountACharacterOutsideTheBasicPlaneOnce) {
    EXPECT_EQ(core::codePoints(QStringLiteral("ab")), 2);
    EXPECT_EQ(core::codePoints(QString::fromUtf8("\xF0\x9F\x98\x80"
                                                 "x")),
              2);
    EXPECT_EQ(core::codePoints(QStringLiteral("条形码")), 3);
}

TEST(Commands, EveryRightIsAColumnOfTheOperatorTableAndEveryItemIsNamedOnce) {
    QSet<QString> items;
    for (const core::Command& c : core::commands()) {
        const core::schema::Column* col = core::schema::column(QStringLiteral("operator"), c.field());
        ASSERT_NE(col, nullptr) << c.column;
        EXPECT_EQ(col->text(), c.text()) << c.column;
        items.insert(c.name());
    }
    EXPECT_EQ(items.size(), 10);
}

TEST(Schema, RefusesATextTooLongForItsColumnNamingFieldAndLimit) {
    const QString ok(35, QChar(u'码'));
    EXPECT_EQ(core::schema::refusal("hwgl", "txm", ok), QString());
    EXPECT_EQ(core::schema::refusal("hwgl", "txm", ok + "x"), QStringLiteral("条形码最多35个字符！"));
    // A character outside the basic plane is one character, not two.
    EXPECT_EQ(core::schema::refusal("hwgl", "txm", QString(34, 'a') + QString::fromUtf8("\xF0\x9F\x98\x80")),
              QString());
    EXPECT_EQ(core::schema::refusal("hwgl", "remark", QString("a") + QChar(0) + "b"),
              QStringLiteral("备注不能包含空字符！"));
    EXPECT_EQ(core::schema::refusal("hwgl", "hwid", "123456"), QString());
}
