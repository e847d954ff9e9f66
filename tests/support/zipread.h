#pragma once

#include <QByteArray>
#include <QString>

// The content of one member of a zip file (stored or deflated); empty when
// the member is missing or the file is no zip.
QByteArray readZipMember(const QString& zipFile, const QString& member);
