#include "cli/dump.h"

#include "frontend/console.h"
#include "ide/shell/impl.h"

namespace cli {

using host::Ptr;

namespace {

Json dumpComponent(const Ptr<host::VBComponent> &component, bool withLines)
{
    using CT = host::ComponentType;
    Json c = Json::object();
    const CT type = component->type();
    c.set("name", component->name());
    c.set("type", int(type));
    if (type == CT::VBForm) {
        bool mdiChild = false;
        host::resumeNext([&] { mdiChild = component->properties()->item(QStringLiteral("MDIChild"))->value().toBool(); });
        c.set("mdiChild", mdiChild);
    }
    Ptr<host::CodeModule> module;
    host::resumeNext([&] { module = component->codeModule(); });
    // Without a code module (resource file, related document) neither count exists.
    if (module) {
        c.set("countOfLines", module->countOfLines());
        c.set("countOfDeclarationLines", module->countOfDeclarationLines());
        if (withLines) {
            Json lines = Json::array();
            for (int i = 1; i <= module->countOfLines(); ++i)
                lines.push(module->lines(i, 1));
            c.set("lines", lines);
        }
    }
    Json members = Json::array();
    Json procs = Json::array();
    if (module) {
        auto list = module->members();
        for (int i = 1; i <= list->count(); ++i) {
            auto m = list->item(i);
            members.push(Json::object().set("name", m->name()).set("type", int(m->type())).set("scope", int(m->scope())));
        }
        // The procedure list comes from the stand-in's index; the numbers are what
        // the host calls answer.
        if (auto impl = std::dynamic_pointer_cast<ide::CodeModuleImpl>(module)) {
            for (const auto &p : impl->code().procedures()) {
                Json proc = Json::object();
                proc.set("name", p.name);
                proc.set("kind", int(p.kind));
                proc.set("startLine", module->procStartLine(p.name, p.kind));
                proc.set("bodyLine", module->procBodyLine(p.name, p.kind));
                proc.set("countLines", module->procCountLines(p.name, p.kind));
                procs.push(proc);
            }
        }
    }
    c.set("members", members);
    c.set("procs", procs);
    if (auto designer = component->designer()) {
        Json controls = Json::array();
        auto list = designer->vbControls();
        for (int i = 1; i <= list->count(); ++i) {
            auto ctl = list->item(i);
            controls.push(Json::object().set("name", ctl->name()).set("index", ctl->index()).set("type", ctl->progId()));
        }
        c.set("controls", controls);
    }
    return c;
}

Json dumpProject(const Ptr<host::VBProject> &project, bool withLines, const QString &baseDir)
{
    Json p = Json::object();
    p.set("name", project->name());
    p.set("type", int(project->type()));
    p.set("fileName", frontend::relativePath(baseDir, project->fileName()));
    p.set("buildFileName", frontend::relativePath(baseDir, project->buildFileName()));
    p.set("description", project->description());
    p.set("helpFile", project->helpFile());
    p.set("helpContextId", static_cast<long long>(project->helpContextID()));
    Json refs = Json::array();
    auto references = project->references();
    for (int i = 1; i <= references->count(); ++i) {
        auto r = references->item(i);
        refs.push(Json::object()
                      .set("name", r->name())
                      .set("description", r->description())
                      .set("fullPath", frontend::relativePath(baseDir, r->fullPath()))
                      .set("guid", r->guid())
                      .set("builtIn", r->builtIn())
                      .set("isBroken", r->isBroken()));
    }
    p.set("references", refs);
    Json comps = Json::array();
    auto components = project->vbComponents();
    for (int i = 1; i <= components->count(); ++i)
        comps.push(dumpComponent(components->item(i), withLines));
    p.set("components", comps);
    return p;
}

} // namespace

Json dumpIde(const ide::Ide &ide, bool withLines, const QString &baseDir)
{
    Json root = Json::object();
    Json projects = Json::array();
    auto list = ide.vbe()->vbProjects();
    for (int i = 1; i <= list->count(); ++i)
        projects.push(dumpProject(list->item(i), withLines, baseDir));
    root.set("projects", projects);
    Json diags = Json::array();
    for (const auto &d : ide.diagnostics())
        diags.push(Json::object().set("file", frontend::relativePath(baseDir, d.file)).set("line", d.line).set("message", d.message));
    root.set("diagnostics", diags);
    return root;
}

} // namespace cli
