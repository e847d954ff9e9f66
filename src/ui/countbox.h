#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QCheckBox;

namespace ui {

// A check box that counts a list on demand: ticked, its caption becomes
// prefix + count + suffix ("共5台"); cleared, it shows the cleared caption. The
// count is taken at the click and not kept up to date.
class CountBox : public QObject {
    Q_OBJECT
public:
    CountBox(QCheckBox* box, std::function<int()> count, const QString& clearedCaption,
             const QString& prefix = QStringLiteral("共"), const QString& suffix = QStringLiteral("台"));

private:
    QCheckBox* box_;
    std::function<int()> count_;
    QString cleared_, prefix_, suffix_;
};

} // namespace ui
