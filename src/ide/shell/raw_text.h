#pragma once
// Telling from a module file's bytes, before decoding them, that a search cannot match there.
#include "ide/files/encoding.h"

#include <QByteArrayView>
#include <QStringView>

namespace ide {

/// False only when certainly no line of `bytes` decoded with `cp` holds `text` under Find's
/// case-insensitive compare (and so under the exact one, whole word or not): `text` is ASCII,
/// the code page decodes ASCII bytes to themselves and nothing else to a character that folds
/// to ASCII, and the bytes do not hold `text` in any letter case. True in every other case,
/// patterns included.
bool mayHold(QByteArrayView bytes, files::CodePage cp, QStringView text, bool pattern);

} // namespace ide
