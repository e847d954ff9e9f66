#include "support/testdb.h"

#include "app/schema.h"

namespace testing_support {

TestDb::TestDb() {
    path_ = dir_.filePath(QStringLiteral("ck.mdb"));
    app::schema::createDatabase(path_);
    conn_ = app::schema::openDatabase(path_);
}

std::unique_ptr<db::Connection> TestDb::openAnother() const { return app::schema::openDatabase(path_); }

} // namespace testing_support
