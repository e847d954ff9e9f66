#pragma once

#include <QString>

namespace core {

// True for a character that trimming removes: every control character (below
// U+0020, DEL and the C1 range U+0080-U+009F) and every Unicode blank, the
// full-width space U+3000 included.
bool isBlankOrControl(QChar c);

// Typed text with blanks and control characters removed at both ends; what is
// stored, compared and checked everywhere a typed entry is taken.
QString trimmed(const QString& text);

// The length a width limit counts: code points, so a character outside the
// basic plane counts once.
int codePoints(const QString& text);

} // namespace core
