#include "data/rowstore.h"

#include <gtest/gtest.h>

using data::RowStore;

TEST(RowStore, KeepsEveryKindOfCellAndRowsLargerThanABlock) {
    RowStore store;
    const QString big(3 << 20, QChar(u'长')); // 9 MB of UTF-8: more than one block
    std::vector<const char*> rows;
    for (int i = 0; i < 3; ++i) {
        store.beginRow();
        store.writeInt(-i);
        store.writeNull();
        store.writeReal(0.5 * i);
        const QByteArray text = (i == 1 ? big : QStringLiteral("文%1").arg(i)).toUtf8();
        store.writeText({text.constData(), static_cast<size_t>(text.size())});
        store.writeText("2024-03-01 08:30:00");
        rows.push_back(store.endRow());
    }
    for (int i = 0; i < 3; ++i) {
        const char* r = rows[i];
        EXPECT_EQ(RowStore::read(RowStore::cell(r, 0), db::FieldType::Integer), db::Value(qint64(-i)));
        EXPECT_TRUE(RowStore::read(RowStore::cell(r, 1), db::FieldType::Text).isNull());
        EXPECT_EQ(RowStore::read(RowStore::cell(r, 2), db::FieldType::Real), db::Value(0.5 * i));
        EXPECT_EQ(RowStore::read(RowStore::cell(r, 3), db::FieldType::Text).toString(),
                  i == 1 ? big : QStringLiteral("文%1").arg(i));
        // A date cell reads as a date, or exactly as stored.
        EXPECT_EQ(RowStore::read(RowStore::cell(r, 4), db::FieldType::DateTime),
                  db::Value(QDateTime(QDate(2024, 3, 1), QTime(8, 30))));
        EXPECT_EQ(RowStore::readRaw(RowStore::cell(r, 4)), db::Value(QStringLiteral("2024-03-01 08:30:00")));
    }
    // A row packed elsewhere and added whole reads the same.
    std::string packed;
    RowStore::putValue(packed, db::Value(QDateTime(QDate(2025, 1, 2), QTime(0, 0))));
    RowStore::putValue(packed, db::Value());
    const char* r = store.add(packed);
    EXPECT_EQ(RowStore::readRaw(r), db::Value(QStringLiteral("2025-01-02 00:00:00")));
    EXPECT_TRUE(RowStore::readRaw(RowStore::cell(r, 1)).isNull());
}
