#include "analysis/source_text.h"

namespace analysis {

const std::vector<ComponentKind> &componentKinds()
{
    using CT = host::ComponentType;
    static const std::vector<ComponentKind> kinds = {
        {CT::VBForm, "ﾌｫｰﾑ", "_VBForm", "FORM", "VBForm"},
        {CT::VBMDIForm, "MDI ﾌｫｰﾑ", "_VBMDIForm", "MDIFORM", "VBMDIForm"},
        {CT::StdModule, "標準ﾓｼﾞｭｰﾙ", "_Std", "STD", "StdModule"},
        {CT::ClassModule, "ｸﾗｽ ﾓｼﾞｭｰﾙ", "_Cls", "CLASS", "ClassModule"},
        {CT::UserControl, "ﾕｰｻﾞｰ ｺﾝﾄﾛｰﾙ", "_UsrCtrl", "USERCTRL", "UserControl"},
        {CT::PropPage, "ﾌﾟﾛﾊﾟﾃｨ ﾍﾟｰｼﾞ", "_PropPage", "PROPPAGE", "PropPage"},
        {CT::DocObject, "ﾕｰｻﾞｰ ﾄﾞｷｭﾒﾝﾄ", "_Doc", "USERDOC", "DocObject"},
        {CT::ActiveXDesigner, "ActiveX ﾃﾞｻﾞｲﾅ", "_ActiveX", "DESIGNER", "ActiveXDesigner"},
        {CT::MSForm, "ﾕｰｻﾞｰ ﾌｫｰﾑ", "_MSForm", "DESIGNER", "MSForm"},
    };
    return kinds;
}

const ComponentKind *componentKind(host::ComponentType type)
{
    for (const auto &kind : componentKinds()) {
        if (kind.type == type)
            return &kind;
    }
    return nullptr;
}

QString componentImage(const host::Ptr<host::VBComponent> &component)
{
    const ComponentKind *kind = componentKind(component->type());
    if (!kind)
        return {};
    if (kind->type == host::ComponentType::VBForm) {
        bool mdiChild = false;
        host::resumeNext([&] { mdiChild = component->properties()->item(QStringLiteral("MDIChild"))->value().toBool(); });
        if (mdiChild)
            return QStringLiteral("MDICHILD");
    }
    return QLatin1String(kind->image);
}

QStringView trimmedSpaces(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.sliced(begin, end - begin);
}

QString trimmedLine(const host::CodeModule &module, int line)
{
    return trimmedSpaces(module.lines(line, 1)).toString();
}

FoundLines findInDeclarations(const host::CodeModule &module, const QString &target)
{
    int startLine = 1, startCol = 1, endLine = module.countOfDeclarationLines(), endCol = -1;
    if (endLine < 1 || !module.find(target, startLine, startCol, endLine, endCol, true, false, false))
        return {};
    return {startLine, endLine};
}

FoundLines findFrom(const host::CodeModule &module, const QString &target, int startLine)
{
    int line = startLine, startCol = 1, endLine = -1, endCol = -1;
    if (!module.find(target, line, startCol, endLine, endCol, false, false, true))
        return {};
    return {line, endLine};
}

QString scopeWord(host::Scope scope)
{
    switch (scope) {
    case host::Scope::Private: return QStringLiteral("Private");
    case host::Scope::Public: return QStringLiteral("Public");
    case host::Scope::Friend: return QStringLiteral("Friend");
    }
    return {};
}

} // namespace analysis
