#include "core/text.h"

namespace core {

bool isBlankOrControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f) || c.isSpace() || c.category() == QChar::Separator_Space;
}

QString trimmed(const QString& text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlankOrControl(text.at(from)))
        ++from;
    while (to > from && isBlankOrControl(text.at(to - 1)))
        --to;
    return text.mid(from, to - from);
}

int codePoints(const QString& text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        ++n;
    }
    return n;
}

} // namespace core
