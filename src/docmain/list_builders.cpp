// The detail lists of the General tab, built by the analysis on this window.
#include "docmain/doc_main.h"

#include "analysis/controls_list.h"
#include "analysis/module_scan.h"
#include "analysis/project_info.h"
#include "shared/bas_quillbox.h"

namespace docmain {

const host::VBE &DocMain::vbe()
{
    const host::Ptr<host::VBE> &instance = shared::basQuillbox().gVBInstance;
    if (!instance)
        throw host::Error(host::err::ObjectNotSet);
    return *instance;
}

void DocMain::ShowModuleList(bool createColumns) { analysis::ShowModuleList(*this, vbe(), createColumns); }

void DocMain::ShowProcedureList(const QString &componentName, bool createColumns)
{
    analysis::ShowProcedureList(*this, vbe(), componentName, createColumns);
}

void DocMain::ShowControlCounts(bool createColumns) { analysis::ShowControlCounts(*this, vbe(), createColumns); }

void DocMain::ShowControlList(const QString &componentName, bool createColumns)
{
    analysis::ShowControlList(*this, vbe(), componentName, createColumns);
}

void DocMain::ShowProjectProperties(const QString &projectName, bool createColumns)
{
    analysis::ShowProjectProperties(*this, vbe(), projectName, createColumns);
}

void DocMain::ShowReferences(bool createColumns) { analysis::ShowReferences(*this, vbe(), createColumns); }

} // namespace docmain
