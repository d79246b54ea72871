#pragma once
// Runs single checks of the inspection on a project built in memory and reads back the
// findings as (line, name) pairs, so a test compares whole lists.
#include "inspection/check.h"
#include "inspection/check_items.h"
#include "support/test_project.h"

#include <gtest/gtest.h>
#include <ostream>
#include <utility>

namespace inspection_testing {

/// A finding as the tests compare it.
struct Found {
    QString location;
    int line;
    QString name;
    bool operator==(const Found &) const = default;
    friend void PrintTo(const Found &f, std::ostream *os)
    {
        *os << "{" << f.location.toStdString() << ", " << f.line << ", " << f.name.toStdString() << "}";
    }
};

/// One project loaded into a stand-in IDE, with one result entry per module in host
/// order, and a silent context over them.
class CheckRun {
public:
    explicit CheckRun(const testing_support::TestProject &project) : ide(project.build())
    {
        this->project = ide->vbe()->vbProjects()->item(1);
        const auto components = this->project->vbComponents();
        for (int k = 1; k <= components->count(); ++k) {
            shared::AnalizeResult entry;
            entry.ProjectName = this->project->name();
            entry.ModuleName = components->item(k)->name();
            results.push_back(entry);
        }
    }

    host::Ptr<host::VBComponent> component(const QString &name) const
    {
        return project->vbComponents()->item(name);
    }
    /// The entry index of a module.
    int index(const QString &name) const
    {
        for (std::size_t i = 0; i < results.size(); ++i)
            if (results[i].ModuleName == name)
                return int(i);
        ADD_FAILURE() << "no module " << name.toStdString();
        return 0;
    }
    /// The stored findings of a list of a module.
    std::vector<Found> findings(const QString &module, shared::FindingList list) const
    {
        std::vector<Found> found;
        const auto &l = results[std::size_t(index(module))].list(list);
        for (int k = 0; k < l.count; ++k)
            found.push_back({l.items[std::size_t(k)].Location, l.items[std::size_t(k)].Line,
                             l.items[std::size_t(k)].Name});
        return found;
    }

    std::unique_ptr<ide::Ide> ide;
    host::Ptr<host::VBProject> project;
    std::vector<shared::AnalizeResult> results;
    inspection::CheckContext context{results};
};

} // namespace inspection_testing
