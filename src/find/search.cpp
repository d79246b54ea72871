#include "find/search.h"

#include "analysis/source_text.h"

namespace find {

namespace {

void searchProject(const host::Ptr<host::VBProject> &project, const FindOptions &options,
                   shared::BasQuillbox &shared)
{
    const QString name = project->name();
    const auto components = project->vbComponents();
    const int count = components->count();
    for (int j = 1; j <= count; ++j)
        SearchComponent(name, components->item(j), options, shared);
}

/// The procedure owning `line`, "" in the declarations or when the host cannot tell.
QString procedureOf(const host::CodeModule &module, int line)
{
    try {
        host::ProcKind kind = host::ProcKind::Proc;
        return module.procOfLine(line, kind);
    } catch (const host::Error &) {
        return {};
    }
}

} // namespace

bool RunSearch(const host::Ptr<host::VBE> &vbe, const QString &text, const FindTarget &target,
               const FindOptions &options, shared::BasQuillbox &shared)
{
    const auto projects = vbe->vbProjects();
    const int projectCount = projects->count();
    if (projectCount == 0)
        return false;
    shared.gFindText.clear();
    shared.gFindCount = 0;
    shared.gFindResults.clear();
    shared.gFindText = analysis::trimmedSpaces(text).toString();
    if (shared.gFindText.isEmpty() || target.tag.isEmpty())
        return false;
    if (target.tag == QLatin1String("PROJECTS")) {
        for (int i = 1; i <= projectCount; ++i)
            searchProject(projects->item(i), options, shared);
    } else if (target.tag == QLatin1String("PROJECT")) {
        searchProject(projects->item(target.text), options, shared);
    } else {
        const auto component = projects->item(target.tag)->vbComponents()->item(target.text);
        SearchComponent(target.tag, component, options, shared);
    }
    return shared.gFindCount >= 1;
}

void SearchComponent(const QString &projectName, const host::Ptr<host::VBComponent> &component,
                     const FindOptions &options, shared::BasQuillbox &shared)
{
    host::Ptr<host::CodeModule> module;
    QString moduleName;
    try {
        if (component->type() == host::ComponentType::RelatedDocument)
            return;
        moduleName = component->name();
        module = component->codeModule();
    } catch (const host::Error &) {
        return;
    }
    if (!module)
        return;
    int line = 1;
    for (;;) {
        int startLine = line, startCol = 1, endLine = -1, endCol = -1;
        bool found = false;
        try {
            found = module->find(shared.gFindText, startLine, startCol, endLine, endCol, options.wholeWord,
                                 options.matchCase, options.patternSearch);
        } catch (const host::Error &) {
            found = false;   // a failing search ends the module rather than spinning on it
        }
        if (!found || startLine < line)
            return;
        shared::FindResult hit;
        hit.Line = startLine;
        hit.Column = startCol;
        hit.ModuleName = moduleName;
        try {
            hit.LineText = module->lines(startLine, 1);
        } catch (const host::Error &) {
        }
        hit.ProjectName = projectName;
        hit.ProcName = procedureOf(*module, startLine);
        shared.gFindResults.push_back(std::move(hit));
        shared.gFindCount = static_cast<int>(shared.gFindResults.size());
        line = startLine + 1;
    }
}

} // namespace find
