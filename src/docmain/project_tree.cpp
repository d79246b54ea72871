// The explorer's project tree: projects, folders per component kind and components,
// kept in step with the host's project list.
#include "docmain/doc_main.h"

#include "controls/platform.h"
#include "shared/bas_quillbox.h"

namespace docmain {

using namespace controls;
using host::Ptr;

namespace {
const QString kReferenceFolderSuffix = QStringLiteral("_References");

template <class F>
void ignoreErrors(F &&statement)
{
    try {
        statement();
    } catch (const std::exception &) {
    }
}
} // namespace

Ptr<host::VBProject> DocMain::findInCollection(const QString &name) const
{
    for (const auto &[key, project] : mcolProjects) {
        if (key == name)
            return project;
    }
    return nullptr;
}

void DocMain::FindNewProject(bool blnReLoad)
{
    const BusyScope busy(*this);
    auto &platform = controls::platform();
    ignoreErrors([&] { platform.setScreenMousePointer(MousePointer::Hourglass); });
    if (blnReLoad) {
        mstrCurrentTag.clear();
        for (int i = 0; i < mintTabCount; ++i) {
            ignoreErrors([&] {
                tvwProject(i).nodes().clear();
                tvwProject(i).setMousePointer(MousePointer::Hourglass);
            });
            ignoreErrors([&] {
                lvwDetail(i).listItems().clear();
                lvwDetail(i).columnHeaders().clear();
                lvwDetail(i).setMousePointer(MousePointer::Hourglass);
            });
        }
        ignoreErrors([&] { imgcboProject.comboItems().clear(); });
        mcolProjects.clear();
    }
    ignoreErrors([&] { tbsProject.setSelectedItem(tbsProject.tabs()(TabGeneral)); });
    ignoreErrors([&] { tbsProject_Click(); });

    auto &q = shared::basQuillbox();
    host::Ptr<host::VBProjects> projects;
    ignoreErrors([&] {
        // The add-in object's VBE and gVBInstance are the same host object.
        projects = q.gAddInInstance ? q.gAddInInstance->vbe()->vbProjects() : q.gVBInstance->vbProjects();
    });
    if (projects) {
        int count = 0;
        ignoreErrors([&] { count = projects->count(); });
        for (int i = 1; i <= count; ++i) {
            ignoreErrors([&] {
                auto project = projects->item(i);
                const QString name = project->name();
                if (!findInCollection(name)) {
                    mcolProjects.emplace_back(name, project);
                    BuildProjectTree(project);
                    FindComponent(project, nullptr);
                }
            });
            platform.doEvents();
        }
    }
    if (mcolProjects.size() == 1 || blnReLoad) {
        ignoreErrors([&] {
            if (mcolProjects.empty())
                return;
            mstrCurrentProject = mcolProjects.front().first;
            imgcboProject.setSelectedItem(imgcboProject.comboItems()(mstrCurrentProject));
        });
    }
    for (int i = 0; i < mintTabCount; ++i) {
        ignoreErrors([&] { tvwProject(i).setMousePointer(MousePointer::Default); });
        ignoreErrors([&] { lvwDetail(i).setMousePointer(MousePointer::Default); });
    }
    ignoreErrors([&] { SetProgress(0, 0); });
    ignoreErrors([&] { platform.setScreenMousePointer(MousePointer::Default); });
}

void DocMain::addFolder(TreeView &tree, const QString &projectName, const ComponentKind &kind)
{
    const QString suffix = QString::fromUtf8(kind.folderSuffix);
    Node *folder = tree.nodes().add(projectName, Relationship::Child, projectName + suffix,
                                    QString::fromUtf8(kind.folderCaption), QStringLiteral("FOLDER"));
    folder->setSorted(true);
    folder->setTag(suffix);
    folder->setExpandedImage(QStringLiteral("FOLDOPEN"));
}

void DocMain::BuildProjectTree(const Ptr<host::VBProject> &objProject)
{
    const QString name = objProject->name();
    auto components = objProject->vbComponents();
    const int count = components->count();

    bool listed = false;
    for (ComboItem *item : imgcboProject.comboItems()) {
        if (item->key() == name) {
            listed = true;
            break;
        }
    }
    if (!listed)
        imgcboProject.comboItems().add(0, name, name, QStringLiteral("PROJECT"));

    TreeView &tree = currentTree();
    Node *root = tree.nodes().add(ItemRef(), Relationship::Last, name, name, QStringLiteral("PROJECT"));
    root->setTag(QStringLiteral("Project"));

    std::vector<bool> present(12, false);
    for (int i = 1; i <= count; ++i) {
        const int type = int(components->item(i)->type());
        if (type >= 0 && type < int(present.size()))
            present[std::size_t(type)] = true;
    }
    if (mintCurrentTab == TabGeneral) {
        Node *references = tree.nodes().add(name, Relationship::Child, name + kReferenceFolderSuffix,
                                            QStringLiteral("参照ﾗｲﾌﾞﾗﾘ"), QStringLiteral("FOLDER"),
                                            QStringLiteral("FOLDOPEN"));
        references->setSorted(true);
        references->setTag(QStringLiteral("Reference"));
    }
    for (const auto &kind : componentKinds()) {
        if (present[std::size_t(kind.type)])
            addFolder(tree, name, kind);
    }
    root->setExpanded(true);
    controls::platform().doEvents();
}

void DocMain::FindComponent(const Ptr<host::VBProject> &objProject, const Ptr<host::VBComponent> &objVBComponent)
{
    if (objVBComponent) {
        AddComponent(objProject->name(), objVBComponent);
        return;
    }
    SetStatusMessage(1, QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄの解析中 ..."));
    auto components = objProject->vbComponents();
    const int count = components->count();
    if (count > 0) {
        SetProgress(0, count);
        const QString name = objProject->name();
        for (int i = 1; i <= count; ++i) {
            AddComponent(name, components->item(i));
            SetProgress(i, 0);
        }
    }
    SetProgress(0, 0);
    SetStatusMessage(0, QString());
}

void DocMain::AddComponent(const QString &strProjectName, const Ptr<host::VBComponent> &objComponent)
{
    shared::trapped([&] {
        const QString name = objComponent->name();
        TreeView &tree = currentTree();
        const ComponentKind *kind = componentKind(objComponent->type());
        if (!kind)
            return;
        QString image = QString::fromUtf8(kind->image);
        if (kind->type == host::ComponentType::VBForm &&
            objComponent->properties()->item(QStringLiteral("MDIChild"))->value().toBool())
            image = QStringLiteral("MDICHILD");
        const QString folderKey = strProjectName + QString::fromUtf8(kind->folderSuffix);
        Node *node = nullptr;
        try {
            node = tree.nodes().add(folderKey, Relationship::Child, strProjectName + QLatin1Char('_') + name, name,
                                    image);
        } catch (const host::Error &e) {
            if (e.number() != controls::err::ElementNotFound)
                throw;
            // A component of a kind the project did not have yet: its folder first.
            addFolder(tree, strProjectName, *kind);
            node = tree.nodes().add(folderKey, Relationship::Child, strProjectName + QLatin1Char('_') + name, name,
                                    image);
        }
        node->setTag(QString::fromUtf8(kind->tag));
        node->setSorted(true);
    });
}

void DocMain::RemoveProject(const Ptr<host::VBProject> &objProject)
{
    QString name;
    ignoreErrors([&] { name = objProject->name(); });
    if (name.isEmpty())
        return;
    ignoreErrors([&] { SaveColumnWidths(); });

    auto removeRoot = [&](TreeView &tree) {
        if (tree.nodes().find(name))
            tree.nodes().remove(name);
    };
    ignoreErrors([&] { removeRoot(tvwProject(0)); });
    ignoreErrors([&] {
        TreeView &relative = tvwProject(1);
        if (relative.nodes().count() > 0 && relative.nodes()(1)->key() == name)
            relative.nodes().clear();
    });
    ignoreErrors([&] { removeRoot(tvwProject(2)); });
    ignoreErrors([&] { removeRoot(tvwProject(3)); });
    for (int i = 1; i < mintTabCount; ++i) {
        ignoreErrors([&] {
            lvwDetail(i).listItems().clear();
            lvwDetail(i).columnHeaders().clear();
        });
    }
    ignoreErrors([&] {
        for (ComboItem *item : imgcboProject.comboItems()) {
            if (item->key() == name) {
                imgcboProject.comboItems().remove(name);
                break;
            }
        }
        if (imgcboProject.text() == name)
            imgcboProject.setText(QString());
        imgcboProject.refresh();
    });
    std::erase_if(mcolProjects, [&](const auto &entry) { return entry.first == name; });
    if (name == mstrCurrentProject) {
        for (int i = 0; i <= 1; ++i) {
            ignoreErrors([&] {
                lvwDetail(i).listItems().clear();
                lvwDetail(i).columnHeaders().clear();
            });
        }
        mstrCurrentTag.clear();
        mstrCurrentProject.clear();
        shared::basQuillbox().eraseResults();
        SetStatusMessage(0, QString());
    }
}

} // namespace docmain
