#pragma once

#include <QString>

namespace app::passwords {

// The password column once held six characters of plain text; new passwords
// keep that limit so that they can still be typed at any old desk.
constexpr int kMaxLength = 6;

// The stored form of a password: a salted libsodium hash of the password folded
// to lower case (letter case is ignored at login), or "" for an empty password.
// Throws db::Error when the hash cannot be made.
QString hash(const QString& password);

// Whether a stored value is a hash made by hash() (an old file may still hold
// plain text).
bool isHash(const QString& stored);

// Whether a typed password (already trimmed) matches a stored one: an empty
// password matches only an empty or null one; plain text left in an old file is
// compared ignoring letter case.
bool matches(const QString& typed, const QString& stored);

} // namespace app::passwords
