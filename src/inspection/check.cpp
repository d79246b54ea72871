#include "inspection/check.h"

#include "analysis/source_text.h"
#include "inspection/statement_text.h"
#include "controls/platform.h"

namespace inspection {

CheckContext::~CheckContext() = default;

void CheckContext::setCheckTitle(const QString &) {}

void CheckContext::SetCheckProgress(int, int, int) {}

shared::AnalizeResult &CheckContext::result(int i)
{
    if (i < 0 || std::size_t(i) >= m_results->size())
        throw host::Error(host::err::SubscriptOutOfRange);
    return (*m_results)[std::size_t(i)];
}

QString errorPromptText(int number, const QString &description)
{
    return QStringLiteral("Err.Number:") + QString::number(number) + QStringLiteral(", ") + description +
           QStringLiteral("\r\n内部エラーが発生しました。処理を中断しますか？");
}

bool runChecked(CheckContext &context, const std::function<void()> &check)
{
    int number = 0;
    QString description;
    try {
        check();
        return true;
    } catch (const host::Error &e) {
        number = e.number();
        description = e.description();
    } catch (const std::bad_alloc &) {
        number = 7;
        description = host::Error(7).description();
    } catch (const std::exception &e) {
        number = 5;
        description = QString::fromLocal8Bit(e.what());
    }
    const int answer = controls::platform().msgBox(errorPromptText(number, description),
                                                   controls::vbYesNo | controls::vbExclamation);
    if (answer == controls::vbYes)
        context.requestStop();
    return false;
}

Findings::Findings(shared::AnalizeResult &result, shared::FindingList list)
    : m_list(&result.list(list)), m_count(result.list(list).count)
{
}

void Findings::append(const QString &location, int line, const QString &name)
{
    m_list->items.resize(std::size_t(m_count) + 1);
    m_list->items[std::size_t(m_count)] = {location, line, name};
    ++m_count;
}

void Findings::store() { m_list->count = m_count; }

host::Ptr<host::CodeModule> beginCheck(CheckContext &context, const QString &title,
                                       const host::Ptr<host::VBComponent> &component)
{
    context.setCheckTitle(title);
    context.SetCheckProgress(1, 0, 0);
    host::Ptr<host::CodeModule> code;
    host::resumeNext([&] { code = component->codeModule(); });
    return code;
}

void walkMembers(CheckContext &context, const QString &title, const host::Members &members,
                 const std::function<void(const host::Ptr<host::Member> &, int)> &examine)
{
    const int m = members.count();
    if (m == 0)
        return;
    context.SetCheckProgress(1, 0, m);
    const QString suffix = QStringLiteral("/") + QString::number(m) + QLatin1Char(')');
    for (int j = 1; j <= m; ++j) {
        context.setCheckTitle(title + QStringLiteral(" (") + QString::number(j) + suffix);
        context.SetCheckProgress(1, j, 0);
        examine(members.item(j), j);
    }
    context.SetCheckProgress(1, 0, 0);
}

void walkModuleMembers(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i,
                       const QString &title, shared::FindingList list,
                       const std::function<void(const host::CodeModule &, const host::Member &, Findings &)> &examine)
{
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings findings(context.result(i), list);
    walkMembers(context, title, *code->members(),
                [&](const host::Ptr<host::Member> &member, int) { examine(*code, *member, findings); });
    findings.store();
}

std::vector<ProcRange> procedureRanges(const host::CodeModule &code, const host::Member &member)
{
    std::vector<ProcRange> ranges;
    const QString name = member.name();
    if (member.type() == host::MemberType::Method) {
        const int start = code.procStartLine(name, host::ProcKind::Proc);
        ranges.push_back({name, host::ProcKind::Proc, start, code.procCountLines(name, host::ProcKind::Proc)});
        return ranges;
    }
    if (member.type() != host::MemberType::Property)
        return ranges;
    static const struct {
        host::ProcKind kind;
        const char *prefix;
    } accessors[] = {{host::ProcKind::Get, "Property Get "},
                     {host::ProcKind::Let, "Property Let "},
                     {host::ProcKind::Set, "Property Set "}};
    for (const auto &accessor : accessors) {
        int start = 0;
        int count = 0;
        host::resumeNext([&] { start = code.procStartLine(name, accessor.kind); });
        if (start <= 0)
            continue;
        host::resumeNext([&] { count = code.procCountLines(name, accessor.kind); });
        ranges.push_back({QLatin1String(accessor.prefix) + name, accessor.kind, start, count});
    }
    return ranges;
}

bool isCommentLine(const QString &lineText)
{
    return analysis::isCommentLine(analysis::trimmedSpaces(lineText));
}

bool isCommentLine(const host::CodeModule &code, int line) { return isCommentLine(code.lines(line, 1)); }

int findLine(const host::CodeModule &code, const QString &target, int startLine, int endLine, bool wholeWord,
             bool patternSearch, int *endLineOut)
{
    if (startLine < 1 || (endLine >= 0 && endLine < startLine))
        return 0;
    int sl = startLine, sc = 1, el = endLine, ec = -1;
    if (!code.find(target, sl, sc, el, ec, wholeWord, false, patternSearch))
        return 0;
    if (endLineOut)
        *endLineOut = el;
    return sl;
}

int findAccepted(const host::CodeModule &code, const QString &target, int startLine, int endLine,
                 const std::function<bool(int line, int lastLine)> &accept)
{
    int line = startLine;
    for (;;) {
        int last = 0;
        const int hit = findLine(code, target, line, endLine, true, false, &last);
        if (hit == 0)
            return 0;
        if (accept(hit, last))
            return hit;
        line = hit + 1;
    }
}

std::vector<ProjectModules::Entry> &ProjectModules::entries()
{
    if (m_read)
        return m_entries;
    const auto components = m_project->vbComponents();
    const int count = components->count();
    m_entries.reserve(std::size_t(count));
    for (int k = 1; k <= count; ++k) {
        const auto component = components->item(k);
        m_entries.push_back({component, component->name(), component->type(), nullptr});
    }
    m_read = true;
    return m_entries;
}

bool ProjectModules::usedAnywhere(const QString &ownName, const std::function<bool()> &own,
                                  const std::function<bool(const host::CodeModule &)> &other)
{
    for (Entry &entry : entries()) {
        if (entry.name == ownName) {
            if (own())
                return true;
        } else if (!entry.holdsNoCode() && other(entry.codeModule())) {
            return true;
        }
    }
    return false;
}

bool ProjectModules::Entry::holdsNoCode() const
{
    return type == host::ComponentType::ResFile || type == host::ComponentType::RelatedDocument;
}

const host::CodeModule &ProjectModules::Entry::codeModule()
{
    if (!code)
        code = component->codeModule();
    return *code;
}

QStringList eventSourceNames(const host::VBComponent &component)
{
    QStringList names;
    host::resumeNext([&] {
        const auto designer = component.designer();
        if (!designer)
            return;
        const auto controls = designer->vbControls();
        const int count = controls->count();
        for (int k = 1; k <= count; ++k)
            names << controls->item(k)->name();
    });
    names << QStringLiteral("Form") << QStringLiteral("MDIForm") << QStringLiteral("UserControl")
          << QStringLiteral("UserDocument");
    return names;
}

bool isEventProcedure(const QString &memberName, const QStringList &eventSources)
{
    for (const QString &source : eventSources)
        if (memberName.contains(source + QLatin1Char('_'), Qt::CaseInsensitive))
            return true;
    return false;
}

/// The words that follow `keyword` on the non-comment lines of the declarations section
/// ("WithEvents mTimer As Timer" gives mTimer, "Implements IShape" gives IShape).
static QStringList namesAfter(const host::CodeModule &code, const QString &keyword)
{
    QStringList names;
    const int d = code.countOfDeclarationLines();
    for (int line = 1; (line = findLine(code, keyword, line, d)) != 0; ++line) {
        const QString text = codePart(code.lines(line, 1));
        if (isCommentLine(text))
            continue;
        const qsizetype at = text.indexOf(keyword, 0, Qt::CaseInsensitive);
        const QString rest = analysis::trimmedSpaces(QStringView(text).mid(at + keyword.size())).toString();
        qsizetype end = 0;
        while (end < rest.size() && (rest.at(end).isLetterOrNumber() || rest.at(end) == QLatin1Char('_')))
            ++end;
        if (end > 0)
            names << rest.left(end);
    }
    return names;
}

/// The prefixes of procedures whose signature the developer cannot change: the designer's
/// event sources, and also class and property page events, the events of WithEvents variables and
/// the procedures of implemented interfaces.
QStringList fixedSignatureSources(const host::CodeModule &code, const host::VBComponent &component)
{
    QStringList sources = eventSourceNames(component);
    sources << QStringLiteral("Class") << QStringLiteral("PropertyPage") << QStringLiteral("DataReport")
            << QStringLiteral("DataEnvironment") << namesAfter(code, QStringLiteral("WithEvents"))
            << namesAfter(code, QStringLiteral("Implements"));
    return sources;
}


namespace {

/// The keyword stands inside a string literal of the statement (the quote-counting test).
bool keywordInString(const QString &text, const QString &keyword)
{
    if (!text.contains(QLatin1Char('"')))
        return false;
    const qsizetype p = text.indexOf(keyword, 0, Qt::CaseInsensitive) + 1; // 1-based, 0 when absent
    int q = 0;
    for (qsizetype x = 1; x <= text.size(); ++x) {
        const QChar c = text.at(x - 1);
        if (c == QLatin1Char('&') && x < p && q == 1)
            return false;
        if (c != QLatin1Char('"'))
            continue;
        if (x < p) {
            if (++q == 2)
                q = 1;
        } else if (x >= p + keyword.size()) {
            if (++q == 2)
                return true;
        }
    }
    return false;
}

/// The argument list of a "Static" procedure declaration: what follows the name, without
/// its parentheses and the return type after them.
QString argumentText(const QString &afterName)
{
    QString text = analysis::trimmedSpaces(afterName).toString();
    if (text.startsWith(QLatin1Char('('))) {
        const qsizetype close = text.lastIndexOf(QLatin1Char(')'));
        text = close > 0 ? text.mid(1, close - 1) : text.mid(1);
    }
    return text;
}

} // namespace

int scanLocalDeclarations(const host::CodeModule &code, const ProcRange &range, const QString &memberName,
                          const std::function<void(const QString &text, int line)> &declaration)
{
    const int s = range.start;
    const int e = range.end();
    const int lineCount = code.countOfLines();
    int declarationLine = 0;
    static const char *const keywords[] = {"Dim", "Static"};
    for (const char *keywordText : keywords) {
        const QString keyword = QLatin1String(keywordText);
        int line = s;
        while (line < e) {
            const int x = findLine(code, keyword, line, e);
            if (x == 0)
                break;
            declarationLine = x;
            line = x + 1;
            QString text = code.lines(x, 1);
            if (isCommentLine(text))
                continue;
            for (int next = x + 1; text.endsWith(QLatin1Char('_')) && next <= lineCount; ++next)
                text += code.lines(next, 1);
            if (keywordInString(text, keyword))
                continue;
            if (const qsizetype quote = text.indexOf(QLatin1Char('\'')); quote >= 0)
                text.truncate(quote);
            bool procedureDeclaration = false;
            for (const char *head : {"Function ", "Sub ", "Property Let ", "Property Get ", "Property Set "}) {
                const QString pattern = QLatin1String(head) + memberName;
                const qsizetype at = text.indexOf(pattern);
                if (at < 0)
                    continue;
                text = argumentText(text.mid(at + pattern.size()));
                for (const char *mode : {"ByVal ", "ByRef ", "Optional "})
                    text.remove(QLatin1String(mode), Qt::CaseInsensitive);
                procedureDeclaration = true;
                break;
            }
            if (!procedureDeclaration) {
                text.remove(QStringLiteral("Dim "));
                text.remove(QStringLiteral("Static "));
            }
            text.remove(QStringLiteral("()"));
            declaration(analysis::trimmedSpaces(text).toString(), x);
        }
    }
    return declarationLine;
}

} // namespace inspection
