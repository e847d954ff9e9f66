#pragma once

#include <QString>

// The codes the database file stores, as the screens and every other program
// reading the file know them.
namespace core::codes {

// hwgl.if_in: a unit in the warehouse, or issued (to a dealer's customer or a store).
inline const QString kInStock = QStringLiteral("入");
inline const QString kIssued = QStringLiteral("出");

// The right columns of table operator: only exactly "有" grants a right.
inline const QString kGranted = QStringLiteral("有");
inline const QString kRefused = QStringLiteral("无");
inline bool grants(const QString& value) { return value == kGranted; }

// jxs.type: a dealer or a store.
inline const QString kDealer = QStringLiteral("jx");
inline const QString kStore = QStringLiteral("mc");

// mcxs.finish: a store sale still open, or done.
inline const QString kUnfinished = QStringLiteral("否");
inline const QString kFinished = QStringLiteral("完工");

} // namespace core::codes
