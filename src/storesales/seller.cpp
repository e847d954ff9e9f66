#include "storesales/seller.h"

#include "core/codes.h"
#include "core/schema.h"
#include "units/take.h"

namespace storesales {

using core::codes::kInStock;
using core::codes::kIssued;

SaleOutcome Seller::sell(const SaleRequest& r) {
    const QString khmc = r.store + QLatin1Char(':') + r.customer;

    // The write lock first: the choice and the update see one state of the file.
    db::Transaction t(conn_);
    if (!conn_.scalar(QStringLiteral("select 1 from hwgl where hwmc = ? and if_in = ? limit 1"), {r.model, kInStock})
             .isNull()) {
        // Nothing is cut: a value too long for its column is refused by name.
        for (const auto& [column, value] : {std::pair{QStringLiteral("khmc"), khmc},
                                            {QStringLiteral("khtel"), r.tel},
                                            {QStringLiteral("khaddress"), r.address}}) {
            const QString refused = core::schema::refusal(QStringLiteral("hwgl"), column, value);
            if (!refused.isEmpty())
                return {SaleResult::Refused, 0, refused};
        }
    }
    const std::optional<qint64> hwid = units::takeLowestInStock(
        conn_, r.model, QStringLiteral("mcid = ?, if_in = ?, khmc = ?, ckrq = ?, khtel = ?, khaddress = ?"),
        {r.mcid, kIssued, khmc, db::Value(r.date), db::textOrNull(r.tel), db::textOrNull(r.address)});
    if (!hwid)
        return {SaleResult::NoStock, 0, {}};
    t.commit();
    return {SaleResult::Sold, *hwid, {}};
}

int Seller::returnUnits(qint64 mcid) {
    return conn_.exec(QStringLiteral("update hwgl set if_in = ? where mcid = ? and if_in = ?"),
                      {kInStock, mcid, kIssued});
}

std::optional<HeldBarcode> Seller::heldElsewhere(const QString& txm, qint64 hwid) {
    auto st = conn_.prepare(
        QStringLiteral("select hwid, txm from hwgl where if_in = ? and txm = ? and hwid <> ? order by hwid limit 1"));
    st->bindAll({kIssued, txm, hwid});
    if (!st->step())
        return std::nullopt;
    return HeldBarcode{st->value(0).toInt(), st->value(1).toString()};
}

QString composedBarcodeWarning(const HeldBarcode& held) {
    return QStringLiteral("货物序号为") + QString::number(held.hwid) + QStringLiteral("条形码为") + held.txm +
           QStringLiteral("的物品已经出库，不能重复出库，请查询检查！");
}

QString fixedBarcodeWarning() { return QStringLiteral("此条形码的物品已经出库，请查询检查！"); }

} // namespace storesales
