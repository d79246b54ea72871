#include "analysis/call_references.h"

#include "analysis/source_text.h"
#include "controls/platform.h"

#include <QHash>

namespace analysis {

using controls::Node;
using controls::Relationship;
using controls::TreeView;
using host::Ptr;

namespace {

constexpr int kCallTree = 1; // the Relative tab's tree and list

const QString kMethod = QStringLiteral("METHOD");
const QString kLibrary = QStringLiteral("LIBRARY");
const QString kProperty = QStringLiteral("PROPERTY");

/// `On Error Resume Next` for one statement, without resumeNext's std::function: the call
/// search runs it millions of times.
template <class F>
bool attempt(F &&statement)
{
    try {
        statement();
        return true;
    } catch (const host::Error &) {
        return false;
    }
}

bool isCodeless(host::ComponentType type)
{
    return type == host::ComponentType::ResFile || type == host::ComponentType::RelatedDocument;
}

/// The procedure node a callee entry names: its key is the entry's Tag with "," as "_".
Node *definitionOf(const TreeView &tree, const Node *entry)
{
    if (entry->tag().isEmpty())
        return nullptr;
    QString key = entry->tag();
    key.replace(QLatin1Char(','), QLatin1Char('_'));
    return tree.nodes().find(key);
}

/// Whether the copy of one of `context`'s callee entries, added under `parent` and naming
/// `definition`, gets children of its own: not for a procedure of the context's name, not for
/// one already on the path up to the root, nor for one that calls nothing.
bool copyHasChildren(const Node *context, const Node *parent, const Node *definition)
{
    if (!definition || definition->children() == 0)
        return false;
    if (context->text() == definition->text())
        return false;
    const QString &rootText = parent->root()->text();
    for (const Node *n = parent; n && n->text() != rootText; n = n->parent()) {
        if (n->text() == definition->text())
            return false;
    }
    return true;
}

Node *addCopy(TreeView &tree, Node *parent, const Node *of)
{
    Node *copy = tree.nodes().add(parent, Relationship::Child, QString(), of->text(), of->image());
    copy->setTag(of->tag());
    return copy;
}

void expandCopy(TreeView &tree, Node *context, Node *target, Node *definition);

/// Copies `definition`'s callee entries under `target`: each followed down to the end (Full),
/// or marked as having children to load when it would have some (Lazy).
void copyCallees(TreeView &tree, Node *definition, Node *target, CallTreeExpansion expansion)
{
    // The definition is a procedure node: copying under entries never changes its children.
    const std::vector<Node *> callees = definition->childList();
    for (Node *callee : callees) {
        Node *copy = nullptr;
        attempt([&] { copy = addCopy(tree, target, callee); });
        if (!copy)
            continue;
        Node *calleeDefinition = definitionOf(tree, callee);
        if (expansion == CallTreeExpansion::Lazy)
            copy->setChildrenToLoad(copyHasChildren(definition, target, calleeDefinition));
        else
            expandCopy(tree, definition, copy, calleeDefinition);
    }
}

void expandCopy(TreeView &tree, Node *context, Node *target, Node *definition)
{
    if (target && copyHasChildren(context, target->parent(), definition))
        copyCallees(tree, definition, target, CallTreeExpansion::Full);
}

void createColumns(ToolWindow &window, controls::ListView &list)
{
    list.listItems().clear();
    list.columnHeaders().clear();
    for (const char *caption : {"Procedure", "Module", "Scope"})
        list.columnHeaders().add(0, QString(), QString::fromLatin1(caption));
    window.RestoreColumnWidths();
}

void clearList(controls::ListView &list)
{
    if (list.columnHeaders().count() == 0)
        return;
    list.listItems().clear();
    list.columnHeaders().clear();
}

Ptr<host::CodeModule> moduleOf(const Ptr<host::VBE> &vbe, const QString &project, const QString &module)
{
    return vbe->vbProjects()->item(project)->vbComponents()->item(module)->codeModule();
}

} // namespace

void ScanProjectProcedures(ToolWindow &window, const Ptr<host::VBProject> &project,
                           std::vector<ProcedureEntry> &entries, int &count)
{
    Ptr<host::VBComponents> components;
    int n = 0;
    QString projectName;
    attempt([&] {
        components = project->vbComponents();
        n = components->count();
        projectName = project->name();
    });
    if (n > 0) {
        window.SetStatusMessage(1, QStringLiteral("ﾓｼﾞｭｰﾙを解析中 ..."));
        window.SetProgress(0, n);
        TreeView &tree = window.tree(kCallTree);
        for (int i = 1; i <= n; ++i) {
            attempt([&] {
                auto component = components->item(i);
                const QString moduleName = component->name();
                const host::ComponentType kind = component->type();
                if (isCodeless(kind))
                    return;
                auto module = component->codeModule();
                const int declarationLines = module->countOfDeclarationLines();
                auto members = module->members();
                const int memberCount = members->count();
                const QString moduleKey = projectName + QLatin1Char('_') + moduleName;
                for (int j = 1; j <= memberCount; ++j) {
                    attempt([&] {
                        auto member = members->item(j);
                        const host::MemberType type = member->type();
                        if (type != host::MemberType::Method && type != host::MemberType::Property)
                            return;
                        const QString name = member->name();
                        QString image = kProperty;
                        if (type == host::MemberType::Method) {
                            int start = 0;
                            attempt([&] { start = module->procStartLine(name, host::ProcKind::Proc); });
                            const host::Scope scope = member->scope();
                            entries.push_back({moduleName, name, scope, 1, kind});
                            ++count;
                            image = start <= declarationLines ? kLibrary : kMethod;
                        }
                        Node *moduleNode = tree.nodes().find(moduleKey);
                        if (moduleNode)
                            moduleNode->setExpanded(true);
                        Node *node = tree.nodes().add(moduleKey, Relationship::Child,
                                                      moduleKey + QLatin1Char('_') + name, name);
                        node->setTag(moduleKey);
                        node->setSorted(true);
                        node->setImage(image);
                        if (image == kLibrary)
                            node->setVisible(false);
                    });
                }
            });
            window.SetProgress(i, 0);
        }
    }
    window.SetStatusMessage(0, QString());
}

namespace {
char16_t folded(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c | 0x20) : c;
    return char16_t(QChar::toCaseFolded(char32_t(c)));
}

bool equalFolded(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype k = 0; k < a.size(); ++k) {
        if (folded(a[k].unicode()) != folded(b[k].unicode()))
            return false;
    }
    return true;
}

/// The next occurrence of `word` in `text` at or after `from`, case-insensitively; -1 if none.
qsizetype indexOfFolded(QStringView text, QStringView word, qsizetype from)
{
    if (word.isEmpty())
        return -1;
    const char16_t first = folded(word[0].unicode());
    const char16_t *t = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype last = text.size() - word.size();
    if (first < 0x80) {
        // The usual case: only the first unit's two ASCII cases start a match.
        const char16_t other = first >= u'a' && first <= u'z' ? char16_t(first - 0x20) : first;
        for (qsizetype p = from; p <= last; ++p) {
            const char16_t c = t[p];
            if ((c == first || c == other || (c >= 0x80 && folded(c) == first))
                && equalFolded(text.sliced(p + 1, word.size() - 1), word.sliced(1)))
                return p;
        }
        return -1;
    }
    for (qsizetype p = from; p <= last; ++p) {
        if (folded(t[p]) == first && equalFolded(text.sliced(p + 1, word.size() - 1), word.sliced(1)))
            return p;
    }
    return -1;
}
} // namespace

bool isCallSite(QStringView line, const QString &name, const QString &module, bool global)
{
    // Each test looks for " " & name with something around it in " " & line (& " "): that is
    // an occurrence of the name in the line with the right neighbours, found without building
    // the padded texts. The hot path of the call search: it runs for every occurrence.
    const QStringView s = line;
    const qsizetype n = name.size();
    auto spaceBefore = [&](qsizetype at) { return at == 0 || s[at - 1] == QLatin1Char(' '); };
    static const QString call = QStringLiteral("Call ");
    for (qsizetype p = indexOfFolded(s, name, 0); p >= 0; p = indexOfFolded(s, name, p + 1)) {
        const qsizetype end = p + n;
        if (spaceBefore(p) && (end == s.size() || s[end] == QLatin1Char(' ') || s[end] == QLatin1Char('(')))
            return true; // tests 2 and 1
        if (p >= call.size() && spaceBefore(p - call.size()) && equalFolded(s.sliced(p - call.size(), call.size()), call))
            return true; // test 3
        const qsizetype qualified = p - 1 - module.size();
        if (global && qualified >= 0 && s[p - 1] == QLatin1Char('.') && spaceBefore(qualified)
            && equalFolded(s.sliced(qualified, module.size()), module))
            return true; // test 4
    }
    return line == name;
}

void FindProcedureCalls(ToolWindow &window, const Ptr<host::VBProject> &project,
                        std::vector<ProcedureEntry> &entries, int count)
{
    struct Searched {
        QString name;
        host::ComponentType kind;
        Ptr<host::CodeModule> module; // null when it cannot be read
    };
    QString projectName;
    std::vector<Searched> modules;
    QHash<QString, int> moduleIndex;
    // Member name -> the modules that have a member of that name, read once for every entry.
    QHash<QString, std::vector<int>> membersNamed;
    attempt([&] {
        projectName = project->name();
        auto components = project->vbComponents();
        const int n = components->count();
        for (int k = 1; k <= n; ++k) {
            Searched s{QString(), host::ComponentType::ResFile, nullptr};
            attempt([&] {
                auto component = components->item(k);
                s.name = component->name();
                s.kind = component->type();
                if (!isCodeless(s.kind))
                    s.module = component->codeModule();
            });
            const int index = int(modules.size());
            if (s.module) {
                moduleIndex.insert(s.name, index);
                attempt([&] {
                    auto members = s.module->members();
                    const int m = members->count();
                    for (int j = 1; j <= m; ++j) {
                        attempt([&] {
                            std::vector<int> &in = membersNamed[members->item(j)->name()];
                            if (in.empty() || in.back() != index)
                                in.push_back(index);
                        });
                    }
                });
            }
            modules.push_back(std::move(s));
        }
    });

    // What each entry is: global or not, its module, its callee image.
    struct Callee {
        bool global = false;
        int own = -1;
        QString image;
        std::vector<int> shadowing; // other modules where the name is their own member
        bool shadows(int module) const
        {
            return std::find(shadowing.begin(), shadowing.end(), module) != shadowing.end();
        }
    };
    std::vector<Callee> callees(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const ProcedureEntry &e = entries[std::size_t(i)];
        Callee &c = callees[std::size_t(i)];
        c.global = e.Scope == host::Scope::Public && e.ComponentKind == host::ComponentType::StdModule;
        c.own = moduleIndex.value(e.Module, -1);
        c.image = kLibrary;
        if (c.own >= 0) {
            attempt([&] {
                const auto &m = modules[std::size_t(c.own)].module;
                if (m->procStartLine(e.Procedure, host::ProcKind::Proc) > m->countOfDeclarationLines())
                    c.image = kMethod;
            });
        }
        if (c.global) {
            for (int k : membersNamed.value(e.Procedure)) {
                if (k != c.own)
                    c.shadowing.push_back(k);
            }
        }
    }

    // The searches run module by module, every entry in turn, so that each module is read
    // while it is at hand; the entries are added afterwards in entry, module and line order,
    // as a search entry by entry would add them.
    struct Call {
        int entry;
        int module;
        QString caller;
    };
    std::vector<Call> calls;
    // What the loop below asks of every entry for every module, packed: it runs millions of
    // times.
    struct Reach {
        int own;
        bool global;
        bool shadowed;
    };
    std::vector<Reach> reaches;
    reaches.reserve(callees.size());
    for (const Callee &c : callees)
        reaches.push_back({c.own, c.global, !c.shadowing.empty()});
    // The names side by side in one block: every module is searched for every name, and
    // names scattered over the heap would each be a cache miss, millions of times.
    std::vector<char16_t> namePool;
    for (int i = 0; i < count; ++i)
        namePool.insert(namePool.end(), entries[std::size_t(i)].Procedure.utf16(),
                        entries[std::size_t(i)].Procedure.utf16() + entries[std::size_t(i)].Procedure.size());
    std::vector<QString> names;
    names.reserve(std::size_t(std::max(count, 0)));
    for (std::size_t i = 0, at = 0; i < std::size_t(std::max(count, 0)); ++i) {
        const qsizetype size = entries[i].Procedure.size();
        names.push_back(QString::fromRawData(reinterpret_cast<const QChar *>(namePool.data() + at), size));
        at += std::size_t(size);
    }
    window.SetProgress(0, int(modules.size()));
    for (int k = 0; k < int(modules.size()); ++k) {
        const Searched &target = modules[std::size_t(k)];
        if (!target.module) {
            window.SetProgress(k + 1, 0);
            continue;
        }
        const host::CodeModule &module = *target.module;
        for (int i = 0; i < count; ++i) {
            const Reach &reach = reaches[std::size_t(i)];
            if (reach.global ? reach.shadowed && callees[std::size_t(i)].shadows(k) : reach.own != k)
                continue;
            const Callee &c = callees[std::size_t(i)];
            const ProcedureEntry &e = entries[std::size_t(i)];
            QString lastCaller;
            int start = 1;
            for (;;) {
                FoundLines found;
                if (!attempt([&] { found = findFrom(module, names[std::size_t(i)], start); }) || !found)
                    break;
                const int line = found.line;
                QString raw;
                attempt([&] { raw = module.lines(line, 1); });
                const QStringView text = trimmedSpaces(raw);
                if (!isCommentLine(text) && isCallSite(text, e.Procedure, e.Module, c.global)) {
                    QString caller;
                    attempt([&] {
                        host::ProcKind kind = host::ProcKind::Proc;
                        caller = module.procOfLine(line, kind);
                    });
                    if (!caller.isEmpty() && caller != lastCaller && caller != e.Procedure) {
                        lastCaller = caller;
                        calls.push_back({i, k, caller});
                    }
                }
                start = line + 1;
            }
        }
        window.SetProgress(k + 1, 0);
    }

    std::stable_sort(calls.begin(), calls.end(), [](const Call &a, const Call &b) {
        return a.entry != b.entry ? a.entry < b.entry : a.module < b.module;
    });
    TreeView &tree = window.tree(kCallTree);
    const QString prefix = projectName + QLatin1Char('_');
    QString tag;
    int tagged = -1;
    for (const Call &call : calls) {
        const ProcedureEntry &e = entries[std::size_t(call.entry)];
        if (call.entry != tagged) {
            tagged = call.entry;
            tag = projectName + QLatin1Char(',') + e.Module + QLatin1Char(',') + e.Procedure;
        }
        attempt([&] {
            Node *node = tree.nodes().add(prefix + modules[std::size_t(call.module)].name + QLatin1Char('_') + call.caller,
                                          Relationship::Child, QString(), e.Procedure,
                                          callees[std::size_t(call.entry)].image);
            node->setTag(tag);
        });
    }
}

namespace {
/// Calls f(entry, its definition or null) for every callee entry of the call search: the
/// keyless nodes present at the start, in index order.
template <class F>
void forEachCallSearchEntry(ToolWindow &window, F &&f)
{
    TreeView &tree = window.tree(kCallTree);
    const int n = tree.nodes().count();
    window.SetProgress(0, n);
    for (int index = 1; index <= n; ++index) {
        Node *entry = tree.nodes().item(index);
        if (entry->key().isEmpty())
            f(entry, definitionOf(tree, entry));
        window.SetProgress(index, 0);
    }
}
} // namespace

void ExpandCallTree(ToolWindow &window, Node *context, Node *target, Node *definition)
{
    if (!context) {
        forEachCallSearchEntry(window, [&](Node *entry, Node *d) {
            if (d)
                copyCallees(entry->treeView(), d, entry, CallTreeExpansion::Full);
        });
        return;
    }
    if (target)
        expandCopy(target->treeView(), context, target, definition);
}

void PrepareCallTree(ToolWindow &window)
{
    // The same walk as the whole-tree expansion, marking instead of copying.
    forEachCallSearchEntry(window, [](Node *entry, const Node *d) { entry->setChildrenToLoad(d && d->children() > 0); });
}

void LoadCallTreeChildren(TreeView &tree, Node *node)
{
    if (!node || !node->key().isEmpty())
        return;
    if (Node *definition = definitionOf(tree, node))
        copyCallees(tree, definition, node, CallTreeExpansion::Lazy);
}

void AnalyzeProcedureCalls(ToolWindow &window, const Ptr<host::VBE> &vbe, CallTreeExpansion expansion)
{
    auto &platform = controls::platform();
    TreeView &tree = window.tree(kCallTree);
    controls::ListView &list = window.list(kCallTree);
    using controls::MousePointer;
    attempt([&] { platform.setScreenMousePointer(MousePointer::Hourglass); });
    attempt([&] {
        tree.setMousePointer(MousePointer::Hourglass);
        tree.nodes().clear();
    });
    attempt([&] {
        list.listItems().clear();
        list.columnHeaders().clear();
        list.setMousePointer(MousePointer::Hourglass);
    });

    const QString projectName = window.currentProject();
    if (!projectName.isEmpty()) {
        attempt([&] {
            auto project = vbe->vbProjects()->item(projectName);
            window.BuildProjectTree(project);
            window.FindComponent(project, nullptr);
            for (int i = tree.nodes().count(); i >= 1; --i)
                tree.nodes().item(i)->setExpanded(true);
            if (tree.nodes().count() > 0)
                tree.setSelectedItem(tree.nodes().item(1));
            platform.doEvents();

            std::vector<ProcedureEntry> entries;
            int count = 0;
            ScanProjectProcedures(window, project, entries, count);
            if (count > 0) {
                window.SetStatusMessage(1, QStringLiteral("ﾌﾟﾛｼｰｼﾞｬ参照を解析中 ..."));
                FindProcedureCalls(window, project, entries, count);
                window.SetStatusMessage(0, QString());
            }
            entries.clear();
            window.SetStatusMessage(1, QStringLiteral("ﾌﾟﾛｼｰｼﾞｬ参照を解決中 ..."));
            // Copying every callee's subtree under every entry grows with the number of call
            // paths; by default an entry gets its callees when it is first opened.
            if (expansion == CallTreeExpansion::Full)
                ExpandCallTree(window, nullptr, nullptr, nullptr);
            else
                PrepareCallTree(window);
            platform.doEvents();
        });
    }
    attempt([&] { window.SetProgress(0, 0); });
    attempt([&] { window.SetStatusMessage(0, QString()); });
    attempt([&] { tree.setMousePointer(MousePointer::Default); });
    attempt([&] { list.setMousePointer(MousePointer::Default); });
    attempt([&] { platform.setScreenMousePointer(MousePointer::Default); });
}

void ShowCallees(ToolWindow &window, const Ptr<host::VBE> &vbe, Node *node, bool createColumns)
{
    if (!node)
        return;
    TreeView &tree = window.tree(kCallTree);
    controls::ListView &list = window.list(kCallTree);
    Node *definition = node;
    if (node->key().isEmpty()) {
        if (node->tag().isEmpty())
            return;
        definition = definitionOf(tree, node);
        if (!definition)
            return;
    }
    if (definition->children() == 0)
        return;
    const QString &firstTag = definition->child()->tag();
    if (firstTag.isEmpty() || !firstTag.contains(QLatin1Char(','))) {
        clearList(list);
        return;
    }
    // A procedure of the same module as the last one clicked (same tag) brings no new
    // columns; when that one called nothing the list has none, and rows without columns
    // would show nothing at all.
    if (createColumns || list.columnHeaders().count() == 0)
        analysis::createColumns(window, list);
    for (const Node *callee : definition->childList()) {
        const QStringList parts = callee->tag().split(QLatin1Char(','));
        const QString project = parts.value(0), module = parts.value(1), procedure = parts.value(2);
        QString scope;
        QString image;
        attempt([&] {
            auto code = moduleOf(vbe, project, module);
            auto member = code->members()->item(procedure);
            scope = scopeWord(member->scope());
            if (member->type() == host::MemberType::Property) {
                image = kProperty;
                return;
            }
            image = code->procStartLine(procedure, host::ProcKind::Proc) > code->countOfDeclarationLines() ? kMethod
                                                                                                         : kLibrary;
        });
        window.AddDetailItem(QString(), {module, scope}, procedure, image);
    }
}

void ShowCallers(ToolWindow &window, const Ptr<host::VBE> &vbe, Node *node, bool createColumns,
                 QString &currentTag)
{
    if (!node)
        return;
    TreeView &tree = window.tree(kCallTree);
    controls::ListView &list = window.list(kCallTree);
    QString project, module;
    if (!node->key().isEmpty()) {
        const qsizetype p = node->key().indexOf(QLatin1Char('_')) + 1; // 1-based, 0: none
        if (p > 1) {
            project = node->tag().left(p - 1);
            module = node->tag().mid(p);
        }
    } else if (node->tag().contains(QLatin1Char(','))) {
        const QStringList parts = node->tag().split(QLatin1Char(','));
        project = parts.value(0);
        module = parts.value(1);
    } else {
        return;
    }
    const QString name = node->text();

    Ptr<host::CodeModule> code;
    bool isPublic = false;
    attempt([&] {
        code = moduleOf(vbe, project, module);
        isPublic = code->members()->item(name)->scope() == host::Scope::Public;
    });

    // Only the call search's own entries sit under a procedure node (with key and a Tag with
    // "_"); copies sit under entries, which have no key, so they never add a caller. Unopened
    // entries therefore give the same callers as the fully expanded tree.
    struct Caller {
        QString module;
        QString name;
    };
    std::vector<Caller> callers;
    for (int index = 2; index <= tree.nodes().count(); ++index) {
        const Node *n = tree.nodes().item(index);
        if (n->text() != name)
            continue;
        const Node *parent = n->parent();
        if (!parent || parent->key().isEmpty() || parent->tag().startsWith(QLatin1Char('_'))
            || !parent->tag().contains(QLatin1Char('_')))
            continue;
        callers.push_back({parent->tag().mid(project.size() + 1), parent->text()});
    }

    if (callers.empty()) {
        clearList(list);
        currentTag.clear();
        return;
    }
    if (createColumns)
        analysis::createColumns(window, list);

    Ptr<host::VBComponents> components;
    attempt([&] { components = vbe->vbProjects()->item(project)->vbComponents(); });
    for (const Caller &caller : callers) {
        bool accepted = caller.module == module;
        if (!accepted && isPublic) {
            bool shadowed = false;
            attempt([&] {
                components->item(caller.module)->codeModule()->members()->item(name);
                shadowed = true;
            });
            accepted = !shadowed;
        }
        if (!accepted || caller.module.isEmpty() || caller.name.isEmpty())
            continue;
        QString image, scope;
        attempt([&] {
            auto member = components->item(caller.module)->codeModule()->members()->item(caller.name);
            if (member->type() == host::MemberType::Method)
                image = kMethod;
            else if (member->type() == host::MemberType::Property)
                image = kProperty;
            const host::Scope s = member->scope();
            if (s == host::Scope::Private || s == host::Scope::Public)
                scope = scopeWord(s);
        });
        window.AddDetailItem(QString(), {caller.module, scope}, caller.name, image);
    }
}

} // namespace analysis
