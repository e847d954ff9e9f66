#include "app/passwords.h"

#include "db/errors.h"

#include <QByteArray>

#include <sodium.h>

namespace app::passwords {

namespace {

void ensureSodium() {
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw db::Error(QStringLiteral("密码库无法初始化。"));
}

QByteArray folded(const QString& password) { return password.toLower().toUtf8(); }

} // namespace

QString hash(const QString& password) {
    if (password.isEmpty())
        return {};
    ensureSodium();
    const QByteArray plain = folded(password);
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, plain.constData(), static_cast<unsigned long long>(plain.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw db::Error(QStringLiteral("密码无法加密：内存不足。"));
    return QString::fromLatin1(out);
}

bool isHash(const QString& stored) {
    return stored.startsWith(QLatin1String("$argon2id$")) || stored.startsWith(QLatin1String("$argon2i$"));
}

bool matches(const QString& typed, const QString& stored) {
    if (typed.isEmpty() || stored.isEmpty())
        return typed.isEmpty() && stored.isEmpty();
    if (!isHash(stored))
        return typed.compare(stored, Qt::CaseInsensitive) == 0;
    ensureSodium();
    const QByteArray plain = folded(typed);
    const QByteArray h = stored.toLatin1();
    return crypto_pwhash_str_verify(h.constData(), plain.constData(), static_cast<unsigned long long>(plain.size())) ==
           0;
}

} // namespace app::passwords
