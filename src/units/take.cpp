#include "units/take.h"

#include "core/codes.h"

namespace units {

namespace {

// Units lost to other desks before giving up; each loss means another desk
// took one of the model in between, so this is only reached under a flood.
constexpr int kMaxAttempts = 100;

} // namespace

std::optional<qint64> takeLowestInStock(db::Connection& conn, const QString& model, const QString& assignments,
                                        const db::Params& values) {
    const QString update = QStringLiteral("update hwgl set %1 where hwid = ? and if_in = ?").arg(assignments);
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const db::Value candidate =
            conn.scalar(QStringLiteral("select hwid from hwgl where hwmc = ? and if_in = ? order by hwid limit 1"),
                        {model, core::codes::kInStock});
        if (candidate.isNull())
            return std::nullopt;
        db::Params params = values;
        params.push_back(candidate);
        params.push_back(core::codes::kInStock);
        if (conn.exec(update, params) == 1)
            return candidate.toInt();
    }
    throw db::DbError(QStringLiteral("其他用户正在出库此型号，请稍后再试"));
}

} // namespace units
