#include "frontend/options.h"

namespace frontend {

bool isEncodingOption(const QString &arg)
{
    return arg == QLatin1String("--encoding") || arg.startsWith(QLatin1String("--encoding="));
}

bool takeEncoding(const QStringList &args, int &i, ide::files::CodePage &codePage, QString &error)
{
    const QString &a = args[i];
    QString name;
    if (a.contains(QLatin1Char('='))) {
        name = a.section(QLatin1Char('='), 1);
    } else if (i + 1 < args.size()) {
        name = args[++i];
    } else {
        error = QStringLiteral("--encoding needs a value");
        return false;
    }
    const auto page = ide::files::codePageFromName(name);
    if (!page) {
        error = QStringLiteral("unknown encoding '%1' (use cp932, cp1252, cp1251 or utf-8)").arg(name);
        return false;
    }
    codePage = *page;
    return true;
}

QString actionsUsage()
{
    return QStringLiteral("actions: --tab N  --project NAME  --click KEY  --expand KEY  --button KEY\n"
                          "         --dblclick ROW  --sort COLUMN  --resize W H  --split X\n"
                          "         --form NAME --set CONTROL=VALUE  --form NAME --press CONTROL\n"
                          "         --immediate TEXT");
}

} // namespace frontend
