#include "support/zipread.h"

#include <QFile>

#include <zlib.h>

namespace {

quint32 le(const QByteArray& b, qsizetype at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | quint8(b[at + i]);
    return v;
}

QByteArray inflateRaw(const QByteArray& in, qsizetype outSize) {
    QByteArray out(outSize, '\0');
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return {};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    z.avail_in = uInt(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : QByteArray();
}

} // namespace

QByteArray readZipMember(const QString& zipFile, const QString& member) {
    QFile f(zipFile);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray zip = f.readAll();
    // End of central directory: the last "PK\5\6".
    const qsizetype eocd = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (eocd < 0)
        return {};
    const int entries = int(le(zip, eocd + 10, 2));
    qsizetype at = le(zip, eocd + 16, 4);
    const QByteArray wanted = member.toUtf8();
    for (int i = 0; i < entries && at + 46 <= zip.size(); ++i) {
        const int method = int(le(zip, at + 10, 2));
        const quint32 packed = le(zip, at + 20, 4), size = le(zip, at + 24, 4);
        const int nameLen = int(le(zip, at + 28, 2)), extraLen = int(le(zip, at + 30, 2)),
                  commentLen = int(le(zip, at + 32, 2));
        const qsizetype local = le(zip, at + 42, 4);
        if (zip.mid(at + 46, nameLen) == wanted) {
            const qsizetype data = local + 30 + le(zip, local + 26, 2) + le(zip, local + 28, 2);
            const QByteArray raw = zip.mid(data, packed);
            return method == 0 ? raw : inflateRaw(raw, size);
        }
        at += 46 + nameLen + extraLen + commentLen;
    }
    return {};
}
