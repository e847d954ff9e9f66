#include "app/about.h"

#include <QLabel>
#include <QVBoxLayout>

TaboutFrm::TaboutFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TaboutFrm"));
    setWindowTitle(QStringLiteral("关于..."));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 24, 36, 24);
    layout->setSpacing(12);
    const QString lines[] = {QStringLiteral("Velmora 1.0"), QStringLiteral("Velmora 开发组 设计与开发"),
                             QStringLiteral("网站：https://velmora.example")};
    const char* names[] = {"lblProduct", "lblCredit", "lblWeb"};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(lines[i], this);
        l->setObjectName(QString::fromLatin1(names[i]));
        l->setAlignment(Qt::AlignCenter);
        if (i == 0) {
            QFont f = l->font();
            f.setPointSize(f.pointSize() + 6);
            f.setBold(true);
            l->setFont(f);
        }
        layout->addWidget(l);
    }
    setFixedSize(sizeHint().expandedTo(QSize(320, 160)));
}
