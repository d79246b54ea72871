// The Relative tab: the call analysis and its callers and callees lists.
#include "docmain/doc_main.h"

#include "analysis/call_references.h"
#include "shared/bas_quillbox.h"

namespace docmain {

namespace {
host::Ptr<host::VBE> hostVbe()
{
    // The add-in object's VBE and gVBInstance are the same host object.
    auto &q = shared::basQuillbox();
    return q.gAddInInstance ? q.gAddInInstance->vbe() : q.gVBInstance;
}
} // namespace

void DocMain::AnalyzeProcedureCalls() { analysis::AnalyzeProcedureCalls(*this, hostVbe()); }

void DocMain::ShowCallees(controls::Node *node, bool createColumns)
{
    analysis::ShowCallees(*this, hostVbe(), node, createColumns);
}

void DocMain::ShowCallers(controls::Node *node, bool createColumns)
{
    analysis::ShowCallers(*this, hostVbe(), node, createColumns, mstrCurrentTag);
}

} // namespace docmain
