#include "outbound/issuer.h"

#include "core/codes.h"
#include "core/schema.h"
#include "core/text.h"
#include "units/take.h"

namespace outbound {

using core::codes::kInStock;
using core::codes::kIssued;

QString messageFor(IssueResult r) {
    switch (r) {
    case IssueResult::Issued: return {};
    case IssueResult::MissingModel: return QStringLiteral("请选择一种货物型号!");
    case IssueResult::DuplicateBarcode: return QStringLiteral("此条形码的物品已经出库，请查询检查！");
    case IssueResult::MissingCustomer: return QStringLiteral("请填写客户名称！");
    case IssueResult::NoStock: return QStringLiteral("仓库库存里没有此型号物品！");
    }
    return {};
}

IssueOutcome Issuer::issue(const IssueRequest& r) {
    // Blanks count as a model: the text is matched as typed and then finds nothing.
    if (r.model.isEmpty())
        return {IssueResult::MissingModel};

    const QString barcode = core::trimmed(r.barcode);
    const QString customer = core::trimmed(r.customer);
    const QString bill = core::trimmed(r.bill);
    const QString remark = core::trimmed(r.remark);
    if (!r.date.isValid())
        return {IssueResult::Unfit, 0, QStringLiteral("出库日期不是有效的日期！")};
    // Nothing is cut: an entry longer than its column is refused by name.
    const std::pair<const char*, const QString*> entries[] = {
        {"hwmc", &r.model}, {"txm", &barcode}, {"pjh", &bill}, {"khmc", &customer}, {"remark", &remark}};
    for (const auto& [column, text] : entries) {
        const QString why = core::schema::refusal(QStringLiteral("hwgl"), QString::fromLatin1(column), *text);
        if (!why.isEmpty())
            return {IssueResult::Unfit, 0, why};
    }

    // The write lock is taken first, so the checks and the update see one state
    // of the file that no other instance can change in between. On a server,
    // where desks write side by side, the desks issuing one bar code take turns.
    db::Transaction t(conn_);
    if (!barcode.isEmpty()) {
        conn_.serialize(QStringLiteral("hwgl.txm:") + barcode.toLower());
        const db::Value taken = conn_.scalar(
            QStringLiteral("select hwid from hwgl where txm = ? and if_in = ? limit 1"), {barcode, kIssued});
        if (!taken.isNull())
            return {IssueResult::DuplicateBarcode};
    }
    if (customer.isEmpty())
        return {IssueResult::MissingCustomer};

    const std::optional<qint64> hwid = units::takeLowestInStock(
        conn_, r.model, QStringLiteral("if_in = ?, txm = ?, pjh = ?, remark = ?, ckrq = ?, khmc = ?, mcid = null"),
        {kIssued, db::textOrNull(barcode), db::textOrNull(bill), db::textOrNull(remark), db::Value(r.date), customer});
    if (!hwid)
        return {IssueResult::NoStock};
    t.commit();
    return {IssueResult::Issued, *hwid};
}

const QStringList& Issuer::checkedColumns() {
    static const QStringList c = {QStringLiteral("txm"), QStringLiteral("pjh"), QStringLiteral("khmc"),
                                  QStringLiteral("ckrq"), QStringLiteral("remark")};
    return c;
}

bool Issuer::cancel(const IssuedUnit& unit) {
    QString sql = QStringLiteral("update hwgl set txm = null, if_in = ?, pjh = null, ckrq = null, "
                                 "khmc = null where hwid = ? and if_in = ?");
    db::Params params = {kInStock, unit.hwid, kIssued};
    for (int i = 0; i < checkedColumns().size() && i < static_cast<int>(unit.read.size()); ++i) {
        sql += QStringLiteral(" and ") + conn_.sameValue(checkedColumns()[i], unit.read[i].ifText() != nullptr);
        params.push_back(unit.read[i]);
    }
    return conn_.exec(sql, params) == 1;
}

} // namespace outbound
