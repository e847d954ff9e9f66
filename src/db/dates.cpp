#include "db/dates.h"

#include "db/errors.h"

#include <QLocale>

namespace db::dates {

namespace {
const QString kStorage = QStringLiteral("yyyy-MM-dd HH:mm:ss");
}

QString toStorage(const QDateTime& dt) {
    // Written by hand for the usual years: QDateTime::toString goes through the
    // calendar's general formatter, which shows in batches of thousands of rows.
    const QDate d = dt.date();
    const QTime t = dt.time();
    if (!d.isValid() || d.year() < 1000 || d.year() > 9999)
        return dt.toString(kStorage);
    char16_t out[19];
    const auto put = [&](int at, int v, int n) {
        for (int i = at + n - 1; i >= at; --i, v /= 10)
            out[i] = char16_t(u'0' + v % 10);
    };
    put(0, d.year(), 4);
    out[4] = u'-';
    put(5, d.month(), 2);
    out[7] = u'-';
    put(8, d.day(), 2);
    out[10] = u' ';
    put(11, t.hour(), 2);
    out[13] = u':';
    put(14, t.minute(), 2);
    out[16] = u':';
    put(17, t.second(), 2);
    return QString(reinterpret_cast<const QChar*>(out), 19);
}

std::optional<QDateTime> fromStorage(const QString& text) {
    // The stored form read by hand: QDateTime::fromString costs about ten times
    // as much, which shows when long lists of dated rows are read or exported.
    if (text.size() == 19) {
        auto num = [&](int at, int n) {
            int v = 0;
            for (int i = at; i < at + n; ++i) {
                const char16_t c = text[i].unicode();
                if (c < u'0' || c > u'9')
                    return -1;
                v = v * 10 + (c - u'0');
            }
            return v;
        };
        const QDate d(num(0, 4), num(5, 2), num(8, 2));
        const QTime t(num(11, 2), num(14, 2), num(17, 2));
        if (text[4] == u'-' && text[7] == u'-' && text[10] == u' ' && text[13] == u':' && text[16] == u':' &&
            d.isValid() && t.isValid())
            return QDateTime(d, t);
    }
    QDateTime dt = QDateTime::fromString(text, kStorage);
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid())
            return std::nullopt;
        dt = QDateTime(d, QTime(0, 0));
    }
    return dt;
}

QString shortDateFormat() {
    QString f = QLocale::system().dateFormat(QLocale::ShortFormat);
    if (!f.contains(QStringLiteral("yyyy")))
        f.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return f;
}

QString toDisplay(const QDate& d) { return d.toString(shortDateFormat()); }

QString toDisplay(const QDateTime& dt) {
    QString s = toDisplay(dt.date());
    if (dt.time() != QTime(0, 0))
        s += QLatin1Char(' ') + dt.time().toString(QStringLiteral("HH:mm:ss"));
    return s;
}

QDateTime parseTyped(const QString& typed) {
    const QString text = typed.trimmed();
    const QString fmt = shortDateFormat();
    for (const QString& f : {fmt + QStringLiteral(" HH:mm:ss"), fmt + QStringLiteral(" HH:mm"), fmt,
                             QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd")}) {
        const QDateTime dt = QDateTime::fromString(text, f);
        if (dt.isValid())
            return dt;
    }
    throw ConversionError(QStringLiteral("'%1' 不是有效的日期").arg(typed));
}

} // namespace db::dates
