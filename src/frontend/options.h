#pragma once
// Command-line pieces both programs read the same way.
#include "ide/files/encoding.h"

#include <QStringList>

namespace frontend {

/// True for "--encoding" and "--encoding=NAME".
bool isEncodingOption(const QString &arg);
/// Reads "--encoding NAME" or "--encoding=NAME" at args[i] (advancing i past NAME); false
/// with a message in `error` when the name is missing or unknown.
bool takeEncoding(const QStringList &args, int &i, ide::files::CodePage &codePage, QString &error);

/// The usage lines of the scripted actions, as both programs print them.
QString actionsUsage();

} // namespace frontend
