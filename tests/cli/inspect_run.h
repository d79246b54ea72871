#pragma once
// Runs `tessary inspect ARGS...` as the program does and keeps what it printed.
#include "cli/commands.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace cli_testing {

struct InspectRun {
    int status = -1;
    QString out, err;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

inline InspectRun inspect(const QStringList &args)
{
    InspectRun r;
    const frontend::Console console{[&](const QString &t) { r.out += t + QLatin1Char('\n'); },
                                    [&](const QString &t) { r.err += t + QLatin1Char('\n'); }};
    r.status = cli::run(QStringList{QStringLiteral("inspect")} + args, console);
    return r;
}

} // namespace cli_testing
