#include "db/value.h"

#include "db/dates.h"
#include "db/errors.h"

namespace db {

FieldType Value::type() const {
    switch (v_.index()) {
    case 1: return FieldType::Integer;
    case 2: return FieldType::Real;
    case 3: return FieldType::Text;
    case 4: return FieldType::DateTime;
    default: return FieldType::Unknown;
    }
}

QString Value::toString() const {
    if (auto i = ifInt())
        return QString::number(*i);
    if (auto r = ifReal())
        return QString::number(*r, 'g', 15);
    if (auto t = ifText())
        return *t;
    if (auto d = ifDateTime())
        return dates::toDisplay(*d);
    return {};
}

qint64 Value::toInt() const {
    if (auto i = ifInt())
        return *i;
    if (auto r = ifReal())
        return static_cast<qint64>(*r);
    if (auto t = ifText()) {
        bool ok = false;
        const qint64 v = t->trimmed().toLongLong(&ok);
        if (!ok)
            throw ConversionError(QStringLiteral("'%1' 不是有效的整数值").arg(*t));
        return v;
    }
    if (isNull())
        return 0;
    throw ConversionError(QStringLiteral("'%1' 不是有效的整数值").arg(toString()));
}

double Value::toReal() const {
    if (auto i = ifInt())
        return static_cast<double>(*i);
    if (auto r = ifReal())
        return *r;
    if (auto t = ifText()) {
        bool ok = false;
        const double v = t->trimmed().toDouble(&ok);
        if (!ok)
            throw ConversionError(QStringLiteral("'%1' 不是有效的数值").arg(*t));
        return v;
    }
    return 0;
}

QDateTime Value::toDateTime() const {
    if (auto d = ifDateTime())
        return *d;
    if (auto t = ifText()) {
        if (auto s = dates::fromStorage(*t))
            return *s;
        return dates::parseTyped(*t);
    }
    if (isNull())
        return {};
    throw ConversionError(QStringLiteral("'%1' 不是有效的日期").arg(toString()));
}

} // namespace db
