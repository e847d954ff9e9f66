#include "ui/countbox.h"

#include "ui/guard.h"

#include <QCheckBox>

namespace ui {

CountBox::CountBox(QCheckBox* box, std::function<int()> count, const QString& clearedCaption, const QString& prefix,
                   const QString& suffix)
    : QObject(box), box_(box), count_(std::move(count)), cleared_(clearedCaption), prefix_(prefix), suffix_(suffix) {
    connect(box_, &QCheckBox::clicked, this, [this](bool checked) {
        guard([&] { box_->setText(checked ? prefix_ + QString::number(count_()) + suffix_ : cleared_); });
    });
}

} // namespace ui
